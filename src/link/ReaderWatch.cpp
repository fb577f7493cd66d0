#include "link/ReaderWatch.h"

#include "link/PcscReader.h"

#include <winscard.h>

namespace {

// The code for the reader's state, or 0 while the card is there.
long Loss(DWORD state)
{
    if (state & (SCARD_STATE_UNKNOWN | SCARD_STATE_UNAVAILABLE))
        return SCARD_E_READER_UNAVAILABLE;
    if (state & SCARD_STATE_EMPTY)
        return SCARD_W_REMOVED_CARD;
    return 0;
}

// One look at the reader, which `state` remembers for the next; the code of a
// loss, or 0.
long Look(SCARDCONTEXT context, SCARD_READERSTATE& state)
{
    LONG result = SCARD_S_SUCCESS;
    {
        std::lock_guard states(PcscStatesLock());
        result = SCardGetStatusChange(context, 0, &state, 1);
    }
    if (result == SCARD_E_TIMEOUT) // no change
        return 0;
    // pcscd stopping with a look on its way resets the connection, which pcsc-lite
    // calls a security violation ("Access denied."); the service has gone.
    if (result == SCARD_W_SECURITY_VIOLATION)
        return SCARD_E_NO_SERVICE;
    if (result != SCARD_S_SUCCESS)
        return result;
    state.dwCurrentState = state.dwEventState & ~SCARD_STATE_CHANGED;
    return Loss(state.dwEventState);
}

} // namespace

ReaderWatch::ReaderWatch(const QString& reader, Report report)
    : m_reader(reader.toUtf8()), m_report(std::move(report))
{
    SCARDCONTEXT context = 0;
    if (const LONG result = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context))
        throw PcscError(result);
    m_context = context;
    m_thread = std::thread([this] { Run(); });
}

ReaderWatch::~ReaderWatch()
{
    {
        std::lock_guard guard(m_stopLock);
        m_stop = true;
    }
    m_stopped.notify_all();
    m_thread.join();
    SCardReleaseContext(m_context);
}

void ReaderWatch::Run()
{
    SCARD_READERSTATE state{};
    state.szReader = m_reader.constData();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    long loss = 0;
    while ((loss = Look(m_context, state)) == 0) {
        if (!Pause())
            return;
    }
    if (!Stopping())
        m_report(loss);
}

bool ReaderWatch::Pause()
{
    std::unique_lock guard(m_stopLock);
    return !m_stopped.wait_for(guard, PollInterval, [this] { return m_stop; });
}

bool ReaderWatch::Stopping()
{
    std::lock_guard guard(m_stopLock);
    return m_stop;
}
