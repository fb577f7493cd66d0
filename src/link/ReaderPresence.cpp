#include "link/ReaderPresence.h"

#include "link/PcscReader.h"

#include <vector>
#include <winscard.h>

namespace {

// pcsc-lite counts a reader's card events in the upper half of its state.
constexpr int EventCountShift = 16;

} // namespace

ReaderLook::~ReaderLook() { Release(); }

void ReaderLook::Release()
{
    if (m_context != 0)
        SCardReleaseContext(m_context);
    m_context = 0;
}

QList<ReaderPresence> ReaderLook::Look(const QStringList& readers)
{
    if (readers.isEmpty())
        return {};
    if (m_context == 0) {
        SCARDCONTEXT context = 0;
        if (const LONG result = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context))
            throw PcscError(result);
        m_context = context;
    }
    std::vector<QByteArray> names;
    names.reserve(size_t(readers.size()));
    std::vector<SCARD_READERSTATE> states(size_t(readers.size()));
    for (qsizetype index = 0; index < readers.size(); ++index) {
        names.push_back(readers[index].toUtf8());
        states[size_t(index)].szReader = names.back().constData();
        states[size_t(index)].dwCurrentState = SCARD_STATE_UNAWARE; // so the look answers at once
    }
    LONG result = SCARD_S_SUCCESS;
    {
        std::lock_guard lock(PcscStatesLock());
        result = SCardGetStatusChange(m_context, 0, states.data(), DWORD(states.size()));
    }
    if (result != SCARD_S_SUCCESS && result != SCARD_E_TIMEOUT) {
        Release();
        throw PcscError(result);
    }
    QList<ReaderPresence> presence;
    for (const SCARD_READERSTATE& state : states)
        presence.append({(state.dwEventState & SCARD_STATE_PRESENT) != 0, int(state.dwEventState >> EventCountShift)});
    return presence;
}

QStringList ReadersWithCard()
{
    const QStringList readers = PcscReader::Readers();
    const QList<ReaderPresence> presence = ReaderLook().Look(readers);
    QStringList holding;
    for (qsizetype index = 0; index < readers.size(); ++index)
        if (presence[index].cardPresent)
            holding << readers[index];
    return holding;
}
