#include "link/LinkMessages.h"

#include <gtest/gtest.h>

// The box names the device that was tried, as the system knows it, and says what
// happened in the system's words.
TEST(LinkTroubleText, NamesTheDeviceTriedAndWhatHappened)
{
    const struct {
        const char* portName;
        LinkTrouble trouble;
        const char* systemText;
        const char* text;
    } cases[] = {
        {"COM9", LinkTrouble::NotOpened, "No such file or directory",
         "The card interface /dev/ttyS8 (COM9) could not be opened (no such file or directory)."},
        {"ttyUSB0", LinkTrouble::Lost, "Input/output error",
         "The card interface /dev/ttyUSB0 went away (input/output error)."},
        {"/dev/pts/3", LinkTrouble::LineChange, "Invalid argument",
         "The card interface /dev/pts/3 refused a line change (invalid argument)."},
        {"", LinkTrouble::NotOpened, "No such file or directory",
         "The card interface (no device named) could not be opened (no such file or directory)."},
        {"pcsc:", LinkTrouble::NotOpened, "Service not available.",
         "The first PC/SC reader with a card could not be opened (service not available)."},
        {"PCSC:Virtual PCD 00 00", LinkTrouble::Lost, "RPC transport error.",
         "The PC/SC reader 'Virtual PCD 00 00' went away (RPC transport error)."},
    };
    for (const auto& [portName, trouble, systemText, text] : cases)
        EXPECT_EQ(LinkTroubleText(portName, trouble, systemText), text);
}
