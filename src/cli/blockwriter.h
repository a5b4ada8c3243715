// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <condition_variable>
#include <deque>
#include <mutex>

// Writes blocks of bytes to an open file, in the order given, on a thread of
// the worker pool: the next folder is read while the last one's lines go out.
// After a failed write the blocks still to come are dropped, so that nothing
// is written past a gap.
class BlockWriter
{
public:
    explicit BlockWriter(int fd);
    ~BlockWriter(); // finish(), so that nothing is left running on this
    BlockWriter(const BlockWriter &) = delete;
    BlockWriter &operator=(const BlockWriter &) = delete;

    // Hands block over, waiting while a few are still to be written: a slow
    // reader holds the listing back rather than the listing's memory growing.
    void write(QByteArray block);
    // The system's reason (an errno value) the first write failed for, or 0;
    // without waiting.
    int failed() const;
    // Waits until every block is written or dropped: failed() then.
    int finish();

private:
    void writeQueued();

    const int m_fd;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_queued;
    bool m_writing = false; // a pool thread runs writeQueued()
    int m_error = 0;
};
