#pragma once

#include <QString>

// A symbolic link naming the simulator's device, so that a fixed name can be
// configured in the program while the pseudo-terminal's own name changes.
// Points `link` at `target`, replacing an earlier symbolic link in one step.
// Throws std::system_error when that fails or `link` is some other kind of file.
void PointLink(const QString& link, const QString& target);
// Removes `link` if it is a symbolic link.
void RemoveLink(const QString& link);
