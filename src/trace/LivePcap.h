#pragma once

#include "link/LinkTimeline.h"
#include "trace/PcapExport.h"
#include "trace/T0Decoder.h"

#include <QByteArray>

// PcapFile of a card link's traffic as a stream, written while the traffic goes
// on. Fed the link's events in order, it gives after each the records of the rows
// that have settled since (T0Decoder::FirstUnsettledRow), the file's header
// before the first, and the rest at the end, so that the stream's bytes are
// those of PcapFile of the whole trace. A
// record once given is never taken back, so a packet waits for what can still
// change it: an exchange's packets for its status word, a row for the byte that
// ends it, and while the interface's echo is in doubt every row from the command
// that raised the doubt until the traffic tells which reading holds.
class LivePcap {
public:
    // The records that `event` settles.
    QByteArray Add(const LinkEvent& event);
    // The records of the rows left once the traffic has ended; the stream ends here.
    QByteArray Finish();

private:
    // The file's header, the first time only.
    QByteArray Begin();

    bool m_begun = false;
    T0Decoder m_decoder;
    PcapRecords m_records;
    qsizetype m_rowsDone = 0; // the rows whose records were given
};
