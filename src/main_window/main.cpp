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
    // Ends at once: tearing down would wait for every thread, and one may be
    // stuck in a read of a hung mount (a listing, or the file dialog's).
    // Nothing on disk depends on them: a save cut short leaves the file it
    // would have replaced as it was.
    std::fflush(nullptr);
    std::_Exit(status);
}
