#include "main/ActiveLogText.h"

namespace ActiveLogText {
namespace {

// The end of the piece that starts at `start` and would run on past maxLength.
qsizetype PieceEnd(QStringView line, qsizetype start, qsizetype maxLength)
{
    const qsizetype limit = start + maxLength;
    for (qsizetype end = limit; end > limit - maxLength / 4; --end) {
        if (line[end - 1] == u' ')
            return end;
    }
    return maxLength > 1 && line[limit - 1].isHighSurrogate() ? limit - 1 : limit;
}

} // namespace

QList<qsizetype> BlockCuts(QStringView line, qsizetype maxLength)
{
    QList<qsizetype> cuts;
    for (qsizetype start = 0; line.size() - start > maxLength;) {
        start = PieceEnd(line, start, maxLength);
        cuts.append(start);
    }
    return cuts;
}

} // namespace ActiveLogText
