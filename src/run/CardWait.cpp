#include "run/CardWait.h"

#include "base/MessagePump.h"
#include "link/CardLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

bool CardWait::CardOwes()
{
    m_watch.Follow();
    return m_watch.CardOwes();
}

CardWait::End CardWait::Wait(bool endOnAtr)
{
    const End end = WaitOnProtocol(endOnAtr);
    // The run goes on at once: what came is in the log before what it writes next.
    m_link.ShowWhatArrived();
    return end;
}

CardWait::End CardWait::WaitOnProtocol(bool endOnAtr)
{
    QElapsedTimer sinceNews;
    sinceNews.start();
    QTimer wake;
    wake.setSingleShot(true);
    while (!MessagePump::Closing()) {
        // Looked at first: bytes the worker writes meanwhile are among the events followed.
        const bool bytesWaiting = m_link.BytesWaiting();
        if (m_watch.Follow() || m_link.PortBusy())
            sinceNews.start();
        if (endOnAtr && m_watch.AtrComplete())
            return End::Settled;
        const bool owed = bytesWaiting || m_watch.CardOwes();
        const qint64 left = (owed ? m_answerTimeout : m_idle).count() - sinceNews.elapsed();
        if (left <= 0)
            return owed ? End::NoAnswer : End::Settled;
        wake.start(int(left));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return End::Closing;
}
