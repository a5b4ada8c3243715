// SPDX-License-Identifier: MIT
#include "portal.h"

#include "core/filelistmodel.h"
#include "list/filelist.h"
#include "measuring.h"
#include "table.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "widgets/portaldialog.h"
#include "window/frmfilenamereader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include <sys/stat.h>

namespace bench {
namespace {

qint64 realtimeNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The files shared with bench/portal.sh.
class RunFolder
{
public:
    explicit RunFolder(const QString &dir)
        : m_dir(dir)
    { }

    // Appends "word ns" to RUN/state; returns the time written.
    qint64 say(const QByteArray &word) const
    {
        const qint64 now = realtimeNs();
        QFile state(m_dir + QStringLiteral("/state"));
        if (state.open(QIODevice::Append))
            state.write(word + ' ' + QByteArray::number(now) + '\n');
        return now;
    }

    // The time of the script's first "word" in RUN/events, once written.
    std::optional<qint64> event(const QByteArray &word) const
    {
        QFile events(m_dir + QStringLiteral("/events"));
        if (!events.open(QIODevice::ReadOnly))
            return std::nullopt;
        for (const QByteArray &line : events.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.value(0) == word)
                return fields.value(1).toLongLong();
        }
        return std::nullopt;
    }

    // Seconds from `from` to the script's "word", or -1 without it.
    double since(qint64 from, const QByteArray &word) const
    {
        const std::optional<qint64> at = event(word);
        return at ? double(*at - from) / 1e9 : -1;
    }

private:
    QString m_dir;
};

// Clicks button from the event loop, as a user's click comes, and measures
// the window's longest stall until stop(), or until Qt's dialog shows
// instead of the portal's.
struct ProbedClick
{
    StallProbe probe;
    qint64 clicked = 0, answered = 0, fellBackAt = 0;
    double stall = -1, waited = 0;
    bool returned = false;
    bool fellBack = false;

    void start(QPushButton *button, const RunFolder &run, const QByteArray &word)
    {
        QTimer::singleShot(0, button, [this, button, &run, word] {
            clicked = run.say(word);
            probe.start();
            button->click();
            answered = realtimeNs();
            returned = true;
        });
    }
    void stop()
    {
        if (stall >= 0)
            return;
        stall = probe.stop();
        waited = probe.waited();
    }
    void fallback()
    {
        fellBack = true;
        fellBackAt = realtimeNs();
        stop();
    }
};

// A failed portal makes the window show Qt's dialog, which could list the
// big folder for minutes: it is closed as soon as it shows, and counted.
DialogWatch closingQtDialogs(ProbedClick &click)
{
    return DialogWatch([&click](QFileDialog *dialog) {
        click.fallback();
        dialog->reject();
    });
}

long fileSize(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? long(info.st_size) : -1;
}

std::optional<std::vector<double>> figures(const std::string &output, std::string *skipped)
{
    std::ifstream in(output);
    std::string first;
    if (!(in >> first))
        return std::nullopt;
    if (first == "skipped") {
        std::getline(in, *skipped);
        skipped->erase(0, skipped->find_first_not_of(' '));
        return std::vector<double>();
    }
    std::vector<double> values { std::atof(first.c_str()) };
    for (double value; in >> value;)
        values.push_back(value);
    return values;
}

} // namespace

int measureBystander()
{
    StallProbe probe;
    probe.start();
    // Until the window closes this process's standard input.
    std::thread([] {
        while (std::getchar() != EOF) { }
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }).detach();
    QCoreApplication::exec();
    const double stall = probe.stop();
    std::printf("%.6f %.6f\n", stall, probe.waited());
    std::fflush(nullptr);
    std::_Exit(0);
}

