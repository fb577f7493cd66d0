#pragma once

#include "base/ProgramFolder.h"
#include "common/FakeDialogs.h"
#include "script/ScriptHost.h"
#include "script/ScriptInterpreter.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <functional>
#include <vector>

// Records every call a run makes as (kind, text); the operator's boxes go to
// FakeDialogs, which answers them from its queued replies.
class FakeScriptHost : public ScriptHost {
public:
    struct Call {
        QString kind;
        QString text;
    };

    bool Active() override { return active; }
    bool Paused() override { return paused && paused(); }
    void SetStatus(const QString& text, quint32 colour) override;
    void SendCommand(const QString& line) override;
    QString Response() override { return response; }
    void ClearResponse() override { record("clear response", {}); }
    void LineControl(LineFunction function) override { record("line", QString::number(int(function))); }
    void SetBaudRate(int baud) override { record("baud", QString::number(baud)); }
    void SetEcho(bool on) override { record("echo", on ? "on" : "off"); }
    std::optional<QString> GetParam(int, const QString& prompt) override { return dialogs.AskParameter(prompt); }
    void ShowMessage(const QString& text) override { dialogs.ShowMessage(text); }
    bool AskOkCancel(const QString& text) override { return dialogs.AskOkCancel(text); }
    void DoText(const QString& text) override { record("text", text); }
    void WriteLog(const QString& text) override { record("log", text); }
    void ClearLogs() override { record("clear logs", {}); }
    void ShowDisplay() override { record("display", "show"); }
    void HideDisplay() override { record("display", "hide"); }
    void SetDisplayBackground(quint32 colour) override { record("background", QString::number(colour, 16)); }
    void SetDisplayTextColour(quint32 colour) override { record("colour", QString::number(colour, 16)); }
    void SetDisplayBold(bool on) override { record("bold", on ? "on" : "off"); }
    void SetDisplayItalic(bool on) override { record("italic", on ? "on" : "off"); }
    QString ScriptFolder() override { return ProgramFolder(); }

    // The texts of the calls of one kind, in order.
    QStringList Texts(const QString& kind) const;
    // Every call but the status label's, as "kind text".
    QStringList Actions() const;

    bool active = true;
    std::function<bool()> paused;
    QString response;
    quint32 statusColour = 0;
    std::function<void(const Call&)> onCall; // after each recorded call
    FakeDialogs dialogs;
    std::vector<Call> calls;

private:
    void record(const QString& kind, const QString& text);
};

// A host, the program-wide parameters, and a run of lines through them.
class ScriptTest : public ::testing::Test {
protected:
    void TearDown() override;
    // Runs the lines; returns them as the run left them.
    QStringList RunScript(const QStringList& lines);

    FakeScriptHost host;
    ScriptState state;
};
