#include "widgets/WidgetAccessibility.h"

#include "widgets/Accelerator.h"
#include "widgets/ExplorerButton.h"
#include "widgets/Label3D.h"

#include <QAccessibleWidget>
#include <QKeySequence>
#include <QMenu>

namespace {

// A painted widget goes by the text it shows, unless it was given an accessible name.
class PaintedWidgetAccessible : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(kind);
        return shownName();
    }

protected:
    virtual QString shownName() const = 0;
};

class ExplorerButtonAccessible : public PaintedWidgetAccessible {
public:
    explicit ExplorerButtonAccessible(TExplorerButton* button) : PaintedWidgetAccessible(button, QAccessible::Button) {}

    // The caption as it reads; an icon-only button without one goes by its hint
    // or its overlay text.
    QString shownName() const override
    {
        for (const QString& name : {StripAccelerators(button()->Caption()), button()->toolTip(), button()->ovActive()})
            if (!name.isEmpty())
                return name;
        return {};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->Down() || (button()->IsPressed() && button()->IsMouseIn());
        state.checkable = button()->GroupIndex() != 0;
        state.checked = button()->Down();
        state.hasPopup = button()->DropDownMenu() != nullptr;
        return state;
    }

    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            button()->Press();
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        const QChar letter = AcceleratorOf(button()->Caption());
        if (action != pressAction() || letter.isNull())
            return QAccessibleWidget::keyBindingsForAction(action);
        return {QKeySequence(QStringLiteral("Alt+") + letter).toString(QKeySequence::NativeText)};
    }

private:
    TExplorerButton* button() const { return static_cast<TExplorerButton*>(widget()); }
};

class Label3DAccessible : public PaintedWidgetAccessible {
public:
    explicit Label3DAccessible(TLabel3D* label) : PaintedWidgetAccessible(label, QAccessible::StaticText) {}

    QString shownName() const override
    {
        const TLabel3D* label = static_cast<TLabel3D*>(widget());
        return label->ShowAccelChar() ? StripAccelerators(label->text()) : label->text();
    }
};

QAccessibleInterface* WidgetAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TExplorerButton"))
        if (auto* button = qobject_cast<TExplorerButton*>(object))
            return new ExplorerButtonAccessible(button);
    if (className == QLatin1String("TLabel3D"))
        if (auto* label = qobject_cast<TLabel3D*>(object))
            return new Label3DAccessible(label);
    return nullptr;
}

} // namespace

void InstallWidgetAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(&WidgetAccessibleFactory);
    installed = true;
}
