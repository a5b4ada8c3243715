// SPDX-License-Identifier: MIT
#pragma once

// The options quillmere_bench and quillmere_clibench take: one parser, so
// that bench/run can pass both programs the same words.

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Which program parses: each takes a few options the other does not.
enum class Program { Window, Cli };

struct Options
{
    // Both programs.
    int runs = 5;
    std::string workDir = ".";
    std::string lsLocale = "C.UTF-8";
    std::string lsLocPath;
    std::string cli; // quillmere-list: clibench times it, the stream its cold rows
    std::vector<std::string> folders;
    bool oneCore = false; // everything kept to one core
    // quillmere_clibench alone.
    std::string tree; // a folder of sub-folders, timed with -r
    // quillmere_bench alone.
    std::string self; // its own executable, for the fresh processes
    std::string portalScript; // bench/portal.sh: Add and Save through the portal too
    bool dialog = true;
    bool onlyDialog = false;
    bool onlySort = false; // the sort's rows alone
};

// Reads args from index from into options: words not starting with "--" are
// folders. False on an option program does not take or one missing its value.
bool parseOptions(
    const std::vector<std::string> &args, std::size_t from, Program program, Options &options);

} // namespace bench
