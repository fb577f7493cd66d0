#pragma once

#include "base/RtfWriter.h"
#include "main/ActiveLogText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

// The insertion attributes text takes in the Active Log.
struct LogFormat {
    std::optional<quint32> colour; // 0x00BBGGRR; empty: the window's text colour
    bool bold = false;
    bool italic = false;
    bool operator==(const LogFormat&) const = default;
};

// The Active Log's text, kept compactly so that a long day of received bytes fits:
// received bytes, which read as two upper-case hexadecimal digits and a blank each,
// are kept as one byte each; other text as it is. The text is a series of pieces of
// one format each, line by line. A position counts characters, a line end as one.
class ActiveLogContent {
public:
    ActiveLogContent();

    // Inserts `text` (line ends as '\n') at `position` in the format FormatIndex gave.
    void Insert(qsizetype position, QStringView text, quint16 format);
    void Clear();

    // The index of `format` in the content's table of formats; a new one is added.
    quint16 FormatIndex(const LogFormat& format);
    const LogFormat& Format(quint16 index) const { return m_formats[index]; }

    qsizetype Length() const { return m_length; }
    qsizetype LineCount() const { return qsizetype(m_lines.size()); }
    qsizetype LineStart(qsizetype line) const { return m_lines[line].start; }
    qsizetype LineLength(qsizetype line) const;
    qsizetype LineOf(qsizetype position) const;

    // The characters from `from` to `to`, line ends as '\n'.
    QString Text(qsizetype from, qsizetype to) const;
    // The whole content as formatted runs and line ends.
    QList<TextRun> Runs() const;

    // A stretch of one line in one format, from `start` (an offset into the line).
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
        quint16 format = 0;
    };
    // The stretch [from, to) of `line` as text and the spans of its formats, both
    // counted from `from`.
    QString LinePart(qsizetype line, qsizetype from, qsizetype to, QList<Span>* spans = nullptr) const;

    // One piece as ForEachPiece shows it: received bytes or other text, in one format.
    struct PieceView {
        QByteArrayView bytes; // each read as three characters; or, when empty,
        QStringView text;
        quint16 format = 0;
    };
    // Calls visit(offset, piece) with the offset in the line where each piece of
    // `line` starts, from the piece holding offset `from` on, while it returns true.
    template <typename Visit>
    void ForEachPiece(qsizetype line, qsizetype from, Visit visit) const;

private:
    struct Piece {
        quint32 offset = 0; // into m_bytes or m_text
        quint32 length = 0; // bytes (three characters each) or characters
        quint16 format = 0;
        bool bytes = false;
        qsizetype Characters() const { return bytes ? 3 * qsizetype(length) : qsizetype(length); }
    };
    struct Line {
        qsizetype start = 0;      // position of the line's first character
        qsizetype firstPiece = 0; // its pieces run up to the next line's first
    };

    qsizetype PieceEnd(qsizetype line) const;
    void AppendChars(QString& out, const Piece& piece, qsizetype from, qsizetype to) const;
    qsizetype SplitAt(qsizetype line, qsizetype offset);
    std::vector<Piece> PiecesOf(QStringView text, quint16 format);
    Piece TextPiece(QStringView text, quint16 format);

    QByteArray m_bytes; // received bytes, one byte each
    QString m_text;     // all other text
    std::vector<Piece> m_pieces;
    std::vector<Line> m_lines;
    QList<LogFormat> m_formats;
    qsizetype m_length = 0;
};

template <typename Visit>
void ActiveLogContent::ForEachPiece(qsizetype line, qsizetype from, Visit visit) const
{
    qsizetype offset = 0;
    const qsizetype end = PieceEnd(line);
    for (qsizetype index = m_lines[line].firstPiece; index < end; ++index) {
        const Piece& piece = m_pieces[index];
        const qsizetype characters = piece.Characters();
        if (offset + characters > from) {
            const PieceView view = piece.bytes
                ? PieceView{QByteArrayView(m_bytes).sliced(piece.offset, piece.length), {}, piece.format}
                : PieceView{{}, QStringView(m_text).sliced(piece.offset, piece.length), piece.format};
            if (!visit(offset, view))
                return;
        }
        offset += characters;
    }
}
