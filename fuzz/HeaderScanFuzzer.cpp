// A script file as the Scripts page reads it: its header fields, and its lines
// cut both ways (for a run, and for Load into the editor).
#include "FuzzSupport.h"

#include "script/ScriptCatalogue.h"
#include "script/ScriptFile.h"

namespace {

QString WithoutLineEnds(QString text)
{
    text.removeIf([](QChar c) { return c == u'\r' || c == u'\n'; });
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ScriptHeader header = ScanScriptHeader(text);
    for (const QString* field : {&header.version, &header.description, &header.author, &header.date})
        Fuzz::Require(!field->contains(u'\n'), "a header field is part of one line");

    const QStringList runLines = SplitScriptLines(text);
    Fuzz::Require(runLines.join(QString()) == WithoutLineEnds(text), "the run's lines hold every character");
    const QStringList editorLines = CompleteScriptLines(text);
    Fuzz::Require(editorLines.size() == text.count(u'\n'), "Load keeps one line per line end");
    for (const QString& line : editorLines)
        Fuzz::Require(!line.contains(u'\n'), "a loaded line holds no line feed");
    return 0;
}
