#pragma once

#include "base/RtfWriter.h"

#include <QTextBlock>
#include <QTextDocument>

// How the Active Log holds a long line in its document: as several short display
// blocks, each after the first marked as carrying on the line of the block before.
// Joining them gives the line back.
namespace ActiveLogBlocks {

// The format of a block that starts a line of its own.
QTextBlockFormat LineStart();

bool IsContinuation(const QTextBlock& block);

// Cuts `block` into blocks of at most maxLength characters (ActiveLogText::BlockCuts);
// the new blocks carry on its line.
void SplitLongBlock(const QTextBlock& block, int maxLength);

// The content as runs of one format each and hard line ends; the display blocks of
// a line are joined, and neighbouring pieces of the same format merged.
QList<TextRun> Runs(const QTextDocument& document);

} // namespace ActiveLogBlocks
