// Times what the window does on big folders, against what the file system and
// the usual command-line tools manage on the same folders in the same run.
//
//   quillmere_bench make DIR COUNT      fills the new folder DIR with COUNT empty files
//   quillmere_bench memory DIR          one fresh process: resident growth of a sorted rebuild
//   quillmere_bench run [options] DIR...  the whole table; see usage()
//
// Every timed operation goes through the window's own code: the rebuild is
// FrmFilenameReader::PopulateListViewWithFiles, a header click is the view's
// columnClick signal, the save is what the Save button calls.

#include "export/textexport.h"
#include "lists/filelistmodel.h"
#include "lists/filelistview.h"
#include "main_window/frmfilenamereader.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// ---------------------------------------------------------------- folders

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

std::string format(const char *pattern, auto... args)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

// A name such as downloads, photo dumps and build trees hold: camera and
// screenshot names, documents in any letter case, build outputs and hashes,
// names without a dot or with several, some non-ASCII, a few hidden, and now
// and then one that is not UTF-8 at all.
std::string makeName(Random &random)
{
    static const char *const words[] = {
        "report",
        "invoice",
        "photo",
        "holiday",
        "budget",
        "notes",
        "draft",
        "final",
        "scan",
        "backup",
        "summary",
        "meeting",
        "project",
        "data",
        "export",
        "chapter",
        "song",
        "video",
        "clip",
        "letter",
        "receipt",
        "slides",
        "thesis",
        "figure",
        "sample",
        "test",
        "module",
        "config",
        "index",
        "main",
        "util",
        "widget",
        "parser",
        "render",
        "cache",
        "trace",
        "family",
        "wedding",
        "travel",
        "tax",
    };
    static const char *const extensions[] = {
        "jpg",
        "JPG",
        "jpeg",
        "png",
        "PNG",
        "gif",
        "heic",
        "pdf",
        "PDF",
        "docx",
        "xlsx",
        "pptx",
        "txt",
        "TXT",
        "md",
        "csv",
        "json",
        "xml",
        "html",
        "zip",
        "7z",
        "mp3",
        "flac",
        "mp4",
        "MOV",
        "mkv",
        "log",
        "bak",
        "iso",
        "exe",
        "ini",
        "cfg",
        "odt",
        "svg",
    };
    static const char *const buildExtensions[] = { "o", "d", "so", "a", "cpp", "h", "py", "js" };
    static const char *const separators[] = { " ", "_", "-", "" };
    static const char *const foreign[]
        = { "Résumé", "Übersicht", "фото", "写真", "café", "Ñandú", "naïve", "Ελλάδα" };

    auto word = [&random] {
        std::string w = random.pick(words);
        const int style = random.below(10);
        if (style < 3)
            w[0] = char(w[0] - 'a' + 'A');
        else if (style == 3)
            for (char &c : w)
                c = char(c - 'a' + 'A');
        return w;
    };
    auto number = [&random](int digits) {
        int limit = 1;
        for (int i = 0; i < digits; ++i)
            limit *= 10;
        return random.below(limit);
    };

    const int kind = random.below(1000);
    if (kind < 100)
        return format("IMG_%04d.%s", number(4), random.below(4) ? "JPG" : "HEIC");
    if (kind < 150)
        return format("DSC%05d.JPG", number(5));
    if (kind < 200)
        return format("PXL_20%02d%02d%02d_%09d.jpg", 15 + random.below(10), 1 + random.below(12),
            1 + random.below(28), number(9));
    if (kind < 260)
        return format("Screenshot 20%02d-%02d-%02d at %02d.%02d.%02d.png", 15 + random.below(10),
            1 + random.below(12), 1 + random.below(28), random.below(24), random.below(60),
            random.below(60));
    if (kind < 500) {
        std::string name = word() + random.pick(separators) + word();
        if (random.below(2))
            name += random.pick(separators) + std::to_string(number(1 + random.below(5)));
        if (random.below(8) == 0)
            name += format(" (%d)", 1 + random.below(9));
        return name + "." + random.pick(extensions);
    }
    if (kind < 620) {
        switch (random.below(4)) {
        case 0:
            return format("%s_%s%d.cpp.o", word().c_str(), word().c_str(), number(4));
        case 1:
            return format("lib%s%d.so.%d.%d", random.pick(words), number(3), random.below(10),
                random.below(30));
        case 2:
            return format("%08x%08x.%s", unsigned(random.next()), unsigned(random.next()),
                random.pick(buildExtensions));
        default:
            return format("%s%d.%s", random.pick(words), number(6), random.pick(buildExtensions));
        }
    }
    if (kind < 720) {
        switch (random.below(4)) {
        case 0:
            return format("file%d.txt", number(6));
        case 1:
            return format("track %02d - %s %s.mp3", 1 + random.below(30), word().c_str(),
                std::to_string(number(5)).c_str());
        case 2:
            return format("Chapter %d.md", number(6));
        default:
            return format("part%d.rar", number(6));
        }
    }
    if (kind < 860) { // no dot at all
        switch (random.below(4)) {
        case 0:
            return format("%s%d", word().c_str(), number(6));
        case 1:
            return format("%08x%08x%08x", unsigned(random.next()), unsigned(random.next()),
                unsigned(random.next()));
        case 2:
            return format("%s-%d-%s", random.pick(words), number(5), word().c_str());
        default:
            return format("README_%d", number(6));
        }
    }
    if (kind < 940) // several dots
        return format("%s-20%02d-%02d.%d.tar.gz", word().c_str(), 10 + random.below(15),
            1 + random.below(12), number(4));
    if (kind < 985) // not ASCII
        return format("%s %d.%s", random.pick(foreign), number(6), random.pick(extensions));
    if (kind < 995) // hidden
        return format(".%s_%d.swp", random.pick(words), number(6));
    if (random.below(20) == 0) // Latin-1, as old archives unpack
        return format("caf\xE9 %d.txt", number(6));
    return format("%s (%d).%s", word().c_str(), number(6), random.pick(extensions));
}

