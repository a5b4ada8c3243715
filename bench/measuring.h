// SPDX-License-Identifier: MIT
#pragma once

// Timing what the window does, and how long its thread goes without a turn.

#include "processes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

namespace bench {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start);

// Runs the window's event loop until done() or the limit; false at the limit.
bool runUntil(const std::function<bool()> &done, double limitSeconds);

// Drops folder on window, as from a file manager.
void dropOn(QWidget *window, const QString &folder);

// Calls act with each of Qt's file dialogs as soon as it is shown, from the
// event loop, as a user's clicks would come.
class DialogWatch : public QObject
{
public:
    explicit DialogWatch(std::function<void(QFileDialog *)> act);
    ~DialogWatch() override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    std::function<void(QFileDialog *)> m_act;
};

// Median of `runs` timed runs after one untimed warm-up; setup runs before
// each, untimed.
double timeIt(int runs, const std::function<void()> &setup, const std::function<void()> &op);

// The kernel's count of the time this thread spent ready to run but
// waiting for a core, in seconds.
double coreWait();

// The longest time the window's thread went without running a 5 ms timer:
// what a user sees as the window not answering. Counts only while the
// thread's event loop runs, so the operation must wait in it. Beside it, how
// much of that longest gap the thread spent waiting for a core: on two cores
// the GTK dialog listing a folder and the X server drawing it can hold both,
// and the window waits through no fault of its own.
class StallProbe
{
public:
    StallProbe();
    void start();
    // The longest gap since start(), in seconds, the last one up to now included.
    double stop();
    // Of that gap, the seconds spent waiting for a core; after stop().
    double waited() const { return m_waitOfLongest; }

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    qint64 m_longest = 0; // ns
    double m_waitAtTick = 0, m_waitOfLongest = 0;
};

// Like timeIt(), with the median of each run's longest stall beside the
// median time, and the median of how much of it was spent waiting for a core.
struct TimeAndStall
{
    double seconds;
    double stall;
    double waited;
};
TimeAndStall timeWithStall(
    int runs, const std::function<void()> &setup, const std::function<void()> &op);

} // namespace bench
