#include "main/ActiveLogAccessible.h"

#include "main/ActiveLogEdit.h"

#include <QAccessibleWidget>

namespace {

class ActiveLogAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ActiveLogAccessible(ActiveLogEdit* log) : QAccessibleWidget(log, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? log()->TextBetween(0, log()->Length()) : QAccessibleWidget::text(kind);
    }

    void selection(int index, int* start, int* end) const override
    {
        const bool any = index == 0 && log()->HasSelection();
        *start = any ? int(std::min(log()->AnchorPosition(), log()->CaretPosition())) : 0;
        *end = any ? int(std::max(log()->AnchorPosition(), log()->CaretPosition())) : 0;
    }
    int selectionCount() const override { return log()->HasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { log()->Select(start, end); }
    void removeSelection(int) override { log()->Select(log()->CaretPosition(), log()->CaretPosition()); }
    void setSelection(int, int start, int end) override { log()->Select(start, end); }

    int cursorPosition() const override { return int(log()->CaretPosition()); }
    void setCursorPosition(int position) override { log()->Select(position, position); }

    QString text(int start, int end) const override { return log()->TextBetween(start, end); }
    int characterCount() const override { return int(log()->Length()); }

    QRect characterRect(int offset) const override
    {
        const QRect left = log()->CaretRect(offset), right = log()->CaretRect(offset + 1);
        const int width = right.top() == left.top() ? std::max(1, right.left() - left.left()) : 1;
        return QRect(log()->viewport()->mapToGlobal(left.topLeft()), QSize(width, left.height()));
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return int(log()->PositionAt(log()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int) override { log()->EnsureVisible(start); }
    QString attributes(int offset, int* start, int* end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    ActiveLogEdit* log() const { return static_cast<ActiveLogEdit*>(widget()); }
};

QAccessibleInterface* ActiveLogAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ActiveLogEdit"))
        if (auto* log = qobject_cast<ActiveLogEdit*>(object))
            return new ActiveLogAccessible(log);
    return nullptr;
}

} // namespace

// The toolkit keeps one copy of a factory however often it is installed.
void InstallActiveLogAccessibility() { QAccessible::installFactory(&ActiveLogAccessibleFactory); }
