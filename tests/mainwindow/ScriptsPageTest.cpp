// The Scripts page: the catalogue, the header of the chosen script and Load.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

class ScriptsPageTest : public MainWindowTest {
protected:
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < m_list->count(); ++row)
            names << m_list->item(row)->text();
        return names;
    }
    QStringList scriptInfo()
    {
        return {ui().Version->text(), ui().Description->text(), ui().Author->text(), ui().Date->text(),
                ui().Encoded->text()};
    }
    void toScriptsPage() { ui().MainTab->setCurrentWidget(ui().TabSheet1); }

    QListWidget* m_list = ui().ScriptList;
};

TEST_F(ScriptsPageTest, ChangingToThePageListsTheScriptsSortedAndShowsTheFirstHeader)
{
    writeFile("beta.scr", "REM no header\r\n");
    writeFile("Alpha.scr", "VER 1.0\r\nDESCRIPTION First one\r\nAUTHOR Ann\r\nDATE 2026-01-02\r\nVER=1.1\r\n");
    writeFile("notes.txt", "VER 9\r\n");
    QDir(folderPath(".")).mkdir("folder.scr");
    EXPECT_EQ(scriptInfo(), (QStringList{"Version", "Version", "N/A", "N/A", "NO"}));
    toScriptsPage();
    EXPECT_EQ(listed(), (QStringList{"Alpha.scr", "beta.scr"}));
    EXPECT_EQ(m_list->currentRow(), 0);
    EXPECT_EQ(scriptInfo(), (QStringList{"1.1", "First one", "Ann", "2026-01-02", "NO"}));

    m_list->setCurrentRow(1);
    EXPECT_EQ(scriptInfo(), (QStringList{"N/A", "N/A", "N/A", "N/A", "NO"}));
}

// The page's places have the sizes of a fixed layout: what does not fit loses its middle.
TEST_F(ScriptsPageTest, AHeaderTooLongForItsPlaceShowsBothEndsAndWholeToToolsAndTooltip)
{
    const QString author = "Kestrin T.R.X samples";
    const QString description = QString("A description that goes on and on, ").repeated(8) + "to its end.";
    writeFile("long.scr", ("DESCRIPTION " + description + "\r\nAUTHOR " + author + "\r\n").toUtf8());
    writeFile("short.scr", "AUTHOR Ann\r\n");
    toScriptsPage();
    for (const auto& [label, whole] : {std::pair{ui().Author, author}, std::pair{ui().Description, description}}) {
        const QStringList ends = label->text().split(QChar(0x2026));
        ASSERT_EQ(ends.size(), 2) << label->text().toStdString();
        EXPECT_TRUE(whole.startsWith(ends[0]) && whole.endsWith(ends[1]) && ends[0].size() > 1 && ends[1].size() > 1)
            << label->text().toStdString();
        EXPECT_EQ(label->toolTip(), whole);
        EXPECT_EQ(label->accessibleName(), whole);
    }
    EXPECT_LE(ui().Author->fontMetrics().horizontalAdvance(ui().Author->text()), ui().Author->width());

    m_list->setCurrentRow(1);
    EXPECT_EQ(ui().Author->text(), "Ann");
    EXPECT_EQ(ui().Author->toolTip(), "");
}

TEST_F(ScriptsPageTest, AScriptAddedLaterAppearsAtTheNextPageChange)
{
    writeFile("one.scr", "REM\r\n");
    toScriptsPage();
    writeFile("two.scr", "REM\r\n");
    EXPECT_EQ(listed(), QStringList{"one.scr"});
    ui().MainTab->setCurrentWidget(ui().Setup);
    EXPECT_EQ(listed(), (QStringList{"one.scr", "two.scr"}));
}

// The list never comes from the process's working folder, which here holds other scripts.
TEST_F(ScriptsPageTest, OpeningADataFileListsTheProgramFoldersScripts)
{
    QTemporaryDir elsewhere;
    QFile(elsewhere.filePath("stray.scr")).open(QIODevice::WriteOnly);
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    writeFile("mine.scr", "REM\r\n");
    toScriptsPage();
    ui().OpenXPL1->trigger(); // its dialog is cancelled
    QDir::setCurrent(before);
    EXPECT_EQ(listed(), QStringList{"mine.scr"});
}

TEST_F(ScriptsPageTest, LoadFillsTheEditorWithoutTheUnterminatedLastLineAndShowsIt)
{
    writeFile("run.scr", "  SEND('00 B0')\r\n\r\nREM lone LF\nLAST WITHOUT END");
    toScriptsPage();
    writeFile("later.scr", "REM\r\n");
    ui().LoadScript->click();
    EXPECT_EQ(lines(*ui().Script), (QStringList{"  SEND('00 B0')", "", "REM lone LF"}));
    EXPECT_EQ(ui().MainTab->currentWidget(), ui().Interface);
    EXPECT_EQ(ui().DataTab->currentWidget(), ui().ScriptTab);
    EXPECT_EQ(listed(), QStringList{"run.scr"}) << "a page chosen by Load is no page change";
    EXPECT_TRUE(dialogs().shown.empty());
}

TEST_F(ScriptsPageTest, DoubleClickShowsTheHeaderAndLoads)
{
    writeFile("a.scr", "VER 1\r\nPRINT(\"a\")\r\n");
    writeFile("b.scr", "VER 2\r\nPRINT(\"b\")\r\n");
    showForm();
    toScriptsPage();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    const QRect second = m_list->visualItemRect(m_list->item(1));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(ui().Version->text(), "2");
    QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(lines(*ui().Script), (QStringList{"VER 2", "PRINT(\"b\")"}));
    EXPECT_EQ(ui().MainTab->currentWidget(), ui().Interface);
    EXPECT_EQ(ui().DataTab->currentWidget(), ui().ScriptTab);
}

TEST_F(ScriptsPageTest, AnEmptyFolderListsNothingAndLoadSaysSo)
{
    ui().Script->setPlainText("kept");
    toScriptsPage();
    EXPECT_EQ(m_list->count(), 0);
    EXPECT_EQ(scriptInfo(), (QStringList{"Version", "Version", "N/A", "N/A", "NO"}));
    ui().LoadScript->click();
    EXPECT_EQ(shownTexts("message"), QStringList{"No Script Files Found!"});
    EXPECT_EQ(ui().MainTab->currentWidget(), ui().TabSheet1);
    EXPECT_EQ(ui().Script->toPlainText(), "kept");
}

TEST_F(ScriptsPageTest, AScriptRemovedAfterListingIsReportedAndTheEditorKept)
{
    writeFile("gone.scr", "REM\r\n");
    toScriptsPage();
    QFile::remove(folderPath("gone.scr"));
    ui().Script->setPlainText("kept");
    ui().LoadScript->click();
    EXPECT_EQ(dialogs().texts("error").size(), 1);
    EXPECT_EQ(ui().Script->toPlainText(), "kept");
    EXPECT_EQ(ui().MainTab->currentWidget(), ui().TabSheet1);
}

} // namespace
