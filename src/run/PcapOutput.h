#pragma once

#include "run/RunOptions.h"
#include "run/RunStop.h"
#include "trace/LivePcap.h"

#include <QFile>
#include <QTimer>

class CardLink;

// kestrin-run's --pcap: the run's decoded traffic as a pcap file written at the
// end, or with "-" as a stream on standard output while the run goes on: every
// few milliseconds the link's new events are decoded, and the packets they
// settle (LivePcap) are written straight through, the file's header first. A
// stream whose reader goes away stops the run.
class PcapOutput {
public:
    PcapOutput(const RunOptions& options, const CardLink& link, RunStop& stop);

    // Once the link has stopped: the file of the whole trace, or the stream's
    // last packets. Throws FileError for a file that cannot be written.
    void Finish();

private:
    void Follow();
    void Write(const QByteArray& bytes);

    const QString m_path;
    const bool m_streams;
    const CardLink& m_link;
    RunStop& m_stop;
    QFile m_stream; // standard output, while it streams
    LivePcap m_live;
    qsizetype m_followed = 0; // the link's events decoded
    QTimer m_follow;
};
