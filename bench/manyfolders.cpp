// SPDX-License-Identifier: MIT
// Times a drop of many folders onto a long folder list, through the window's
// own drop handler: how long the handler holds the window's thread, how long
// until the rebuild behind it has ended and the window painted, and the
// longest time the window's thread went without a turn meanwhile.
//
//   quillmere_bench_folders [LISTED [DROPPED [RUNS]]]    default 5000 20000 5
//
// The folders are empty and made in a temporary folder, so the figures are
// the folder list's and the drop's own cost, not the disk's.

#include "list/filelist.h"
#include "measuring.h"
#include "window/frmfilenamereader.h"

#include <QApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>

using namespace bench;

namespace {

// The urls of count new folders made in parent, named from first on.
QList<QUrl> makeFolders(const QString &parent, int first, int count)
{
    QList<QUrl> urls;
    urls.reserve(count);
    for (int i = first; i < first + count; ++i) {
        const QString path = parent + QStringLiteral("/folder %1").arg(i, 6, 10, QChar(u'0'));
        if (::mkdir(QFile::encodeName(path).constData(), 0755) != 0) {
            std::perror("mkdir");
            std::exit(1);
        }
        urls << QUrl::fromLocalFile(path);
    }
    return urls;
}

// A drop as a file manager makes it: enter, then drop, offering copy or move.
void drop(QWidget *window, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &enter);
    QDropEvent event(QPointF(5, 5), actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window, &event);
}

// Runs the event loop, as the program does, until the rebuild has ended.
void settle(const FrmFilenameReader &window)
{
    QEventLoop loop;
    QTimer poll;
    poll.callOnTimeout(&loop, [&] {
        if (!window.fileList()->isBusy())
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int listed = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int dropped = argc > 2 ? std::atoi(argv[2]) : 20000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const QList<QUrl> first = makeFolders(dir.path(), 0, listed);
    const QList<QUrl> second = makeFolders(dir.path(), listed, dropped);

    StallProbe probe;
    std::vector<double> handler, listedTimes, stalls;
    for (int run = -1; run < runs; ++run) {
        FrmFilenameReader window;
        window.show();
        drop(&window, first);
        settle(window);
        window.repaint();

        probe.start();
        const Clock::time_point start = Clock::now();
        drop(&window, second);
        const double inHandler = secondsSince(start);
        settle(window);
        window.repaint();
        const double untilListed = secondsSince(start);
        const double stall = probe.stop();
        if (run >= 0) {
            handler.push_back(inHandler);
            listedTimes.push_back(untilListed);
            stalls.push_back(stall);
        }
    }
    std::printf("drop of %d folders onto %d, median of %d runs:\n", dropped, listed, runs);
    std::printf("  drop handler on the window's thread  %8.1f ms\n", median(handler) * 1e3);
    std::printf("  until listed and painted             %8.1f ms\n", median(listedTimes) * 1e3);
    std::printf("  longest stall of the window's thread %8.1f ms\n", median(stalls) * 1e3);
    return 0;
}
