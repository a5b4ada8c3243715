// SPDX-License-Identifier: MIT
#include "subfolders.h"

#include "core/filelistmodel.h"
#include "measuring.h"
#include "processes.h"
#include "table.h"
#include "window.h"

#include <QCoreApplication>

#include <cstdio>
#include <fstream>

namespace bench {

int measureSubfolders(const std::string &tree, const std::string &workDir, int runs)
{
    std::fprintf(stderr, "%s: Include Sub-folders, %d runs\n", tree.c_str(), runs);
    const std::string out = workDir + "/reference.out";
    // find walks the tree as the window does: every file, by its path from the tree.
    const double find = timeIt(runs, {}, [&] {
        if (!runInto({ "find", tree, "-type", "f", "-printf", "%P\\n" }, out, {}).succeeded)
            std::fprintf(stderr, "quillmere_bench: find failed on %s\n", tree.c_str());
    });
    // The tree's size is every file find lists; the window leaves hidden ones out.
    long files = 0, shown = 0;
    std::ifstream listed(out);
    for (std::string line; std::getline(listed, line); ++files) {
        const size_t slash = line.rfind('/');
        shown += line[slash == std::string::npos ? 0 : slash + 1] != '.';
    }

    Window window(QString::fromLocal8Bit(tree.c_str()), true);
    window.show();
    auto idle = [] { QCoreApplication::processEvents(); };
    const auto rebuilt = [&] {
        window.rebuild();
        window.paint();
    };
    const TimeAndStall unsorted = timeWithStall(runs, idle, rebuilt);
    if (window.files().rowCount() != shown) {
        std::fprintf(stderr, "quillmere_bench: the window listed %d files, find %ld not hidden\n",
            window.files().rowCount(), shown);
        return 1;
    }
    window.sortByName();
    const TimeAndStall sorted = timeWithStall(runs, idle, rebuilt);

    Table table;
    table.reference("find -type f -printf %P", files, find);
    table.timed("Include Sub-folders: rows shown", files, unsorted.seconds,
        { { "find -printf %P", find, 1.3 } });
    table.stall(
        "Include Sub-folders: rows shown", files, unsorted.stall, StallLimit, unsorted.waited);
    table.timed("Include Sub-folders: sorted, shown", files, sorted.seconds,
        { { "find -printf %P", find } });
    table.stall(
        "Include Sub-folders: sorted, shown", files, sorted.stall, StallLimit, sorted.waited);
    std::printf(
        "One folder listed with its sub-folders: median of %d runs; the window shown.\n\n", runs);
    table.print();
    return 0;
}

} // namespace bench
