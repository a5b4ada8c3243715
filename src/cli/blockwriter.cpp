// SPDX-License-Identifier: MIT
#include "cli/blockwriter.h"

#include "core/workerpool.h"
#include "core/writeall.h"

namespace {

// Enough to keep the writing thread busy while the next folder is read, few
// enough that a reader that stopped reading holds a few MiB, not the list.
constexpr std::size_t MostQueued = 4;

} // namespace

BlockWriter::BlockWriter(int fd)
    : m_fd(fd)
{ }

BlockWriter::~BlockWriter()
{
    finish();
}

void BlockWriter::write(QByteArray block)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queued.size() < MostQueued; });
    if (m_error)
        return;
    m_queued.push_back(std::move(block));
    if (!m_writing) {
        m_writing = true;
        runOnWorker([this] { writeQueued(); });
    }
    m_changed.notify_all();
}

int BlockWriter::failed() const
{
    const std::lock_guard lock(m_mutex);
    return m_error;
}

int BlockWriter::finish()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_writing; });
    return m_error;
}

void BlockWriter::writeQueued()
{
    const MayBlock waitsOnTheReader; // a pipe's reader may not read for a while
    std::unique_lock lock(m_mutex);
    while (!m_queued.empty()) {
        const QByteArray block = std::move(m_queued.front());
        m_queued.pop_front();
        if (!m_error) {
            lock.unlock();
            const int error = writeAll(m_fd, block);
            lock.lock();
            m_error = error;
        }
        m_changed.notify_all();
    }
    m_writing = false;
    m_changed.notify_all();
}
