// SPDX-License-Identifier: MIT
// Times what the window does on big folders, against what the file system and
// the usual command-line tools manage on the same folders in the same run.
//
//   quillmere_bench make DIR COUNT      fills the new folder DIR with COUNT empty files
//   quillmere_bench make-tree DIR FOLDERS COUNT   DIR with FOLDERS sub-folders of COUNT files each
//   quillmere_bench memory DIR          one fresh process: resident growth of a sorted rebuild
//   quillmere_bench run [options] DIR...  the whole table; see usage()
//   quillmere_bench dialog DIR / drop DIR   one fresh process: Add through the dialog, or by drop
//   quillmere_bench portal DIR RUN      under bench/portal.sh: Add and Save through the portal
//   quillmere_bench typeahead DIR...    type-ahead in the shown window, against Qt's own search
//   quillmere_bench tree [options] TREE  the window listing TREE with Include Sub-folders
//   quillmere_bench stream [options] DIR...  rows as they come: first rows, stalls, a cold disk
//
// Every timed operation goes through the window's own code: the rebuild is
// FrmFilenameReader::PopulateListViewWithFiles, a header click is the view's
// columnClick signal, the save is what the Save button calls.

#include "bulk.h"
#include "core/filelistmodel.h"
#include "dialog.h"
#include "folders.h"
#include "measuring.h"
#include "memory.h"
#include "options.h"
#include "portal.h"
#include "streaming.h"
#include "subfolders.h"
#include "table.h"
#include "typeahead.h"
#include "widgets/commondialog.h"
#include "widgets/filelistview.h"
#include "window.h"

#include <QApplication>
#include <QScrollBar>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

using namespace bench;

namespace {

struct MemoryFigures
{
    long rows = 0;
    double listed = 0, relisted = 0, bothKeys = 0, peak = 0, model = 0, readAgain = 0;
    std::string method;
};

std::optional<MemoryFigures> memoryInChild(const Options &options, const std::string &folder)
{
    const std::string output = options.workDir + "/memory.out";
    if (!runInto({ options.self, "memory", folder }, output, {}).succeeded)
        return std::nullopt;
    std::ifstream in(output);
    MemoryFigures m;
    if (!(in >> m.rows >> m.listed >> m.relisted >> m.bothKeys >> m.peak >> m.model >> m.readAgain
            >> m.method))
        return std::nullopt;
    return m;
}

// Which file system holds path, for the table's heading: tmpfs would flatter.
const char *fileSystemName(const std::string &path)
{
    struct statfs info;
    if (::statfs(path.c_str(), &info) != 0)
        return "an unknown file system";
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53:
        return "ext4";
    case 0x58465342:
        return "XFS";
    case 0x9123683E:
        return "Btrfs";
    case 0x01021994:
        return "tmpfs (in memory)";
    default:
        return "another file system";
    }
}

[[noreturn]] void fatal(const std::string &what)
{
    std::fprintf(stderr, "quillmere_bench: %s\n", what.c_str());
    std::exit(1);
}

// Small folders are timed more often: a run costs little and their figures
// are the noisiest. Ten million files three times: each run takes minutes.
int runsFor(const Options &options, long files)
{
    return files < Million / 2 ? 3 * options.runs
        : files >= 5 * Million ? std::min(options.runs, 3)
                               : options.runs;
}

// The first click on "File Name", which makes its keys, then a sorted
// rebuild of a list emptied first, so that it lists and sorts the rows
// rather than share those shown; the window left sorted by name.
std::pair<double, double> firstClickAndSorted(Window &window, int runs)
{
    const auto idle = [] { QCoreApplication::processEvents(); };
    const double firstClick = timeIt(
        runs,
        [&] {
            window.unsort();
            window.rebuild();
            idle();
        },
        [&] { window.click(1); });
    window.sortByName();
    return { firstClick,
        timeIt(
            runs,
            [&] {
                window.clear();
                idle();
            },
            [&] { window.rebuild(); }) };
}

// A sorted rebuild and a first click on "File Name", each until painted, in
// a window shown: the two rows that hold the sort's targets.
std::pair<TimeAndStall, TimeAndStall> sortedAndFirstClickPainted(Window &window, int runs)
{
    const TimeAndStall sorted = timeWithStall(
        runs,
        [&] {
            window.sortByName();
            window.clear();
            window.paint();
        },
        [&] {
            window.rebuild();
            window.paint();
        });
    const TimeAndStall firstClick = timeWithStall(
        runs,
        [&] {
            window.unsort();
            window.rebuild();
            window.paint();
        },
        [&] {
            window.click(1);
            window.paint();
        });
    return { sorted, firstClick };
}

