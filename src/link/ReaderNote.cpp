#include "link/ReaderNote.h"

#include "link/LinkTimeline.h"
#include "link/T0Emulation.h"

QString ReaderNoteText(ReaderNoteKind kind, QByteArrayView bytes)
{
    const QString hex = QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
    const auto wait = qint64(T0Emulation::UnknownDataWait.count());
    switch (kind) {
    case ReaderNoteKind::GuessedToCard:
        return QStringLiteral("%1: an instruction not in the table; a byte followed within %2 ms, so its data went "
                              "to the card (case 3)").arg(hex).arg(wait);
    case ReaderNoteKind::GuessedFromCard:
        return QStringLiteral("%1: an instruction not in the table; nothing followed within %2 ms, so the card was "
                              "asked for its data (case 2)").arg(hex).arg(wait);
    case ReaderNoteKind::NotACommand:
        return QStringLiteral("%1 sent outside a command (no card takes CLA FF, INS 6x or INS 9x): not passed to the "
                              "card").arg(hex);
    case ReaderNoteKind::HeldInReset:
        return QStringLiteral("%1 sent while RTS held the card in reset: not passed to the card").arg(hex);
    }
    return hex;
}

bool NeverReachedTheCard(ReaderNoteKind kind)
{
    return kind == ReaderNoteKind::NotACommand || kind == ReaderNoteKind::HeldInReset;
}

qsizetype BytesNeverSentToTheCard(const LinkTimeline& timeline)
{
    qsizetype count = 0;
    for (qsizetype index = 0; index < timeline.Size(); ++index) {
        const LinkEvent event = timeline.At(index);
        if (event.kind == LinkEventKind::ReaderNote && NeverReachedTheCard(ReaderNoteKind(event.value)))
            count += event.bytes.size();
    }
    return count;
}
