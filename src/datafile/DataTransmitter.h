#pragma once

#include "datafile/TransmitHost.h"

#include <QByteArray>
#include <QStringView>
#include <functional>
#include <optional>

// The waits of a run, in message-pump passes. Tests replace them to count passes.
struct TransmitWaits {
    // After each byte: passes while their number is below the delay, its text read before every pass.
    std::function<void(const std::function<QString()>& delayText)> afterByte;
    // After each data line that holds a token: that many passes, ending early once
    // goOn() (Active still checked) no longer holds.
    std::function<void(qint64 passes, const std::function<bool()>& goOn)> afterLine;

    static TransmitWaits Pumping();
};

// Transmits the Raw Data pane. Data lines (hexadecimal byte values separated by
// spaces) gather bytes into a block; a send marker (a line beginning with "R"
// or "r") sends the block, each byte in the inverse convention followed by the
// byte delay. Each data line with a token is followed by the command delay.
// A delay text that is not a whole number throws ConversionError and a data line
// with a token that is no hexadecimal number HexLineError; either ends the run,
// the block being gathered unsent.
class DataTransmitter {
public:
    explicit DataTransmitter(TransmitHost& host, TransmitWaits waits = TransmitWaits::Pumping());

    // One run over the pane. Ends at the last line, at the first line reached with
    // Active unchecked, or as soon as the program is closing; the bytes that no
    // marker followed are dropped.
    void Run();

    static bool IsSendMarker(const QString& line);
    // The bytes of a data line, nothing for a line without a token. The bytes
    // come from the text before the line's first ";" or ":", the comment mark
    // that loading keeps; tokens are separated by spaces only and each gives the
    // low byte of its leading hexadecimal number. A token that does not begin
    // with one refuses the line: throws HexLineError naming `place` and the token.
    static std::optional<QByteArray> LineBytes(QStringView line, const QString& place);

private:
    void SendBlock(QByteArray block);
    void GatherLine(qsizetype index, const QString& line, QByteArray& block);

    TransmitHost& m_host;
    TransmitWaits m_waits;
};