void benchmarkFolder(const Options &options, const std::string &folder, Table &table)
{
    auto progress = [](const char *what) { std::fprintf(stderr, "  %s\n", what); };

    // The folder's own size, hidden files too, since the tools list them all.
    const long files = long(bareGetdents(folder.c_str())) - 2;
    const int runs = runsFor(options, files);
    std::fprintf(stderr, "%s: %ld files, %d runs\n", folder.c_str(), files, runs);

    // The references, on the same folder in the same minute.
    progress("references");
    const double getdents = timeIt(runs, {}, [&] { bareGetdents(folder.c_str()); });
    auto command = [&](std::vector<std::string> argv, std::vector<std::string> environment) {
        return timeIt(runs, {}, [&] {
            if (!runInto(argv, options.workDir + "/reference.out", environment).succeeded)
                fatal(argv[0] + " failed on " + folder);
        });
    };
    const double lsU = command({ "ls", "-U1", folder }, {});
    const double find
        = command({ "find", folder, "-maxdepth", "1", "-type", "f", "-printf", "%f\\n" }, {});
    std::vector<std::string> sortedEnvironment { "LC_ALL=" + options.lsLocale };
    if (!options.lsLocPath.empty())
        sortedEnvironment.push_back("LOCPATH=" + options.lsLocPath);
    const double lsSorted = command({ "ls", "-1", folder }, sortedEnvironment);
    const std::string lsSortedName = "ls -1 " + options.lsLocale;

    table.reference("getdents64 loop", files, getdents);
    table.reference("ls -U1", files, lsU);
    table.reference("find -printf", files, find);
    table.reference(lsSortedName, files, lsSorted);

    Window window(QString::fromLocal8Bit(folder.c_str()));
    // Whatever the last step left queued is handled before the next is timed.
    auto idle = [] { QCoreApplication::processEvents(); };

    progress("rebuilds");
    const double unsorted = timeIt(runs, idle, [&] { window.rebuild(); });
    const auto [firstName, sorted] = firstClickAndSorted(window, runs);

    progress("header clicks");
    const double firstExtension = timeIt(
        runs,
        [&] {
            window.sortByName();
            window.rebuild();
            idle();
        },
        [&] { window.click(2); });
    // Sorted by extension now, with both columns' keys made: each click
    // switches column and sorts again.
    std::vector<double> byName, byExtension;
    for (int i = -1; i < runs; ++i) {
        idle();
        Clock::time_point start = Clock::now();
        window.click(1);
        const double name = secondsSince(start);
        idle();
        start = Clock::now();
        window.click(2);
        const double extension = secondsSince(start);
        if (i >= 0) {
            byName.push_back(name);
            byExtension.push_back(extension);
        }
    }
    const double again = timeIt(runs, idle, [&] { window.click(2); });

    progress("save");
    const QString savePath = QString::fromLocal8Bit((options.workDir + "/saved.txt").c_str());
    const TimeAndStall save = timeWithStall(runs, idle, [&] { window.save(savePath); });

    progress("shown: painted rebuilds, scrolling, selecting");
    window.show();
    const double unsortedPainted = timeIt(
        runs,
        [&] {
            window.unsort();
            window.paint();
        },
        [&] {
            window.rebuild();
            window.paint();
        });
    const auto [sortedPainted, firstNamePainted] = sortedAndFirstClickPainted(window, runs);
    // Read again, unchanged: the rows shown are shared, nothing sorted.
    window.sortByName();
    window.rebuild();
    const TimeAndStall readAgain = timeWithStall(
        runs, [&] { window.paint(); },
        [&] {
            window.rebuild();
            window.paint();
        });
    Random random { 7 };
    QScrollBar *bar = window.view()->verticalScrollBar();
    const double scroll = timeIt(runs, {}, [&] {
        bar->setValue(bar->minimum() + random.below(std::max(1, bar->maximum() - bar->minimum())));
        window.paint();
    });
    const double select = timeIt(runs, {}, [&] {
        const int rows = window.files().rowCount();
        window.view()->setCurrentIndex(window.files().index(random.below(std::max(1, rows)), 0));
        window.paint();
    });

    progress("memory, in fresh processes");
    std::vector<double> listed, relisted, bothKeys, peak, model, readAgainRss;
    std::string method;
    for (int i = 0; i < std::min(options.runs, runs); ++i) {
        const std::optional<MemoryFigures> m = memoryInChild(options, folder);
        if (!m)
            fatal("memory measurement failed on " + folder);
        listed.push_back(m->listed);
        relisted.push_back(m->relisted);
        readAgainRss.push_back(m->readAgain);
        bothKeys.push_back(m->bothKeys);
        peak.push_back(m->peak);
        model.push_back(m->model);
        method = m->method;
    }

    table.timed("rebuild, unsorted", files, unsorted,
        { { "getdents64 loop", getdents, 1.3 }, { "ls -U1", lsU, 0.7 } });
    table.timed("rebuild, unsorted, painted", files, unsortedPainted,
        { { "getdents64 loop", getdents }, { "ls -U1", lsU } });
    table.timed(
        "rebuild, sorted", files, sorted, { { "find -printf", find }, { lsSortedName, lsSorted } });
    table.timed("rebuild, sorted, painted", files, sortedPainted.seconds,
        { { "find -printf", find, 0.5 }, { lsSortedName, lsSorted, 0.3 } });
    table.timed("click File Name", files, median(byName), { { "find -printf", find, 0.7 } });
    table.timed("click Extension", files, median(byExtension), { { "find -printf", find, 0.4 } });
    table.timed("click same column (reverses)", files, again, { { "find -printf", find } });
    table.timed(
        "first click File Name, makes keys", files, firstName, { { "find -printf", find } });
    table.timed(
        "first click Extension, makes keys", files, firstExtension, { { "find -printf", find } });
    table.timed("first click File Name, painted", files, firstNamePainted.seconds,
        { { "find -printf", find, 0.35 } });
    table.timed("read again, unchanged, sorted, painted", files, readAgain.seconds,
        { { "find -printf", find } });
    // No target against ls, which does not sync: the save's stall row is the one that counts.
    table.timed("save", files, save.seconds, { { "ls -U1", lsU } });
    table.timed("scroll anywhere, painted", files, scroll, {}, true);
    table.timed("select a row, painted", files, select, {}, true);
    table.stall("rebuild, sorted, painted", files, sortedPainted.stall);
    table.stall("first click File Name, painted", files, firstNamePainted.stall);
    table.stall("save", files, save.stall);
    table.stall("read again, unchanged, sorted, painted", files, readAgain.stall);

    // Memory: the resident growth itself, then scaled to a million rows
    // where the rows outweigh the fixed costs of a first listing and paint.
    auto memory = [&](const std::string &what, double bytes, double limitMiB) {
        const double perMillion = bytes / MiB * double(Million) / double(std::max(files, 1L));
        std::string target;
        if (limitMiB > 0 && files == Million)
            target = verdict(format("<= %.0f MiB", limitMiB).c_str(), bytes / MiB <= limitMiB);
        // Ten million rows: the listing within 70 bytes a file, the peak within 1.6 GiB.
        if (limitMiB > 0 && files >= 10 * Million)
            target = limitMiB == 128 ? verdict("<= 70 B/file", bytes / double(files) <= 70)
                                     : verdict("<= 1.6 GiB", bytes / MiB <= 1.6 * 1024);
        Line line { what, files, format("%.1f MiB", bytes / MiB), {}, bytes };
        if (files >= Million / 10)
            line.comparisons.push_back({ "per 1M rows", format("%.1f MiB", perMillion), target });
        table.add(std::move(line));
    };
    memory("memory: listed, sorted, painted", median(listed), 128);
    memory("memory: listed again (undo shares the rows)", median(relisted), 128);
    memory("memory: peak, 2 rebuilds + a click"
            + std::string(method == "clear_refs" ? "" : " (since start)"),
        median(peak), 320);
    memory("memory: keys of both columns", median(bothKeys), 0);
    memory("memory: rows, order, keys (model's count)", median(model), 0);
    if (files <= Million)
        memory("memory: after 20 more F5, unchanged", median(readAgainRss), 128);

    if (options.dialog) {
        progress("Add through the dialog and by drop, in fresh processes");
        dialogRows(options.self, options.workDir, folder, files, table);
    }
    if (!options.portalScript.empty()) {
        progress("Add and Save through the portal, under bench/portal.sh");
        portalRows(options.portalScript, options.self, options.workDir, folder, files, table);
    }
}

