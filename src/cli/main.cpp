// SPDX-License-Identifier: MIT
// quillmere-list: the window's file list from a terminal. The same listing,
// collation, sort and text bytes as the window, through the same core code,
// so that both always agree on which files, in which order, and which bytes.

#include "cli/request.h"
#include "cli/run.h"
#include "core/translations.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdlib>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// The arguments' bytes as the system passed them: Qt would decode them, and
// a folder name that is not valid UTF-8 would lose bytes.
QList<QByteArray> readArguments([[maybe_unused]] int argc, [[maybe_unused]] char **argv)
{
    QList<QByteArray> arguments;
#ifdef Q_OS_WIN
    // Windows passes UTF-16, which Qt keeps exactly.
    for (const QString &text : QCoreApplication::arguments().mid(1))
        arguments << text.toUtf8();
#else
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
#endif
    return arguments;
}

#ifndef Q_OS_WIN
// A descriptor 0-2 left closed by the caller would be taken by the next file
// opened, here Qt's own event descriptor, and the list written into it. Each
// is opened on the null device the wrong way round, so that a write to a
// closed standard output fails with EBADF, as it would have.
void openStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int opened = ::open("/dev/null", fd == 0 ? O_WRONLY : O_RDONLY);
        if (opened != fd) // the lowest free descriptor, unless something is badly wrong
            std::_Exit(2);
    }
}
#endif

} // namespace

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    openStandardDescriptors();
#endif
    // Qt is given no arguments but the program's name, so that none of its
    // own options (-qmljsdebugger=...) can take a folder's name; they are read
    // from argv below. Windows keeps them: Qt reads them back from the
    // command line there, as UTF-16.
#ifdef Q_OS_WIN
    static int qtArgc = argc;
#else
    static int qtArgc = 1;
#endif
    QCoreApplication app(qtArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmere-list"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    // The window's languages, chosen by the same rule, before the first
    // message. Without Qt's catalogue: there is no dialog to speak for.
    installTranslations(QLocale(), QtTexts::AsGiven);
    return runRequest(readRequest(readArguments(argc, argv)));
}
