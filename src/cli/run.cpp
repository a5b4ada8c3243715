// SPDX-License-Identifier: MIT
#include "cli/run.h"

#include "cli/blockwriter.h"
#include "cli/treelisting.h"
#include "core/atomicsave.h"
#include "core/commandmessages.h"
#include "core/systemreason.h"
#include "core/writeall.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

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

// Standard output's descriptor, set to take bytes as they are: no text mode
// on Windows, where names and line ends would otherwise be changed.
int standardOutput()
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
    return _fileno(stdout);
#else
    return STDOUT_FILENO;
#endif
}

// What a failed write to standard output ends with: a reader that has gone
// away ends the program quietly; any other reason is named.
int outputFailed(int error)
{
    if (error == EPIPE)
        endAsReaderLeft();
    say(QuillmereList::tr("cannot write to standard output: %1").arg(systemReason(error)));
    return Trouble;
}

// A tree whose failures are named on standard error; status turns
// FolderFailed for each.
TreeListing reportingTree(int &status)
{
    TreeListing tree;
    tree.failed = [&status](const QByteArray &path, const QString &reason) {
        say(QuillmereList::tr("cannot list %1: %2").arg(quoted(path), reason));
        status = FolderFailed;
    };
    tree.looped = [&status](const QByteArray &path, const QByteArray &same) {
        say(QuillmereList::tr("cannot list %1: %2").arg(quoted(path), loopDetected(quoted(same))));
        status = FolderFailed;
    };
    return tree;
}

// Where the rows are made: the request's folders read, arranged and turned
// into the list's bytes. status turns FolderFailed for each failure named.
QByteArray listedText(const Request &request, int &status)
{
    // The sort keys are made while the folders are read.
    KeysAhead ahead(request.sort, FileArrangement().keyLimit);
    TreeListing tree = reportingTree(status);
    tree.ahead = &ahead;
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

// A listing in the file system's order, to standard output as it is read:
// each folder's lines go out once its read has ended whole, so that a folder
// that fails part-way leaves none of them, in large blocks written while the
// next folders are read. The bytes are those listedText() would give.
int streamList(const Request &request, int &status)
{
    // Large enough that a write costs little beside the names it carries.
    constexpr qsizetype BlockBytes = 1 << 20;
    const int out = standardOutput();
    BlockWriter writer(out);
    const QByteArrayView end = lineEndBytes(request.lineEnd);
    QByteArray block;
    TreeListing tree = reportingTree(status);
    tree.listed = [&](FileRows &rows, qsizetype from) {
        for (qsizetype row = from; row < rows.size(); ++row)
            TreeListing::appendLine(block, rows.name(row), end, request.escaped);
        rows.truncate(from);
        if (block.size() < BlockBytes)
            return;
        writer.write(std::exchange(block, QByteArray()));
        if (writer.failed() == EPIPE)
            endAsReaderLeft();
    };
    for (const QByteArray &folder : request.folders)
        tree.list(folder, request.recursive, request.listing);
    if (!block.isEmpty())
        writer.write(std::move(block));
    const int failed = writer.finish();
    return failed ? outputFailed(failed) : Success;
}

// Where the rows are written. Success, or the status the write ends with.
int writeList(const Request &request, const QByteArray &text)
{
    if (request.output.isEmpty()) {
        const int failed = writeAll(standardOutput(), text);
        return failed ? outputFailed(failed) : Success;
    }
    QString reason;
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
    if (!request.sort.sorted && request.output.isEmpty()) {
        const int written = streamList(request, status);
        return written == Success ? status : written;
    }
    const QByteArray text = listedText(request, status);
    const int written = writeList(request, text);
    return written == Success ? status : written;
}
