// SPDX-License-Identifier: MIT
#pragma once

// Resident memory of this process, and the figures of a fresh one.

#include <QString>

namespace bench {

struct Resident
{
    double rss = 0; // bytes
    double peak = 0;
};

// This process's resident size and its peak, from /proc.
Resident resident();

// Lets the peak start again from the present resident size.
bool resetPeak();

// Prints "rows listed-growth relisted-growth both-keys-growth peak-growth
// model-bytes read-again-growth method" for sorted rebuilds of folder in a
// process that has done nothing else: after one listing, a second, a click on
// the other column, and twenty more (up to a million files; 0 above).
int measureMemory(const QString &folder);

} // namespace bench
