// SPDX-License-Identifier: MIT
#include "dialog.h"

#include "measuring.h"
#include "memory.h"
#include "table.h"
#include "widgets/commondialog.h"
#include "window/frmfilenamereader.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>

namespace bench {
namespace {

// Runs the window's event loop until done() or the limit; false at the limit.
bool runUntil(const std::function<bool()> &done, double limitSeconds)
{
    const Clock::time_point start = Clock::now();
    while (!done()) {
        if (secondsSince(start) > limitSeconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// How long the bench waits for a closed dialog's model to be freed.
constexpr double FreeLimit = 60;

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

// Calls act with each file dialog as soon as it is shown, from the event
// loop, as a user's clicks would come.
class DialogWatch : public QObject
{
public:
    explicit DialogWatch(std::function<void(QFileDialog *)> act)
        : m_act(std::move(act))
    {
        qApp->installEventFilter(this);
    }
    ~DialogWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *dialog = qobject_cast<QFileDialog *>(object))
                QMetaObject::invokeMethod(
                    dialog, [this, dialog] { m_act(dialog); }, Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void(QFileDialog *)> m_act;
};

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

int measureDialogAdd(const QString &folder)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const QString file = someFile(folder);
    // What the dialog lists: every entry but the hidden ones.
    long entries = 0;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
         it.hasNext();)
        entries += !it.nextFileInfo().fileName().startsWith(u'.');
    if (file.isEmpty() || !QDir::setCurrent(QFileInfo(folder).absolutePath()))
        return 1;
    FrmFilenameReader window;
    window.show();
    runUntil([] { return false; }, 0.5);
    auto *add = window.findChild<QPushButton *>(QStringLiteral("CmdAddFolder"));
    if (!add)
        return 1;

    // The first Add: browse into the folder, wait until it is listed, pick a file.
    Clock::time_point clicked = Clock::now();
    double firstShown = 0, loaded = 0, residentLoaded = 0; // loaded < 0: not in full
    double stallListing = 0, typed = 0;
    Clock::time_point closed = Clock::now();
    bool complete = false;
    {
        DialogWatch watch([&](QFileDialog *dialog) {
            firstShown = secondsSince(clicked);
            StallProbe listing;
            listing.start();
            const Clock::time_point browsed = Clock::now();
            dialog->setDirectory(folder);
            auto *model = dialog->findChild<QFileSystemModel *>();
            // Qt's dialog may need many minutes for a million files: two tell enough.
            complete = model
                && runUntil([&] { return model->rowCount(model->index(folder)) >= entries; }, 120);
            loaded = complete ? secondsSince(browsed) : -secondsSince(browsed);
            stallListing = listing.stop();
            residentLoaded = resident().rss;
            // Typing selects the file it names, in a view of every file.
            const Clock::time_point typing = Clock::now();
            pick(dialog, QFileInfo(file).fileName());
            typed = secondsSince(typing);
            closed = Clock::now();
        });
        add->click();
    }
    runUntil([&] { return !window.isBusy(); }, 600);
    // The closed dialog's model is freed on a thread of its own: the time
    // from the close until it is, negative when not within the limit.
    const bool freed = runUntil([] { return CommonDialog::modelsBeingFreed() == 0; }, FreeLimit);
    const double freedAfter = freed ? secondsSince(closed) : -secondsSince(closed);
    const double residentClosed = settledResident();

    // Add again: how soon it shows, and how the window answers meanwhile.
    StallProbe probe;
    double againShown = 0, stallBefore = 0, stallOpen = 0;
    {
        DialogWatch watch([&](QFileDialog *dialog) {
            againShown = secondsSince(clicked);
            stallBefore = probe.stop();
            probe.start();
            runUntil([] { return false; }, 1);
            stallOpen = probe.stop();
            dialog->reject();
        });
        probe.start();
        clicked = Clock::now();
        add->click();
    }
    std::printf("%.6f %.6f %.0f %.0f %.6f %.6f %.6f %.6f %.6f %.6f\n", firstShown, loaded,
        residentLoaded, residentClosed, againShown, stallBefore, stallOpen, stallListing, typed,
        freedAfter);
    return 0;
}

int measureDropAdd(const QString &folder)
{
    FrmFilenameReader window;
    window.show();
    runUntil([] { return false; }, 0.5);
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(folder) });
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &drop);
    runUntil([&] { return !window.isBusy(); }, 600);
    std::printf("%.0f\n", settledResident());
    return 0;
}

void dialogRows(const std::string &self, const std::string &workDir, const std::string &folder,
    long files, Table &table)
{
    // A run at a million files lists the folder in Qt's dialog for half a
    // minute: one run there, three below.
    const int runs = files >= Million / 2 ? 1 : 3;
    std::vector<double> firstShown, loaded, residentLoaded, closed, againShown, stallBefore,
        stallOpen, stallListing, typed, freedAfter, dropped;
    for (int i = 0; i < runs; ++i) {
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
        stallBefore.push_back((*dialog)[5]);
        stallOpen.push_back((*dialog)[6]);
        stallListing.push_back((*dialog)[7]);
        typed.push_back((*dialog)[8]);
        freedAfter.push_back((*dialog)[9]);
        dropped.push_back((*drop)[0]);
    }
    const std::string shownTarget = verdict("<= 50 ms", median(stallBefore) <= StallLimit);
    table.add({ "Add through the dialog: shown", files, milliseconds(median(firstShown)), {} });
    const double listed = median(loaded);
    table.add({ listed < 0 ? "Add through the dialog: NOT listed in full in"
                           : "Add through the dialog: folder listed in it",
        files, milliseconds(std::abs(listed)), {} });
    table.add({ "stall: the dialog listing the folder", files, milliseconds(median(stallListing)),
        { { "", "", verdict("<= 50 ms", median(stallListing) <= StallLimit) } } });
    table.add({ "stall: typing a file's name, Open", files, milliseconds(median(typed)),
        { { "", "", verdict("<= 50 ms", median(typed) <= StallLimit) } } });
    table.add(
        { "Add again: shown (opens in the parent)", files, milliseconds(median(againShown)), {} });
    table.add({ "stall: Add again, until the dialog shows", files,
        milliseconds(median(stallBefore)), { { "", "", shownTarget } } });
    table.add({ "stall: Add again, its first second open", files, milliseconds(median(stallOpen)),
        { { "", "", verdict("<= 50 ms", median(stallOpen) <= StallLimit) } } });
    // Every run, not the median: memory held once is memory held.
    double slowest = 0;
    for (const double after : freedAfter) {
        if (slowest >= 0 && (after < 0 || after > slowest))
            slowest = after;
    }
    table.add({ slowest < 0 ? "Add through the dialog: model NOT freed within"
                            : "Add through the dialog: model freed after close",
        files, milliseconds(std::abs(slowest)),
        { { "", "", verdict("<= 10 s, every run", slowest >= 0 && slowest <= 10) } } });
    const double drop = median(dropped), dialog = median(closed);
    table.add({ "memory: the dialog listing the folder", files,
        format("%.1f MiB", median(residentLoaded) / MiB), {} });
    table.add({ "memory: Add through the dialog, closed", files, format("%.1f MiB", dialog / MiB),
        { { "Add by drop " + format("%.1f MiB", drop / MiB),
            format("%+.1f MiB", (dialog - drop) / MiB),
            verdict("within 64 MiB", dialog - drop <= 64 * MiB) } } });
}

} // namespace bench
