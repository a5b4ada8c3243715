// SPDX-License-Identifier: MIT
#pragma once

// The benchmark's folders: many empty files with the names real folders hold.

#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

// splitmix64: the same folder for the same seed on every machine.
struct Random
{
    uint64_t state;
    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % uint64_t(n)); }
    template<class T, size_t N> const T &pick(const T (&items)[N]) { return items[below(int(N))]; }
};

inline std::string format(const char *pattern, auto... args)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

// Fills the folder, made if missing, with count empty files; the same names
// for the same count and seed on every machine. With an extension, every
// second name gets it added. Returns an exit status.
int makeFolder(
    const char *folder, long count, unsigned long seed = 0, const char *extension = nullptr);

} // namespace bench