int makeFolder(const char *folder, long count)
{
    if (::mkdir(folder, 0755) != 0 && errno != EEXIST) {
        std::perror(folder);
        return 1;
    }
    const int dirFd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        std::perror(folder);
        return 1;
    }
    Random random { uint64_t(count) };
    for (long made = 0; made < count;) {
        const std::string name = makeName(random);
        const int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST)
                continue; // drawn twice; draw again
            std::perror(name.c_str());
            return 1;
        }
        ::close(fd);
        ++made;
    }
    ::close(dirFd);
    return 0;
}

// ---------------------------------------------------------------- measuring

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Median of `runs` timed runs after one untimed warm-up; setup runs before
// each, untimed.
double timeIt(int runs, const std::function<void()> &setup, const std::function<void()> &op)
{
    std::vector<double> times;
    for (int i = -1; i < runs; ++i) {
        if (setup)
            setup();
        const Clock::time_point start = Clock::now();
        op();
        if (i >= 0)
            times.push_back(secondsSince(start));
    }
    return median(times);
}

// The floor: getdents64 into a byte arena, names NUL-separated, nothing else.
size_t bareGetdents(const char *folder)
{
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    constexpr size_t BufferSize = 1 << 18;
    const std::unique_ptr<char[]> buffer(new char[BufferSize]);
    std::vector<char> arena;
    size_t names = 0;
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer.get(), BufferSize);
        if (n <= 0)
            break;
        for (ssize_t offset = 0; offset < n;) {
            const auto *entry = reinterpret_cast<const struct dirent64 *>(buffer.get() + offset);
            offset += entry->d_reclen;
            const size_t length = std::strlen(entry->d_name) + 1;
            arena.insert(arena.end(), entry->d_name, entry->d_name + length);
            ++names;
        }
    }
    ::close(fd);
    return names;
}

