// SPDX-License-Identifier: MIT
#include "core/workstatus.h"

void WorkStatus::requestStop()
{
    change([this] { m_stop.store(true, std::memory_order_relaxed); });
}

void WorkStatus::change(const std::function<void()> &change)
{
    const std::lock_guard lock(m_mutex);
    change();
    m_changed.notify_all();
}

bool WorkStatus::waitUntil(const std::function<bool()> &done)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return done() || stopRequested(); });
    return done();
}

WorkStatus::Phase WorkStatus::phase() const
{
    const std::lock_guard lock(m_mutex);
    return m_phase;
}

QString WorkStatus::folder() const
{
    const std::lock_guard lock(m_mutex);
    return m_folder;
}

void WorkStatus::startFolder(const QString &folder)
{
    const std::lock_guard lock(m_mutex);
    m_folder = folder;
    m_phase = Listing;
}

void WorkStatus::startSorting()
{
    const std::lock_guard lock(m_mutex);
    m_phase = Sorting;
}
