// SPDX-License-Identifier: MIT
// The window as the session ends it while a slow disk holds a save: once the
// window shows, the (empty) list is saved to TARGET, whose data sync never
// returns; "held" on standard output says it has begun. The program then ends
// as quillmere ends, giving a save MILLISECONDS. The session-end test runs
// this in place of the program.
//   quillmere_heldsave TARGET MILLISECONDS
#include "list/savequeue.h"
#include "window/frmfilenamereader.h"
#include "window/sessionend.h"

#include <QApplication>
#include <QSemaphore>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

int heldSync(int)
{
    std::puts("held");
    std::fflush(stdout);
    static QSemaphore never;
    never.acquire();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: quillmere_heldsave TARGET MILLISECONDS\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    FrmFilenameReader window;
    SaveHooks hooks;
    hooks.file = heldSync;
    window.saves()->setHooks(hooks);
    window.show();
    const QString target = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(0, &window, [&window, &target] { window.saveList(target); });
    SessionEnd session(*window.saves(), std::atoi(argv[2]), stderr);
    const int status = session.end(app.exec());
    std::fflush(nullptr);
    std::_Exit(status);
}
