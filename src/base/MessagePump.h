#pragma once

#include <QtGlobal>
#include <chrono>
#include <functional>

// Every wait of the program is a count of message-pump passes: the window thread
// handles whatever is pending (the link's received bytes, the operator's clicks)
// and goes on. A pass lasts at least MinimumPass, so delay counts mean roughly
// the same on every machine: 500 passes are about 2.5 ms.
namespace MessagePump {

inline constexpr std::chrono::nanoseconds MinimumPass = std::chrono::microseconds(5);

// One pass: handles every pending event, repeatedly until MinimumPass has gone by.
void PumpOnce();

// One pass that, with nothing pending, first waits for an event: for a wait whose
// end another thread announces by posting one, so the wait costs no processor time.
void PumpWhenEventArrives();

// Up to `passes` passes; returns early (false) once the program is closing.
bool PumpTimes(qint64 passes);

// Up to `passes` passes while goOn() holds; returns early (false) once it does not
// or the program is closing.
bool PumpWhile(qint64 passes, const std::function<bool()>& goOn);

// Set when the main window closes: every wait ends, every run stops at its next check.
void SetClosing(bool closing);
bool Closing();

} // namespace MessagePump
