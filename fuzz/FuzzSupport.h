#pragma once

#include <QByteArrayView>
#include <QString>
#include <QTimer>

// What the harnesses share: the Qt application the code under test expects (made
// before the first input), a scratch folder, the check that reports a broken
// promise, and the cap on how long one input may keep the message pump turning.
namespace Fuzz {

// A folder of the process's own, removed when it ends.
QString ScratchFolder();

// A broken promise is a finding: prints what was expected and aborts, so that
// libFuzzer keeps the input.
void Require(bool condition, const char* promise);

// An input read from the front, byte by byte or in pieces; past its end every
// byte reads as 0 and every piece is empty.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_rest(data, qsizetype(size)) {}

    bool AtEnd() const { return m_rest.isEmpty(); }
    quint8 Byte()
    {
        const QByteArrayView byte = Take(1);
        return byte.isEmpty() ? 0 : quint8(byte[0]);
    }
    QByteArrayView Take(qsizetype count)
    {
        const QByteArrayView taken = m_rest.first(std::min(count, m_rest.size()));
        m_rest = m_rest.sliced(taken.size());
        return taken;
    }

private:
    QByteArrayView m_rest;
};

// The fake hosts' cap on waits and loops. WAIT("2147483647"), a REPEAT of two
// thousand million passes or a byte delay of that size are sound input, but
// would keep one input running for hours; after `turns` turns of the event loop
// the host tells the program it is closing, which ends every wait and every run
// at its next check, as closing the window does.
class PumpBudget {
public:
    explicit PumpBudget(int turns);
    ~PumpBudget();
    PumpBudget(const PumpBudget&) = delete;
    PumpBudget& operator=(const PumpBudget&) = delete;

    bool Spent() const { return m_left <= 0; }

private:
    QTimer m_turn;
    int m_left;
};

} // namespace Fuzz
