#include "datafile/DataTransmitter.h"

#include "base/Colours.h"
#include "base/KestrinError.h"
#include "base/MessagePump.h"
#include "base/TextToInt.h"
#include "link/ByteDelay.h"
#include "link/HexToken.h"
#include "link/InvertBytes.h"

#include <algorithm>
#include <utility>

namespace {

// Loading keeps a comment's mark (";" or ":") at the end of a line's text; the
// data stops before it.
QStringView DataPart(QStringView line)
{
    const auto mark = std::find_if(line.begin(), line.end(), [](QChar c) { return c == u';' || c == u':'; });
    return line.first(mark - line.begin());
}

} // namespace

TransmitWaits TransmitWaits::Pumping()
{
    return {RunByteDelay,
            [](qint64 passes, const std::function<bool()>& goOn) { MessagePump::PumpWhile(passes, goOn); }};
}

DataTransmitter::DataTransmitter(TransmitHost& host, TransmitWaits waits)
    : m_host(host), m_waits(std::move(waits))
{
}

void DataTransmitter::Run()
{
    // The block is the run's own, so a run started from inside one of this run's
    // waits cannot disturb the bytes being sent.
    QByteArray block;
    // The pane may change during the run: its size is read again before every line.
    for (qsizetype index = 0; index < m_host.RawLineCount(); ++index) {
        if (!m_host.Active() || MessagePump::Closing())
            return;
        m_host.ClearResponse();
        const QString line = m_host.RawLine(index);
        if (IsSendMarker(line))
            SendBlock(std::exchange(block, {}));
        else
            GatherLine(index, line, block);
    }
}

bool DataTransmitter::IsSendMarker(const QString& line)
{
    return line.startsWith(u'R') || line.startsWith(u'r');
}

std::optional<QByteArray> DataTransmitter::LineBytes(QStringView line, const QString& place)
{
    if (std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' '; }))
        return std::nullopt;
    QStringView notHex;
    QByteArray bytes = HexLineBytes(DataPart(line), notHex);
    if (!notHex.isNull())
        throw HexLineError(QStringLiteral("%1: %2; nothing of its block was sent").arg(place, NotHexText(notHex)));
    return bytes;
}

void DataTransmitter::SendBlock(QByteArray block)
{
    InvertBytes(block);
    m_host.SetStatus(QStringLiteral("Transmiting ..."), Colours::Navy);
    for (const char byte : std::as_const(block)) {
        if (MessagePump::Closing())
            return;
        m_host.PutByte(quint8(byte));
        m_waits.afterByte([this] { return m_host.ByteDelayText(); });
    }
    m_host.SetStatus(QStringLiteral("Ready."), Colours::Green);
    m_host.LogAtCaret(QStringLiteral("\r\n"));
}

void DataTransmitter::GatherLine(qsizetype index, const QString& line, QByteArray& block)
{
    const auto bytes = LineBytes(line, m_host.RawLinePlace(index));
    if (!bytes)
        return;
    block.append(*bytes);
    m_waits.afterLine(TextToInt(m_host.CommandDelayText()), [this] { return m_host.Active(); });
}
