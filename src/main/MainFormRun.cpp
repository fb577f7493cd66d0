// The run controls of the main window: Initialize, Send Data, Exit, the data
// sender, data files and saving the Active Log.
#include "base/Colours.h"
#include "base/Dialogs.h"
#include "base/ErrorBoundary.h"
#include "base/RtfWriter.h"
#include "datafile/DataFile.h"
#include "datafile/DataTransmitter.h"
#include "main/EditorLines.h"
#include "main/TMainForm.h"
#include "ui_TMainForm.h"

void TMainForm::ConnectRunControls()
{
    connect(m_ui->ExplorerButton2, &TExplorerButton::clicked, this, &TMainForm::ExplorerButton2Click);
    connect(m_ui->ExplorerButton4, &TExplorerButton::clicked, this, &TMainForm::ExplorerButton4Click);
}

template <typename Run>
void TMainForm::RunExclusive(const QString& refusal, Run&& run)
{
    if (m_running) {
        m_dialogs.ShowMessage(refusal);
        return;
    }
    m_running = true;
    RunGuarded(m_dialogs, std::forward<Run>(run));
    m_running = false;
}

void TMainForm::ExplorerButton2Click()
{
    RunGuarded(m_dialogs, [this] { StartCard(); });
}

void TMainForm::ExplorerButton4Click()
{
    RunExclusive(QStringLiteral("A transmission is already running."), [this] {
        if (!PortHandle()) {
            m_dialogs.ShowMessage(QStringLiteral("COMMUNICATIONS not initialized"));
            return;
        }
        m_ui->Memo1->setFocus();
        if (m_ui->DataTab->currentWidget() == m_ui->XplTab)
            WriteXPL();
        if (m_ui->DataTab->currentWidget() == m_ui->ScriptTab) {
            EditorLines lines(*m_ui->Script);
            WriteScript(lines);
        }
        SetStatus(QStringLiteral("Ready."), Colours::Green);
    });
}

void TMainForm::Exit1Click()
{
    m_ui->Paused->setChecked(true);
    m_ui->Active->setChecked(false);
    m_ui->Paused->setChecked(false);
    close();
}

void TMainForm::Save1Click()
{
    RunGuarded(m_dialogs, [this] {
        const FileDialogRequest request{QStringLiteral("Save Active Log"), QStringLiteral("Log File|*.log"), {},
                                        QStringLiteral("*.log"), QStringLiteral("log")};
        if (const auto path = m_dialogs.AskSaveFile(request))
            SaveRtf(*path, m_ui->Memo1->Runs());
    });
}

void TMainForm::OpenXPL1Click()
{
    RunGuarded(m_dialogs, [this] {
        InitializeAll();
        GetXPL();
    });
}

void TMainForm::GetXPL()
{
    const auto path = m_dialogs.AskOpenFile(m_dataFileDialog.Request());
    if (!path)
        return;
    m_dataFileDialog.Remember(*path);
    const DataFile file = LoadDataFile(*path);
    SetEditorLines(*m_ui->dat, file.lines);
    SetEditorLines(*m_ui->raw, file.rawLines);
}

void TMainForm::WriteXPL() { DataTransmitter(m_transmitHost).Run(); }

void TMainForm::CustomCommand1Click()
{
    RunGuarded(m_dialogs, [this] {
        if (const auto line = m_dialogs.AskDataLine())
            SendCommand(*line);
    });
}

void TMainForm::SendCommand(const QString& line) { m_link.SendCommand(line); }
