#include "SimulatorLoop.h"

#include "DeviceLink.h"
#include "HexBytes.h"
#include "link/InvertBytes.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>

namespace {

using Clock = LineOutput::Clock;
using namespace std::chrono_literals;

// How often an opened but not yet configured port is looked at again.
constexpr auto kConfigurationCheck = 5ms;

timespec ToTimespec(Clock::duration duration)
{
    return {time_t(duration / 1s), long((duration % 1s) / 1ns)};
}

} // namespace

SimulatorLoop::SimulatorLoop(SimulatorState& state, QString linkPath)
    : m_state(state), m_linkPath(std::move(linkPath)), m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (m_wake.get() < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    makeDevice();
}

SimulatorLoop::~SimulatorLoop()
{
    if (!m_linkPath.isEmpty())
        RemoveLink(m_linkPath);
}

void SimulatorLoop::run()
{
    std::unique_lock lock(m_state.mutex);
    while (!m_state.stop) {
        waitForEvents(lock);
        serveRequest();
        if (m_device)
            followOpens();
        if (m_line == Line::Online) {
            m_traffic.receive(*m_device);
            m_traffic.dropStaleCommand();
            m_traffic.transmit(*m_device);
        }
        m_state.changed.notify_all();
    }
}

void SimulatorLoop::wake()
{
    const eventfd_t one = 1;
    eventfd_write(m_wake.get(), one);
}

void SimulatorLoop::waitForEvents(std::unique_lock<std::mutex>& lock)
{
    std::array<pollfd, 3> fds{{{m_wake.get(), POLLIN, 0}, {-1, POLLIN, 0}, {-1, POLLIN, 0}}};
    LineTraffic::Wait wait;
    if (m_device)
        fds[1].fd = m_device->watch();
    if (m_line == Line::Opening)
        wait.limit = kConfigurationCheck;
    if (m_line == Line::Online) {
        wait = m_traffic.nextWait(Clock::now());
        fds[2] = {m_device->master(), short(POLLIN | (wait.forRoom ? POLLOUT : 0)), 0};
    }
    lock.unlock();
    const timespec limit = ToTimespec(wait.limit.value_or(Clock::duration::zero()));
    ppoll(fds.data(), fds.size(), wait.limit ? &limit : nullptr, nullptr);
    eventfd_t ignored = 0;
    eventfd_read(m_wake.get(), &ignored);
    lock.lock();
}

void SimulatorLoop::serveRequest()
{
    try {
        if (m_state.request == SimulatorState::Request::HangUp)
            hangUp();
        else if (m_state.request == SimulatorState::Request::Restore)
            restore();
    } catch (const std::system_error&) {
        m_state.requestError = std::current_exception();
    }
    m_state.request = SimulatorState::Request::None;
}

void SimulatorLoop::followOpens()
{
    PtyDevice::OpenChanges changes = m_device->takeOpenChanges();
    // The line keeps the setting the program gave it: the simulator never changes
    // it under a program that may have just reopened the port, so a reopen finds
    // the port configured already and gets its ATR at once.
    if (changes.lastClosed)
        endSession();
    if (changes.firstOpened && m_device->openers() > 0)
        m_line = Line::Opening;
    if (m_line == Line::Opening && m_device->configured())
        goOnline();
}

void SimulatorLoop::goOnline()
{
    m_line = Line::Online;
    m_state.online = true;
    ++m_state.opens;
    QByteArray atr = m_state.card.answerToReset();
    m_state.log(QStringLiteral("opened (%1), ATR %2").arg(m_state.opens).arg(HexText(atr)));
    InvertBytes(atr);
    m_state.output.append(atr, {}, Clock::now());
}

void SimulatorLoop::endSession()
{
    if (m_line == Line::Online) {
        ++m_state.closes;
        m_state.log(QStringLiteral("closed (%1)").arg(m_state.closes));
    }
    m_line = Line::Idle;
    m_state.online = false;
    m_state.output.clear();
}

void SimulatorLoop::hangUp()
{
    if (!m_device)
        return;
    endSession();
    m_device.reset();
    m_state.devicePath.clear();
    m_state.log(QStringLiteral("hung up"));
}

void SimulatorLoop::restore()
{
    if (m_device)
        return;
    makeDevice();
    m_state.log(QStringLiteral("restored at %1").arg(m_state.devicePath));
}

void SimulatorLoop::makeDevice()
{
    auto device = std::make_unique<PtyDevice>();
    if (!m_linkPath.isEmpty())
        PointLink(m_linkPath, device->path());
    m_device = std::move(device);
    m_state.devicePath = m_device->path();
}
