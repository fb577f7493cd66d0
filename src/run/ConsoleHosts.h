#pragma once

#include "run/LinkSettings.h"
#include "session/SessionHosts.h"

#include <QStringList>
#include <array>
#include <optional>

class ConsoleLog;
class DataFileProgress;
class RunStop;

// The card link as a run without a window serves it: the command line's device
// and byte delay, the log on standard output, no status light.
class ConsoleLinkHost : public SessionLinkHost {
public:
    ConsoleLinkHost(CardSession& session, const LinkSettings& settings, ConsoleLog& log, Dialogs& dialogs)
        : SessionLinkHost(session), m_settings(settings), m_log(log), m_dialogs(dialogs)
    {
    }

    QString PortName() const override { return m_settings.device; }
    bool EchoSentBytes() const override { return m_settings.pcscEcho; }
    QString ByteDelayText() const override { return m_settings.byteDelay; }
    void LogAtCaret(const QString& text) override;
    void ShowPortOpen(bool) override {}
    Dialogs& dialogs() override { return m_dialogs; }

private:
    const LinkSettings& m_settings;
    ConsoleLog& m_log;
    Dialogs& m_dialogs;
};

// A data file's transmission: its Raw Data lines, the command line's delays,
// its progress on the terminal. The Active box is always checked.
class ConsoleTransmitHost : public SessionTransmitHost {
public:
    ConsoleTransmitHost(CardSession& session, const LinkSettings& settings, ConsoleLog& log,
                        DataFileProgress& progress)
        : SessionTransmitHost(session), m_settings(settings), m_log(log), m_progress(progress)
    {
    }

    // A data file's Raw Data lines, with the line of the file at `path` that each came from.
    void SetLines(const QString& path, QStringList rawLines, QList<qsizetype> lineNumbers);

    bool Active() override { return true; }
    qsizetype RawLineCount() override { return m_lines.size(); }
    QString RawLine(qsizetype index) override;
    QString RawLinePlace(qsizetype index) override;
    void SetStatus(const QString&, quint32) override {}
    QString ByteDelayText() override { return m_settings.byteDelay; }
    QString CommandDelayText() override { return m_settings.commandDelay; }
    void LogAtCaret(const QString& text) override;

private:
    const LinkSettings& m_settings;
    ConsoleLog& m_log;
    DataFileProgress& m_progress;
    QString m_path;
    QStringList m_lines;
    QList<qsizetype> m_lineNumbers;
};

// A script run: the parameters of the command line (else the terminal, else
// the run stops), STATUS texts on standard error, the display window's text in
// the log only, EXEC's scripts beside the script being run.
class ConsoleScriptHost : public SessionScriptHost {
public:
    using Parameters = std::array<std::optional<QString>, 5>;

    ConsoleScriptHost(CardSession& session, const Parameters& parameters, ConsoleLog& log, RunStop& stop)
        : SessionScriptHost(session), m_parameters(parameters), m_log(log), m_stop(stop)
    {
    }

    void SetScriptFolder(const QString& folder) { m_folder = folder; }

    bool Active() override { return true; }
    bool Paused() override { return false; }
    void SetStatus(const QString& text, quint32 colour) override;
    std::optional<QString> GetParam(int slot, const QString& prompt) override;
    void WriteLog(const QString& text) override;
    void ClearLogs() override;
    void ShowDisplay() override {}
    void HideDisplay() override {}
    void SetDisplayBackground(quint32) override {}
    void SetDisplayTextColour(quint32) override {}
    void SetDisplayBold(bool) override {}
    void SetDisplayItalic(bool) override {}
    QString ScriptFolder() override { return m_folder; }

protected:
    void ShowText(const QString& text) override;

private:
    const Parameters& m_parameters;
    ConsoleLog& m_log;
    RunStop& m_stop;
    QString m_folder;
};
