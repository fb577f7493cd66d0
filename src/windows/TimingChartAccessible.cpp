#include "windows/TimingChartAccessible.h"

#include "windows/TimingChart.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace {

// Each action does what its key does.
struct ChartAction {
    QString name;
    Qt::Key key;
};

const QList<ChartAction>& ChartActions()
{
    static const QList<ChartAction> actions{
        {QAccessibleActionInterface::increaseAction(), Qt::Key_Plus},
        {QAccessibleActionInterface::decreaseAction(), Qt::Key_Minus},
        {QAccessibleActionInterface::scrollLeftAction(), Qt::Key_Left},
        {QAccessibleActionInterface::scrollRightAction(), Qt::Key_Right},
        {QStringLiteral("Previous exchange"), Qt::Key_Up},
        {QStringLiteral("Next exchange"), Qt::Key_Down},
        {QStringLiteral("Show all"), Qt::Key_0},
    };
    return actions;
}

const ChartAction* ActionNamed(const QString& name)
{
    for (const ChartAction& action : ChartActions()) {
        if (action.name == name)
            return &action;
    }
    return nullptr;
}

class TimingChartAccessible : public QAccessibleWidget {
public:
    explicit TimingChartAccessible(TimingChart* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Timing chart");
        if (kind == QAccessible::Description)
            return chart()->Summary();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        QStringList names;
        for (const ChartAction& action : ChartActions())
            names.append(action.name);
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (const ChartAction* action = ActionNamed(name)) {
            QKeyEvent press(QEvent::KeyPress, action->key, Qt::NoModifier);
            QCoreApplication::sendEvent(chart(), &press);
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (const ChartAction* action = ActionNamed(name))
            return {QKeySequence(action->key).toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    TimingChart* chart() const { return static_cast<TimingChart*>(widget()); }
};

QAccessibleInterface* TimingChartAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TimingChart"))
        if (auto* chart = qobject_cast<TimingChart*>(object))
            return new TimingChartAccessible(chart);
    return nullptr;
}

} // namespace

// The toolkit keeps one copy of a factory however often it is installed.
void InstallTimingChartAccessibility() { QAccessible::installFactory(&TimingChartAccessibleFactory); }
