// SPDX-License-Identifier: MIT
#include "streaming.h"

#include "core/filelistmodel.h"
#include "list/filelist.h"
#include "measuring.h"
#include "processes.h"
#include "table.h"
#include "window.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include <fcntl.h>
#include <unistd.h>

namespace bench {

namespace {

// What the user sees of one Add: when the first rows were painted, when the
// last were, and the longest the window went without answering between.
struct Streamed
{
    double firstRows = 0;
    double allRows = 0;
    double stall = 0;
};

Streamed addOnce(Window &window)
{
    const auto before = window.files().arrangement().rows;
    StallProbe probe;
    probe.start();
    const Clock::time_point start = Clock::now();
    window.startRebuild();
    Streamed streamed;
    const auto shown = [&] {
        return window.files().arrangement().rows != before && window.files().rowCount() > 0;
    };
    runUntil([&] { return shown() || !window.isBusy(); }, 3600);
    window.paint();
    streamed.firstRows = secondsSince(start);
    runUntil([&] { return !window.isBusy(); }, 3600);
    window.paint();
    streamed.allRows = secondsSince(start);
    streamed.stall = probe.stop();
    return streamed;
}

template<typename Field> double medianOf(const std::vector<Streamed> &runs, Field field)
{
    std::vector<double> values;
    for (const Streamed &run : runs)
        values.push_back(run.*field);
    return median(values);
}

// Empties the page cache, as after a boot or a mount: false where not allowed.
bool dropCaches()
{
    ::sync();
    const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY);
    if (fd < 0)
        return false;
    const bool dropped = ::write(fd, "3\n", 2) == 2;
    ::close(fd);
    return dropped;
}

// The getdents64 loop, the folder first asked to be read ahead in full.
size_t getdentsReadAhead(const char *folder)
{
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
        ::readahead(fd, 0, size_t(1) << 30);
        ::close(fd);
    }
    return bareGetdents(folder);
}

double coldMedian(int runs, const std::function<void()> &op)
{
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        dropCaches();
        const Clock::time_point start = Clock::now();
        op();
        seconds.push_back(secondsSince(start));
    }
    return median(seconds);
}

} // namespace

int measureStreaming(const std::vector<std::string> &folders, const std::string &cli,
    const std::string &workDir, int runsAsked)
{
    Table table;
    // QUILLMERE_BENCH_WARM=1 leaves the page cache alone: on a machine that
    // others use, dropping it would slow them too.
    const bool cold = !qEnvironmentVariableIsSet("QUILLMERE_BENCH_WARM") && dropCaches();
    const std::string out = workDir + "/reference.out";
    for (const std::string &folder : folders) {
        const long files = long(bareGetdents(folder.c_str())) - 2;
        // Ten million files three times: each run takes minutes.
        const int runs = files >= 5 * Million ? std::min(runsAsked, 3) : runsAsked;
        std::fprintf(
            stderr, "%s: %ld files, rows as they come, %d runs\n", folder.c_str(), files, runs);
        const auto find = [&] {
            if (!runInto(
                    { "find", folder, "-maxdepth", "1", "-type", "f", "-printf", "%f\\n" }, out, {})
                     .succeeded)
                std::fprintf(stderr, "quillmere_bench: find failed on %s\n", folder.c_str());
        };
        const auto list = [&] {
            if (!runInto({ cli, folder }, out, {}).succeeded)
                std::fprintf(
                    stderr, "quillmere_bench: quillmere-list failed on %s\n", folder.c_str());
        };
        bareGetdents(folder.c_str()); // warm
        const double findWarm = timeIt(runs, {}, find);
        table.reference("find -printf", files, findWarm);

        Window window(QString::fromLocal8Bit(folder.c_str()));
        window.show();
        std::vector<Streamed> unsorted, sorted;
        addOnce(window); // warm-up
        for (int i = 0; i < runs; ++i)
            unsorted.push_back(addOnce(window));
        window.sortByName();
        for (int i = 0; i < runs; ++i)
            sorted.push_back(addOnce(window));
        const double limit = 0.1;
        table.timed("Add: first rows painted", files, medianOf(unsorted, &Streamed::firstRows),
            { { "100 ms", limit, 1.0 } });
        table.timed("Add: all rows painted", files, medianOf(unsorted, &Streamed::allRows),
            { { "find -printf", findWarm } });
        table.stall("Add: rows coming in", files, medianOf(unsorted, &Streamed::stall));
        table.timed("Add, sorted: first rows painted", files,
            medianOf(sorted, &Streamed::firstRows), { { "100 ms", limit, 1.0 } });
        table.timed("Add, sorted: all rows painted", files, medianOf(sorted, &Streamed::allRows),
            { { "find -printf", findWarm } });
        table.stall("Add, sorted: rows coming in", files, medianOf(sorted, &Streamed::stall));

        if (!cold)
            continue;
        // Each run from a cold cache: every figure here is the first read since a boot.
        const double getdentsCold = coldMedian(runs, [&] { bareGetdents(folder.c_str()); });
        const double findCold = coldMedian(runs, find);
        const double readAhead = coldMedian(runs, [&] { getdentsReadAhead(folder.c_str()); });
        std::vector<Streamed> coldAdds;
        window.unsort();
        for (int i = 0; i < runs; ++i) {
            dropCaches();
            coldAdds.push_back(addOnce(window));
        }
        const double listCold = coldMedian(runs, list);
        table.reference("getdents64 loop, cold", files, getdentsCold);
        table.reference("find -printf, cold", files, findCold);
        table.timed("getdents64 loop read ahead, cold", files, readAhead,
            { { "getdents64 loop, cold", getdentsCold } });
        table.timed("Add, cold: first rows painted", files,
            medianOf(coldAdds, &Streamed::firstRows), { { "100 ms", limit, 1.0 } });
        table.timed("Add, cold: all rows painted", files, medianOf(coldAdds, &Streamed::allRows),
            { { "find -printf, cold", findCold, 1.1 }, { "getdents64, cold", getdentsCold } });
        table.stall("Add, cold: rows coming in", files, medianOf(coldAdds, &Streamed::stall));
        table.timed("quillmere-list > file, cold", files, listCold,
            { { "find -printf, cold", findCold, 1.1 }, { "getdents64, cold", getdentsCold } });
    }
    std::printf("Rows as they come: median of %d runs (3 from 5,000,000 files), the window shown; "
                "%s.\n\n",
        runsAsked,
        cold ? "cold rows with the page cache dropped before each run"
            : qEnvironmentVariableIsSet("QUILLMERE_BENCH_WARM")
            ? "cold rows skipped (QUILLMERE_BENCH_WARM)"
            : "cold rows skipped: the page cache cannot be dropped (needs root)");
    table.growth(Million, 10 * Million, 12);
    table.print();
    return 0;
}

} // namespace bench
