#pragma once

#include "base/Dialogs.h"
#include "base/KestrinError.h"

#include <new>

// Runs an action started by the operator and shows the error that ended it, if any,
// so that no exception ever leaves an event handler. The message gets the full stop
// the framework's error box always adds.
template <typename Action>
void RunGuarded(Dialogs& dialogs, Action&& action)
{
    auto withStop = [](QString text) { return text.endsWith(u'.') ? text : text + u'.'; };
    try {
        action();
    } catch (const KestrinError& error) {
        dialogs.ShowError(withStop(error.message()));
    } catch (const std::bad_alloc&) {
        dialogs.ShowError(QStringLiteral("Out of memory."));
    } catch (const std::exception& error) {
        dialogs.ShowError(withStop(QString::fromLocal8Bit(error.what())));
    }
}
