#include "link/WaitingResponse.h"

#include <utility>

namespace {

constexpr qsizetype StatusSize = 2;

QByteArray Status(quint8 sw1, qsizetype count)
{
    const char status[] = {char(sw1), char(count & 0xFF)}; // xx = 00 stands for 256
    return QByteArray(status, sizeof status);
}

} // namespace

QByteArray WaitingResponse::Keep(const QByteArray& response)
{
    if (response.size() <= StatusSize)
        return response;
    m_data = response.chopped(StatusSize);
    m_status = response.right(StatusSize);
    return Status(0x61, m_data.size());
}

QByteArray WaitingResponse::Give(quint8 p3)
{
    const qsizetype wanted = p3 == 0 ? 256 : p3;
    if (wanted > m_data.size())
        return Status(0x6C, m_data.size());
    QByteArray answer = m_data.first(wanted);
    m_data.remove(0, wanted);
    if (m_data.isEmpty())
        return answer + std::exchange(m_status, {});
    return answer + Status(0x61, m_data.size());
}

void WaitingResponse::Clear()
{
    m_data.clear();
    m_status.clear();
}
