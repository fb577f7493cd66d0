#include "main/ActiveLogContent.h"

#include <algorithm>

namespace {

using ActiveLogText::IsByteAt;

void AppendRun(QList<TextRun>& runs, TextRun run)
{
    if (!runs.isEmpty() && !runs.last().lineEnd && runs.last().SameFormat(run))
        runs.last().text += run.text;
    else
        runs.append(std::move(run));
}

} // namespace

ActiveLogContent::ActiveLogContent() { Clear(); }

void ActiveLogContent::Clear()
{
    m_bytes = QByteArray();
    m_text = QString();
    std::vector<Piece>().swap(m_pieces);
    std::vector<Line>(1).swap(m_lines);
    m_length = 0; // the formats stay: their indexes keep their meaning
}

// Formats are few: the log is written in one unless a caller changes it.
quint16 ActiveLogContent::FormatIndex(const LogFormat& format)
{
    const qsizetype index = m_formats.indexOf(format);
    if (index >= 0)
        return quint16(index);
    m_formats.append(format);
    return quint16(m_formats.size() - 1);
}

qsizetype ActiveLogContent::LineLength(qsizetype line) const
{
    const qsizetype end = line + 1 < LineCount() ? m_lines[line + 1].start - 1 : m_length;
    return end - m_lines[line].start;
}

qsizetype ActiveLogContent::LineOf(qsizetype position) const
{
    const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), position,
                                        [](qsizetype at, const Line& line) { return at < line.start; });
    return std::max<qsizetype>(0, after - m_lines.begin() - 1);
}

qsizetype ActiveLogContent::PieceEnd(qsizetype line) const
{
    return line + 1 < LineCount() ? m_lines[line + 1].firstPiece : qsizetype(m_pieces.size());
}

void ActiveLogContent::AppendChars(QString& out, const Piece& piece, qsizetype from, qsizetype to) const
{
    if (!piece.bytes) {
        out.append(QStringView(m_text).mid(piece.offset + from, to - from));
        return;
    }
    const qsizetype size = out.size();
    out.resize(size + to - from);
    QChar* write = out.data() + size;
    for (qsizetype i = from; i < to; ++i)
        *write++ = ActiveLogText::ByteChar(quint8(m_bytes[piece.offset + i / 3]), i % 3);
}

QString ActiveLogContent::LinePart(qsizetype line, qsizetype from, qsizetype to, QList<Span>* spans) const
{
    QString text;
    text.reserve(to - from);
    qsizetype offset = 0;
    for (qsizetype index = m_lines[line].firstPiece, end = PieceEnd(line); index < end && offset < to; ++index) {
        const Piece& piece = m_pieces[index];
        const qsizetype first = std::max(from, offset), last = std::min(to, offset + piece.Characters());
        if (first < last) {
            if (spans && !spans->isEmpty() && spans->last().format == piece.format)
                spans->last().length += last - first;
            else if (spans)
                spans->append({first - from, last - first, piece.format});
            AppendChars(text, piece, first - offset, last - offset);
        }
        offset += piece.Characters();
    }
    return text;
}

QString ActiveLogContent::Text(qsizetype from, qsizetype to) const
{
    from = std::clamp<qsizetype>(from, 0, m_length);
    to = std::clamp<qsizetype>(to, from, m_length);
    QString text;
    text.reserve(to - from);
    for (qsizetype line = LineOf(from); line < LineCount() && LineStart(line) <= to; ++line) {
        const qsizetype start = LineStart(line), length = LineLength(line);
        if (from < start + length && start < to)
            text += LinePart(line, std::max(from, start) - start, std::min(to, start + length) - start);
        if (start + length >= from && start + length < to)
            text += u'\n';
    }
    return text;
}

QList<TextRun> ActiveLogContent::Runs() const
{
    QList<TextRun> runs;
    for (qsizetype line = 0; line < LineCount(); ++line) {
        if (line > 0)
            runs.append(TextRun::LineEnd());
        for (qsizetype index = m_lines[line].firstPiece, end = PieceEnd(line); index < end; ++index) {
            const Piece& piece = m_pieces[index];
            const LogFormat& format = m_formats[piece.format];
            TextRun run;
            run.colour = format.colour;
            run.bold = format.bold;
            run.italic = format.italic;
            AppendChars(run.text, piece, 0, piece.Characters());
            AppendRun(runs, std::move(run));
        }
    }
    return runs;
}

