#include "run/StatusLines.h"

#include "trace/TraceFormat.h"

#include <cerrno>
#include <unistd.h>

void StatusLines::Atr(const QByteArray& atr) { Write(QStringLiteral("atr ") + ByteText(atr)); }

void StatusLines::Item(qsizetype number) { Write(QStringLiteral("item %1").arg(number)); }

void StatusLines::End(ExitStatus status, const QString& why)
{
    Write(QStringLiteral("end %1 %2").arg(int(status)).arg(QString(why).replace(u'\n', u' ')));
}

void StatusLines::Write(const QString& line)
{
    if (m_fd < 0)
        return;
    const QByteArray bytes = (line + u'\n').toUtf8();
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t count = ::write(m_fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            m_fd = -1;
            return;
        }
        written += count;
    }
}