int measurePortal(const QString &folder, const QString &runDir)
{
    const RunFolder run(runDir);
    FrmFilenameReader window;
    window.show();
    runUntil([] { return false; }, 0.5);
    auto *add = window.findChild<QPushButton *>(QStringLiteral("CmdAddFolder"));
    auto *save = window.findChild<QPushButton *>(QStringLiteral("CmdSaveTXT"));
    auto *view = window.findChild<FileListView *>(QStringLiteral("LvFiles"));
    auto *folders = window.findChild<FolderListWidget *>(QStringLiteral("ListFolder"));
    if (!add || !save || !view || !folders) {
        std::fprintf(stderr, "quillmere_bench: the window has no Add, Save or list\n");
        return 1;
    }
    auto fail = [&](const char *what) {
        run.say("failed");
        std::fprintf(stderr, "quillmere_bench: %s\n", what);
        return 1;
    };

    // A process beside the window, idle but for the same 5 ms timer: what
    // the machine leaves any process while the portal's dialog lists.
    QProcess bystander;
    bystander.start(QCoreApplication::applicationFilePath(), { QStringLiteral("bystander") });
    if (!bystander.waitForStarted())
        return fail("the bystander process did not start");
    runUntil([] { return false; }, 0.3);

    // Add: answered when the script picks a file, or ends the backend.
    ProbedClick adding;
    double addShown = -1, observed = -1;
    int outcome = 1;
    {
        const DialogWatch watch = closingQtDialogs(adding);
        adding.start(add, run, "clicked-add");
        // The script's limits come first: it ends this process if the portal hangs.
        if (!runUntil([&] { return adding.returned; }, 900))
            return fail("Add was not answered within 15 minutes");
        adding.stop();
        const qint64 answered = run.say("answered");
        bystander.closeWriteChannel();
        addShown = run.since(adding.clicked, "shown");
        if (const std::optional<qint64> shown = run.event("shown"))
            observed = double(answered - *shown) / 1e9;
        if (adding.fellBack)
            outcome = 2;
        else if (folders->count() > 0)
            outcome = 0;
    }
    double bystanderStall = -1, bystanderWaited = -1;
    if (!bystander.waitForFinished(10000)
        || std::sscanf(bystander.readAllStandardOutput().constData(), "%lf %lf", &bystanderStall,
               &bystanderWaited)
            != 2)
        return fail("the bystander process gave no figures");
    if (!runUntil([&] { return !window.fileList()->isBusy(); }, 600))
        return fail("the picked folder was not listed within 10 minutes");
    if (folders->count() == 0) {
        // Not picked: the folder comes by drop, for Save to have its names.
        dropOn(&window, folder);
        runUntil([&] { return window.fileList()->isBusy(); }, 1);
        if (!runUntil([&] { return !window.fileList()->isBusy(); }, 600))
            return fail("the dropped folder was not listed within 10 minutes");
    }
    const FileListModel &files = *view->files();
    const int rows = files.rowCount();
    // Every name on a line of its own, ended by CR LF.
    long expected = 0;
    for (int row = 0; row < rows; ++row)
        expected += long(files.name(row).size()) + 2;
    if (rows == 0)
        return fail("the folder has no files listed");

    // Save, once the script has its backend running again.
    run.say("ready-save");
    if (!runUntil([&] { return run.event("save").has_value(); }, 120))
        return fail("the script did not say to save within 2 minutes");
    const QString target = runDir + QStringLiteral("/saved.txt");
    QFile::remove(target);
    // An ended backend made the portal fail for the rest of the run; the
    // one started afresh is asked as a new run would ask it.
    PortalDialog::forgetFailure();
    ProbedClick saving;
    {
        const DialogWatch watch = closingQtDialogs(saving);
        saving.start(save, run, "clicked-save");
        if (!runUntil([&] { return saving.returned; }, 300))
            return fail("Save was not answered within 5 minutes");
    }
    if (saving.fellBack)
        return fail("Save showed Qt's dialog instead of the portal's");
    const bool saved = runUntil(
        [&] { return fileSize(target) == expected && !window.saves()->isSaving(); }, 600);
    const qint64 savedAt = run.say(saved ? "saved" : "not-saved");
    saving.stop();
    if (!saved)
        return fail("the list was not saved with every name within 10 minutes");
    // Its backend gone, the portal fails at once, sooner than a dialog can be
    // seen: Qt's dialog shows instead.
    run.say("ready-gone");
    if (!runUntil([&] { return run.event("gone").has_value(); }, 120))
        return fail("the script did not end the backend within 2 minutes");
    PortalDialog::forgetFailure();
    ProbedClick failing;
    {
        const DialogWatch watch = closingQtDialogs(failing);
        failing.start(add, run, "clicked-gone");
        if (!runUntil([&] { return failing.returned; }, 120))
            return fail("Add was not answered within 2 minutes, the backend gone");
    }
    if (!failing.fellBack)
        return fail("Add showed no Qt dialog with the portal's backend gone");
    std::printf("%.6f %.6f %.6f %d %d %.6f %.6f %.6f %.6f %.6f %.6f %.6f %.6f %.6f\n", addShown,
        adding.stall, observed, outcome, rows, run.since(saving.clicked, "saveshown"), saving.stall,
        double(savedAt - saving.clicked) / 1e9, double(savedAt - saving.answered) / 1e9,
        adding.waited, saving.waited, bystanderStall, bystanderWaited,
        double(failing.fellBackAt - failing.clicked) / 1e9);
    return 0;
}

