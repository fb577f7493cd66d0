// Drives an installed kestrin from inside, for the install check. Qt loads it as
// a generic plugin:
//   QT_PLUGIN_PATH=<folder holding generic/> QT_QPA_GENERIC_PLUGINS=kestrindriver:<COMPORT>
// It proceeds past the splash window, prints what the Setup and Scripts pages
// show, types COMPORT, presses Save and closes the main window. A message box is
// printed and answered.
#include <QApplication>
#include <QDialog>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

namespace {

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

template <typename Widget>
Widget* VisibleWindow(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->objectName() == name)
            return qobject_cast<Widget*>(window);
    return nullptr;
}

template <typename Widget>
Widget& Control(const QWidget& window, const char* name)
{
    auto* control = window.findChild<Widget*>(QLatin1String(name));
    if (!control) {
        std::fprintf(stderr, "driver: the window has no %s\n", name);
        std::exit(3);
    }
    return *control;
}

class Driver : public QObject {
public:
    explicit Driver(QString comport) : m_comport(std::move(comport))
    {
        connect(&m_timer, &QTimer::timeout, this, &Driver::Step);
        m_timer.start(100);
    }

private:
    void Step()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                Say(QStringLiteral("message: ") + box->text());
                box->done(0);
                return;
            }
        if (auto* splash = VisibleWindow<QDialog>(QStringLiteral("TLogoForm"))) {
            splash->done(0);
            return;
        }
        auto* window = VisibleWindow<QMainWindow>(QStringLiteral("TMainForm"));
        if (!window || ++m_ticksShown < 3) // the settings load just after the window appears
            return;
        if (m_saved) {
            window->close();
            return;
        }
        ReportAndSave(*window);
        m_saved = true;
    }

    void ReportAndSave(const QMainWindow& window)
    {
        auto& comport = Control<QLineEdit>(window, "COMLIST");
        Say(QStringLiteral("COMPORT: ") + comport.text());
        Say(QStringLiteral("settings file: ") + Control<QLabel>(window, "SettingsFile").text());
        Control<QTabWidget>(window, "MainTab").setCurrentWidget(&Control<QWidget>(window, "TabSheet1"));
        QStringList scripts;
        const auto& list = Control<QListWidget>(window, "ScriptList");
        for (int row = 0; row < list.count(); ++row)
            scripts << list.item(row)->text();
        Say(QStringLiteral("scripts: ") + scripts.join(u' '));
        comport.setText(m_comport);
        QMetaObject::invokeMethod(&Control<QPushButton>(window, "Button1"), &QPushButton::click, Qt::QueuedConnection);
    }

    QString m_comport;
    QTimer m_timer;
    int m_ticksShown = 0;
    bool m_saved = false;
};

} // namespace

class InstalledRunDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "InstalledRunDriver.json")
public:
    QObject* create(const QString&, const QString& comport) override { return new Driver(comport); }
};

#include "InstalledRunDriver.moc"
