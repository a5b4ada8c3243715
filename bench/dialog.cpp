// SPDX-License-Identifier: MIT
#include "dialog.h"

#include "list/filelist.h"
#include "measuring.h"
#include "memory.h"
#include "table.h"
#include "widgets/commondialog.h"
#include "window/frmfilenamereader.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iomanip>
#include <optional>

namespace bench {
namespace {

// Waits until the resident size stops falling, as freed pages go back.
double settledResident()
{
    double last = resident().rss;
    Clock::time_point steady = Clock::now();
    const Clock::time_point start = Clock::now();
    while (secondsSince(steady) < 2 && secondsSince(start) < 60) {
        runUntil([] { return false; }, 0.2);
        const double now = resident().rss;
        if (now < last - MiB) {
            last = now;
            steady = Clock::now();
        }
    }
    return resident().rss;
}

// Types name into the dialog and clicks its Open button.
void pick(QFileDialog *dialog, const QString &name)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    if (!edit || !buttons || !buttons->button(QDialogButtonBox::Open)) {
        std::fprintf(stderr, "quillmere_bench: the file dialog has no name field or Open button\n");
        std::exit(1);
    }
    edit->setFocus();
    edit->setText(name);
    buttons->button(QDialogButtonBox::Open)->click();
}

QString someFile(const QString &folder)
{
    QDirIterator files(folder, QDir::Files);
    return files.hasNext() ? files.next() : QString();
}

std::optional<std::vector<double>> figuresInChild(
    const std::string &self, const std::string &output, const char *mode, const std::string &folder)
{
    // Qt's dialog settings of its own: what the user's dialogs last showed
    // changes what this one reads.
    const std::string config = output + ".config";
    if (!runInto({ self, mode, folder }, output, { "XDG_CONFIG_HOME=" + config }, true).succeeded)
        return std::nullopt;
    std::ifstream in(output);
    std::vector<double> figures;
    for (double value; in >> value;)
        figures.push_back(value);
    return figures;
}

} // namespace

