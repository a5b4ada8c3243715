// SPDX-License-Identifier: MIT
#include "core/heaptuning.h"

// Any C library header tells whether it is glibc's.
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void tuneHeapForLargeBuffers()
{
#ifdef __GLIBC__
    [[maybe_unused]] static const bool tuned = mallopt(M_MMAP_THRESHOLD, 256 * 1024) == 1;
#endif
}

void trimHeap()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
