#include "trace/UnifiedDiff.h"

#include <algorithm>
#include <vector>

namespace {

// Past this many changed lines the middle of the lists is shown as removed and
// added whole: the search for the shortest edit costs the square of the changes.
constexpr qsizetype MaxSearchedChanges = 2000;

enum class Op : char { Keep = ' ', Remove = '-', Add = '+' };

struct Edit {
    Op op;
    qsizetype from; // index into `from` (Keep, Remove)
    qsizetype to;   // index into `to` (Keep, Add)
};

// The shortest edit of from[fromBegin, fromEnd) into to[toBegin, toEnd) (Myers'
// greedy search, keeping the frontier of every step to walk it back), or
// nothing when it needs more than MaxSearchedChanges changes.
class ShortestEdit {
public:
    ShortestEdit(const QStringList& from, const QStringList& to, LinesMatch match) : m_from(from), m_to(to), m_match(match) {}

    bool Find(qsizetype fromBegin, qsizetype fromEnd, qsizetype toBegin, qsizetype toEnd, std::vector<Edit>& edits)
    {
        m_fromBegin = fromBegin;
        m_toBegin = toBegin;
        const qsizetype n = fromEnd - fromBegin, m = toEnd - toBegin;
        const qsizetype limit = std::min(n + m, MaxSearchedChanges);
        std::vector<qsizetype> frontier(2 * limit + 3, 0);
        const qsizetype offset = limit + 1;
        std::vector<std::vector<qsizetype>> steps;
        for (qsizetype d = 0; d <= limit; ++d) {
            steps.emplace_back(frontier.begin() + offset - d - 1, frontier.begin() + offset + d + 2);
            for (qsizetype k = -d; k <= d; k += 2) {
                qsizetype x = (k == -d || (k != d && frontier[offset + k - 1] < frontier[offset + k + 1]))
                                  ? frontier[offset + k + 1]
                                  : frontier[offset + k - 1] + 1;
                qsizetype y = x - k;
                while (x < n && y < m && Matches(x, y))
                    ++x, ++y;
                frontier[offset + k] = x;
                if (x >= n && y >= m) {
                    WalkBack(steps, n, m, edits);
                    return true;
                }
            }
        }
        return false;
    }

private:
    bool Matches(qsizetype x, qsizetype y) const { return m_match(m_from[m_fromBegin + x], m_to[m_toBegin + y]); }

    void WalkBack(const std::vector<std::vector<qsizetype>>& steps, qsizetype x, qsizetype y, std::vector<Edit>& edits)
    {
        std::vector<Edit> reversed;
        for (qsizetype d = qsizetype(steps.size()) - 1; d >= 0; --d) {
            const std::vector<qsizetype>& before = steps[d];
            const auto at = [&](qsizetype k) { return before[k + d + 1]; };
            const qsizetype k = x - y;
            const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
            const qsizetype previousK = down ? k + 1 : k - 1;
            const qsizetype previousX = d == 0 ? 0 : at(previousK);
            const qsizetype previousY = d == 0 ? 0 : previousX - previousK;
            for (; x > previousX && y > previousY; --x, --y)
                reversed.push_back({Op::Keep, m_fromBegin + x - 1, m_toBegin + y - 1});
            if (d == 0)
                break;
            if (down)
                reversed.push_back({Op::Add, m_fromBegin + x, m_toBegin + y - 1});
            else
                reversed.push_back({Op::Remove, m_fromBegin + x - 1, m_toBegin + y});
            x = previousX;
            y = previousY;
        }
        edits.insert(edits.end(), reversed.rbegin(), reversed.rend());
    }

    const QStringList& m_from;
    const QStringList& m_to;
    LinesMatch m_match;
    qsizetype m_fromBegin = 0;
    qsizetype m_toBegin = 0;
};

std::vector<Edit> Edits(const QStringList& from, const QStringList& to, LinesMatch match)
{
    qsizetype head = 0;
    while (head < from.size() && head < to.size() && match(from[head], to[head]))
        ++head;
    qsizetype fromEnd = from.size(), toEnd = to.size();
    while (fromEnd > head && toEnd > head && match(from[fromEnd - 1], to[toEnd - 1]))
        --fromEnd, --toEnd;
    std::vector<Edit> edits;
    for (qsizetype index = 0; index < head; ++index)
        edits.push_back({Op::Keep, index, index});
    if (!ShortestEdit(from, to, match).Find(head, fromEnd, head, toEnd, edits)) {
        for (qsizetype index = head; index < fromEnd; ++index)
            edits.push_back({Op::Remove, index, head});
        for (qsizetype index = head; index < toEnd; ++index)
            edits.push_back({Op::Add, fromEnd, index});
    }
    for (qsizetype index = 0; fromEnd + index < from.size(); ++index)
        edits.push_back({Op::Keep, fromEnd + index, toEnd + index});
    return edits;
}

// "-3,4": where a side's part of a hunk starts (from 1; after the line before
// when it is empty) and how many lines it has.
QString Range(qsizetype first, qsizetype count)
{
    const qsizetype start = count == 0 ? first : first + 1;
    return count == 1 ? QString::number(start) : QStringLiteral("%1,%2").arg(start).arg(count);
}

void AppendHunk(QString& diff, const std::vector<Edit>& edits, std::size_t begin, std::size_t end,
                const QStringList& from, const QStringList& to)
{
    qsizetype fromCount = 0, toCount = 0;
    for (std::size_t index = begin; index < end; ++index) {
        fromCount += edits[index].op != Op::Add;
        toCount += edits[index].op != Op::Remove;
    }
    diff += QStringLiteral("@@ -%1 +%2 @@\n").arg(Range(edits[begin].from, fromCount), Range(edits[begin].to, toCount));
    for (std::size_t index = begin; index < end; ++index) {
        const Edit& edit = edits[index];
        diff += QChar(char(edit.op)) + (edit.op == Op::Add ? to[edit.to] : from[edit.from]) + u'\n';
    }
}

} // namespace

QString UnifiedDiff(const QStringList& from, const QStringList& to, LinesMatch match, const DiffNames& names, int context)
{
    const std::vector<Edit> edits = Edits(from, to, match);
    QString diff;
    const auto changed = [&](std::size_t index) { return edits[index].op != Op::Keep; };
    for (std::size_t index = 0; index < edits.size();) {
        if (!changed(index)) {
            ++index;
            continue;
        }
        const std::size_t begin = index >= std::size_t(context) ? index - context : 0;
        // The hunk takes in every further change at most two contexts away.
        std::size_t last = index;
        for (std::size_t next = index + 1; next < edits.size() && next <= last + 2 * context + 1; ++next)
            if (changed(next))
                last = next;
        const std::size_t end = std::min(edits.size(), last + context + 1);
        if (diff.isEmpty())
            diff = QStringLiteral("--- %1\n+++ %2\n").arg(names.from, names.to);
        AppendHunk(diff, edits, begin, end, from, to);
        index = end;
    }
    return diff;
}
