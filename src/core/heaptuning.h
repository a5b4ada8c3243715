// SPDX-License-Identifier: MIT
#pragma once

// Has the C library hand freed buffers of more than 256 KiB back to the
// system at once. glibc raises its threshold for doing so to the size of
// each large buffer freed, so that the next ones land in the heap and stay
// resident after they are freed; the file list's rebuilds and sorts make and
// free buffers of many MiB each time. Does nothing elsewhere. Idempotent.
void tuneHeapForLargeBuffers();

// Hands the freed memory of every thread's heap back to the system: the
// pools' threads free many small buffers (batches of names, their keys)
// that glibc would otherwise keep resident in their heaps. Takes a few
// milliseconds a hundred MiB; call it off the window's thread, once a
// piece of work has freed what it made. Does nothing elsewhere.
void returnFreedMemory();
