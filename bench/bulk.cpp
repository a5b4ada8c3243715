// SPDX-License-Identifier: MIT
#include "bulk.h"

#include "core/filelistmodel.h"
#include "measuring.h"
#include "memory.h"
#include "processes.h"
#include "table.h"
#include "window.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench {

int measureBulk(const std::string &folder, const std::string &workDir, int runs)
{
    const long files = long(bareGetdents(folder.c_str())) - 2;
    std::fprintf(stderr, "%s: %ld files, bulk removals, %d runs\n", folder.c_str(), files, runs);
    const double find = timeIt(runs, {}, [&] {
        runInto({ "find", folder, "-maxdepth", "1", "-type", "f", "-printf", "%f\\n" },
            workDir + "/reference.out", {});
    });

    Window window(QString::fromLocal8Bit(folder.c_str()));
    window.show();
    window.sortByName();
    window.rebuild();
    window.paint();
    const int rows = window.files().rowCount();
    auto idle = [] { QCoreApplication::processEvents(); };

    // The list before, and after one removal and its undo: what the
    // history keeps of a removal is its rows' numbers and places.
    const double before = resident().rss;
    window.removeExtension("tmp", false);
    const int left = window.files().rowCount();
    window.undo();
    window.paint();
    const double after = resident().rss;
    // About half: hidden files are not listed, and some of each kind are hidden.
    if (std::abs(2 * left - rows) > rows / 50 + 2 || window.files().rowCount() != rows) {
        std::fprintf(stderr, "quillmere_bench: expected half the rows to be .tmp: %d of %d\n",
            rows - left, rows);
        return 1;
    }

    Table table;
    table.reference("find -printf", files, find);
    auto row = [&](const std::string &what, const std::function<void()> &setup,
                   const std::function<void()> &op) {
        const TimeAndStall measured = timeWithStall(
            runs,
            [&] {
                setup();
                window.paint();
                idle();
            },
            [&] {
                op();
                window.paint();
            });
        table.timed(what, files, measured.seconds, { { "find -printf", find, 0.3 } });
        table.stall(what, files, measured.stall);
    };
    // Each undone or redone in its setup, so that every run starts from the whole list.
    const auto whole = [&] {
        if (window.files().rowCount() != rows)
            window.undo();
    };
    row("Remove All .tmp Files (half)", whole, [&] { window.removeExtension("tmp", false); });
    row("Keep Only .tmp Files (half)", whole, [&] { window.removeExtension("tmp", true); });
    row(
        "undo Remove All .tmp Files",
        [&] {
            whole();
            window.removeExtension("tmp", false);
        },
        [&] { window.undo(); });
    row("Copy All Names", whole, [&] { window.copyAllNames(); });
    // What the removal keeps, its rows' numbers and places, grows with the rows.
    const double grown = (after - before) / (1024.0 * 1024.0);
    const double allowed = 16.0 * std::max(1.0, double(files) / double(Million));
    table.add({ "memory: after a bulk removal and its undo", files, format("%+.1f MiB", grown),
        { { "before", format("%.1f MiB", before / (1024.0 * 1024.0)),
            verdict(format("<= %.0f MiB", allowed).c_str(), grown <= allowed) } } });
    std::printf("Bulk removals: median of %d runs; the list sorted by name and shown.\n\n", runs);
    table.print();
    return 0;
}

} // namespace bench
