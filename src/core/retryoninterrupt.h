// SPDX-License-Identifier: MIT
#pragma once

#include <cerrno>

// Calls call() again for as long as it fails with EINTR, and returns what it
// returned last. FUSE and network file systems interrupt calls when a signal
// arrives, and poll() is interrupted by any handled signal; each call given
// here must be safe to repeat (open, read, write, poll). Never close(),
// whose descriptor is gone even when it says EINTR.
template<typename Call> auto retryOnInterrupt(Call &&call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}
