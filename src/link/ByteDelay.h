#pragma once

#include <QString>
#include <functional>

// The pause after each byte handed to the link: message-pump passes while their
// number is below the delay. The delay's text is read and converted again before
// every pass, so an edited value takes effect at once; 0 or less is no pause.
// A text that is not a whole number throws ConversionError; the pause also ends
// when the program is closing.
void RunByteDelay(const std::function<QString()>& delayText);
