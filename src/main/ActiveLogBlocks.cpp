#include "main/ActiveLogBlocks.h"

#include "base/Colours.h"
#include "main/ActiveLogText.h"

#include <QTextCursor>

namespace ActiveLogBlocks {
namespace {

constexpr int ContinuationProperty = QTextFormat::UserProperty + 1;

QTextBlockFormat Continuation()
{
    QTextBlockFormat format;
    format.setProperty(ContinuationProperty, true);
    return format;
}

TextRun RunOf(const QTextFragment& fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    TextRun run;
    run.text = fragment.text();
    if (format.foreground().style() != Qt::NoBrush) {
        const QColor colour = format.foreground().color();
        run.colour = Colours::Rgb(colour.red(), colour.green(), colour.blue());
    }
    run.bold = format.fontWeight() >= QFont::DemiBold;
    run.italic = format.fontItalic();
    return run;
}

void AppendRun(QList<TextRun>& runs, TextRun run)
{
    if (!runs.isEmpty() && !runs.last().lineEnd && runs.last().SameFormat(run))
        runs.last().text += run.text;
    else
        runs.append(std::move(run));
}

} // namespace

QTextBlockFormat LineStart()
{
    return {};
}

bool IsContinuation(const QTextBlock& block)
{
    return block.blockFormat().boolProperty(ContinuationProperty);
}

// Cuts from the back, so the offsets of the cuts still to make stay valid.
void SplitLongBlock(const QTextBlock& block, int maxLength)
{
    const int start = block.position();
    const QList<qsizetype> cuts = ActiveLogText::BlockCuts(block.text(), maxLength);
    QTextCursor cutter(block);
    for (auto cut = cuts.crbegin(); cut != cuts.crend(); ++cut) {
        cutter.setPosition(start + int(*cut));
        cutter.insertBlock(Continuation(), cutter.charFormat());
    }
}

QList<TextRun> Runs(const QTextDocument& document)
{
    QList<TextRun> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !IsContinuation(block))
            runs.append(TextRun::LineEnd());
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            AppendRun(runs, RunOf(fragment.fragment()));
    }
    return runs;
}

} // namespace ActiveLogBlocks
