#pragma once

#include "datafile/DataFileDialogState.h"
#include "main/MainFormHosts.h"
#include "session/CardSession.h"

#include <QMainWindow>
#include <memory>

namespace Ui {
class TMainForm;
}
class Dialogs;
class ScriptLines;
struct ScriptHeader;
class TDisplayForm;

// The operator's workplace: the Active Log, the data file and the current script,
// the run controls, the Setup and Scripts pages and the status bar. The handlers
// keep the names of the controls and events they serve; the work itself is done
// by the card session, the data-file and script units.
class TMainForm : public QMainWindow, public SessionHost {
    Q_OBJECT
public:
    TMainForm(Dialogs& dialogs, TDisplayForm& display, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Hexadecimal text of the bytes received since the last line was sent.
    QString Response() const { return m_session.ResponseText(); }
    const CardPort* PortHandle() const { return m_session.Link().PortHandle(); }
    const TComm* Worker() const { return m_session.Link().Worker(); }
    CardLink& Link() { return m_session.Link(); }
    CardSession& Session() { return m_session; }

    void FormShow();
    void InitializeAll();
    void StartCard();
    void COMLISTChange();
    void Button1Click();
    void FormClose();

    void ExplorerButton2Click();
    void ExplorerButton4Click();
    void Exit1Click();
    void Save1Click();
    void SaveTranscript1Click();
    void ExportTrace1Click();
    void ExportTimingChart1Click();
    void OpenXPL1Click();
    void CustomCommand1Click();

    void GetXPL();
    void WriteXPL();
    void SendCommand(const QString& line);
    void WriteScript(ScriptLines& lines);
    void GetParam(QString& slot, const QString& prompt);
    void DoText(const QString& text);

    void MainTabChange();
    void ScriptListClick();
    void LoadScriptClick();
    void ScriptListDblClick();

    void SetStatus(const QString& text, quint32 colour) override;
    void ShowPortOpen(bool open);
    void LogAtCaret(const QString& text);

    Ui::TMainForm& ui() { return *m_ui; }
    Dialogs& dialogs() override { return m_dialogs; }
    TDisplayForm& display() { return m_display; }
    ScriptState& scriptState() { return m_session.scriptState(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void StyleControls();
    void ConnectControls();
    void ConnectRunControls();
    void ConnectScriptsPage();
    void ListScripts(const QString& folder);
    QString SelectedScript() const;
    void ShowScriptHeader(const ScriptHeader& header);

    std::unique_ptr<Ui::TMainForm> m_ui;
    Dialogs& m_dialogs;
    TDisplayForm& m_display;
    MainLinkHost m_linkHost{*this};
    MainTransmitHost m_transmitHost{*this};
    MainScriptHost m_scriptHost{*this};
    CardSession m_session{m_linkHost, *this};
    DataFileDialogState m_dataFileDialog;
    QString m_scriptFolder;
    bool m_shown = false;
};
