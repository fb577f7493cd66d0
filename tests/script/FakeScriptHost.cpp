#include "FakeScriptHost.h"

#include "base/MessagePump.h"

void FakeScriptHost::SetStatus(const QString& text, quint32 colour)
{
    statusColour = colour;
    record("status", text);
}

// The window's SendCommand empties the response before the line goes out.
void FakeScriptHost::SendCommand(const QString& line)
{
    response.clear();
    record("send", line);
}

QStringList FakeScriptHost::Texts(const QString& kind) const
{
    QStringList texts;
    for (const Call& call : calls)
        if (call.kind == kind)
            texts << call.text;
    return texts;
}

QStringList FakeScriptHost::Actions() const
{
    QStringList actions;
    for (const Call& call : calls)
        if (call.kind != "status")
            actions << (call.kind + ' ' + call.text).trimmed();
    return actions;
}

void FakeScriptHost::record(const QString& kind, const QString& text)
{
    calls.push_back({kind, text});
    if (onCall)
        onCall(calls.back());
}

void ScriptTest::TearDown()
{
    MessagePump::SetClosing(false);
}

QStringList ScriptTest::RunScript(const QStringList& lines)
{
    StringListLines list(lines);
    ScriptInterpreter(host, state).Run(list);
    return list.List();
}
