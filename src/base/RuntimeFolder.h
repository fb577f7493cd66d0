#pragma once

// Where XDG_RUNTIME_DIR is not set (a root shell, a login without a desktop
// session, a container), Qt's window system falls back to a folder of the user's
// own under the temporary folder and warns about it on every start. This makes
// that folder (private to the user) and names it in the environment first, so
// the window system takes it without a word. A folder of that name that is not
// the user's own private one is left for Qt to judge and report.
void SettleRuntimeFolder();
