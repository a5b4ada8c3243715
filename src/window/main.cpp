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
    int status = app.exec();
    // Ended by the session with a save running: a save takes well under a
    // second even at a million rows; one that a hung disk holds longer is
    // given up, leaving the file it would have replaced as it was, and said.
    window.finishSaves(10000);
    for (const QString &unsaved : window.giveUpSaves())
        std::fprintf(stderr, "quillmere: %s\n", qPrintable(QString(unsaved).replace(u'\n', u' ')));
    if (status == 0 && !window.allSavesEnded())
        status = 1;
    // Then ends at once: tearing down would wait for every thread, and one may
    // be stuck in a read of a hung mount (a listing, or the file dialog's).
    std::fflush(nullptr);
    std::_Exit(status);
}
