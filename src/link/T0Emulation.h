#pragma once

#include "link/ApduCard.h"
#include "link/LineFunction.h"
#include "link/ReaderNote.h"
#include "link/WaitingResponse.h"

#include <QByteArray>
#include <QList>
#include <chrono>
#include <optional>

// The byte stream of a serial card interface for a card reached by whole APDUs.
// The bytes the program sends are gathered as a T=0 terminal sends them, a
// header CLA INS P1 P2 P3 and, unless the instruction table (Instructions.h) says
// the data comes from the card, P3 data bytes; each command goes to the card as one
// APDU, and what comes back is given as a T=0 card gives it: for data from the
// card (P3 = 00 asking for 256 bytes) the procedure byte (INS), the data and
// SW1 SW2; for data to the card the procedure byte as soon as the header is
// complete, SW1 SW2 after the data; a command without data (P3 = 00 where no data
// comes from the card) gets SW1 SW2 alone. Status words such as 61 xx and 6C xx
// are passed on, never acted on. For an instruction the table does not know, a
// byte that follows the header within UnknownDataWait makes it a command with
// data to the card; otherwise, once that time is over (Idle), it goes out as one
// asking for P3 bytes from the card. Each byte sent is given back first when the
// echo is on, as a half-duplex interface does.
// A command whose bytes are complete goes to the card at the next Idle (or Send,
// or line function), so that the echo of its last byte can be taken before the
// card is asked, as a serial interface gives it at once.
// Bytes that no card takes as the start of a header (NoCardTakes) are not passed
// on: the stream looks for a header in the bytes after them.
// A card working in T=1 is sent a command with data as case 4 (Le 00); response
// data it gives wait for GET RESPONSE (WaitingResponse), as a T=0 card's would.
// Raising RTS holds the card in reset: a command still under way is dropped and
// every byte sent meanwhile goes nowhere. Lowering it again resets the card (a
// warm reset), giving the new answer to reset; the other line functions do nothing.
// Each guess about an unknown instruction, and each run of bytes not passed on, is
// told once as a ReaderNote. A run of such bytes is told when a command begins,
// the line changes, or UnknownDataWait has passed without more.
// Card failures propagate from the ApduCard; the command under way is dropped,
// and the bytes given back so far stay ready to take.
class T0Emulation {
public:
    using Clock = std::chrono::steady_clock;

    // Long next to a byte delay between the bytes of one command line, short next
    // to the pause a script or data file leaves between commands.
    static constexpr std::chrono::milliseconds UnknownDataWait{50};

    explicit T0Emulation(ApduCard& card) : m_card(card) {}

    void SetEcho(bool on) { m_echo = on; }
    bool EchoOn() const { return m_echo; }

    void Send(quint8 byte, Clock::time_point now);
    // Sends a complete command, or an unknown instruction's header whose wait is
    // over; tells of bytes not passed on once their wait is over.
    void Idle(Clock::time_point now);
    // When Idle next has work, if it has any.
    std::optional<Clock::time_point> Deadline() const;
    // A command is complete and goes to the card at the next Idle.
    bool CommandDue() const { return m_ready.has_value(); }
    void LineControl(LineFunction function);

    // The bytes given back since the last call, in order.
    QByteArray TakeReceived();
    // The notes since the last call, in order.
    QList<ReaderNote> TakeNotes();

private:
    enum class Stage { Header, Undecided, Data };
    struct Ready {
        QByteArray apdu;
        char ins;
        bool dataFromCard;
        Clock::time_point since;
    };
    struct Dropped {
        ReaderNoteKind kind;
        QByteArray bytes;
        Clock::time_point until;
    };

    void Gather(quint8 byte, Clock::time_point now);
    void HeaderDone(Clock::time_point now);
    void GuessDataToCard();
    void GuessDataFromCard(Clock::time_point since);
    // The command is complete: it goes to the card at the next Idle.
    void Complete(const QByteArray& apdu, bool dataFromCard, Clock::time_point now);
    void Exchange();
    QByteArray Respond(const Ready& ready);
    void Drop(ReaderNoteKind kind, const QByteArray& bytes, Clock::time_point now);
    void TellDropped();
    void HoldReset();
    void ReleaseReset();
    quint8 Ins() const { return quint8(m_command[1]); }
    quint8 P3() const { return quint8(m_command[4]); }

    ApduCard& m_card;
    bool m_echo = true;
    bool m_resetHeld = false;
    Stage m_stage = Stage::Header;
    QByteArray m_command; // header, then the data gathered so far
    Clock::time_point m_deadline;
    std::optional<Ready> m_ready;
    std::optional<Dropped> m_dropped; // the run of bytes not passed on, not yet told
    WaitingResponse m_waiting;
    QByteArray m_received;
    QList<ReaderNote> m_notes;
};
