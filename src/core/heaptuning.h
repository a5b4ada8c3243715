// SPDX-License-Identifier: MIT
#pragma once

// Has the C library hand freed buffers of more than 256 KiB back to the
// system at once. glibc raises its threshold for doing so to the size of
// each large buffer freed, so that the next ones land in the heap and stay
// resident after they are freed; the file list's rebuilds and sorts make and
// free buffers of many MiB each time. Does nothing elsewhere. Idempotent.
void tuneHeapForLargeBuffers();

// Hands the memory that every thread's heap holds freed back to the system
// now: glibc keeps the blocks freed in a thread's own heap resident, which
// after a worker's many small blocks (batches of names, keys, a model's
// nodes) can double the peak of the next large copy. Takes a few
// milliseconds a hundred MiB: off the window's thread. Does nothing elsewhere.
void trimHeap();
