// SPDX-License-Identifier: MIT
// Times quillmere-list on big folders, writing to a file on the same disk,
// against the file system and the usual tools on the same folders in the same
// run, and takes its peak resident memory. Every figure is of a whole process,
// as a script would start it.
//
//   quillmere_clibench --cli PATH [--runs N] [--work DIR] [--ls-locale LOCALE]
//                      [--ls-locpath DIR] [--tree DIR] [--one-core] FOLDER...
//
// --tree names a folder of sub-folders (quillmere_bench make-tree), timed with -r.
// --one-core keeps everything on one core and times the sorted listings
// alone: the path a one-core machine takes.

#include "options.h"
#include "processes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using bench::bareGetdents;
using bench::median;
using bench::Options;
using Clock = std::chrono::steady_clock;
constexpr long Million = 1000000;

[[noreturn]] void fatal(const std::string &what)
{
    std::fprintf(stderr, "quillmere_clibench: %s\n", what.c_str());
    std::exit(1);
}

std::string format(const char *pattern, auto... args)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

struct Run
{
    double seconds;
    double peakMiB;
};

// Small folders are timed more often, their figures being the noisiest; ten
// million files three times, each run taking minutes.
int runsFor(int runs, long files)
{
    return files < Million / 2 ? 3 * runs : files >= 5 * Million ? std::min(runs, 3) : runs;
}

// Medians of time and peak over runs, after one untimed warm-up.
Run timed(int runs, const std::vector<std::string> &argv, const std::string &output,
    const std::vector<std::string> &variables = {})
{
    std::vector<double> seconds, peaks;
    for (int i = -1; i < runs; ++i) {
        const bench::Process run = bench::runInto(argv, output, variables, true);
        if (!run.succeeded)
            fatal(argv[0] + " failed");
        if (i >= 0) {
            seconds.push_back(run.seconds);
            peaks.push_back(run.peakMiB);
        }
    }
    return { median(seconds), median(peaks) };
}

std::string milliseconds(double seconds)
{
    const double ms = seconds * 1000;
    return ms < 10 ? format("%.2f ms", ms)
        : ms < 100 ? format("%.1f ms", ms)
                   : format("%.0f ms", ms);
}

// The table, laid out as the window's benchmark lays out its own.
std::vector<std::vector<std::string>> cells { { "operation", "files", "median", "reference",
    "ratio", "target" } };

void row(const std::string &operation, long files, const std::string &median,
    const std::string &reference = {}, const std::string &ratio = {},
    const std::string &target = {})
{
    cells.push_back({ operation, std::to_string(files), median, reference, ratio, target });
}

// A ratio to a reference, with its verdict where a limit applies.
void compared(const std::string &operation, long files, double seconds,
    const std::string &reference, double referenceSeconds, double limit)
{
    const double ratio = seconds / referenceSeconds;
    std::string target;
    if (limit > 0 && files >= Million)
        target = format("<= %gx: %s", limit, ratio <= limit ? "met" : "MISSED");
    const bool first = cells.back()[0] != operation;
    row(first ? operation : "", files, first ? milliseconds(seconds) : "", reference,
        format("%.2fx", ratio), target);
    if (!first)
        cells.back()[1].clear();
}