// The new pieces and lines are made aside and put in at once, so an insert far
// from the end moves what follows it once.
void ActiveLogContent::Insert(qsizetype position, QStringView text, quint16 format)
{
    position = std::clamp<qsizetype>(position, 0, m_length);
    const qsizetype line = LineOf(position);
    const qsizetype piecesBefore = qsizetype(m_pieces.size());
    const qsizetype at = SplitAt(line, position - LineStart(line));
    std::vector<Piece> added;
    std::vector<Line> lines;
    qsizetype lineFirst = 0; // where the current line's pieces begin in `added`
    // The piece a new one may lengthen: the one before it in the same line.
    const auto last = [&]() -> Piece* {
        if (qsizetype(added.size()) > lineFirst)
            return &added.back();
        return lines.empty() && at > m_lines[line].firstPiece ? &m_pieces[at - 1] : nullptr;
    };
    qsizetype inserted = 0;
    const QList<QStringView> parts = text.split(u'\n');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            ++inserted; // the line end: what follows the insertion point moves to a new line
            lines.push_back({position + inserted, at + qsizetype(added.size())});
            lineFirst = qsizetype(added.size());
        }
        for (const Piece& piece : PiecesOf(parts[i], format)) {
            Piece* previous = last();
            if (previous && previous->bytes == piece.bytes && previous->format == piece.format &&
                previous->offset + previous->length == piece.offset)
                previous->length += piece.length; // a stream of received bytes stays one piece
            else
                added.push_back(piece);
        }
        inserted += parts[i].size();
    }
    m_pieces.insert(m_pieces.begin() + at, added.begin(), added.end());
    m_lines.insert(m_lines.begin() + line + 1, lines.begin(), lines.end());
    const qsizetype addedPieces = qsizetype(m_pieces.size()) - piecesBefore;
    for (auto later = m_lines.begin() + line + 1 + qsizetype(lines.size()); later != m_lines.end(); ++later) {
        later->start += inserted;
        later->firstPiece += addedPieces;
    }
    m_length += inserted;
}

// Makes a piece boundary at `offset` of `line` and returns the index of the piece
// after it. A received byte cut inside its three characters becomes text.
qsizetype ActiveLogContent::SplitAt(qsizetype line, qsizetype offset)
{
    qsizetype index = m_lines[line].firstPiece, before = 0;
    for (const qsizetype end = PieceEnd(line); index < end; ++index) {
        const qsizetype characters = m_pieces[index].Characters();
        if (offset < before + characters)
            break;
        before += characters;
    }
    if (index == PieceEnd(line) || offset == before)
        return index;
    const Piece piece = m_pieces[index];
    const quint32 cut = quint32(offset - before);
    std::vector<Piece> parts;
    qsizetype left = 1; // parts before the cut
    if (!piece.bytes) {
        parts = {{piece.offset, cut, piece.format, false}, {piece.offset + cut, piece.length - cut, piece.format, false}};
    } else {
        const quint32 byte = cut / 3, phase = cut % 3;
        if (byte > 0)
            parts.push_back({piece.offset, byte, piece.format, true});
        if (phase == 0) {
            parts.push_back({piece.offset + byte, piece.length - byte, piece.format, true});
        } else {
            QString token;
            AppendChars(token, piece, 3 * byte, 3 * byte + 3);
            parts.push_back(TextPiece(QStringView(token).left(phase), piece.format));
            parts.push_back(TextPiece(QStringView(token).mid(phase), piece.format));
            if (byte + 1 < piece.length)
                parts.push_back({piece.offset + byte + 1, piece.length - byte - 1, piece.format, true});
        }
        left = (byte > 0) + (phase != 0);
    }
    m_pieces[index] = parts.front();
    m_pieces.insert(m_pieces.begin() + index + 1, parts.begin() + 1, parts.end());
    return index + left;
}

// The pieces of one line's worth of text (no line end), its data stored: runs of
// received bytes in the byte store, the rest in the text store.
std::vector<ActiveLogContent::Piece> ActiveLogContent::PiecesOf(QStringView text, quint16 format)
{
    std::vector<Piece> pieces;
    qsizetype textStart = 0;
    for (qsizetype i = 0; i < text.size();) {
        if (!IsByteAt(text, i)) {
            ++i;
            continue;
        }
        if (i > textStart)
            pieces.push_back(TextPiece(text.mid(textStart, i - textStart), format));
        const auto first = quint32(m_bytes.size());
        for (; IsByteAt(text, i); i += 3)
            m_bytes.append(char(ActiveLogText::ByteAt(text, i)));
        pieces.push_back({first, quint32(m_bytes.size()) - first, format, true});
        textStart = i;
    }
    if (textStart < text.size())
        pieces.push_back(TextPiece(text.mid(textStart), format));
    return pieces;
}

ActiveLogContent::Piece ActiveLogContent::TextPiece(QStringView text, quint16 format)
{
    const auto first = quint32(m_text.size());
    m_text.append(text);
    return {first, quint32(text.size()), format, false};
}