namespace {

// Between the window's process and its dialog's: where the dialog's process
// writes its figures, and the folder to browse into (none: cancel after a
// second), or to choose as itself from its parent.
const char ReportVariable[] = "QUILLMERE_BENCH_DIALOG_REPORT";
const char FolderVariable[] = "QUILLMERE_BENCH_DIALOG_FOLDER";
const char ChosenVariable[] = "QUILLMERE_BENCH_DIALOG_CHOSEN";

// A moment both processes read alike: the steady clock is the system's.
double now()
{
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

std::vector<double> readFigures(const QString &path)
{
    std::ifstream in(QFile::encodeName(path).constData());
    std::vector<double> figures;
    for (double value; in >> value;)
        figures.push_back(value);
    return figures;
}

} // namespace

void runDialogProcess(int argc, char *argv[])
{
    static int qtArgc = 1;
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(qtArgc, argv);
    const QString report = qEnvironmentVariable(ReportVariable);
    const QString folder = qEnvironmentVariable(FolderVariable);
    std::ofstream out(QFile::encodeName(report).constData());
    // Moments since boot, to the microsecond.
    out << std::fixed << std::setprecision(6);
    const QString chosen = qEnvironmentVariable(ChosenVariable);
    DialogWatch watch([&](QFileDialog *dialog) {
        const double shown = now();
        if (!chosen.isEmpty()) {
            // Into its parent, as a user goes there, then the folder named and chosen.
            StallProbe own;
            own.start();
            const QFileInfo folder(chosen);
            dialog->setDirectory(folder.absolutePath());
            auto *model = dialog->findChild<QFileSystemModel *>();
            runUntil(
                [&] { return model && model->rowCount(model->index(folder.absolutePath())) > 0; },
                60);
            pick(dialog, folder.fileName());
            out << shown << ' ' << own.stop() << ' ' << now() << std::endl;
            return;
        }
        if (folder.isEmpty()) {
            runUntil([] { return false; }, 1);
            out << shown << std::endl;
            dialog->reject();
            return;
        }
        // What the dialog lists: every entry but the hidden ones.
        long entries = 0;
        for (QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
             it.hasNext();)
            entries += !it.nextFileInfo().fileName().startsWith(u'.');
        const QString file = someFile(folder);
        // The dialog's own thread, which answers its user, while it lists.
        StallProbe own;
        own.start();
        const Clock::time_point browsed = Clock::now();
        dialog->setDirectory(folder);
        auto *model = dialog->findChild<QFileSystemModel *>();
        // Qt's dialog may need many minutes for a million files: two tell enough.
        const bool complete = model
            && runUntil([&] { return model->rowCount(model->index(folder)) >= entries; }, 120);
        const double loaded = complete ? secondsSince(browsed) : -secondsSince(browsed);
        const double ownStall = own.stop();
        const double residentLoaded = resident().rss;
        // Typing selects the file it names, in a view of every file.
        const Clock::time_point typing = Clock::now();
        pick(dialog, QFileInfo(file).fileName());
        const double typed = secondsSince(typing);
        out << shown << ' ' << loaded << ' ' << residentLoaded << ' ' << typed << ' ' << now()
            << ' ' << ownStall << std::endl;
    });
    CommonDialog::runProcess(argc, argv);
}

int measureDialogAdd(const QString &folder)
{
    const QString file = someFile(folder);
    if (file.isEmpty() || !QDir::setCurrent(QFileInfo(folder).absolutePath()))
        return 1;
    // The dialog in a process of its own, as the program runs it on X11 and Wayland.
    CommonDialog::setDialogProgram(QCoreApplication::applicationFilePath());
    const QString report = QDir::current().absoluteFilePath(
        QStringLiteral("dialog-%1.figures").arg(QCoreApplication::applicationPid()));
    qputenv(ReportVariable, QFile::encodeName(report));
    FrmFilenameReader window;
    window.show();
    runUntil([] { return false; }, 0.5);
    auto *add = window.findChild<QPushButton *>(QStringLiteral("CmdAddFolder"));
    if (!add)
        return 1;

    // The first Add: the dialog browses into the folder, waits until it is
    // listed and picks a file, while the window's thread is watched.
    qputenv(FolderVariable, QFile::encodeName(folder));
    StallProbe probe;
    probe.start();
    const double clicked = now();
    add->click(); // returns once the dialog's process has ended
    const double stallListing = probe.stop();
    const double ended = now();
    const std::vector<double> first = readFigures(report);
    if (first.size() != 6 || CommonDialog::dialogProgram().isEmpty()) {
        std::fprintf(stderr, "quillmere_bench: the dialog's process gave no figures\n");
        return 1;
    }
    runUntil([&] { return !window.fileList()->isBusy(); }, 600);
    const double residentClosed = settledResident();

    // Add again: how soon it shows, and how the window answers meanwhile.
    qunsetenv(FolderVariable);
    probe.start();
    const double clickedAgain = now();
    add->click();
    const double stallAgain = probe.stop();
    const std::vector<double> again = readFigures(report);
    QFile::remove(report);
    if (again.size() != 1)
        return 1;
    std::printf("%.6f %.6f %.0f %.0f %.6f %.6f %.6f %.6f %.6f %.6f\n", first[0] - clicked, first[1],
        first[2], residentClosed, again[0] - clickedAgain, stallAgain, stallListing, first[3],
        ended - first[4], first[5]);
    return 0;
}

int measureChooseFolder(const QString &folder)
{
    CommonDialog::setDialogProgram(QCoreApplication::applicationFilePath());
    const QString report = QDir::current().absoluteFilePath(
        QStringLiteral("dialog-%1.figures").arg(QCoreApplication::applicationPid()));
    qputenv(ReportVariable, QFile::encodeName(report));
    qputenv(ChosenVariable, QFile::encodeName(folder));
    FrmFilenameReader window;
    window.show();
    runUntil([] { return false; }, 0.5);
    // The window's Choose Folder, by its key.
    QAction *choose = nullptr;
    for (QAction *action : window.findChildren<QAction *>())
        if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O))
            choose = action;
    if (!choose)
        return 1;
    StallProbe probe;
    probe.start();
    const double clicked = now();
    choose->trigger(); // returns once the dialog's process has ended
    const double stall = probe.stop(), ended = now();
    const std::vector<double> figures = readFigures(report);
    QFile::remove(report);
    if (figures.size() != 3 || window.fileList()->folders().size() != 1) {
        std::fprintf(stderr, "quillmere_bench: the folder was not chosen in the dialog\n");
        return 1;
    }
    std::printf(
        "%.6f %.6f %.6f %.6f\n", figures[0] - clicked, figures[1], ended - figures[2], stall);
    return 0;
}

int measureDropAdd(const QString &folder)
{
    FrmFilenameReader window;
    window.show();
    runUntil([] { return false; }, 0.5);
    dropOn(&window, folder);
    runUntil([&] { return !window.fileList()->isBusy(); }, 600);
    std::printf("%.0f\n", settledResident());
    return 0;
}

