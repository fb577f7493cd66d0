#include "run/ConsoleDialogs.h"

#include "base/ProgramMessages.h"
#include "run/ConsoleText.h"
#include "run/RunStop.h"
#include "run/TerminalQuestion.h"

namespace {

// OK for o, ok, y or yes; Cancel for c, cancel, n or no; nothing for anything else.
std::optional<bool> OkOrCancel(const QString& answer)
{
    const QString word = answer.trimmed().toLower();
    if (word == u"o" || word == u"ok" || word == u"y" || word == u"yes")
        return true;
    if (word == u"c" || word == u"cancel" || word == u"n" || word == u"no")
        return false;
    return std::nullopt;
}

} // namespace

void ConsoleDialogs::ShowMessage(const QString& text) { ConsoleText::SayNote(QStringLiteral("message"), text); }

// The caption names the platform call the window's layout keeps; the text says it all.
void ConsoleDialogs::ShowBox(const QString&, const QString& text)
{
    m_stop.Stop(ExitStatus::LinkFailed, ProgramMessages::AsClause(text));
}

void ConsoleDialogs::ShowError(const QString& text) { m_stop.Stop(ExitStatus::Error, text); }

bool ConsoleDialogs::AskOkCancel(const QString& text)
{
    ConsoleText::SayNote(QStringLiteral("prompt"), text);
    if (m_promptAnswer)
        return *m_promptAnswer;
    if (TerminalQuestion::Available()) {
        while (const auto answer = TerminalQuestion::Ask(QStringLiteral("OK or Cancel? ")))
            if (const auto ok = OkOrCancel(*answer))
                return *ok;
    }
    m_stop.Stop(ExitStatus::NoAnswer, QStringLiteral("a PROMPT box needs an answer: '%1' (give --yes or --no)").arg(text));
    return false;
}
