#pragma once

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
