#include "lists/background.h"
#include "main_window/frmfilenamereader.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Quillmere"));

    FrmFilenameReader window;
    window.show();
    const int status = app.exec();
    // A worker may be stuck in a read of a hung mount, and tearing down would
    // wait for it. Nothing on disk depends on a worker: a save cut short
    // leaves the file it would have replaced as it was.
    if (runningWorkers() > 0) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
