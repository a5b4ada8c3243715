// SPDX-License-Identifier: MIT
#include "core/translations.h"
#include "window/frmfilenamereader.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Quillmere"));
    installTranslations();

    FrmFilenameReader window;
    window.show();
    const int status = app.exec();
    // A save takes well under a second even at a million rows; one that a
    // hung disk holds longer is given up, leaving the file it would have
    // replaced as it was.
    window.finishSaves(10000);
    // Then ends at once: tearing down would wait for every thread, and one may
    // be stuck in a read of a hung mount (a listing, or the file dialog's).
    std::fflush(nullptr);
    std::_Exit(status);
}
