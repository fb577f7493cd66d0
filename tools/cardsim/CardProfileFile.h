#pragma once

#include "CardProfile.h"

#include <QByteArray>
#include <QString>

// A card profile as a file people write by hand (see ProfileSections.h for its
// lines; every byte field is hexadecimal pairs, blanks allowed):
//   [card]             atr = BYTES, answer baud = N (0, the default: at once)
//   [pin N]            N 1..14: value = BYTES, tries = N (3 unless given)
//   [file PATH]        PATH the file's identifiers from the MF, "3F00/7F20/6F3A";
//                      type = master (3F00 only; implied) | dedicated | transparent | records,
//                      data = BYTES and size = N (transparent; FF up to the size),
//                      record size = N and record K = BYTES (records; FF up to the size),
//                      read = / update = always | pin N | never (always, never unless given)
//   [answer HEADER]    HEADER 1 to 5 bytes: reply = BYTES sent after such headers
//                      in place of the card's own answer (empty: no answer)
// Errors throw KestrinError "FILE, line N, FIELD: what".
CardProfile ReadCardProfile(const QByteArray& contents, const QString& fileName);
// Throws FileError when the file cannot be read.
CardProfile LoadCardProfile(const QString& path);

// The profile in that form, after the given comment lines ("# " added).
QString CardProfileText(const CardProfile& profile, const QStringList& comment = {});
