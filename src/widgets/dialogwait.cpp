// SPDX-License-Identifier: MIT
#include "widgets/dialogwait.h"

#include "widgets/inputblocker.h"

#include <QEventLoop>
#include <QList>

namespace {

// The waits running, innermost last.
QList<DialogWait *> &underWay()
{
    static QList<DialogWait *> waits;
    return waits;
}

} // namespace

DialogWait::DialogWait(QWidget *window)
    : m_window(window)
{ }

DialogWait::~DialogWait()
{
    underWay().removeOne(this);
}

bool DialogWait::exec()
{
    if (m_finished || m_abandoned)
        return !m_abandoned;
    QEventLoop loop;
    m_loop = &loop;
    underWay().append(this);
    {
        const InputBlocker blocker(m_window);
        loop.exec();
    }
    underWay().removeOne(this);
    m_loop = nullptr;
    // Ended by neither: the application is quitting, and the dialog with it.
    if (!m_finished && !m_abandoned)
        abandon();
    return !m_abandoned;
}

void DialogWait::finish()
{
    if (m_abandoned)
        return;
    m_finished = true;
    if (m_loop)
        m_loop->quit();
}

void DialogWait::abandon()
{
    if (m_finished || m_abandoned)
        return;
    m_abandoned = true;
    if (m_loop)
        m_loop->quit();
    emit abandoned();
}

void DialogWait::abandonAll()
{
    // A copy: each one leaves the list as its loop returns.
    const QList<DialogWait *> waits = underWay();
    for (DialogWait *wait : waits)
        wait->abandon();
}

bool DialogWait::anyUnderWay()
{
    return !underWay().isEmpty();
}