void dialogRows(const std::string &self, const std::string &workDir, const std::string &folder,
    long files, Table &table)
{
    // A run at a million files lists the folder in Qt's dialog for half a
    // minute: one run there, three below.
    const int runs = files >= Million / 2 ? 1 : 3;
    std::vector<double> firstShown, loaded, residentLoaded, closed, againShown, stallAgain,
        stallListing, typed, endedAfter, dropped, ownStall, folderShown, folderOwnStall,
        folderEnded, folderStall;
    for (int i = 0; i < runs; ++i) {
        const auto chosen = figuresInChild(self, workDir + "/folder.out", "choosefolder", folder);
        if (!chosen || chosen->size() != 4) {
            std::fprintf(stderr, "quillmere_bench: Choose Folder failed on %s\n", folder.c_str());
            std::exit(1);
        }
        folderShown.push_back((*chosen)[0]);
        folderOwnStall.push_back((*chosen)[1]);
        folderEnded.push_back((*chosen)[2]);
        folderStall.push_back((*chosen)[3]);
        const auto dialog = figuresInChild(self, workDir + "/dialog.out", "dialog", folder);
        const auto drop = figuresInChild(self, workDir + "/drop.out", "drop", folder);
        if (!dialog || dialog->size() != 10 || !drop || drop->size() != 1) {
            std::fprintf(
                stderr, "quillmere_bench: the dialog measurement failed on %s\n", folder.c_str());
            std::exit(1);
        }
        firstShown.push_back((*dialog)[0]);
        loaded.push_back((*dialog)[1]);
        residentLoaded.push_back((*dialog)[2]);
        closed.push_back((*dialog)[3]);
        againShown.push_back((*dialog)[4]);
        stallAgain.push_back((*dialog)[5]);
        stallListing.push_back((*dialog)[6]);
        typed.push_back((*dialog)[7]);
        endedAfter.push_back((*dialog)[8]);
        ownStall.push_back((*dialog)[9]);
        dropped.push_back((*drop)[0]);
    }
    // The same rows on Wayland (bench/wayland.sh) are told apart.
    const std::string on
        = QGuiApplication::platformName() == QLatin1String("wayland") ? "Wayland: " : "";
    table.add(
        { on + "Add through the dialog: shown", files, milliseconds(median(firstShown)), {} });
    const double listed = median(loaded);
    table.add({ on
            + (listed < 0 ? "Add through the dialog: NOT listed in full in"
                          : "Add through the dialog: folder listed in it"),
        files, milliseconds(std::abs(listed)), {} });
    table.add(
        { on + "stall: the dialog listing the folder", files, milliseconds(median(stallListing)),
            { { "", "", verdict("<= 50 ms", median(stallListing) <= StallLimit) } } });
    table.add({ on + "stall: the dialog's own process listing the folder", files,
        milliseconds(median(ownStall)),
        { { "", "", verdict("<= 50 ms", median(ownStall) <= StallLimit) } } });
    table.add({ on + "the dialog: typing a file's name, Open", files, milliseconds(median(typed)),
        { { "", "", verdict("<= 50 ms", median(typed) <= StallLimit) } } });
    table.add({ on + "Choose Folder through Qt's dialog: shown", files,
        milliseconds(median(folderShown)), {} });
    table.add({ on + "stall: Choose Folder, the dialog's own process, from the folder's parent",
        files, milliseconds(median(folderOwnStall)),
        { { "", "", verdict("<= 50 ms", median(folderOwnStall) <= StallLimit) } } });
    table.add({ on + "stall: Choose Folder, the window", files, milliseconds(median(folderStall)),
        { { "", "", verdict("<= 50 ms", median(folderStall) <= StallLimit) } } });
    table.add({ on + "Choose Folder: its process ended after Choose", files,
        milliseconds(*std::max_element(folderEnded.begin(), folderEnded.end())), {} });
    table.add({ on + "Add again: shown (opens in the parent)", files,
        milliseconds(median(againShown)), {} });
    table.add({ on + "stall: Add again, shown, open 1 s, cancelled", files,
        milliseconds(median(stallAgain)),
        { { "", "", verdict("<= 50 ms", median(stallAgain) <= StallLimit) } } });
    // Every run, not the median: memory held once is memory held.
    const double slowest = *std::max_element(endedAfter.begin(), endedAfter.end());
    table.add({ on + "Add through the dialog: its process ended after Open", files,
        milliseconds(slowest), { { "", "", verdict("<= 10 s, every run", slowest <= 10) } } });
    const double drop = median(dropped), dialog = median(closed);
    table.add({ on + "memory: the dialog's process listing the folder", files,
        format("%.1f MiB", median(residentLoaded) / MiB), {} });
    table.add(
        { on + "memory: Add through the dialog, closed", files, format("%.1f MiB", dialog / MiB),
            { { "Add by drop " + format("%.1f MiB", drop / MiB),
                format("%+.1f MiB", (dialog - drop) / MiB),
                verdict("within 64 MiB", dialog - drop <= 64 * MiB) } } });
}

} // namespace bench
