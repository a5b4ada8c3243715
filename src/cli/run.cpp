// SPDX-License-Identifier: MIT
#include "cli/run.h"

#include "cli/treelisting.h"
#include "core/atomicsave.h"
#include "core/commandmessages.h"
#include "core/systemreason.h"
#include "core/writeall.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// 3 wins over 1: the list is in place, but may not survive a power cut or
// lacks something of the file it replaced.
enum ExitStatus { Success = 0, FolderFailed = 1, Trouble = 2, WrittenBut = 3 };

void say(const QString &message)
{
    printError("quillmere-list", message);
}

// As if SIGPIPE had ended the program, as it does unless the parent ignores
// the signal: a shell says nothing, and a pipeline's status tells.
[[noreturn]] void endAsReaderLeft()
{
#ifndef Q_OS_WIN
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &pipeSignal, nullptr);
    std::raise(SIGPIPE);
    ::_exit(128 + SIGPIPE);
#else
    std::_Exit(Trouble);
#endif
}

// Writes all of text to standard output in as few, large writes as the
// system takes. A reader that has gone away ends the program quietly.
bool writeStandardOutput(const QByteArray &text, QString *error)
{
#ifdef Q_OS_WIN
    // No text mode: the names and line ends go out as they are.
    _setmode(_fileno(stdout), _O_BINARY);
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) == size_t(text.size())
        && std::fflush(stdout) == 0)
        return true;
    if (errno == EPIPE)
        endAsReaderLeft();
    *error = systemReason(errno);
    return false;
#else
    if (const int failed = writeAll(STDOUT_FILENO, text)) {
        if (failed == EPIPE)
            endAsReaderLeft();
        *error = systemReason(failed);
        return false;
    }
    return true;
#endif
}

// Where the rows are made: the request's folders read, arranged and turned
// into the list's bytes. status turns FolderFailed for each failure named.
QByteArray listedText(const Request &request, int &status)
{
    // The sort keys are made while the folders are read.
    KeysAhead ahead(request.sort, FileArrangement().keyLimit);
    TreeListing tree;
    tree.ahead = &ahead;
    tree.failed = [&status](const QByteArray &path, const QString &reason) {
        say(QuillmereList::tr("cannot list %1: %2").arg(quoted(path), reason));
        status = FolderFailed;
    };
    tree.looped = [&status](const QByteArray &path, const QByteArray &same) {
        say(QuillmereList::tr("cannot list %1: %2").arg(quoted(path), loopDetected(quoted(same))));
        status = FolderFailed;
    };
    for (const QByteArray &folder : request.folders)
        tree.list(folder, request.recursive, request.listing);

    FileArrangement files = tree.arrange(request.sort);
    files.keys = {}; // tens of MiB for a million names, not needed to write them
    // Past the sort keys' limit the list stays in the file system's order;
    // the names are still written, but the order asked for is not met.
    if (files.state != request.sort) {
        say(QuillmereList::tr("cannot sort: %1").arg(FileRows::limitReason()));
        status = FolderFailed;
    }
    return TreeListing::text(files, request.lineEnd, request.escaped);
}

// Where the rows are written. Success, or the status the write ends with.
int writeList(const Request &request, const QByteArray &text)
{
    QString reason;
    if (request.output.isEmpty()) {
        if (writeStandardOutput(text, &reason))
            return Success;
        say(QuillmereList::tr("cannot write to standard output: %1").arg(reason));
        return Trouble;
    }
    switch (saveText(QString::fromUtf8(request.output), text, &reason)) {
    case SaveResult::Saved:
        return Success;
    case SaveResult::Unconfirmed:
    case SaveResult::NotAllKept:
        // One line for each thing the save could not confirm or keep. The
        // paths and names in them are shown by the display rules already.
        for (const QString &line : reason.split(QLatin1Char('\n')))
            say(QuillmereList::tr(
                "%1: %2", "the output file, then something its save could not confirm or keep")
                    .arg(quoted(request.output), line));
        return WrittenBut;
    case SaveResult::Failed:
        break;
    }
    say(QuillmereList::tr("cannot write %1: %2").arg(quoted(request.output), reason));
    return Trouble;
}

} // namespace

int runRequest(const Request &request)
{
    int status = Success;
    const QByteArray text = listedText(request, status);
    const int written = writeList(request, text);
    return written == Success ? status : written;
}
