#pragma once

#include <string_view>

// The splash window's about text, revealed one character at a time. A slash starts
// a code: "/CR" turns what follows red, "/CG" green; "/G" is dropped unseen.
// Seven segments of 18, 214, 16, 608, 27, 96 and 75 characters, 1054 in all; the
// string literal's terminating NUL is read as the last step of the reveal.
inline constexpr std::string_view AboutText =
    "/CRKestrin T.R.X\n\n"
    "/CGThis software is designed for asynchronous communication between a standard PC and a smart card "
    "device that complies with ISO 7816 parts 1 to 3. It speaks to the card through a card interface on a "
    "serial port.\n\n"
    "/CRDISCLAIMER:\n\n"
    "/CGThis software permits the exchange of data with a standard smart card device. The user is solely "
    "responsible for all data sent to and received from the device by means of this software.\n\n"
    "1. The software is provided as it is, without warranty of any kind as to its quality or its "
    "performance.\n\n"
    "2. The authors take no responsibility for the actions of any person who uses this software.\n\n"
    "3. The software is not to be used for illegal activities of any kind; the authors take no "
    "responsibility for such activities.\n\n"
    "4. The software is not to be distributed without the expressed permission of the authors.\n\n\n"
    "/CRBETA RELEASE NOTES !!!\n\n"
    "/GThis software is released as a beta. For support, please refer to your beta support contact.\n\n"
    "/CRBy using this software you agree to all of the conditions stated above.\n";
