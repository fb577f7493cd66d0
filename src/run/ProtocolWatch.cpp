#include "run/ProtocolWatch.h"

#include "link/CardLink.h"
#include "link/Instructions.h"
#include "trace/TraceFormat.h"

namespace {
constexpr qsizetype HeaderSize = 5; // CLA INS P1 P2 P3
} // namespace

bool ProtocolWatch::Follow()
{
    m_link.UpdateTimeline();
    const LinkTimeline& timeline = m_link.Timeline();
    const bool news = m_followed < timeline.Size();
    for (; m_followed < timeline.Size(); ++m_followed)
        m_decoder.Add(timeline.At(m_followed));
    return news;
}

bool ProtocolWatch::AtrComplete() const
{
    return !m_decoder.Current().atrs.isEmpty() && m_decoder.Owes() != T0Decoder::Owed::Atr;
}

QByteArray ProtocolWatch::Atr() const
{
    return AtrComplete() ? m_decoder.Current().atrs.last().atr.bytes : QByteArray();
}

QString ProtocolWatch::OwedText() const
{
    switch (m_decoder.Owes()) {
    case T0Decoder::Owed::Atr:
        return QStringLiteral("the rest of its answer to reset (%1 so far)")
            .arg(ByteText(m_decoder.Current().atrs.last().atr.bytes));
    case T0Decoder::Owed::Answer:
        return AnswerText();
    case T0Decoder::Owed::Nothing:
        break;
    }
    return QStringLiteral("nothing, but the card interface did not take the bytes handed to it");
}

// A header cut short is owed its echo only.
QString ProtocolWatch::AnswerText() const
{
    const QList<TraceExchange>& exchanges = m_decoder.Current().exchanges;
    const QByteArray header = exchanges.isEmpty() ? QByteArray() : exchanges.last().header;
    if (header.size() < HeaderSize)
        return QStringLiteral("the echo of the bytes sent (%1)").arg(ByteText(header));
    const Instruction* instruction = FindInstruction(header);
    const QString name = instruction ? QStringLiteral(" (%1)").arg(QLatin1StringView(instruction->name)) : QString();
    return QStringLiteral("the answer to %1%2").arg(ByteText(header), name);
}
