#include "CardSimulator.h"

#include "T0Session.h"

#include "link/InvertBytes.h"

#include <pthread.h>

CardSimulator::CardSimulator(const QString& linkPath)
    : m_loop(m_state, linkPath), m_thread([this] {
          pthread_setname_np(pthread_self(), "CardSimulator"); // as tools that list threads show it
          m_loop.run();
      })
{
}

CardSimulator::~CardSimulator()
{
    {
        std::lock_guard lock(m_state.mutex);
        m_state.stop = true;
    }
    m_loop.wake();
    m_thread.join();
}

QString CardSimulator::devicePath() const
{
    std::lock_guard lock(m_state.mutex);
    return m_state.devicePath;
}

void CardSimulator::setEcho(bool on)
{
    std::lock_guard lock(m_state.mutex);
    m_state.echo = on;
}

void CardSimulator::setCardSilent(bool silent)
{
    std::lock_guard lock(m_state.mutex);
    m_state.cardSilent = silent;
}

void CardSimulator::setAtr(const QByteArray& atr)
{
    std::lock_guard lock(m_state.mutex);
    m_state.card.atr = atr;
}

void CardSimulator::setCard(std::unique_ptr<T0Card> card)
{
    std::lock_guard lock(m_state.mutex);
    m_state.card.use(std::move(card));
}

void CardSimulator::setAnswerPace(Pace pace)
{
    std::lock_guard lock(m_state.mutex);
    m_state.answerPace = pace;
}

void CardSimulator::setReply(const QByteArray& header, const QByteArray& reply)
{
    std::lock_guard lock(m_state.mutex);
    if (auto* session = dynamic_cast<T0Session*>(m_state.card.session.get()))
        session->setReply(header, reply);
}

void CardSimulator::clearReplies()
{
    std::lock_guard lock(m_state.mutex);
    if (auto* session = dynamic_cast<T0Session*>(m_state.card.session.get()))
        session->clearReplies();
}

void CardSimulator::setLogger(Logger logger)
{
    std::lock_guard lock(m_state.mutex);
    m_state.card.logger = std::move(logger);
}

int CardSimulator::opens() const
{
    std::lock_guard lock(m_state.mutex);
    return m_state.opens;
}

int CardSimulator::closes() const
{
    std::lock_guard lock(m_state.mutex);
    return m_state.closes;
}

bool CardSimulator::waitForOpens(int count, std::chrono::milliseconds timeout) const
{
    return waitFor(timeout, [&] { return m_state.opens >= count; });
}

bool CardSimulator::waitForCloses(int count, std::chrono::milliseconds timeout) const
{
    return waitFor(timeout, [&] { return m_state.closes >= count; });
}

QByteArray CardSimulator::received() const
{
    std::lock_guard lock(m_state.mutex);
    return m_state.received;
}

void CardSimulator::clearReceived()
{
    std::lock_guard lock(m_state.mutex);
    m_state.received.clear();
}

bool CardSimulator::waitForReceived(qsizetype count, std::chrono::milliseconds timeout) const
{
    return waitFor(timeout, [&] { return m_state.received.size() >= count; });
}

void CardSimulator::send(const QByteArray& bytes, Pace pace)
{
    QByteArray line = bytes;
    InvertBytes(line);
    {
        std::lock_guard lock(m_state.mutex);
        if (!m_state.online)
            return;
        m_state.output.append(line, pace, LineOutput::Clock::now());
    }
    m_loop.wake();
}

void CardSimulator::sendCount(qsizetype count, Pace pace)
{
    QByteArray bytes(count, Qt::Uninitialized);
    for (qsizetype i = 0; i < count; ++i)
        bytes[i] = char(i & 0xFF);
    send(bytes, pace);
}

bool CardSimulator::waitUntilSent(std::chrono::milliseconds timeout) const
{
    return waitFor(timeout, [&] { return m_state.output.empty(); });
}

void CardSimulator::hangUp()
{
    ask(SimulatorState::Request::HangUp);
}

void CardSimulator::restore()
{
    ask(SimulatorState::Request::Restore);
}

template <typename Done>
bool CardSimulator::waitFor(std::chrono::milliseconds timeout, Done done) const
{
    std::unique_lock lock(m_state.mutex);
    return m_state.changed.wait_for(lock, timeout, done);
}

void CardSimulator::ask(SimulatorState::Request request)
{
    std::unique_lock lock(m_state.mutex);
    m_state.request = request;
    m_loop.wake();
    m_state.changed.wait(lock, [this] { return m_state.request == SimulatorState::Request::None; });
    if (const std::exception_ptr error = std::exchange(m_state.requestError, nullptr))
        std::rethrow_exception(error);
}
