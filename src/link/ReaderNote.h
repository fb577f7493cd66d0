#pragma once

#include <QByteArray>
#include <QString>

class LinkTimeline;

// What a PC/SC reader's T=0 byte stream did with the bytes sent that a serial
// interface never does: a guess about which way an unknown instruction's data
// goes, or bytes it did not pass to the card.
enum class ReaderNoteKind : quint8 {
    GuessedToCard,   // a byte followed the header within the wait: its data went to the card
    GuessedFromCard, // nothing followed within the wait: the card was asked for P3 bytes
    NotACommand,     // bytes no card takes as a command header (NoCardTakes)
    HeldInReset,     // bytes sent while RTS held the card in reset
};

struct ReaderNote {
    ReaderNoteKind kind = ReaderNoteKind::NotACommand;
    QByteArray bytes; // the header guessed about, or the bytes not passed to the card
};

// The note in words, as the Active Log and the trace give it.
QString ReaderNoteText(ReaderNoteKind kind, QByteArrayView bytes);
bool NeverReachedTheCard(ReaderNoteKind kind);
// The bytes sent that never reached the card, by the notes of a timeline.
qsizetype BytesNeverSentToTheCard(const LinkTimeline& timeline);
