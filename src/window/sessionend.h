// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <cstdio>
#include <thread>

class SaveQueue;
class SessionSignals;

// The end of the session ends the program as Close does, saves still running
// being ended by endSaves(): given milliseconds to end, then given up and
// named on report. SIGTERM, SIGHUP and SIGINT hide the windows and end the
// event loop; end() then ends the saves. When the display's connection breaks,
// Qt's xcb platform (or Xlib under it) calls exit(1) from within the loop: a
// handler that atexit() runs first ends the saves there, without an event
// loop, and ends the program with endSaves()'s status, 0 when nothing ran.
// A further signal while the saves are waited for gives them up at once. One
// at a time in a process, made once the window exists.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    SessionEnd(SaveQueue &saves, int milliseconds, std::FILE *report, QObject *parent = nullptr);
    ~SessionEnd() override;

    // Once the event loop has returned status: ends the saves still running;
    // returns the program's exit status.
    int end(int status);

private:
    static void atExit();
    void signalled();

    SaveQueue &m_saves;
    const int m_milliseconds;
    std::FILE *const m_report;
    SessionSignals *m_signals;
    const std::thread::id m_thread;
    bool m_ending = false; // a signal ended the event loop
    bool m_givingUp = false; // a further signal came meanwhile
};
