// SPDX-License-Identifier: MIT
#include "window/sessionend.h"

#include "window/savesatexit.h"
#include "window/sessionsignals.h"

#include <QApplication>
#include <QWidget>

#include <cstdlib>

namespace {

SessionEnd *current = nullptr;

} // namespace

SessionEnd::SessionEnd(SaveQueue &saves, int milliseconds, std::FILE *report, QObject *parent)
    : QObject(parent)
    , m_saves(saves)
    , m_milliseconds(milliseconds)
    , m_report(report)
    , m_signals(new SessionSignals(this))
    , m_thread(std::this_thread::get_id())
{
    Q_ASSERT(!current);
    current = this;
    // Registered once, after Qt's own: atexit() runs it before them.
    static const bool registered = std::atexit(atExit) == 0;
    Q_UNUSED(registered);
    connect(m_signals, &SessionSignals::received, this, &SessionEnd::signalled);
}

SessionEnd::~SessionEnd()
{
    current = nullptr;
}

void SessionEnd::signalled()
{
    if (m_ending) {
        m_givingUp = true;
        return;
    }
    m_ending = true;
    // Gone from the screen at once, while the saves are waited for.
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

int SessionEnd::end(int status)
{
    return endSaves(
        m_saves, status, m_givingUp ? 0 : m_milliseconds, m_report, m_signals->descriptor());
}

void SessionEnd::atExit()
{
    // Only an exit() on the window's thread while the window runs: the saves
    // are its objects, and nothing else of the program calls exit().
    SessionEnd *const session = current;
    if (!session || std::this_thread::get_id() != session->m_thread)
        return;
    current = nullptr;
    const int status = session->end(0);
    // The rest of exit() would wait for Qt's threads, and the display is gone.
    std::fflush(nullptr);
    std::_Exit(status);
}
