// SPDX-License-Identifier: MIT
#include "options.h"

#include <algorithm>
#include <cstdlib>

namespace bench {

namespace {

constexpr unsigned WindowOnly = 1, CliOnly = 2, Both = WindowOnly | CliOnly;

struct Valued
{
    const char *name;
    std::string Options::*field;
    unsigned programs;
};

constexpr Valued valued[] = {
    { "--work", &Options::workDir, Both },
    { "--ls-locale", &Options::lsLocale, Both },
    { "--ls-locpath", &Options::lsLocPath, Both },
    { "--cli", &Options::cli, Both },
    { "--tree", &Options::tree, CliOnly },
    { "--portal", &Options::portalScript, WindowOnly },
};

struct Flag
{
    const char *name;
    bool Options::*field;
    bool value;
    unsigned programs;
};

constexpr Flag flags[] = {
    { "--one-core", &Options::oneCore, true, Both },
    { "--no-dialog", &Options::dialog, false, WindowOnly },
    { "--only-dialog", &Options::onlyDialog, true, WindowOnly },
    { "--only-sort", &Options::onlySort, true, WindowOnly },
};

} // namespace

bool parseOptions(
    const std::vector<std::string> &args, std::size_t from, Program program, Options &options)
{
    const unsigned mine = program == Program::Window ? WindowOnly : CliOnly;
    auto named = [&](const auto &table, const std::string &word) {
        return std::find_if(std::begin(table), std::end(table),
            [&](const auto &o) { return (o.programs & mine) && word == o.name; });
    };
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--runs" && hasValue) {
            options.runs = std::max(1, std::atoi(args[++i].c_str()));
        } else if (const auto v = named(valued, a); v != std::end(valued)) {
            if (!hasValue)
                return false;
            options.*v->field = args[++i];
        } else if (const auto f = named(flags, a); f != std::end(flags)) {
            options.*f->field = f->value;
        } else if (a.rfind("--", 0) == 0) {
            return false;
        } else {
            options.folders.push_back(a);
        }
    }
    return true;
}

} // namespace bench