void print()
{
    const size_t columns = cells.front().size();
    std::vector<size_t> width(columns, 0);
    auto displayWidth = [](const std::string &s) {
        return size_t(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    for (const auto &line : cells)
        for (size_t c = 0; c < columns; ++c)
            width[c] = std::max(width[c], displayWidth(line[c]));
    for (size_t r = 0; r < cells.size(); ++r) {
        std::string text;
        for (size_t c = 0; c < columns; ++c) {
            const std::string pad(width[c] - displayWidth(cells[r][c]), ' ');
            text += (c == 1 || c == 2 || c == 4) ? pad + cells[r][c] : cells[r][c] + pad;
            text += c + 1 < columns ? "  " : "";
        }
        text.erase(text.find_last_not_of(' ') + 1);
        std::printf("%s\n", text.c_str());
        if (r == 0)
            std::printf("%s\n", std::string(text.size(), '-').c_str());
    }
}

void benchmarkFolder(const Options &options, const std::string &folder)
{
    const long files = long(bareGetdents(folder.c_str())) - 2;
    // Small folders are timed more often: their figures are the noisiest.
    const int runs = runsFor(options.runs, files);
    std::fprintf(stderr, "%s: %ld files, %d runs, quillmere-list\n", folder.c_str(), files, runs);
    const std::string out = options.workDir + "/clibench.out";
    if (options.oneCore) {
        const double find = timed(
            runs, { "find", folder, "-maxdepth", "1", "-type", "f", "-printf", "%f\\n" }, out)
                                .seconds;
        const Run byName = timed(runs, { options.cli, "--sort", "name", folder }, out);
        const Run byExtension = timed(runs, { options.cli, "--sort", "extension", folder }, out);
        row("reference: find -printf > file, one core", files, milliseconds(find));
        compared("quillmere-list --sort name > file, one core", files, byName.seconds,
            "find -printf", find, 0);
        compared("quillmere-list --sort extension > file, one core", files, byExtension.seconds,
            "find -printf", find, 0);
        return;
    }

    std::vector<double> times;
    for (int i = -1; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        bareGetdents(folder.c_str());
        if (i >= 0)
            times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    const double getdents = median(times);
    const double lsU = timed(runs, { "ls", "-U1", folder }, out).seconds;
    const double find
        = timed(runs, { "find", folder, "-maxdepth", "1", "-type", "f", "-printf", "%f\\n" }, out)
              .seconds;
    std::vector<std::string> sortedEnvironment { "LC_ALL=" + options.lsLocale };
    if (!options.lsLocPath.empty())
        sortedEnvironment.push_back("LOCPATH=" + options.lsLocPath);
    const double lsSorted = timed(runs, { "ls", "-1", folder }, out, sortedEnvironment).seconds;
    const std::string lsSortedName = "ls -1 " + options.lsLocale;

    const Run unsorted = timed(runs, { options.cli, folder }, out);
    const Run byName = timed(runs, { options.cli, "--sort", "name", folder }, out);
    const Run byExtension = timed(runs, { options.cli, "--sort", "extension", folder }, out);
    const Run saved
        = timed(runs, { options.cli, "--sort", "name", "-o", out, folder }, out + ".log");
    // Globs that keep every file, so that both lists are as long and only
    // the matching is added: an include that matches early, an exclude that
    // must run to the end of each name.
    const Run filtered = timed(runs,
        { options.cli, "--include=*", "--include=*.jpg", "--exclude=*.part", "--exclude=*[~#]",
            folder },
        out);

    row("reference: getdents64 loop", files, milliseconds(getdents));
    row("reference: ls -U1 > file", files, milliseconds(lsU));
    row("reference: find -printf > file", files, milliseconds(find));
    row("reference: " + lsSortedName + " > file", files, milliseconds(lsSorted));
    const std::string list = "quillmere-list > file";
    compared(list, files, unsorted.seconds, "getdents64 loop", getdents,
        files >= 10 * Million ? 1.2 : 1.3);
    compared(list, files, unsorted.seconds, "ls -U1", lsU, 0.9);
    const std::string sorted = "quillmere-list --sort name > file";
    compared(sorted, files, byName.seconds, "find -printf", find, 0.6);
    compared(sorted, files, byName.seconds, lsSortedName, lsSorted, 0.3);
    compared("quillmere-list --sort extension > file", files, byExtension.seconds, "find -printf",
        find, 0);
    compared("quillmere-list --sort name -o file (fsync)", files, saved.seconds, "find -printf",
        find, 0);
    compared("quillmere-list --include x2 --exclude x2 > file", files, filtered.seconds,
        "quillmere-list", unsorted.seconds, 1.1);
    auto memory = [&](const std::string &what, double peakMiB) {
        std::string target;
        if (files >= Million) {
            // Ten times the rows, a little more than ten times the peak (the heap's own share).
            const double limit = files >= 10 * Million ? 1.1 * 1024 : 128;
            target = format("<= %.0f MiB: %s", limit, peakMiB <= limit ? "met" : "MISSED");
        }
        row(what, files, format("%.1f MiB", peakMiB), "whole process", "", target);
    };
    memory("memory: quillmere-list peak", unsorted.peakMiB);
    memory("memory: quillmere-list --sort name peak", byName.peakMiB);
    memory("memory: quillmere-list --sort extension peak", byExtension.peakMiB);
}

// quillmere-list -r on a tree of folders against find, which walks it the same
// way; sorted against find piped through sort in the sorted ls reference's locale.
void benchmarkTree(const Options &options)
{
    const std::string &tree = options.tree;
    const std::string out = options.workDir + "/clibench.out";
    const std::vector<std::string> find { "find", tree, "-type", "f", "-printf", "%P\\n" };
    // The files of the tree, hidden ones too, from a first untimed find.
    long files = 0;
    if (!bench::runInto(find, out, {}, true).succeeded)
        fatal("find failed on " + tree);
    if (FILE *list = std::fopen(out.c_str(), "r")) {
        for (int c; (c = std::fgetc(list)) != EOF;)
            files += c == '\n';
        std::fclose(list);
    }
    const int runs = runsFor(options.runs, files);
    std::fprintf(stderr, "%s: %d runs, quillmere-list -r\n", tree.c_str(), runs);
    std::vector<std::string> locale { "LC_ALL=" + options.lsLocale };
    if (!options.lsLocPath.empty())
        locale.push_back("LOCPATH=" + options.lsLocPath);
    const Run found = timed(runs, find, out);
    // The shell is part of the pipeline a user types; the same one runs both.
    const Run foundSorted = timed(runs,
        { "/bin/sh", "-c", "find \"$1\" -type f -printf '%P\\n' | sort", "sh", tree }, out, locale);
    const Run recursive = timed(runs, { options.cli, "-r", tree }, out);
    const Run recursiveSorted
        = timed(runs, { options.cli, "-r", "--sort", "name", tree }, out, locale);
    row("reference: find -type f -printf %P > file", files, milliseconds(found.seconds));
    row("reference: find ... | sort > file", files, milliseconds(foundSorted.seconds),
        options.lsLocale);
    compared("quillmere-list -r > file", files, recursive.seconds, "find -printf %P", found.seconds,
        files >= 10 * Million ? 0.8 : 1.3);
    compared("quillmere-list -r --sort name > file", files, recursiveSorted.seconds, "find | sort",
        foundSorted.seconds, 1.1);
    for (const auto &[what, peak] :
        { std::pair { "memory: quillmere-list -r peak", recursive.peakMiB },
            std::pair { "memory: quillmere-list -r --sort name peak", recursiveSorted.peakMiB } })
        row(what, files, format("%.1f MiB", peak), "whole process", "",
            files == Million ? format("<= 128 MiB: %s", peak <= 128 ? "met" : "MISSED") : "");
}

int usage()
{
    std::fprintf(stderr,
        "usage: quillmere_clibench --cli PATH [--runs N] [--work DIR] [--ls-locale LOCALE]\n"
        "                          [--ls-locpath DIR] [--tree DIR] [--one-core] FOLDER...\n"
        "--one-core times the sorted listings alone, on one core.\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!bench::parseOptions(args, 0, bench::Program::Cli, options) || options.cli.empty()
        || (options.folders.empty() && options.tree.empty()))
        return usage();
    if (options.oneCore && !bench::pinToOneCore())
        fatal("cannot keep to one core");

    for (const std::string &folder : options.folders)
        benchmarkFolder(options, folder);
    if (!options.tree.empty())
        benchmarkTree(options);
    std::printf("quillmere-list, median of %d runs (%d below %ld files, %d from %ld), writing to a "
                "file on the same disk; memory is the peak resident size of the whole process.\n\n",
        options.runs, 3 * options.runs, Million / 2, runsFor(options.runs, 5 * Million),
        5 * Million);
    print();
    return 0;
}
