#pragma once

#include "base/RtfWriter.h"

// Reads back the text, line ends, colours and bold/italic of a rich-text document,
// as far as a plain log needs: enough to check what a reader would show.
QList<TextRun> ExtractRuns(const QByteArray& rtf);

// A run of text in the given format.
TextRun MakeRun(const QString& text, std::optional<quint32> colour = std::nullopt, bool bold = false, bool italic = false);
