// SPDX-License-Identifier: MIT
#include "window/sessionsignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array Caught { SIGTERM, SIGHUP, SIGINT };

// Written by the handler, read by the notifier; both ends non-blocking, so
// that a full pipe drops a signal (one is already there to tell) rather than
// stopping the thread it came on. The write end is read atomically, since a
// handler may run on another thread while the object goes.
int readEnd = -1;
std::atomic<int> writeEnd = -1;
struct sigaction before[Caught.size()];
bool caught[Caught.size()] = {};

extern "C" void onSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    const int end = writeEnd.load();
    const ssize_t written = end >= 0 ? ::write(end, &number, 1) : 0;
    Q_UNUSED(written);
    errno = saved;
}

} // namespace

SessionSignals::SessionSignals(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(readEnd < 0);
    int ends[2];
#ifdef Q_OS_LINUX
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
#else
    if (::pipe(ends) != 0)
        return;
    for (const int end : ends) {
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
        ::fcntl(end, F_SETFL, O_NONBLOCK);
    }
#endif
    readEnd = ends[0];
    writeEnd = ends[1];
    m_notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SessionSignals::readSignals);
    for (size_t i = 0; i < Caught.size(); ++i) {
        if (::sigaction(Caught[i], nullptr, &before[i]) != 0 || before[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        caught[i] = ::sigaction(Caught[i], &action, nullptr) == 0;
    }
}

SessionSignals::~SessionSignals()
{
    for (size_t i = 0; i < Caught.size(); ++i) {
        if (caught[i])
            ::sigaction(Caught[i], &before[i], nullptr);
        caught[i] = false;
    }
    delete m_notifier;
    if (const int end = writeEnd.exchange(-1); end >= 0)
        ::close(end);
    if (readEnd >= 0)
        ::close(readEnd);
    readEnd = -1;
}

int SessionSignals::descriptor() const
{
    return readEnd;
}

void SessionSignals::readSignals()
{
    unsigned char numbers[64];
    ssize_t count;
    while ((count = ::read(readEnd, numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit received(numbers[i]);
    }
}
#else
// Windows has none of these signals; its session's end closes the window.
SessionSignals::SessionSignals(QObject *parent)
    : QObject(parent)
{ }

SessionSignals::~SessionSignals() = default;

int SessionSignals::descriptor() const
{
    return -1;
}

void SessionSignals::readSignals() { }
#endif
