#include "link/DeviceName.h"

#include <QRegularExpression>

QString DevicePath(const QString& portName)
{
    if (portName.isEmpty() || portName.contains(u'/'))
        return portName;
    static const QRegularExpression comPort(QStringLiteral("^COM([1-9][0-9]{0,5})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const auto match = comPort.match(portName); match.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
    return QStringLiteral("/dev/") + portName;
}

std::optional<QString> PcscReaderName(const QString& portName)
{
    static const QString prefix = QStringLiteral("pcsc:");
    if (!portName.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    return portName.mid(prefix.size());
}
