// SPDX-License-Identifier: MIT
#include "core/writeall.h"

#include "core/retryoninterrupt.h"

#include <QtGlobal>

#include <cerrno>
#include <climits>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

std::ptrdiff_t systemWrite(int fd, const void *data, std::size_t size)
{
#ifdef Q_OS_WIN
    return ::_write(fd, data, unsigned(qMin<std::size_t>(size, INT_MAX)));
#else
    return ::write(fd, data, size);
#endif
}

} // namespace

int writeAll(int fd, QByteArrayView data, WriteFile write)
{
    if (!write)
        write = systemWrite;
    const char *next = data.data();
    for (std::size_t left = std::size_t(data.size()); left > 0;) {
        const std::ptrdiff_t n = retryOnInterrupt([&] { return write(fd, next, left); });
        if (n <= 0)
            return n < 0 ? errno : EIO;
        next += n;
        left -= std::size_t(n);
    }
    return 0;
}
