#pragma once

#include "CardProfile.h"
#include "Recording.h"

// The profile a recording implies, for a person to complete: its ATR, the files
// it selected (identifiers 7Fxx and 5Fxx taken for DFs) with what it read of them
// (READ BINARY, READ RECORD with P2 04; the rest FF), and the PINs it verified.
// Files read are "always" to read and "never" to update; no fixed answers.
CardProfile RecordedProfile(const Recording& recording);
