#include "link/ReaderWatch.h"

#include "link/PcscReader.h"

#include <winscard.h>

namespace {
// A stop can come just before the watch starts waiting, where pcsc-lite's cancel
// does not reach it; the wait is cut into slices so that such a stop still ends
// it soon. A stop at any other moment ends it at once.
constexpr DWORD WaitSliceMs = 500;
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
    m_stop = true;
    SCardCancel(m_context);
    m_thread.join();
    SCardReleaseContext(m_context);
}

void ReaderWatch::Run()
{
    SCARD_READERSTATE state{};
    state.szReader = m_reader.constData();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    while (!m_stop) {
        const LONG result = SCardGetStatusChange(m_context, WaitSliceMs, &state, 1);
        if (result == SCARD_E_TIMEOUT || result == SCARD_E_CANCELLED)
            continue;
        const long loss = result == SCARD_S_SUCCESS ? Loss(state.dwEventState) : result;
        if (loss != 0) {
            if (!m_stop)
                m_report(loss);
            return;
        }
        state.dwCurrentState = state.dwEventState & ~SCARD_STATE_CHANGED;
    }
}

long ReaderWatch::Loss(unsigned long state)
{
    if (state & (SCARD_STATE_UNKNOWN | SCARD_STATE_UNAVAILABLE))
        return SCARD_E_READER_UNAVAILABLE;
    if (state & SCARD_STATE_EMPTY)
        return SCARD_W_REMOVED_CARD;
    return 0;
}
