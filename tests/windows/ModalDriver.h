#pragma once

#include <QWidget>
#include <functional>

// Acts on the next modal window from inside its modal loop, once it is open; a window
// that the action leaves open is then closed, so that a failing test cannot hang.
void WhenModalOpens(std::function<void(QWidget*)> action);
