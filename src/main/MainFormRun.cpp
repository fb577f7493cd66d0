// The run controls of the main window: Initialize, Send Data, Exit, the data
// sender, data files, saving the Active Log and the transcript, exporting the trace
// and its timing chart.
#include "base/Dialogs.h"
#include "base/ErrorBoundary.h"
#include "base/RtfWriter.h"
#include "base/SaveFile.h"
#include "datafile/DataFile.h"
#include "datafile/DataTransmitter.h"
#include "main/EditorLines.h"
#include "main/TMainForm.h"
#include "trace/PcapExport.h"
#include "ui_TMainForm.h"
#include "windows/TimingChartExport.h"
#include "windows/TracePage.h"

void TMainForm::ConnectRunControls()
{
    connect(m_ui->ExplorerButton2, &TExplorerButton::clicked, this, &TMainForm::ExplorerButton2Click);
    connect(m_ui->ExplorerButton4, &TExplorerButton::clicked, this, &TMainForm::ExplorerButton4Click);
}

void TMainForm::ExplorerButton2Click()
{
    // A new start under a run would reset the line and put the ATR into its response.
    if (m_session.RefusedDuringTransmission(QStringLiteral("The link cannot be initialized while a transmission runs.")))
        return;
    RunGuarded(m_dialogs, [this] { StartCard(); });
}

void TMainForm::ExplorerButton4Click()
{
    // The page in front is looked at again after the data file: a run may change it.
    m_session.SendData([this] {
        m_ui->Memo1->setFocus();
        if (m_ui->DataTab->currentWidget() == m_ui->XplTab)
            WriteXPL();
        if (m_ui->DataTab->currentWidget() == m_ui->ScriptTab) {
            EditorLines lines(*m_ui->Script);
            WriteScript(lines);
        }
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

// Everything since the program started, in the transcript's own text format.
void TMainForm::SaveTranscript1Click()
{
    RunGuarded(m_dialogs, [this] {
        const FileDialogRequest request{QStringLiteral("Save Transcript"), QStringLiteral("Transcript|*.txt"), {},
                                        QStringLiteral("*.txt"), QStringLiteral("txt")};
        if (const auto path = m_dialogs.AskSaveFile(request))
            SaveFile(*path, m_session.Transcript().FileText());
    });
}

void TMainForm::ExportTrace1Click()
{
    RunGuarded(m_dialogs, [this] {
        const FileDialogRequest request{QStringLiteral("Export Trace"), QStringLiteral("Wireshark Trace|*.pcap"), {},
                                        QStringLiteral("*.pcap"), QStringLiteral("pcap")};
        if (const auto path = m_dialogs.AskSaveFile(request))
            SavePcap(*path, Link().Timeline());
    });
}

// The chart as the Trace page shows it, as an SVG picture or a PNG image.
void TMainForm::ExportTimingChart1Click()
{
    RunGuarded(m_dialogs, [this] {
        const FileDialogRequest request{QStringLiteral("Export Timing Chart"),
                                        QStringLiteral("SVG Picture|*.svg|PNG Image|*.png"), {}, QStringLiteral("*.svg"),
                                        QStringLiteral("svg")};
        if (const auto path = m_dialogs.AskSaveFile(request))
            SaveFile(*path, TimingChartFile(m_ui->TraceSheet->chart(), *path));
    });
}

void TMainForm::OpenXPL1Click()
{
    // Opening empties the panes and the script that a run is reading.
    if (m_session.RefusedDuringTransmission(QStringLiteral("A data file cannot be opened while a transmission runs.")))
        return;
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
    m_session.RunExclusive([this] {
        if (const auto line = m_dialogs.AskDataLine())
            SendCommand(*line);
    });
}

void TMainForm::SendCommand(const QString& line) { Link().SendCommand(line); }