// The sort's rows alone, quickly compared with another build; kept to one
// core, the path a one-core machine takes, which must stay as fast as it was.
void benchmarkSort(const Options &options, const std::string &folder, Table &table)
{
    const std::string cores = options.oneCore ? ", one core" : "";
    const long files = long(bareGetdents(folder.c_str())) - 2;
    const int runs = runsFor(options, files);
    std::fprintf(stderr, "%s: %ld files, %d runs, the sort on %d core(s)\n", folder.c_str(), files,
        runs, QThread::idealThreadCount());
    const double find = timeIt(runs, {}, [&] {
        if (!runInto({ "find", folder, "-maxdepth", "1", "-type", "f", "-printf", "%f\\n" },
                options.workDir + "/reference.out", {})
                 .succeeded)
            fatal("find failed on " + folder);
    });
    table.reference("find -printf" + cores, files, find);

    Window window(QString::fromLocal8Bit(folder.c_str()));
    const auto [firstName, sorted] = firstClickAndSorted(window, runs);
    window.show();
    const auto [sortedPainted, firstNamePainted] = sortedAndFirstClickPainted(window, runs);
    // Targets for both cores; on one the figures are held against an earlier build's.
    const double painted = options.oneCore ? 0 : 0.5, firstPainted = options.oneCore ? 0 : 0.35;
    table.timed("rebuild, sorted" + cores, files, sorted, { { "find -printf", find } });
    table.timed("rebuild, sorted, painted" + cores, files, sortedPainted.seconds,
        { { "find -printf", find, painted } });
    table.timed("first click File Name, makes keys" + cores, files, firstName,
        { { "find -printf", find } });
    table.timed("first click File Name, painted" + cores, files, firstNamePainted.seconds,
        { { "find -printf", find, firstPainted } });
    table.stall("rebuild, sorted, painted" + cores, files, sortedPainted.stall);
    table.stall("first click File Name, painted" + cores, files, firstNamePainted.stall);
}

