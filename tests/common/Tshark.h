#pragma once

#include <QString>
#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>

inline constexpr char TsharkMissing[] = "tshark is not installed (Debian package tshark; scripts/setup.sh installs it)";

// Whether tshark reads the capture file in full (`tshark -r FILE -V`, with no
// preferences of the user's) without error and shows each of `texts`; a failure
// names what is missing. Nothing when tshark is not installed.
std::optional<::testing::AssertionResult> TsharkShows(const QString& path, std::initializer_list<const char*> texts);
