// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

// Shared by the window and the worker it started: the worker tells where it
// is, the window shows that and may ask it to stop. Any thread may use it.
class WorkStatus
{
public:
    enum Phase { Listing, Sorting };

    void requestStop();
    bool stopRequested() const { return m_stop.load(std::memory_order_relaxed); }

    Phase phase() const;
    // The folder being read and the files found so far, in all folders.
    QString folder() const;
    qsizetype filesFound() const { return m_files.load(std::memory_order_relaxed); }

    void startFolder(const QString &folder);
    void setFilesFound(qsizetype files) { m_files.store(files, std::memory_order_relaxed); }
    void startSorting();

    // Makes a change under the status's lock and wakes waitUntil().
    void change(const std::function<void()> &change);
    // Waits until done(), checked under the lock, or a stop is asked for;
    // returns done().
    bool waitUntil(const std::function<bool()> &done);

private:
    // The standard's own lock and condition rather than Qt's: ThreadSanitizer
    // sees through them, and Qt's wait is not built for it.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QString m_folder;
    Phase m_phase = Listing;
    std::atomic<qsizetype> m_files = 0;
    std::atomic<bool> m_stop = false;
};
