#include "link/CardLink.h"

#include "link/ByteDelay.h"
#include "link/CommandLine.h"
#include "link/DeviceName.h"
#include "link/InvertBytes.h"
#include "link/LinkHost.h"
#include "link/SerialPort.h"
#include "main/Dialogs.h"
#include "main/MessagePump.h"

#include <cerrno>
#include <cstring>

CardLink::CardLink(LinkHost& host) : m_host(host) {}

CardLink::~CardLink() { Stop(); }

void CardLink::Start()
{
    Stop();
    if (!OpenPort()) {
        m_host.ShowPortOpen(false);
        return;
    }
    StartWorker();
}

void CardLink::Stop()
{
    StopWorker();
    if (m_portHandle)
        m_portHandle->Close();
}

bool CardLink::Polling() const { return m_worker && m_worker->Running(); }

bool CardLink::OpenPort()
{
    m_portHandle = std::make_unique<SerialPort>();
    if (const int error = m_portHandle->Open(DevicePath(m_host.PortName()))) {
        ShowLastError(error);
        return false;
    }
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
    m_worker = std::make_unique<TComm>(*m_portHandle, m_mailbox);
    const TComm* worker = m_worker.get();
    connect(worker, &TComm::Received, this, &CardLink::ShowReceived);
    connect(worker, &TComm::WriteFailed, this, [this] { m_host.dialogs().ShowMessage(QStringLiteral("ERROR")); });
    connect(worker, &TComm::LineLost, this, [this, worker](int error) { LineLost(worker, error); });
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
    m_worker.reset();
    m_mailbox.Taken(); // a byte nobody wrote is dropped, never sent by a later start
}

void CardLink::SetBaudRate(int baud)
{
    if (const int error = m_portHandle ? m_portHandle->SetBaudRate(baud) : EBADF)
        ShowLastError(error);
}

void CardLink::LineControl(LineFunction function)
{
    if (const int error = m_portHandle ? m_portHandle->LineControl(function) : EBADF)
        ShowLastError(error);
}

void CardLink::PutByte(quint8 byte)
{
    while (m_mailbox.Pending() && Polling() && !MessagePump::Closing())
        MessagePump::PumpOnce();
    if (!Polling())
        return;
    m_mailbox.Put(byte);
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

void CardLink::ShowReceived(const QByteArray& bytes)
{
    const QString text = ResponseText(bytes);
    if (m_echoOn)
        m_host.LogAtCaret(text);
    m_host.AppendResponse(text);
}

void CardLink::LineLost(const TComm* worker, int error)
{
    if (m_worker.get() != worker)
        return; // a worker stopped since; its port is closed already
    Stop();
    m_host.ShowPortOpen(false);
    ShowLastError(error);
}

void CardLink::ShowLastError(int error)
{
    m_host.dialogs().ShowBox(QStringLiteral("GetLastError"), QString::fromLocal8Bit(std::strerror(error)));
}
