#include "common/PrintedDialogs.h"

#include <cstdio>

void PrintedDialogs::ShowMessage(const QString& text) { ShowBox({}, text); }

void PrintedDialogs::ShowBox(const QString& caption, const QString& text)
{
    ++shown;
    std::fprintf(stderr, "box %s: %s\n", qPrintable(caption), qPrintable(text));
}

void PrintedDialogs::ShowError(const QString& text) { ShowBox(QStringLiteral("error"), text); }

bool PrintedDialogs::AskOkCancel(const QString& text)
{
    ShowBox(QStringLiteral("OK/Cancel"), text);
    return false;
}

std::optional<QString> PrintedDialogs::AskOpenFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<QString> PrintedDialogs::AskSaveFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<QString> PrintedDialogs::AskParameter(const QString&) { return std::nullopt; }
std::optional<QString> PrintedDialogs::AskDataLine() { return std::nullopt; }
