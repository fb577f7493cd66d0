#include "run/PcapOutput.h"

#include "link/CardLink.h"
#include "trace/PcapExport.h"

#include <chrono>
#include <unistd.h>

namespace {
// Soon enough for a person watching the packets arrive, rare enough to cost nothing.
constexpr std::chrono::milliseconds FollowInterval(20);
} // namespace

PcapOutput::PcapOutput(const RunOptions& options, const CardLink& link, RunStop& stop)
    : m_path(options.pcapPath), m_streams(PcapStreams(options)), m_link(link), m_stop(stop)
{
    if (!m_streams)
        return;
    m_stream.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QObject::connect(&m_follow, &QTimer::timeout, &m_follow, [this] { Follow(); });
    m_follow.start(FollowInterval);
}

void PcapOutput::Finish()
{
    if (!m_streams)
        return SavePcap(m_path, m_link.Timeline());
    m_follow.stop();
    Follow();
    Write(m_live.Finish());
}

void PcapOutput::Follow()
{
    const LinkTimeline& timeline = m_link.Timeline();
    for (; m_followed < timeline.Size(); ++m_followed)
        Write(m_live.Add(timeline.At(m_followed)));
}

void PcapOutput::Write(const QByteArray& bytes)
{
    if (bytes.isEmpty() || !m_stream.isOpen() || m_stream.write(bytes) == bytes.size())
        return;
    m_stop.Stop(ExitStatus::Interrupted,
                QStringLiteral("the pcap stream on standard output broke off (%1)").arg(m_stream.errorString()));
    m_stream.close();
    m_follow.stop();
}
