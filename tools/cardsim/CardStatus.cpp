#include "CardStatus.h"

namespace {

struct StatusPair {
    quint8 iso1, iso2, gsm1, gsm2;
};

StatusPair Pair(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done: return {0x90, 0x00, 0x90, 0x00};
    case Outcome::ResponseWaiting: return {0x61, 0x00, 0x9F, 0x00};
    case Outcome::FileNotFound: return {0x6A, 0x82, 0x94, 0x04};
    case Outcome::NoEfSelected: return {0x69, 0x86, 0x69, 0x86};
    case Outcome::WrongStructure: return {0x69, 0x81, 0x69, 0x81};
    case Outcome::OutOfRange: return {0x6B, 0x00, 0x6B, 0x00};
    case Outcome::RecordNotFound: return {0x6A, 0x83, 0x94, 0x02};
    case Outcome::SecurityNotMet: return {0x69, 0x82, 0x98, 0x04};
    case Outcome::WrongPin: return {0x63, 0xC0, 0x98, 0x04};
    case Outcome::PinBlocked: return {0x69, 0x83, 0x98, 0x40};
    case Outcome::WrongLength: return {0x67, 0x00, 0x67, 0x00};
    case Outcome::WrongLe: return {0x6C, 0x00, 0x67, 0x00};
    case Outcome::WrongP1P2: return {0x6A, 0x86, 0x6B, 0x00};
    case Outcome::PinNotFound: return {0x6A, 0x88, 0x98, 0x02};
    case Outcome::UnknownClass: return {0x6E, 0x00, 0x6E, 0x00};
    case Outcome::UnknownIns: return {0x6D, 0x00, 0x6D, 0x00};
    }
    return {0x6F, 0x00, 0x6F, 0x00};
}

} // namespace

QByteArray StatusWord(Outcome outcome, CardClass cardClass, quint8 detail)
{
    // The last wrong PIN of the GSM style blocks it, and says so.
    if (outcome == Outcome::WrongPin && cardClass == CardClass::Gsm && detail == 0)
        outcome = Outcome::PinBlocked;
    const StatusPair pair = Pair(outcome);
    const bool iso = cardClass == CardClass::Iso;
    quint8 sw1 = iso ? pair.iso1 : pair.gsm1;
    quint8 sw2 = iso ? pair.iso2 : pair.gsm2;
    const bool carriesDetail = outcome == Outcome::ResponseWaiting || outcome == Outcome::WrongLe
                               || (outcome == Outcome::WrongPin && iso);
    if (carriesDetail)
        sw2 |= detail;
    QByteArray word;
    word.append(char(sw1)).append(char(sw2));
    return word;
}
