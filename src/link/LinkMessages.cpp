#include "link/LinkMessages.h"

#include "base/ProgramMessages.h"
#include "link/DeviceName.h"

namespace {

// The device as the system knows it, and as typed where that differs.
QString DeviceText(const QString& portName)
{
    if (const auto reader = PcscReaderName(portName))
        return reader->isEmpty() ? QStringLiteral("the first PC/SC reader with a card")
                                 : QStringLiteral("the PC/SC reader '%1'").arg(*reader);
    const QString path = DevicePath(portName);
    if (path.isEmpty())
        return QStringLiteral("the card interface (no device named)");
    if (path == portName || path == QStringLiteral("/dev/") + portName)
        return QStringLiteral("the card interface %1").arg(path);
    return QStringLiteral("the card interface %1 (%2)").arg(path, portName);
}

QString WhatHappened(LinkTrouble trouble)
{
    switch (trouble) {
    case LinkTrouble::NotOpened:
        return QStringLiteral("could not be opened");
    case LinkTrouble::Lost:
        return QStringLiteral("went away");
    case LinkTrouble::LineChange:
        break;
    }
    return QStringLiteral("refused a line change");
}

} // namespace

QString LinkTroubleText(const QString& portName, LinkTrouble trouble, const QString& systemText)
{
    const QString clause = QStringLiteral("%1 %2 (%3)")
                               .arg(DeviceText(portName), WhatHappened(trouble), ProgramMessages::AsClause(systemText));
    return clause.front().toUpper() + clause.sliced(1) + u'.';
}

QString LinkClosedStatus() { return QStringLiteral("Card interface closed."); }
