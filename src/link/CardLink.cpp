#include "link/CardLink.h"

#include "base/Dialogs.h"
#include "base/MessagePump.h"
#include "link/ByteDelay.h"
#include "link/CommandLine.h"
#include "link/InvertBytes.h"
#include "link/LinkHost.h"
#include "link/OpenCardPort.h"

#include <QPointer>
#include <chrono>
#include <cerrno>
#include <cstring>

namespace {
// The most received bytes shown in one go; more wait for the next turn, so the
// window's timers and input are served during a fast stream.
constexpr qsizetype ShowSlice = 16 * 1024;

qint64 WallClockNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Told once per start, the first time a script changes the line of an interface that has none.
const QString NoSerialLineNote = QStringLiteral(
    "(PC/SC reader: baud rates and DTR, RTS and break change nothing; RTS raised then lowered resets the card)\r\n");
} // namespace

CardLink::CardLink(LinkHost& host) : m_host(host) {}

CardLink::~CardLink() { Stop(); }

void CardLink::Start()
{
    Stop();
    m_lineNoted = false;
    if (!OpenPort()) {
        m_host.ShowPortOpen(false);
        return;
    }
    StartWorker();
}

void CardLink::Stop()
{
    StopWorker();
    if (!m_portHandle || !m_portHandle->IsOpen())
        return;
    m_portHandle->Close();
    Record([](LinkTimeline& timeline, qint64 timeNs) { timeline.AddClosed(timeNs); });
}

bool CardLink::Polling() const { return m_worker && m_worker->Running(); }

bool CardLink::BytesWaiting()
{
    if (!Polling() || !m_worker->Queue().Pending())
        return false;
    m_worker->Queue().WindowWaits();
    return m_worker->Queue().Pending(); // seen after saying so: the next write announces itself
}

bool CardLink::OpenPort()
{
    int openError = 0;
    m_portName = m_host.PortName();
    m_portHandle = OpenCardPort(m_portName, m_host.EchoSentBytes(), openError);
    if (openError != 0) {
        ShowLastError(LinkTrouble::NotOpened, openError);
        return false;
    }
    Record([wallClockNs = WallClockNs()](LinkTimeline& timeline, qint64 timeNs) {
        timeline.AddOpened(timeNs, wallClockNs);
    });
    if (const int error = m_portHandle->SetNonBlocking()) {
        m_host.dialogs().ShowMessage(QStringLiteral("Error setting Com Port Timeouts"));
        m_host.dialogs().ShowMessage(QString::number(error));
    }
    if (m_portHandle->ReadLineSettings() != 0)
        m_host.dialogs().ShowMessage(QStringLiteral("Error Reading Data."));
    SetBaudRate(9600);
    m_host.ShowPortOpen(true);
    return true;
}

void CardLink::StartWorker()
{
    m_worker = std::make_unique<TComm>(*m_portHandle, m_received);
    const TComm* worker = m_worker.get();
    connect(worker, &TComm::Recorded, this, &CardLink::ShowReceived);
    connect(worker, &TComm::WriteFailed, this, [this] { m_host.dialogs().ShowMessage(QStringLiteral("ERROR")); });
    // Watched: a report that arrives after its worker was replaced must not stop a newcomer.
    connect(worker, &TComm::LineLost, this, [this, watched = QPointer<const TComm>(worker)](int error) {
        if (watched && watched == m_worker.get())
            LineLost(error);
    });
    m_worker->start();
    // A start from a handler run during this wait replaces the worker; stop waiting then.
    while (m_worker.get() == worker && !worker->Running() && !worker->isFinished() && !MessagePump::Closing())
        MessagePump::PumpOnce();
}

void CardLink::StopWorker()
{
    if (!m_worker)
        return;
    m_worker->Stop();
    m_worker->wait();
    m_worker.reset(); // with the bytes nobody wrote: never sent by a later start
    m_received.TakeEvents(m_timeline);
    // What arrived before the stop is still shown, and the buffer's telling ends
    // with the worker that told it.
    QMetaObject::invokeMethod(this, &CardLink::ShowReceived, Qt::QueuedConnection);
}

void CardLink::SetBaudRate(int baud)
{
    NoteNoSerialLine();
    LetHandedOverBytesLeave();
    if (const int error = m_portHandle ? m_portHandle->SetBaudRate(baud) : EBADF)
        ShowLastError(LinkTrouble::LineChange, error);
    else
        Record([baud](LinkTimeline& timeline, qint64 timeNs) { timeline.AddBaudChanged(timeNs, baud); });
}

