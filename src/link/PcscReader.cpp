#include "link/PcscReader.h"

#include <type_traits>
#include <winscard.h>

// The header keeps pcsc-lite's handle types out of its users' sight.
static_assert(std::is_same_v<SCARDCONTEXT, long> && std::is_same_v<SCARDHANDLE, long> &&
              std::is_same_v<DWORD, unsigned long>);

namespace {

void Check(LONG result)
{
    if (result != SCARD_S_SUCCESS)
        throw PcscError(result);
}

SCARDCONTEXT NewContext()
{
    SCARDCONTEXT context = 0;
    Check(SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context));
    return context;
}

// The readers of a context; pcsc-lite gives them as names ended by NUL, the list
// by an empty name.
QStringList ReaderList(SCARDCONTEXT context)
{
    char* names = nullptr;
    DWORD size = SCARD_AUTOALLOCATE;
    LONG result = 0;
    {
        std::lock_guard states(PcscStatesLock());
        result = SCardListReaders(context, nullptr, reinterpret_cast<char*>(&names), &size);
    }
    if (result == SCARD_E_NO_READERS_AVAILABLE)
        return {};
    Check(result);
    QStringList readers;
    for (const char* name = names; *name; name += qstrlen(name) + 1)
        readers << QString::fromUtf8(name);
    SCardFreeMemory(context, names);
    return readers;
}

} // namespace

std::mutex& PcscStatesLock()
{
    static std::mutex lock;
    return lock;
}

PcscError::PcscError(long code) : std::runtime_error(pcsc_stringify_error(code)), m_code(code)
{
}

PcscReader::~PcscReader()
{
    Disconnect();
}

QStringList PcscReader::Readers()
{
    const SCARDCONTEXT context = NewContext();
    try {
        const QStringList readers = ReaderList(context);
        SCardReleaseContext(context);
        return readers;
    } catch (const PcscError&) {
        SCardReleaseContext(context);
        throw;
    }
}

void PcscReader::Connect(const QString& reader)
{
    Disconnect();
    m_context = NewContext();
    if (!reader.isEmpty())
        return ConnectTo(reader);
    PcscError failure(SCARD_E_NO_READERS_AVAILABLE);
    for (const QString& name : ReaderList(m_context)) {
        try {
            return ConnectTo(name);
        } catch (const PcscError& error) {
            failure = error;
        }
    }
    throw failure;
}

void PcscReader::ConnectTo(const QString& reader)
{
    const QByteArray name = reader.toUtf8();
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    LONG result = SCardConnect(m_context, name.constData(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T0, &card, &protocol);
    if (result == SCARD_E_PROTO_MISMATCH)
        result = SCardConnect(m_context, name.constData(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T1, &card, &protocol);
    Check(result);
    m_card = card;
    m_protocol = protocol;
    m_readerName = reader;
}

void PcscReader::Disconnect() noexcept
{
    if (m_card != 0)
        SCardDisconnect(m_card, SCARD_RESET_CARD);
    if (m_context != 0)
        SCardReleaseContext(m_context);
    m_card = 0;
    m_context = 0;
    m_protocol = 0;
    m_readerName.clear();
}

int PcscReader::Protocol() const
{
    return m_protocol == SCARD_PROTOCOL_T1 ? 1 : 0;
}

QByteArray PcscReader::Atr() const
{
    QByteArray atr(MAX_ATR_SIZE, '\0');
    DWORD length = DWORD(atr.size());
    DWORD state = 0;
    DWORD protocol = 0;
    std::lock_guard states(PcscStatesLock());
    Check(SCardStatus(m_card, nullptr, nullptr, &state, &protocol, reinterpret_cast<BYTE*>(atr.data()), &length));
    atr.truncate(qsizetype(length));
    return atr;
}

QByteArray PcscReader::Transmit(const QByteArray& command)
{
    const SCARD_IO_REQUEST* pci = m_protocol == SCARD_PROTOCOL_T1 ? SCARD_PCI_T1 : SCARD_PCI_T0;
    QByteArray response(MAX_BUFFER_SIZE_EXTENDED, '\0');
    DWORD length = DWORD(response.size());
    Check(SCardTransmit(m_card, pci, reinterpret_cast<const BYTE*>(command.constData()), DWORD(command.size()), nullptr,
                        reinterpret_cast<BYTE*>(response.data()), &length));
    response.truncate(qsizetype(length));
    return response;
}

QByteArray PcscReader::Reset()
{
    DWORD protocol = 0;
    {
        std::lock_guard states(PcscStatesLock());
        Check(SCardReconnect(m_card, SCARD_SHARE_EXCLUSIVE, m_protocol ? m_protocol : SCARD_PROTOCOL_T0,
                             SCARD_RESET_CARD, &protocol));
    }
    m_protocol = protocol;
    return Atr();
}