// Runs a command with its output going to a file, as a shell's `cmd > out` would.
bool runInto(const std::vector<std::string> &command, const std::string &output,
    const std::vector<std::string> &extraEnvironment)
{
    std::vector<std::string> environment;
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        const bool replaced = std::any_of(
            extraEnvironment.begin(), extraEnvironment.end(), [&entry](const std::string &x) {
                return entry.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
            });
        if (!replaced)
            environment.push_back(entry);
    }
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char *> envp, argv;
    for (auto &e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = command;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(
        &actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    pid_t waited;
    while ((waited = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) { }
    return waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// ---------------------------------------------------------------- memory

struct Resident
{
    double rss = 0; // bytes
    double peak = 0;
};

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

// Lets the peak start again from the present resident size.
bool resetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5" << std::flush;
    return bool(clear);
}

// ---------------------------------------------------------------- the window

class Window
{
public:
    explicit Window(const QString &folder)
        : m_window(std::make_unique<FrmFilenameReader>())
        , m_folders(m_window->findChild<QListWidget *>(QStringLiteral("ListFolder")))
        , m_view(m_window->findChild<FileListView *>(QStringLiteral("LvFiles")))
    {
        if (!m_folders || !m_view) {
            std::fprintf(stderr, "The window has no ListFolder or LvFiles.\n");
            std::exit(2);
        }
        m_folders->addItem(folder);
    }

    FileListView *view() const { return m_view; }
    const FileListModel &files() const { return *m_view->files(); }

    void rebuild() { m_window->PopulateListViewWithFiles(m_folders); }
    void click(int column) { emit m_view->columnClick(column); }

    // Back to the state of a new window: unsorted, by name, ascending.
    void unsort()
    {
        m_view->setSorted(false);
        m_view->setSortKey(FileListModel::NameColumn);
        m_view->setSortOrder(Qt::AscendingOrder);
    }
    void sortByName()
    {
        if (!m_view->isSorted() || m_view->sortKey() != FileListModel::NameColumn)
            click(1);
    }

    void show()
    {
        m_window->show();
        QCoreApplication::processEvents();
        paint();
    }
    // What the next frame costs: pending layout and the painting of the list.
    void paint()
    {
        QCoreApplication::processEvents();
        m_view->repaint();
    }

private:
    std::unique_ptr<FrmFilenameReader> m_window;
    QListWidget *m_folders;
    FileListView *m_view;
};

// Prints "rows listed-growth both-keys-growth peak-growth model-bytes method"
// for sorted rebuilds of folder in a process that has done nothing else.
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

    std::printf("%d %.0f %.0f %.0f %lld %s\n", window.files().rowCount(),
        std::max(listed.rss, relisted.rss) - before.rss, bothKeys.rss - before.rss,
        std::max(relisted.peak, bothKeys.peak) - peakBase, qint64(modelBytes),
        peakReset ? "clear_refs" : "since-start");
    return 0;
}

// ---------------------------------------------------------------- the table

constexpr double Frame = 0.016;
constexpr long Million = 1000000;
constexpr double MiB = 1024.0 * 1024.0;

// One comparison on a line of the table: against what, the ratio, the verdict.
struct Comparison
{
    std::string reference;
    std::string ratio;
    std::string target;
};

struct Line
{
    std::string operation;
    long files;
    std::string median;
    std::vector<Comparison> comparisons;
};

std::string milliseconds(double seconds)
{
    const double ms = seconds * 1000;
    return ms < 10 ? format("%.2f ms", ms)
        : ms < 100 ? format("%.1f ms", ms)
                   : format("%.0f ms", ms);
}

std::string verdict(const char *limit, bool met)
{
    return std::string(limit) + (met ? ": met" : ": MISSED");
}

class Table
{
public:
    void add(Line line) { m_lines.push_back(std::move(line)); }

    void reference(const std::string &name, long files, double seconds)
    {
        add({ "reference: " + name, files, milliseconds(seconds), {} });
    }

    // An operation of the window, with its ratios to references; a limit of 0
    // is no target. Every operation must fit in a frame at 10,000 files, and
    // those marked so at any size.
    struct Against
    {
        std::string reference;
        double seconds;
        double limit = 0;
    };
    void timed(const std::string &operation, long files, double seconds,
        const std::vector<Against> &against, bool frameAtAnySize = false)
    {
        Line line { operation, files, milliseconds(seconds), {} };
        for (const Against &a : against) {
            const double ratio = seconds / a.seconds;
            std::string target;
            if (a.limit > 0 && files == Million)
                target = verdict(format("<= %.1fx", a.limit).c_str(), ratio <= a.limit);
            line.comparisons.push_back({ a.reference, format("%.2fx", ratio), target });
        }
        if (files <= 10000 || frameAtAnySize) {
            if (line.comparisons.empty())
                line.comparisons.push_back({});
            line.comparisons.front().target = verdict("< 16 ms", seconds < Frame);
        }
        add(std::move(line));
    }

    void print() const
    {
        std::vector<std::vector<std::string>> cells;
        cells.push_back({ "operation", "files", "median", "reference", "ratio", "target" });
        for (const Line &line : m_lines) {
            const std::string files = std::to_string(line.files);
            if (line.comparisons.empty())
                cells.push_back({ line.operation, files, line.median, "", "", "" });
            for (size_t i = 0; i < line.comparisons.size(); ++i) {
                const Comparison &c = line.comparisons[i];
                cells.push_back({ i ? "" : line.operation, i ? "" : files, i ? "" : line.median,
                    c.reference, c.ratio, c.target });
            }
        }
        std::vector<size_t> width(6, 0);
        for (const auto &row : cells)
            for (size_t c = 0; c < row.size(); ++c)
                width[c] = std::max(width[c], displayWidth(row[c]));
        for (size_t r = 0; r < cells.size(); ++r) {
            std::string text;
            for (size_t c = 0; c < cells[r].size(); ++c) {
                const std::string &cell = cells[r][c];
                const std::string pad(width[c] - displayWidth(cell), ' ');
                // Numbers right-aligned, words left-aligned.
                text += (c == 1 || c == 2 || c == 4) ? pad + cell : cell + pad;
                if (c + 1 < cells[r].size())
                    text += "  ";
            }
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            std::printf("%s\n", text.c_str());
            if (r == 0)
                std::printf("%s\n", std::string(text.size(), '-').c_str());
        }
        std::fflush(stdout);
    }

private:
    static size_t displayWidth(const std::string &s)
    {
        return size_t(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    }
    std::vector<Line> m_lines;
};

struct Options
{
    std::string self;
    int runs = 5;
    std::string workDir = ".";
    std::string lsLocale = "C.UTF-8";
    std::string lsLocPath;
    std::vector<std::string> folders;
};

struct MemoryFigures
{
    long rows = 0;
    double listed = 0, bothKeys = 0, peak = 0, model = 0;
    std::string method;
};

std::optional<MemoryFigures> memoryInChild(const Options &options, const std::string &folder)
{
    const std::string output = options.workDir + "/memory.out";
    if (!runInto({ options.self, "memory", folder }, output, {}))
        return std::nullopt;
    std::ifstream in(output);
    MemoryFigures m;
    if (!(in >> m.rows >> m.listed >> m.bothKeys >> m.peak >> m.model >> m.method))
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
// are the noisiest.
int runsFor(const Options &options, long files)
{
    return files < Million / 2 ? 3 * options.runs : options.runs;
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
            if (!runInto(argv, options.workDir + "/reference.out", environment))
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
    const double firstName = timeIt(
        runs,
        [&] {
            window.unsort();
            window.rebuild();
            idle();
        },
        [&] { window.click(1); });
    window.sortByName();
    const double sorted = timeIt(runs, idle, [&] { window.rebuild(); });

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
    const double save = timeIt(runs, idle, [&] {
        QString error;
        if (!saveText(savePath, exportText(window.files()), &error))
            fatal("save failed: " + error.toStdString());
    });

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
    const double sortedPainted = timeIt(
        runs,
        [&] {
            window.sortByName();
            window.paint();
        },
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
    std::vector<double> listed, bothKeys, peak, model;
    std::string method;
    for (int i = 0; i < options.runs; ++i) {
        const std::optional<MemoryFigures> m = memoryInChild(options, folder);
        if (!m)
            fatal("memory measurement failed on " + folder);
        listed.push_back(m->listed);
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
    table.timed("rebuild, sorted, painted", files, sortedPainted,
        { { "find -printf", find, 1.1 }, { lsSortedName, lsSorted, 0.3 } });
    table.timed("click File Name", files, median(byName), { { "find -printf", find, 0.7 } });
    table.timed("click Extension", files, median(byExtension), { { "find -printf", find, 0.4 } });
    table.timed("click same column (reverses)", files, again, { { "find -printf", find } });
    table.timed(
        "first click File Name, makes keys", files, firstName, { { "find -printf", find } });
    table.timed(
        "first click Extension, makes keys", files, firstExtension, { { "find -printf", find } });
    table.timed("save", files, save, { { "ls -U1", lsU, 0.2 } });
    table.timed("scroll anywhere, painted", files, scroll, {}, true);
    table.timed("select a row, painted", files, select, {}, true);

    // Memory: the resident growth itself, then scaled to a million rows
    // where the rows outweigh the fixed costs of a first listing and paint.
    auto memory = [&](const std::string &what, double bytes, double limitMiB) {
        const double perMillion = bytes / MiB * double(Million) / double(std::max(files, 1L));
        std::string target;
        if (limitMiB > 0 && files == Million)
            target = verdict(format("<= %.0f MiB", limitMiB).c_str(), bytes / MiB <= limitMiB);
        Line line { what, files, format("%.1f MiB", bytes / MiB), {} };
        if (files >= Million / 10)
            line.comparisons.push_back({ "per 1M rows", format("%.1f MiB", perMillion), target });
        table.add(std::move(line));
    };
    memory("memory: listed, sorted, painted", median(listed), 128);
    memory("memory: peak, 2 rebuilds + a click"
            + std::string(method == "clear_refs" ? "" : " (since start)"),
        median(peak), 320);
    memory("memory: keys of both columns", median(bothKeys), 0);
    memory("memory: rows, order, keys (model's count)", median(model), 0);
}

int usage()
{
    std::fprintf(stderr,
        "usage: quillmere_bench make DIR COUNT\n"
        "       quillmere_bench memory DIR\n"
        "       quillmere_bench run [--runs N] [--work DIR] [--ls-locale LOCALE]\n"
        "                           [--ls-locpath DIR] FOLDER...\n"
        "run times the window on each folder and prints one table; --work is where\n"
        "outputs are written (on the same disk), --ls-locale the locale of the sorted\n"
        "ls reference, --ls-locpath where that locale was compiled if not installed.\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "make")
        return makeFolder(args[1].c_str(), std::atol(args[2].c_str()));
    if (args.empty() || (args[0] != "memory" && args[0] != "run"))
        return usage();

    Options options;
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) < 0)
        fatal("cannot find my own executable");
    options.self = self;
    if (args[0] == "memory" && args.size() != 2)
        return usage();
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--runs" && hasValue)
            options.runs = std::max(1, std::atoi(args[++i].c_str()));
        else if (a == "--work" && hasValue)
            options.workDir = args[++i];
        else if (a == "--ls-locale" && hasValue)
            options.lsLocale = args[++i];
        else if (a == "--ls-locpath" && hasValue)
            options.lsLocPath = args[++i];
        else if (a.rfind("--", 0) == 0)
            return usage();
        else
            options.folders.push_back(a);
    }
    if (options.folders.empty())
        return usage();

    // No display needed, and none wanted: painting goes to memory.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    if (args[0] == "memory")
        return measureMemory(QString::fromLocal8Bit(options.folders.front().c_str()));

    Table table;
    for (const std::string &folder : options.folders)
        benchmarkFolder(options, folder, table);
    const QString locale = QLocale::system().name();
    std::printf("Median of %d runs (%d below %ld files), memory in %d fresh processes; folders on "
                "%s; names collated for %s; sorted ls in %s.\n\n",
        options.runs, runsFor(options, 0), Million / 2, options.runs,
        fileSystemName(options.folders.front()),
        locale == u"C" ? "the root locale" : qPrintable(locale), options.lsLocale.c_str());
    table.print();
    return 0;
}