// Stamped when asked for: a PC/SC reader's reset takes the port's call as long as the reader needs.
void CardLink::LineControl(LineFunction function)
{
    NoteNoSerialLine();
    LetHandedOverBytesLeave();
    const qint64 askedNs = ReceiveBuffer::NowNs();
    if (const int error = m_portHandle ? m_portHandle->LineControl(function) : EBADF)
        ShowLastError(LinkTrouble::LineChange, error);
    else
        Record([function](LinkTimeline& timeline, qint64 timeNs) { timeline.AddLineControl(timeNs, function); },
               askedNs);
}

void CardLink::LetHandedOverBytesLeave()
{
    WaitForWorkerWhile([](const SendQueue& queue) { return queue.Pending(); });
    // A queue that cannot be drained leaves nothing to wait for; a port that has
    // gone is reported by the change that follows.
    if (m_portHandle && m_portHandle->IsOpen())
        m_portHandle->Drain();
}

// The start's own line settings are no news: only changes while the link polls are told.
void CardLink::NoteNoSerialLine()
{
    if (Polling() && !m_portHandle->HasSerialLine() && !std::exchange(m_lineNoted, true))
        m_host.LogAtCaret(NoSerialLineNote);
}

void CardLink::WaitForWorkerWhile(const std::function<bool(const SendQueue&)>& waiting)
{
    while (Polling() && waiting(m_worker->Queue()) && !MessagePump::Closing()) {
        m_worker->Queue().WindowWaits();
        if (waiting(m_worker->Queue())) // seen after saying so: the worker's next write announces itself
            MessagePump::PumpWhenEventArrives();
    }
}

void CardLink::PutByte(quint8 byte)
{
    WaitForWorkerWhile([](const SendQueue& queue) { return queue.Full(); });
    if (!Polling() || m_worker->Queue().Full())
        return; // no worker polls, or the program is closing: the byte is dropped
    if (m_worker->Queue().Put(byte))
        m_worker->Wake();
}

void CardLink::SendBytes(QByteArray bytes)
{
    InvertBytes(bytes);
    for (const char byte : std::as_const(bytes)) {
        if (MessagePump::Closing())
            return;
        PutByte(quint8(byte));
        RunByteDelay([this] { return m_host.ByteDelayText(); });
    }
    m_received.TakeEvents(m_timeline);
}

void CardLink::SendCommand(const QString& line)
{
    m_host.ClearResponse();
    const QByteArray bytes = DecodeCommand(line);
    if (bytes.isEmpty())
        m_host.dialogs().ShowMessage(QStringLiteral("EMPTY LINE"));
    else
        SendBytes(bytes);
    m_host.LogAtCaret(QStringLiteral("\r\n"));
}

void CardLink::ShowReceived()
{
    if (ShowReceivedSlice())
        QMetaObject::invokeMethod(this, &CardLink::ShowReceived, Qt::QueuedConnection);
}

void CardLink::ShowWhatArrived()
{
    while (ShowReceivedSlice()) {
    }
}

bool CardLink::ShowReceivedSlice()
{
    bool more = false;
    const QByteArray bytes = m_received.Take(ShowSlice, more, m_timeline);
    ShowNotes(); // after the take, which has the window told again of any note that comes later
    if (!bytes.isEmpty()) {
        if (m_echoOn)
            m_host.LogAtCaret(ResponseText(bytes));
        m_host.AppendResponse(bytes);
    }
    return more;
}

// What a PC/SC reader did that a serial line never does, a line of its own.
void CardLink::ShowNotes()
{
    for (const ReaderNote& note : m_received.TakeNotes())
        m_host.LogAtCaret(QStringLiteral("(PC/SC reader: %1)\r\n").arg(ReaderNoteText(note.kind, note.bytes)));
}

void CardLink::LineLost(int error)
{
    Stop();
    m_host.ShowPortOpen(false);
    ShowLastError(LinkTrouble::Lost, error);
}

void CardLink::Record(const std::function<void(LinkTimeline&, qint64)>& add, qint64 askedNs)
{
    m_received.Record(add, askedNs);
    m_received.TakeEvents(m_timeline);
}

void CardLink::ShowLastError(LinkTrouble trouble, int error)
{
    const QString text = m_portHandle ? m_portHandle->ErrorText(error) : QString::fromLocal8Bit(std::strerror(error));
    m_host.dialogs().ShowBox(QStringLiteral("GetLastError"), LinkTroubleText(m_portName, trouble, text));
}