int usage()
{
    std::fprintf(stderr,
        "usage: quillmere_bench make DIR COUNT [--half-tmp]\n"
        "       quillmere_bench make-tree DIR FOLDERS COUNT\n"
        "       quillmere_bench memory DIR\n"
        "       quillmere_bench dialog DIR | drop DIR\n"
        "       quillmere_bench portal DIR RUN\n"
        "       quillmere_bench run [--runs N] [--work DIR] [--ls-locale LOCALE]\n"
        "                           [--ls-locpath DIR] [--portal SCRIPT]\n"
        "                           [--no-dialog | --only-dialog | --only-sort | --one-core]\n"
        "                           FOLDER...\n"
        "       quillmere_bench bulk [--runs N] [--work DIR] FOLDER\n"
        "       quillmere_bench typeahead [--runs N] FOLDER...\n"
        "       quillmere_bench tree [--runs N] [--work DIR] TREE\n"
        "       quillmere_bench stream [--runs N] [--work DIR] --cli QUILLMERE_LIST FOLDER...\n"
        "run times the window on each folder and prints one table; --work is where\n"
        "outputs are written (on the same disk), --ls-locale the locale of the sorted\n"
        "ls reference, --ls-locpath where that locale was compiled if not installed;\n"
        "--no-dialog leaves out Add through the file dialog, --only-dialog does only that;\n"
        "--portal SCRIPT adds Add and Save through the desktop's portal, run by SCRIPT\n"
        "(bench/portal.sh), after the dialog's rows, or alone with --only-dialog --no-dialog;\n"
        "--only-sort times the sorted rebuilds and first clicks alone, --one-core those\n"
        "on one core.\n"
        "bulk times the file list's bulk removals, their undo and Copy All Names on a\n"
        "folder made with --half-tmp.\n"
        "typeahead times type-ahead in the file list, sorted by name: letters found\n"
        "late in it and a letter found nowhere, against Qt's own search.\n"
        "tree times the window listing TREE (make-tree) with Include Sub-folders.\n"
        "stream times the first rows of an Add, painted while the folder is read, and\n"
        "as root the same on a cold page cache against cold find and getdents64.\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::string(argv[1]) == CommonDialog::ProcessOption)
        runDialogProcess(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "make")
        return makeFolder(args[1].c_str(), std::atol(args[2].c_str()));
    if (args.size() == 4 && args[0] == "make" && args[3] == "--half-tmp")
        return makeFolder(args[1].c_str(), std::atol(args[2].c_str()), 0, "tmp");
    if (args.size() == 4 && args[0] == "make-tree") {
        // quillmere-list -r against find on a tree: folders of the same names as a flat one.
        if (::mkdir(args[1].c_str(), 0755) != 0 && errno != EEXIST) {
            std::perror(args[1].c_str());
            return 1;
        }
        for (long f = 0, folders = std::atol(args[2].c_str()); f < folders; ++f) {
            const std::string folder = args[1] + "/folder " + std::to_string(f);
            if (const int failed
                = makeFolder(folder.c_str(), std::atol(args[3].c_str()), (unsigned long)f))
                return failed;
        }
        return 0;
    }
    const bool child = !args.empty()
        && (args[0] == "memory" || args[0] == "dialog" || args[0] == "choosefolder"
            || args[0] == "drop");
    if (args.size() == 1 && args[0] == "bystander") {
        QCoreApplication app(argc, argv);
        return measureBystander();
    }
    if (args.size() == 3 && args[0] == "portal") {
        // A real display: the portal's dialog is placed over this window.
        QApplication app(argc, argv);
        return measurePortal(
            QString::fromLocal8Bit(args[1].c_str()), QString::fromLocal8Bit(args[2].c_str()));
    }
    if (args.empty()
        || (!child && args[0] != "run" && args[0] != "bulk" && args[0] != "typeahead"
            && args[0] != "tree" && args[0] != "stream"))
        return usage();

    Options options;
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) < 0)
        fatal("cannot find my own executable");
    options.self = self;
    if (child && args.size() != 2)
        return usage();
    if (!parseOptions(args, 1, Program::Window, options) || options.folders.empty())
        return usage();
    // The one-core table is of the sorted rows alone.
    options.onlySort |= options.oneCore;

    // Before any thread starts: Qt's pools size themselves by the cores allowed.
    if (options.oneCore && !pinToOneCore())
        fatal("cannot keep to one core");
    // No display needed, and none wanted: painting goes to memory.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QString first = QString::fromLocal8Bit(options.folders.front().c_str());
    if (args[0] == "memory")
        return measureMemory(first);
    if (args[0] == "dialog")
        return measureDialogAdd(first);
    if (args[0] == "choosefolder")
        return measureChooseFolder(first);
    if (args[0] == "drop")
        return measureDropAdd(first);
    if (args[0] == "bulk")
        return measureBulk(options.folders.front(), options.workDir, options.runs);
    if (args[0] == "typeahead")
        return measureTypeAhead(options.folders, options.runs);
    if (args[0] == "stream")
        return measureStreaming(options.folders, options.cli, options.workDir, options.runs);
    if (args[0] == "tree")
        return measureSubfolders(options.folders.front(), options.workDir, options.runs);

    Table table;
    for (const std::string &folder : options.folders) {
        if (options.onlySort) {
            benchmarkSort(options, folder, table);
        } else if (options.onlyDialog) {
            const long files = long(bareGetdents(folder.c_str())) - 2;
            if (options.dialog)
                dialogRows(options.self, options.workDir, folder, files, table);
            if (!options.portalScript.empty())
                portalRows(
                    options.portalScript, options.self, options.workDir, folder, files, table);
        } else {
            benchmarkFolder(options, folder, table);
        }
    }
    const QString locale = QLocale::system().name();
    std::printf("Median of %d runs (%d below %ld files, %d from %ld), memory in as many fresh "
                "processes; folders on %s; names collated for %s; sorted ls in %s%s.\n\n",
        options.runs, runsFor(options, 0), Million / 2, runsFor(options, 5 * Million), 5 * Million,
        fileSystemName(options.folders.front()),
        locale == u"C" ? "the root locale" : qPrintable(locale), options.lsLocale.c_str(),
        options.portalScript.empty() ? "" : "; through the portal, one run");
    // Each row at ten million files within 12 times its figure at a million,
    // what n log n allows.
    table.growth(Million, 10 * Million, 12);
    table.print();
    return 0;
}
