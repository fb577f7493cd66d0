#include "line/LineInterfaces.h"

#include "base/ProgramMessages.h"
#include "link/DeviceName.h"
#include "link/PcscReader.h"
#include "link/ReaderPresence.h"
#include "run/OutputPattern.h"
#include "run/RunOptions.h"

namespace {

LineInterface ReaderInterface(const QString& reader)
{
    const QString device = QStringLiteral("pcsc:") + reader;
    return {device, reader, DeviceFileName(device), true};
}

// The readers a "pcsc:" name may choose from: those holding a card, or with
// card after card every reader, whose cards are still to come.
QStringList Readers(bool eachCard)
{
    QStringList readers;
    try {
        readers = eachCard ? PcscReader::Readers() : ReadersWithCard();
    } catch (const PcscError& error) {
        throw NoInterface(QStringLiteral("the PC/SC readers could not be listed (%1)")
                              .arg(ProgramMessages::AsClause(QString::fromUtf8(error.what()))));
    }
    if (readers.isEmpty())
        throw NoInterface(eachCard ? QStringLiteral("pcscd knows no PC/SC reader")
                                   : QStringLiteral("no PC/SC reader holds a card"));
    return readers;
}

QList<LineInterface> Expand(const QString& device, bool eachCard)
{
    const std::optional<QString> reader = PcscReaderName(device);
    if (!reader && eachCard)
        throw UsageError(QStringLiteral("--each-card takes PC/SC readers only: the serial card interface %1 has no "
                                        "line that tells when a card is in it")
                             .arg(device));
    if (!reader)
        return {{device, device, DeviceFileName(device), false}};
    if (!reader->isEmpty() && *reader != u"*")
        return {ReaderInterface(*reader)};
    const QStringList readers = Readers(eachCard);
    QList<LineInterface> interfaces;
    for (const QString& name : *reader == u"*" ? readers : readers.first(1))
        interfaces << ReaderInterface(name);
    return interfaces;
}

void CheckApart(const QList<LineInterface>& interfaces)
{
    for (qsizetype first = 0; first < interfaces.size(); ++first) {
        for (qsizetype second = first + 1; second < interfaces.size(); ++second) {
            const LineInterface& one = interfaces[first];
            const LineInterface& other = interfaces[second];
            if (one.device == other.device)
                throw UsageError(QStringLiteral("the card interface %1 is named twice").arg(one.label));
            if (one.fileName == other.fileName)
                throw UsageError(QStringLiteral("%1 and %2 would share the file name %3 ({device})")
                                     .arg(one.label, other.label, one.fileName));
        }
    }
}

} // namespace

QList<LineInterface> ChooseInterfaces(const QStringList& devices, bool eachCard)
{
    QList<LineInterface> interfaces;
    for (const QString& device : devices)
        interfaces << Expand(device, eachCard);
    CheckApart(interfaces);
    return interfaces;
}
