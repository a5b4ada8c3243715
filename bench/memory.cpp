// SPDX-License-Identifier: MIT
#include "memory.h"

#include "core/filelistmodel.h"
#include "window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace bench {

Resident resident()
{
    Resident r;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            r.rss = std::atof(line.c_str() + 6) * 1024;
        else if (line.rfind("VmHWM:", 0) == 0)
            r.peak = std::atof(line.c_str() + 6) * 1024;
    }
    return r;
}

bool resetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5" << std::flush;
    return bool(clear);
}

int measureMemory(const QString &folder)
{
    Window window(folder);
    window.show();
    window.click(1); // sorting on, on the empty list
    window.paint();

    const Resident before = resident();
    const bool peakReset = resetPeak();
    const double peakBase = peakReset ? resident().peak : before.peak;

    window.rebuild();
    window.paint();
    const Resident listed = resident();
    const qsizetype modelBytes = window.files().memoryUse();
    // A second rebuild over a full list, as when a folder is added: the old
    // rows live until the new ones are in.
    window.rebuild();
    window.paint();
    const Resident relisted = resident();
    window.click(2);
    window.paint();
    const Resident bothKeys = resident();

    // Read again twenty times, as F5 would, the folder unchanged: the undo
    // history shares the rows each time. Up to a million files, where it takes seconds.
    double readAgain = 0;
    if (window.files().rowCount() <= 1000000) {
        for (int i = 0; i < 20; ++i)
            window.rebuild();
        window.paint();
        readAgain = resident().rss - before.rss;
    }

    std::printf("%d %.0f %.0f %.0f %.0f %lld %.0f %s\n", window.files().rowCount(),
        listed.rss - before.rss, relisted.rss - before.rss, bothKeys.rss - before.rss,
        std::max(relisted.peak, bothKeys.peak) - peakBase, qint64(modelBytes), readAgain,
        peakReset ? "clear_refs" : "since-start");
    return 0;
}

} // namespace bench
