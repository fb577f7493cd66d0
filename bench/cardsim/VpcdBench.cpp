// Exchanges a second between a PC/SC client and the simulator's card in the
// virtual reader of a private pcscd (target at least 1,000): each exchange is
// one SCardTransmit of READ BINARY, through pcscd, vpcd and its TCP connection.
// Argument: the number of exchanges (2,000).
#include "virtualreader/VirtualReader.h"

#include <QElapsedTimer>
#include <cstdio>
#include <winscard.h>

namespace {

// Connects to the virtual reader's card; 0 on failure.
SCARDHANDLE ConnectCard(SCARDCONTEXT context)
{
    const QByteArray reader = VirtualReader::ReaderName().toUtf8();
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    if (SCardConnect(context, reader.constData(), SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0, &card, &protocol)
        != SCARD_S_SUCCESS)
        return 0;
    return card;
}

bool Transmit(SCARDHANDLE card, const QByteArray& apdu)
{
    BYTE response[258];
    DWORD length = sizeof response;
    return SCardTransmit(card, SCARD_PCI_T0, reinterpret_cast<const BYTE*>(apdu.constData()), DWORD(apdu.size()),
                         nullptr, response, &length) == SCARD_S_SUCCESS && length >= 2;
}

} // namespace

int main(int argc, char** argv)
{
    const int exchanges = argc > 1 ? std::max(10, atoi(argv[1])) : 2000;
    VirtualReader reader;
    SCARDCONTEXT context = 0;
    SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context);
    const SCARDHANDLE card = ConnectCard(context);
    if (card == 0 || !Transmit(card, QByteArray::fromHex("00A4000002 0001"))) {
        std::fprintf(stderr, "no card in the virtual reader\n");
        return 1;
    }
    const QByteArray read = QByteArray::fromHex("00B0000010");
    QElapsedTimer timer;
    timer.start();
    int done = 0;
    while (done < exchanges && Transmit(card, read))
        ++done;
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("vpcd exchanges: %d in %.3f s, %.0f a second (target at least 1000)\n", done, seconds,
                done / seconds);
    SCardDisconnect(card, SCARD_LEAVE_CARD);
    SCardReleaseContext(context);
    return done == exchanges ? 0 : 1;
}
