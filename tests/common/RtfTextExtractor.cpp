#include "common/RtfTextExtractor.h"

#include <QChar>

namespace {

// A control word's number, where it has one.
struct Parameter {
    bool present = false;
    int number = 0;
    int value_or(int fallback) const { return present ? number : fallback; }
};

class Extractor {
public:
    explicit Extractor(const QByteArray& rtf) : m_rtf(rtf) {}

    QList<TextRun> Read()
    {
        while (m_at < m_rtf.size()) {
            const char c = m_rtf[m_at++];
            if (c == '{') {
                ++m_depth;
            } else if (c == '}') {
                if (m_depth-- == m_tableDepth) {
                    m_tableDepth = 0;
                    m_inColours = false;
                }
            } else if (c == '\\') {
                Control();
            } else if (c == ';' && m_inColours) {
                m_colours.append(m_hasColour ? std::optional(m_colour) : std::nullopt);
                m_hasColour = false;
                m_colour = 0;
            } else if (c != '\r' && c != '\n') {
                Text(QChar(uchar(c)));
            }
        }
        return m_runs;
    }

private:
    char Peek() const { return m_at < m_rtf.size() ? m_rtf[m_at] : '\0'; }

    void Control()
    {
        const char c = Peek();
        if (!QChar::isLetter(uchar(c))) {
            ++m_at;
            if (c == '\'')
                Text(QChar(m_rtf.mid(std::exchange(m_at, m_at + 2), 2).toInt(nullptr, 16)));
            else
                Text(QChar(uchar(c)));
            return;
        }
        qsizetype start = m_at;
        while (QChar::isLetter(uchar(Peek())))
            ++m_at;
        const QByteArray word = m_rtf.mid(start, m_at - start);
        start = m_at;
        while (Peek() == '-' || QChar::isDigit(uchar(Peek())))
            ++m_at;
        const Parameter value{m_at > start, m_at > start ? m_rtf.mid(start, m_at - start).toInt() : 0};
        if (Peek() == ' ')
            ++m_at;
        Word(word, value);
    }

    void Word(const QByteArray& word, Parameter value)
    {
        if (word == "fonttbl" || word == "colortbl") {
            m_tableDepth = m_depth;
            m_inColours = word == "colortbl";
        } else if (word == "red" || word == "green" || word == "blue") {
            const int shift = word == "red" ? 0 : word == "green" ? 8 : 16;
            m_colour |= quint32(value.value_or(0)) << shift;
            m_hasColour = true;
        } else if (word == "par") {
            m_runs.append(TextRun::LineEnd());
        } else if (word == "tab") {
            Text(u'\t');
        } else if (word == "u") {
            Text(QChar(char16_t(value.value_or(0))));
            ++m_at; // the "?" shown by readers without Unicode
        } else if (word == "b" || word == "i") {
            (word == "b" ? m_format.bold : m_format.italic) = value.value_or(1) != 0;
        } else if (word == "cf") {
            m_format.colour = m_colours.value(value.value_or(0));
        }
    }

    void Text(QChar c)
    {
        if (m_tableDepth != 0)
            return;
        if (m_runs.isEmpty() || m_runs.last().lineEnd || !m_runs.last().SameFormat(m_format))
            m_runs.append(m_format);
        m_runs.last().text += c;
    }

    const QByteArray& m_rtf;
    qsizetype m_at = 0;
    int m_depth = 0;
    int m_tableDepth = 0; // depth of the font or colour table group being read
    bool m_inColours = false;
    QList<std::optional<quint32>> m_colours;
    quint32 m_colour = 0;
    bool m_hasColour = false;
    TextRun m_format;
    QList<TextRun> m_runs;
};

} // namespace

QList<TextRun> ExtractRuns(const QByteArray& rtf)
{
    return Extractor(rtf).Read();
}

TextRun MakeRun(const QString& text, std::optional<quint32> colour, bool bold, bool italic)
{
    TextRun run;
    run.text = text;
    run.colour = colour;
    run.bold = bold;
    run.italic = italic;
    return run;
}
