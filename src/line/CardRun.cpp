#include "line/CardRun.h"

#include "line/SupervisedChild.h"
#include "run/ConsoleText.h"
#include "run/RunStop.h"

#include <QCoreApplication>
#include <QFile>
#include <csignal>

namespace {

QString Prefix(const LineInterface& face, int card) { return QStringLiteral("[%1 #%2] ").arg(face.label).arg(card); }

} // namespace

CardRun::CardRun(const LineInterface& face, int card, const QStringList& arguments, const QString& transcriptPath)
    : m_arguments(arguments), m_transcriptPath(transcriptPath), m_out(Prefix(face, card)), m_err(Prefix(face, card))
{
    m_result.interfaceLabel = face.label;
    m_result.card = card;
    m_arguments << QStringLiteral("--status-fd") << QString::number(m_status.WritingEnd());
    m_process.setStandardInputFile(QProcess::nullDevice());
    SuperviseChild(m_process, m_status.WritingEnd());
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &CardRun::PassOnOutput);
    connect(&m_process, &QProcess::readyReadStandardError, this, &CardRun::PassOnMessages);
    connect(&m_process, &QProcess::finished, this, &CardRun::End);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            FailToStart();
    });
    connect(&m_status, &StatusChannel::Line, this, &CardRun::Follow);
}

void CardRun::Start()
{
    m_clock.start();
    m_process.start(QCoreApplication::applicationFilePath(), m_arguments);
    m_status.CloseWritingEnd();
}

void CardRun::Signal(int signal)
{
    if (m_process.state() != QProcess::NotRunning)
        ::kill(pid_t(m_process.processId()), signal);
}

// "atr 3F 65 ...", "item 2", "end 7 the card was silent ..."
void CardRun::Follow(const QString& statusLine)
{
    const QString word = statusLine.section(u' ', 0, 0);
    const QString rest = statusLine.section(u' ', 1);
    if (word == u"atr")
        m_result.atr = rest;
    else if (word == u"item")
        m_result.itemStarts << m_clock.elapsed() / 1000.0;
    else if (word == u"end")
        m_result.why = rest.section(u' ', 1);
    emit Changed();
}

void CardRun::PassOnOutput()
{
    ConsoleText::WriteOut(m_out.Take(m_outDecoder.decode(m_process.readAllStandardOutput())));
}

void CardRun::PassOnMessages()
{
    const QString text = m_errDecoder.decode(m_process.readAllStandardError());
    m_result.messages += text;
    if (const QString lines = m_err.Take(text); !lines.isEmpty())
        ConsoleText::WriteErr(lines);
}

void CardRun::End()
{
    m_status.ReadAll();
    PassOnOutput();
    PassOnMessages();
    ConsoleText::WriteOut(m_out.Finish());
    if (const QString last = m_err.Finish(); !last.isEmpty())
        ConsoleText::WriteErr(last);
    m_result.seconds = m_clock.elapsed() / 1000.0;
    const bool exited = m_process.exitStatus() == QProcess::NormalExit;
    m_result.status = exited ? m_process.exitCode() : int(ExitStatus::Error);
    if (!exited)
        m_result.why = QStringLiteral("the card's run ended abnormally (killed or crashed)");
    if (QFile transcript(m_transcriptPath); !m_transcriptPath.isEmpty() && transcript.open(QIODevice::ReadOnly))
        m_result.transcript = QString::fromUtf8(transcript.readAll());
    emit Finished();
}

void CardRun::FailToStart()
{
    m_result.status = int(ExitStatus::Error);
    m_result.why = QStringLiteral("kestrin-run could not be started for the card (%1)").arg(m_process.errorString());
    emit Finished();
}
