// SPDX-License-Identifier: MIT
#pragma once

// The table the benchmark prints: each operation's median, its ratios to the
// references of the same run, and whether it meets its target.

#include "folders.h"

#include <string>
#include <vector>

namespace bench {

inline constexpr double Frame = 0.016;
// The longest the window may go without answering while work runs.
inline constexpr double StallLimit = 0.050;
inline constexpr long Million = 1000000;
inline constexpr double MiB = 1024.0 * 1024.0;

// One comparison on a line of the table: against what, the ratio, the verdict.
struct Comparison
{
    std::string reference;
    std::string ratio;
    std::string target;
};

struct Line
{
    std::string operation;
    long files;
    std::string median;
    std::vector<Comparison> comparisons;
    double value = 0; // the median itself, seconds or bytes; 0 where none
};

inline std::string milliseconds(double seconds)
{
    const double ms = seconds * 1000;
    return ms < 10 ? format("%.2f ms", ms)
        : ms < 100 ? format("%.1f ms", ms)
                   : format("%.0f ms", ms);
}

inline std::string verdict(const char *limit, bool met)
{
    return std::string(limit) + (met ? ": met" : ": MISSED");
}

class Table
{
public:
    void add(Line line) { m_lines.push_back(std::move(line)); }

    void reference(const std::string &name, long files, double seconds)
    {
        add({ "reference: " + name, files, milliseconds(seconds), {} });
    }

    // An operation of the window, with its ratios to references; a limit of 0
    // is no target. Every operation must fit in a frame at 10,000 files, and
    // those marked so at any size.
    struct Against
    {
        std::string reference;
        double seconds;
        double limit = 0;
    };
    void timed(const std::string &operation, long files, double seconds,
        const std::vector<Against> &against, bool frameAtAnySize = false);

    // The longest stall of the window's thread during an operation, and how
    // much of it the thread waited for a core where known; at a million files
    // its target is limit.
    void stall(const std::string &operation, long files, double seconds, double limit = StallLimit,
        double waited = -1);

    // For each operation timed or measured at both sizes, how many times its
    // figure at `to` files is its figure at `from` (target: within limit),
    // once the rows of both are in.
    void growth(long from, long to, double limit);

    void print() const;

private:
    static size_t displayWidth(const std::string &s);
    std::vector<Line> m_lines;
};

} // namespace bench
