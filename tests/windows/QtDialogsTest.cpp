#include "ModalDriver.h"
#include "windows/FileFilter.h"
#include "windows/QtDialogs.h"
#include "windows/TCustomCommand.h"
#include "windows/TInputForm.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(NameFiltersTest, ConvertsDescriptionAndPatternPairs)
{
    EXPECT_EQ(NameFilters("Log File|*.log"), QStringList{"Log File (*.log)"});
    EXPECT_EQ(NameFilters("Scripts|*.scr;*.txt|All files|*.*"), (QStringList{"Scripts (*.scr *.txt)", "All files (*.*)"}));
    EXPECT_EQ(NameFilters("Anything"), QStringList{"Anything (*)"});
    EXPECT_TRUE(NameFilters("").isEmpty());
}

struct BoxSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    int buttons = 0;
    bool onTop = false;
};

class QtDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::setApplicationDisplayName("Kestrin T.R.X"); }

    // Answers the next message box with `button` and records what it showed.
    void AnswerBox(QMessageBox::StandardButton button)
    {
        WhenModalOpens([this, button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            seen = {box->windowTitle(), box->text(), box->icon(), box->textFormat(), int(box->buttons().size()),
                    box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
            box->button(button)->click();
        });
    }

    TInputForm inputForm;
    TCustomCommand customCommand;
    QtDialogs dialogs{inputForm, customCommand};
    BoxSeen seen;
};

TEST_F(QtDialogsTest, MessageBoxesCarryTheirCaptionIconAndPlainText)
{
    AnswerBox(QMessageBox::Ok);
    dialogs.ShowMessage("<b>Done</b>");
    EXPECT_EQ(seen.title, "Kestrin T.R.X");
    EXPECT_EQ(seen.text, "<b>Done</b>");
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.onTop);

    AnswerBox(QMessageBox::Ok);
    dialogs.ShowBox("GetLastError", "No such device");
    EXPECT_EQ(seen.title, "GetLastError");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);

    AnswerBox(QMessageBox::Ok);
    dialogs.ShowError("'x' is not a valid integer value.");
    EXPECT_EQ(seen.title, "Kestrin T.R.X");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST_F(QtDialogsTest, OkCancelBoxHasAnEmptyTitleAndReportsTheButton)
{
    AnswerBox(QMessageBox::Ok);
    EXPECT_TRUE(dialogs.AskOkCancel("Card inserted?"));
    EXPECT_EQ(seen.title, "");
    EXPECT_EQ(seen.buttons, 2);

    AnswerBox(QMessageBox::Cancel);
    EXPECT_FALSE(dialogs.AskOkCancel("Card inserted?"));
}

TEST_F(QtDialogsTest, SaveDialogReplacesAnExistingFileWithoutAQuestion)
{
    QTemporaryDir folder;
    QFile existing(folder.filePath("old.log"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    WhenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Log File (*.log)"});
        EXPECT_EQ(dialog->defaultSuffix(), "log");
        ASSERT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    const auto chosen = dialogs.AskSaveFile({"Save", "Log File|*.log", folder.path(), "old", "log"});
    EXPECT_EQ(chosen, folder.filePath("old.log"));
}

TEST_F(QtDialogsTest, OpenDialogCancelledGivesNothing)
{
    WhenModalOpens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(dialogs.AskOpenFile({"Open", "Data File|*.dat", QDir::tempPath(), {}, {}}), std::nullopt);
}

TEST_F(QtDialogsTest, ParameterAndDataLineUseTheProgramsOwnDialogs)
{
    WhenModalOpens([](QWidget* modal) {
        EXPECT_TRUE(modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        modal->findChild<QLineEdit*>("Data")->setText("05");
        modal->findChild<QPushButton*>("OKBTN")->click();
    });
    EXPECT_EQ(dialogs.AskParameter("Record number"), "05");

    WhenModalOpens([](QWidget* modal) {
        EXPECT_TRUE(modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        modal->findChild<QLineEdit*>("command")->setText("00 A4");
        modal->findChild<QPushButton*>("SendBtn")->click();
    });
    EXPECT_EQ(dialogs.AskDataLine(), "00 A4");
}

} // namespace
