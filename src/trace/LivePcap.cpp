#include "trace/LivePcap.h"

QByteArray LivePcap::Add(const LinkEvent& event)
{
    m_decoder.Add(event);
    const qsizetype settled = m_decoder.FirstUnsettledRow();
    if (settled <= m_rowsDone)
        return {};
    const QByteArray records = m_records.Rows(m_decoder.Current(), m_rowsDone, settled);
    m_rowsDone = settled;
    return records;
}

QByteArray LivePcap::Finish()
{
    const Trace trace = m_decoder.Finish();
    const QByteArray records = m_records.Rows(trace, m_rowsDone, trace.rows.size());
    *this = LivePcap();
    return records;
}