void portalRows(const std::string &script, const std::string &self, const std::string &workDir,
    const std::string &folder, long files, Table &table)
{
    const std::string output = workDir + "/portal.out";
    std::string skipped;
    const bool ran = runInto(
        { "bash", script, self, folder, std::to_string(files), workDir }, output, {}, true)
                         .succeeded;
    const std::optional<std::vector<double>> f = ran ? figures(output, &skipped) : std::nullopt;
    if (f && !skipped.empty()) {
        table.add({ "Add, Save through the portal: SKIPPED, " + skipped, files, "", {} });
        return;
    }
    if (!f || f->size() != 14) {
        std::fprintf(
            stderr, "quillmere_bench: the portal measurement failed on %s\n", folder.c_str());
        std::exit(1);
    }
    const auto &v = *f;
    const double addShown = v[0], addStall = v[1], observed = v[2], saveShown = v[5],
                 saveStall = v[6], saved = v[7], written = v[8], addWaited = v[9],
                 saveWaited = v[10], bystanderStall = v[11], bystanderWaited = v[12];
    const int outcome = int(v[3]);
    table.add({ "Add through the portal: dialog shown", files, milliseconds(addShown), {} });
    const std::string listing = outcome == 0
        ? "stall: the portal's dialog listing the folder, until a file is picked"
        : format("stall: the portal's dialog listing the folder, first %.0f s", observed);
    table.add({ listing, files, milliseconds(addStall),
        { { "of it, waiting for a core", milliseconds(addWaited),
              verdict("<= 50 ms", addStall <= StallLimit) },
            { "another process meanwhile", milliseconds(bystanderStall), "" },
            { "of it, waiting for a core", milliseconds(bystanderWaited), "" } } });
    static const char *const answers[] = { "a file picked, its folder listed",
        "cancelled when its backend was ended", "Qt's dialog instead, closed at once" };
    table.add({ std::string("Add through the portal: ") + answers[std::clamp(outcome, 0, 2)], files,
        outcome == 0 ? format("%.0f rows", v[4]) : "", {} });
    table.add({ "Save through the portal: dialog shown", files, milliseconds(saveShown), {} });
    table.add(
        { "Save through the portal: saved, typing included", files, milliseconds(saved), {} });
    table.add(
        { "Save through the portal: saved, after its answer", files, milliseconds(written), {} });
    table.add({ "stall: Save through the portal, until saved", files, milliseconds(saveStall),
        { { "of it, waiting for a core", milliseconds(saveWaited),
            verdict("<= 50 ms", saveStall <= StallLimit) } } });
    // A response 2 sooner than this is the portal's failure, later the user's close.
    table.add({ format("Add, the portal's backend gone: Qt's dialog instead (failure bound %d ms)",
                    PortalDialog::FailureLimit),
        files, milliseconds(v[13]), {} });
}

} // namespace bench
