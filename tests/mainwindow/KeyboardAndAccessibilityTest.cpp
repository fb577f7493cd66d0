// The main window for keyboard and assistive-technology users.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

namespace {

class KeyboardAndAccessibilityTest : public MainWindowTest {
protected:
    void showActive()
    {
        showForm();
        form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }
    // The controls Tab visits from `start` on, a tab widget's bar by the tab widget's name.
    static QStringList tabCycle(QWidget* start)
    {
        start->setFocus();
        QStringList visited;
        for (int press = 0; press < 16; ++press) {
            QWidget* focus = QApplication::focusWidget();
            const bool tabBar = focus->objectName().startsWith("qt_");
            visited << (tabBar ? focus->parentWidget() : focus)->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        return visited;
    }
    static void expectVisited(const QStringList& visited, const QStringList& controls)
    {
        for (const QString& control : controls)
            EXPECT_TRUE(visited.contains(control)) << control.toStdString() << " not in " << visited.join(' ').toStdString();
    }
};

// A control that hands its focus to another (a tab widget to its bar) is named
// through that one; a combo box's popup list is a window of its own.
TEST_F(KeyboardAndAccessibilityTest, EveryFocusableControlOfEveryPageHasAName)
{
    for (QWidget* page : {ui().Interface, ui().Setup, ui().TabSheet1, static_cast<QWidget*>(ui().TraceSheet)}) {
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            if (widget->focusPolicy() == Qt::NoFocus || widget->window() != &form())
                continue;
            QWidget* target = widget->focusProxy() ? widget->focusProxy() : widget;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(target);
            ASSERT_NE(accessible, nullptr) << target->objectName().toStdString();
            EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
                << page->objectName().toStdString() << ": " << target->metaObject()->className() << " "
                << widget->objectName().toStdString();
        }
    }
}

TEST_F(KeyboardAndAccessibilityTest, ThePictureButtonsAreButtonsNamedByTheirCaptions)
{
    for (auto [button, name] : {std::pair{ui().ExplorerButton2, "Initialize"}, {ui().ExplorerButton4, "Send Data"}}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::Button);
        EXPECT_TRUE(accessible->text(QAccessible::Name).contains(name))
            << accessible->text(QAccessible::Name).toStdString();
    }
}

TEST_F(KeyboardAndAccessibilityTest, AltSPressesSendDataAndAltIPressesInitialize)
{
    showActive();
    QTest::keyClick(&form(), Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(shownTexts("message"), QStringList{"COMMUNICATIONS not initialized"});

    ui().COMLIST->setText(folderPath("no-such-device"));
    QTest::keyClick(&form(), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(shownTexts("box").size(), 1) << "the failed start's GetLastError box";
    EXPECT_NE(form().PortHandle(), nullptr);
}

TEST_F(KeyboardAndAccessibilityTest, OnTheSetupPageAltSIsSave)
{
    showActive();
    ui().MainTab->setCurrentWidget(ui().Setup);
    ui().COMLIST->setFocus();
    QTest::keyClick(ui().COMLIST, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ui().COMLIST, "COM5");
    QTest::keyClick(&form(), Qt::Key_S, Qt::AltModifier);
    // A push button answers its shortcut with an animated click, a moment later.
    EXPECT_TRUE(pumpUntil([this] { return readFile("kestrin.ini").contains("COM=COM5\n"); }));
    EXPECT_TRUE(shownTexts("message").isEmpty());
}

TEST_F(KeyboardAndAccessibilityTest, TabVisitsTheSetupScriptsAndTracePages)
{
    showActive();
    ui().MainTab->setCurrentWidget(ui().Setup);
    expectVisited(tabCycle(ui().COMLIST), {"COMLIST", "Delay", "CmdDelay", "BaudRate", "AutoInit", "Button1", "MainTab"});
    ui().MainTab->setCurrentWidget(ui().TabSheet1);
    expectVisited(tabCycle(ui().LoadScript), {"LoadScript", "ScriptList", "MainTab"});
    ui().MainTab->setCurrentWidget(ui().TraceSheet);
    expectVisited(tabCycle(ui().TraceSheet->findChild<QWidget*>("TraceFilter")),
                  {"TraceFilter", "TraceTable", "TraceFields", "MainTab"});
}

// Tab visits every control of the Interface page and comes round again: the
// panes pass Tab on rather than typing it.
TEST_F(KeyboardAndAccessibilityTest, TabVisitsEveryControlOfTheInterfacePage)
{
    showActive();
    ui().raw->setPlainText("A0");
    ui().dat->setPlainText("A0");
    expectVisited(tabCycle(ui().Memo1),
                  {"Memo1", "raw", "dat", "ExplorerButton2", "ExplorerButton4", "Paused", "Active", "DataTab", "MainTab"});
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    expectVisited(tabCycle(ui().Memo1), {"Script", "ExplorerButton2"});
    EXPECT_EQ(ui().raw->toPlainText(), "A0");
    EXPECT_EQ(ui().dat->toPlainText(), "A0");
}

} // namespace
