#include "common/FakeDialogs.h"

void FakeDialogs::record(const QString& kind, const QString& caption, const QString& text)
{
    shown.push_back({kind, caption, text});
    if (onShown)
        onShown(shown.back());
}

std::optional<QString> FakeDialogs::nextReply()
{
    if (replies.empty())
        return std::nullopt;
    const bool answered = replies.front().has_value();
    const QString text = replies.front().value_or(QString());
    replies.pop_front();
    return answered ? std::optional<QString>(text) : std::nullopt;
}

void FakeDialogs::ShowMessage(const QString& text) { record("message", {}, text); }
void FakeDialogs::ShowBox(const QString& caption, const QString& text) { record("box", caption, text); }
void FakeDialogs::ShowError(const QString& text) { record("error", {}, text); }

bool FakeDialogs::AskOkCancel(const QString& text)
{
    record("okcancel", {}, text);
    if (okCancelReplies.empty())
        return false;
    const bool ok = okCancelReplies.front();
    okCancelReplies.pop_front();
    return ok;
}

std::optional<QString> FakeDialogs::AskOpenFile(const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    record("open", request.filter, request.fileName);
    return nextReply();
}

std::optional<QString> FakeDialogs::AskSaveFile(const FileDialogRequest& request)
{
    fileRequests.push_back(request);
    record("save", request.filter, request.fileName);
    return nextReply();
}

std::optional<QString> FakeDialogs::AskParameter(const QString& prompt)
{
    record("parameter", prompt, {});
    return nextReply();
}

std::optional<QString> FakeDialogs::AskDataLine()
{
    record("dataline", {}, {});
    return nextReply();
}

QStringList FakeDialogs::texts(const QString& kind) const
{
    QStringList result;
    for (const auto& s : shown)
        if (s.kind == kind)
            result << s.text;
    return result;
}
