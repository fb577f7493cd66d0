// Scripts: running the current script, and the Scripts page's catalogue.
#include "base/Dialogs.h"
#include "base/ErrorBoundary.h"
#include "base/ProgramFolder.h"
#include "main/EditorLines.h"
#include "main/TMainForm.h"
#include "script/ScriptCatalogue.h"
#include "script/ScriptInterpreter.h"
#include "ui_TMainForm.h"
#include "widgets/ElidedText.h"

#include <QDir>
#include <QSignalBlocker>

void TMainForm::ConnectScriptsPage()
{
    connect(m_ui->MainTab, &QTabWidget::currentChanged, this, &TMainForm::MainTabChange);
    connect(m_ui->ScriptList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ScriptListClick();
    });
    connect(m_ui->LoadScript, &QPushButton::clicked, this, &TMainForm::LoadScriptClick);
    connect(m_ui->ScriptList, &QListWidget::itemDoubleClicked, this, &TMainForm::ScriptListDblClick);
}

void TMainForm::WriteScript(ScriptLines& lines) { ScriptInterpreter(m_scriptHost, scriptState()).Run(lines); }

void TMainForm::GetParam(QString& slot, const QString& prompt)
{
    slot = m_dialogs.AskParameter(prompt).value_or(QString());
}

void TMainForm::ListScripts(const QString& folder)
{
    const QSignalBlocker quiet(m_ui->ScriptList); // listing selects without showing a header
    m_scriptFolder = folder;
    m_ui->ScriptList->clear();
    m_ui->ScriptList->addItems(ScriptFileNames(folder));
    if (m_ui->ScriptList->count() > 0)
        m_ui->ScriptList->setCurrentRow(0);
}

QString TMainForm::SelectedScript() const
{
    const QListWidgetItem* item = m_ui->ScriptList->currentItem();
    return item ? QDir(m_scriptFolder).filePath(item->text()) : QString();
}

void TMainForm::MainTabChange()
{
    ListScripts(ScriptsFolder());
    if (m_ui->ScriptList->count() > 0)
        ScriptListClick();
}

void TMainForm::ScriptListClick()
{
    ShowScriptHeader({});
    RunGuarded(m_dialogs, [this] { ShowScriptHeader(ReadScriptHeader(SelectedScript())); });
}

void TMainForm::ShowScriptHeader(const ScriptHeader& header)
{
    const std::pair<QLabel*, QString> fields[] = {
        {m_ui->Version, header.version},
        {m_ui->Description, header.description},
        {m_ui->Author, header.author},
        {m_ui->Date, header.date}};
    for (const auto& [label, text] : fields)
        ShowElided(*label, text, label->size());
}

void TMainForm::LoadScriptClick()
{
    if (m_session.RefusedDuringTransmission(QStringLiteral("A script cannot be loaded while a transmission runs.")))
        return;
    if (m_ui->ScriptList->count() == 0) {
        m_dialogs.ShowMessage(QStringLiteral("No Script Files Found!"));
        return;
    }
    RunGuarded(m_dialogs, [this] {
        // Read first: a script that cannot be read leaves the current one as it was.
        SetEditorLines(*m_ui->Script, LoadScriptLines(SelectedScript()));
        const QSignalBlocker quiet(m_ui->MainTab); // a page chosen here is no page change of the operator's
        m_ui->MainTab->setCurrentWidget(m_ui->Interface);
        m_ui->DataTab->setCurrentWidget(m_ui->ScriptTab);
    });
}

void TMainForm::ScriptListDblClick() { m_ui->LoadScript->click(); }
