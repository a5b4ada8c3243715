// SPDX-License-Identifier: MIT
#include "measuring.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace bench {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool runUntil(const std::function<bool()> &done, double limitSeconds)
{
    const Clock::time_point start = Clock::now();
    while (!done()) {
        if (secondsSince(start) > limitSeconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

void dropOn(QWidget *window, const QString &folder)
{
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(folder) });
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &drop);
}

DialogWatch::DialogWatch(std::function<void(QFileDialog *)> act)
    : m_act(std::move(act))
{
    qApp->installEventFilter(this);
}

DialogWatch::~DialogWatch()
{
    qApp->removeEventFilter(this);
}

bool DialogWatch::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::Show)
        if (auto *dialog = qobject_cast<QFileDialog *>(object))
            QMetaObject::invokeMethod(
                dialog, [this, dialog] { m_act(dialog); }, Qt::QueuedConnection);
    return false;
}

double timeIt(int runs, const std::function<void()> &setup, const std::function<void()> &op)
{
    std::vector<double> times;
    for (int i = -1; i < runs; ++i) {
        if (setup)
            setup();
        const Clock::time_point start = Clock::now();
        op();
        if (i >= 0)
            times.push_back(secondsSince(start));
    }
    return median(times);
}

double coreWait()
{
    std::ifstream stats("/proc/thread-self/schedstat");
    double running = 0, waiting = 0;
    stats >> running >> waiting;
    return waiting / 1e9;
}

StallProbe::StallProbe()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
}

void StallProbe::start()
{
    m_longest = 0;
    m_waitOfLongest = 0;
    m_waitAtTick = coreWait();
    m_sinceTick.start();
    m_timer.start();
}

double StallProbe::stop()
{
    tick();
    m_timer.stop();
    return double(m_longest) / 1e9;
}

void StallProbe::tick()
{
    const double wait = coreWait();
    if (m_sinceTick.nsecsElapsed() > m_longest) {
        m_longest = m_sinceTick.nsecsElapsed();
        m_waitOfLongest = wait - m_waitAtTick;
    }
    m_waitAtTick = wait;
    m_sinceTick.start();
}

TimeAndStall timeWithStall(
    int runs, const std::function<void()> &setup, const std::function<void()> &op)
{
    StallProbe probe;
    std::vector<double> times, stalls, waited;
    for (int i = -1; i < runs; ++i) {
        if (setup)
            setup();
        probe.start();
        const Clock::time_point start = Clock::now();
        op();
        const double seconds = secondsSince(start);
        const double stall = probe.stop();
        const double wait = probe.waited();
        if (i >= 0) {
            times.push_back(seconds);
            stalls.push_back(stall);
            waited.push_back(wait);
        }
    }
    return { median(times), median(stalls), median(waited) };
}

} // namespace bench
