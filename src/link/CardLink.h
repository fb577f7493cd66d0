#pragma once

#include "link/LineFunction.h"
#include "link/LinkMessages.h"
#include "link/LinkTimeline.h"
#include "link/TComm.h"

#include <QObject>
#include <memory>

class CardPort;
class LinkHost;

// The card link: one card interface (a serial port or a PC/SC reader), one worker
// polling it with its send queue, and the echo switch. Every byte crossing it goes
// through the inverse-convention transform. Runs on the window thread; the worker's received bytes arrive here
// as queued calls, so they are shown during message-pump passes, in order.
class CardLink : public QObject {
    Q_OBJECT
public:
    explicit CardLink(LinkHost& host);
    ~CardLink() override;

    // Creates a worker: a running one is stopped and its port closed first, then
    // the port named by the host is opened and configured, and the worker polls.
    // Returns once it polls, or at once after a failed open (reported).
    void Start();
    // The window closes: the worker is told to stop and the port is closed.
    void Stop();

    bool Polling() const;
    // Bytes handed over wait to be written. While so, the worker's next write
    // tells the window thread by a queued call, so a wait for events sees it.
    bool BytesWaiting();
    // The worker is in a call to the port, as long as a PC/SC reader needs for
    // the commands it exchanges with the card.
    bool PortBusy() const { return Polling() && m_worker->InPortCall(); }
    // PortHandle: null until the first start; not open after a failed one.
    const CardPort* PortHandle() const { return m_portHandle.get(); }
    const TComm* Worker() const { return m_worker.get(); }

    // A script's line changes, made only after every byte handed over before has
    // left; an interface without a serial line says once per start in the Active
    // Log that they change nothing there.
    void SetBaudRate(int baud);
    void LineControl(LineFunction function);
    void SetEcho(bool on) { m_echoOn = on; }
    bool EchoOn() const { return m_echoOn; }

    // Puts one byte in the worker's send queue, once it has room (pumping
    // meanwhile). While no worker polls, the byte is dropped.
    void PutByte(quint8 byte);
    // Converts the bytes to the inverse convention, then hands them over one by
    // one, each followed by the byte delay. Throws ConversionError for a byte
    // delay that is not a whole number.
    void SendBytes(QByteArray bytes);
    // Empties the response, sends the line's bytes and ends the line in the log.
    void SendCommand(const QString& line);

    // Everything that happened on the link since the program started, in card
    // values, across every start. Brought up to date during message-pump passes,
    // after each send and line change, and by UpdateTimeline(); readers look at
    // Size() for news.
    const LinkTimeline& Timeline() const { return m_timeline; }
    void UpdateTimeline() { m_received.TakeEvents(m_timeline); }
    // Shows every byte and note received so far now rather than on the window
    // thread's next turns: for a front end that goes on as soon as the timeline
    // shows the card has answered, so that what it writes next follows them.
    void ShowWhatArrived();
    // Recording is on from the start; off, the link's events are not kept.
    void SetTimelineRecording(bool on) { m_received.SetRecording(on); }

private:
    bool OpenPort();
    void StartWorker();
    void StopWorker();
    void ShowReceived();
    // Shows a slice of the bytes received; true when more wait.
    bool ShowReceivedSlice();
    void ShowNotes();
    void LineLost(int error);
    void ShowLastError(LinkTrouble trouble, int error);
    // Lets every byte already handed to the worker leave: the send queue empties (the
    // window works meanwhile; a worker that stops ends the wait), then the
    // driver's output queue.
    void LetHandedOverBytesLeave();
    // Handles the window's events as they come while `waiting` holds for the send
    // queue and a worker polls; the worker's writes end each wait for an event.
    void WaitForWorkerWhile(const std::function<bool(const SendQueue&)>& waiting);
    // Records an event of the window thread's asked for at `askedNs`, after every
    // event the worker has recorded.
    void Record(const std::function<void(LinkTimeline&, qint64 timeNs)>& add, qint64 askedNs = ReceiveBuffer::NowNs());
    void NoteNoSerialLine();

    LinkHost& m_host;
    QString m_portName; // as typed when the port was opened
    std::unique_ptr<CardPort> m_portHandle;
    std::unique_ptr<TComm> m_worker;
    ReceiveBuffer m_received;
    bool m_echoOn = true;
    LinkTimeline m_timeline;
    bool m_lineNoted = false;
};
