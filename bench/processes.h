// SPDX-License-Identifier: MIT
#pragma once

// What both benchmarks measure without Qt: the floor of reading a folder,
// and whole processes writing into a file, as a shell runs them.

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

double median(std::vector<double> values);

// The floor: getdents64 into a byte arena, names NUL-separated, nothing else.
size_t bareGetdents(const char *folder);

struct Process
{
    bool succeeded; // exited with status 0
    double seconds; // from start to exit
    double peakMiB; // the process's peak resident size
};

// Runs a command as `env EXTRA command > output` would, with the extra
// variables replacing the environment's own; its standard error is kept only
// when keepErrors, so that a failing tool can say why.
Process runInto(std::vector<std::string> command, const std::string &output,
    const std::vector<std::string> &extraEnvironment, bool keepErrors = false);

// Keeps this process, and the processes it starts, on the first core it may
// use: the one-core rows. False when the system refuses.
bool pinToOneCore();

} // namespace bench
