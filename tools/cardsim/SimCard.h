#pragma once

#include "CardFiles.h"
#include "CardProfile.h"
#include "CardStatus.h"

#include <QByteArray>
#include <optional>
#include <vector>

// One command as the card sees it: the five header bytes and the data that came in.
struct CardCommand {
    quint8 cla = 0, ins = 0, p1 = 0, p2 = 0, p3 = 0;
    QByteArray data;
};

// What the card sends for a command besides procedure bytes: data (commands with
// data out) and the status word.
struct CardAnswer {
    QByteArray data;
    QByteArray status;
};

// The card a profile describes; by default the sample card: the files of
// DefaultCardFiles(), PIN 1, and these instructions
// (class 00 answers ISO status words, class A0 the GSM style ones; see CardStatus.h):
//   A4 SELECT        P3 = 02, data = file id (looked for in the current DF first);
//                    P1 P2 not checked. Found: 61 0F / 9F 0F (FileInformation
//                    waiting); else 6A 82 / 94 04, selection unchanged.
//   C0 GET RESPONSE  P3 = Le <= bytes waiting: the first Le of them, 90 00; else 67 00.
//                    Any other command drops what was waiting.
//   B0 READ BINARY   offset P1 P2, Le P3 (00 means 256); needs a transparent EF.
//   B2 READ RECORD   P1 = record 1..5, P2 = 04 (else 6A 86 / 6B 00), P3 = record
//                    length (else 6C 10 / 67 10); needs a linear fixed EF.
//   D6 UPDATE BINARY offset P1 P2, Lc P3 (00: 67 00); EF 0001 only after the PIN.
//   20 VERIFY        P1 00 (else 6A 86 / 6B 00), P2 the PIN's number (else 6A 88 /
//                    98 02), P3 its length (else 67 00). The sample card's PIN 1 is
//                    31 32 33 34 FF FF FF FF with 3 tries.
// File checks in order: no EF selected 69 86, wrong structure 69 81, access not
// granted 69 82 / 98 04, outside the file 6B 00. A wrong PIN answers 63 Cx / 98 04
// (the last try 63 C0 / 98 40); a blocked PIN 69 83 / 98 40 until the card is
// recreated. Files and the PINs' tries outlive a reset; the selection (back to the
// MF), the waiting response and the PINs' verification do not.
class SimCard {
public:
    explicit SimCard(const CardProfile& profile = {});

    // 3F 65 25 00 2C 09 69 90 00: inverse convention, TB1 25, TC1 00, five historical bytes.
    static QByteArray DefaultAtr();
    static bool Accepts(quint8 cla, quint8 ins);
    static bool TakesData(quint8 ins);

    CardAnswer run(const CardCommand& command);
    void reset();

private:
    struct Result {
        Result(Outcome why = Outcome::Done, quint8 count = 0, QByteArray bytes = {})
            : outcome(why), detail(count), data(std::move(bytes))
        {
        }
        Outcome outcome;
        quint8 detail;
        QByteArray data;
    };
    using Handler = Result (SimCard::*)(const CardCommand&);
    struct Instruction {
        quint8 ins;
        bool takesData;
        Handler handler;
    };
    static const Instruction* Find(quint8 ins);

    Result select(const CardCommand& command);
    Result getResponse(const CardCommand& command);
    Result readBinary(const CardCommand& command);
    Result readRecord(const CardCommand& command);
    Result updateBinary(const CardCommand& command);
    Result verify(const CardCommand& command);

    struct PinState {
        CardPin pin;
        int triesLeft;
        bool verified = false;
    };

    std::optional<Result> refusal(FileKind kind, Access access) const;
    bool permits(Access access) const;
    CardFile& current() { return m_files[m_current]; }
    std::optional<std::size_t> find(quint16 id) const;
    PinState* findPin(quint8 number);

    std::vector<CardFile> m_files;
    std::vector<PinState> m_pins;
    std::size_t m_current = 0;
    QByteArray m_waiting;
};
