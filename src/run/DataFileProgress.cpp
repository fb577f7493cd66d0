#include "run/DataFileProgress.h"

#include "run/ConsoleText.h"

#include <chrono>

namespace {
// A file done sooner shows nothing.
constexpr std::chrono::milliseconds FirstShown{500};
constexpr std::chrono::milliseconds Renewed{100};
} // namespace

void DataFileProgress::Start(const QString& name, qsizetype lineCount)
{
    m_name = name;
    m_lineCount = lineCount;
    m_running.start();
    m_shownAt = -1;
}

void DataFileProgress::Reached(qsizetype lineIndex)
{
    const qint64 now = m_running.elapsed();
    if (now < FirstShown.count() || (m_shownAt >= 0 && now - m_shownAt < Renewed.count()))
        return;
    m_shownAt = now;
    ConsoleText::ShowInPlace(QStringLiteral("%1: line %2 of %3").arg(m_name).arg(lineIndex + 1).arg(m_lineCount));
}

void DataFileProgress::Finish() { ConsoleText::EraseInPlace(); }
