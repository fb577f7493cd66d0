#include "extcap/CaptureRun.h"

#include "base/SignalNotifier.h"
#include "link/BaudRates.h"

#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <csignal>
#include <cstdio>

namespace {

constexpr qsizetype MostSaid = 64 * 1024;
// kestrin-run's status for a run stopped from outside: by a signal, or by its
// pcap stream's reader going away. When Wireshark stops a capture, dumpcap may
// close the fifo before the SIGTERM reaches this program; either way it is the
// capture's stop, no error to show.
constexpr int Interrupted = 130;

void SayErr(const QByteArray& text)
{
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stderr);
    std::fflush(stderr);
}

// Why a run ended: kestrin-run's own lines, which name it, without the boxes
// and status texts of the script before; all of what it said where it said none.
QByteArray WhyItEnded(const QByteArray& said)
{
    QByteArray why;
    for (const QByteArray& line : said.split('\n'))
        if (line.startsWith("kestrin-run: "))
            why += line + '\n';
    return why.isEmpty() ? said : why;
}

// kestrin-run as the capture's child, until it ends.
class CaptureChild {
public:
    CaptureChild(const QString& fifo, const QString& folder);
    // Runs it to its end; returns the capture's exit status.
    int Run(const QString& program, const QStringList& arguments);

private:
    void Stop();
    int Ended();

    QProcess m_run;
    QByteArray m_said; // the end of its standard error
};

CaptureChild::CaptureChild(const QString& fifo, const QString& folder)
{
    m_run.setStandardInputFile(QProcess::nullDevice());
    m_run.setStandardOutputFile(fifo);
    m_run.setWorkingDirectory(folder);
    QObject::connect(&m_run, &QProcess::readyReadStandardError, &m_run,
                     [this] { m_said = (m_said + m_run.readAllStandardError()).right(MostSaid); });
}

int CaptureChild::Run(const QString& program, const QStringList& arguments)
{
    const SignalNotifier stopSignals{SIGINT, SIGTERM};
    QObject::connect(&stopSignals, &SignalNotifier::Received, &m_run, [this] { Stop(); });
    QEventLoop loop;
    QObject::connect(&m_run, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&m_run, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    m_run.start(program, arguments);
    if (m_run.state() != QProcess::NotRunning)
        loop.exec();
    return Ended();
}

void CaptureChild::Stop()
{
    m_run.terminate();
}

int CaptureChild::Ended()
{
    if (m_run.error() == QProcess::FailedToStart) {
        SayErr(QStringLiteral("kestrin-extcap: %1 could not be started (%2)\n")
                   .arg(QDir::toNativeSeparators(m_run.program()), m_run.errorString())
                   .toUtf8());
        return 1;
    }
    const bool normal = m_run.exitStatus() == QProcess::NormalExit;
    const int status = normal ? m_run.exitCode() : 1;
    if (status == 0 || status == Interrupted)
        return 0;
    SayErr(WhyItEnded((m_said + m_run.readAllStandardError()).right(MostSaid)));
    return status;
}

} // namespace

QStringList RunArguments(const ExtcapRequest& request, const QString& device)
{
    QStringList arguments{QStringLiteral("--device"), device, QStringLiteral("--pcap"), QStringLiteral("-")};
    if (!request.baud.isEmpty() && request.baud != QString::number(CardBaudRates[0]))
        arguments << QStringLiteral("--baud") << request.baud;
    for (int index = 0; index < int(request.parameters.size()); ++index)
        if (!request.parameters[index].isEmpty())
            arguments << QStringLiteral("--param") << QStringLiteral("P%1=").arg(index + 1) + request.parameters[index];
    if (request.promptAnswer == u"yes" || request.promptAnswer == u"no")
        arguments << QStringLiteral("--") + request.promptAnswer;
    return arguments << QStringLiteral("--") << request.item;
}

int RunCapture(const QString& program, const QStringList& arguments, const QString& fifo, const QString& folder)
{
    return CaptureChild(fifo, folder).Run(program, arguments);
}
