#include "trace/LivePcap.h"

#include <algorithm>
#include <utility>

QByteArray LivePcap::Add(const LinkEvent& event)
{
    QByteArray bytes = Begin();
    m_decoder.Add(event);
    const qsizetype settled = m_decoder.FirstUnsettledRow();
    if (settled > m_rowsDone)
        bytes += m_records.Rows(m_decoder.Current(), m_rowsDone, settled);
    m_rowsDone = std::max(m_rowsDone, settled);
    return bytes;
}

QByteArray LivePcap::Finish()
{
    const Trace trace = m_decoder.Finish();
    const QByteArray bytes = Begin() + m_records.Rows(trace, m_rowsDone, trace.rows.size());
    *this = LivePcap();
    return bytes;
}

QByteArray LivePcap::Begin() { return std::exchange(m_begun, true) ? QByteArray() : PcapFileHeader(); }
