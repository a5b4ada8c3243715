// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

#include <cstddef>

// Writes to an open file as write() does: the count of bytes written, or -1
// with errno set.
using WriteFile = std::ptrdiff_t (*)(int fd, const void *data, std::size_t size);

// Writes all of data to fd, writing again after an interrupted or a short
// write: 0, or the system's reason (an errno value). A short write carries no
// error: only the write after it tells why ("No space left on device"); a
// write that takes nothing and gives no reason is EIO. write is the system's
// write() when null.
int writeAll(int fd, QByteArrayView data, WriteFile write = nullptr);
