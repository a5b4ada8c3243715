// SPDX-License-Identifier: MIT
// quillmere-list: the window's file list from a terminal. The same listing,
// collation, sort and text bytes as the window, through the same core code,
// so that both always agree on which files, in which order, and which bytes.

#include "core/arrangement.h"
#include "core/displaytext.h"
#include "core/filerows.h"
#include "core/folderlisting.h"
#include "core/paths.h"
#include "core/textexport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// 3 wins over 1: the list is in place, but may not survive a power cut or
// lacks something of the file it replaced.
enum ExitStatus { Success = 0, FolderFailed = 1, Trouble = 2, WrittenBut = 3 };

const char Usage[] = "Usage: quillmere-list [OPTION]... FOLDER...\n";

// In the layout of GNU tools, which shells, help2man and users expect.
const char Help[]
    = R"(Lists the plain files of each FOLDER, one name per line, as Quillmere's window
lists and saves them: the same files, order and bytes.

  -o, --output=FILE   write the list to FILE, replacing it as a whole, instead
                        of to standard output; '-' is standard output
      --sort=KEY      sort ascending by KEY, name or extension, as the window's
                        column headers do; without it, the file system's order
      --reverse       turn the sorted order round
      --line-end=END  end every name with crlf (the default) or lf
  -0, --null          end every name with a NUL byte instead, for xargs -0
  -h, --help          display this help and exit
  -V, --version       output version information and exit

Folders are listed in the order given, a folder given twice once.

Exit status:
 0  if OK,
 1  if a folder could not be listed (the others are still written),
 2  if the usage was wrong or the list could not be written (an existing
      output file is then left as it was),
 3  if the list was written to FILE but the system could not confirm that it
      is on the disk, or the replaced FILE's owner, group, mode, ACL or an
      extended attribute could not be kept (each is named).
)";

const char Version[] = "quillmere-list (Quillmere) " QUILLMERE_VERSION R"(
License MIT: <https://spdx.org/licenses/MIT.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";

void printError(const QByteArray &message)
{
    const QByteArray line = "quillmere-list: " + message + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

[[noreturn]] void usageError(const QString &message)
{
    printError(message.toUtf8());
    std::fputs(Usage, stderr);
    std::fputs("Try 'quillmere-list --help' for more information.\n", stderr);
    std::exit(Trouble);
}

// A path as it goes into a one-line message, by the window's display rules:
// control and bidi characters would break the line, drive the terminal or
// turn the text round.
QByteArray shown(const QByteArray &path)
{
    return displayText(path).toUtf8();
}

// Marks an argument that is not valid UTF-8: its decoded text, which lost
// bytes, is made unique with this and its position.
constexpr char16_t NotUtf8 = 0xFDD0; // a noncharacter, never typed

// The arguments as the parser takes them, and each one's bytes as the system
// passed them: Qt decodes arguments, and a folder name that is not valid
// UTF-8 would lose bytes.
struct Arguments
{
    QStringList texts;
    QHash<QString, QByteArray> bytes;
};

Arguments readArguments([[maybe_unused]] int argc, [[maybe_unused]] char **argv)
{
    Arguments arguments;
#ifdef Q_OS_WIN
    // Windows passes UTF-16, which Qt keeps exactly.
    arguments.texts = QCoreApplication::arguments();
    for (const QString &text : std::as_const(arguments.texts))
        arguments.bytes.insert(text, text.toUtf8());
#else
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        QString text = QString::fromUtf8(bytes);
        if (text.toUtf8() != bytes)
            text += QChar(NotUtf8) + QString::number(i);
        arguments.texts << text;
        arguments.bytes.insert(text, bytes);
    }
#endif
    return arguments;
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
    *error = qt_error_string(errno);
    return false;
#else
    const char *data = text.constData();
    for (qsizetype left = text.size(); left > 0;) {
        const ssize_t n = ::write(STDOUT_FILENO, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE)
                endAsReaderLeft();
            *error = qt_error_string(errno);
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
#endif
}

// The help or the version on standard output. Its failure is an error like
// any other, even when the reader has gone: GNU tools exit 2 then too.
[[noreturn]] void showText(const QByteArray &text)
{
    if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size())
        || std::fflush(stdout) != 0) {
        printError("write error: " + qt_error_string(errno).toUtf8());
        std::exit(Trouble);
    }
    std::exit(Success);
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
            std::_Exit(Trouble);
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

    QCommandLineParser parser;
    // Not Qt's own help and version options: the help is written above, and
    // -v is left free.
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") }, QString());
    const QCommandLineOption version({ QStringLiteral("V"), QStringLiteral("version") }, QString());
    const QCommandLineOption output(
        { QStringLiteral("o"), QStringLiteral("output") }, QString(), QStringLiteral("FILE"));
    const QCommandLineOption sort(QStringLiteral("sort"), QString(), QStringLiteral("KEY"));
    const QCommandLineOption reverse(QStringLiteral("reverse"), QString());
    const QCommandLineOption lineEnd(QStringLiteral("line-end"), QString(), QStringLiteral("END"));
    const QCommandLineOption null({ QStringLiteral("0"), QStringLiteral("null") }, QString());
    parser.addOptions({ help, version, output, sort, reverse, lineEnd, null });

    const Arguments arguments = readArguments(argc, argv);
    if (!parser.parse(arguments.texts))
        usageError(parser.errorText());
    if (parser.isSet(help))
        showText(QByteArray(Usage) + Help);
    if (parser.isSet(version))
        showText(Version);

    const QString sortKey = parser.value(sort);
    if (parser.isSet(sort) && sortKey != u"name" && sortKey != u"extension")
        usageError(QStringLiteral("unknown sort key '%1': name or extension").arg(sortKey));
    if (parser.isSet(reverse) && !parser.isSet(sort))
        usageError(QStringLiteral("--reverse turns a sorted list round; give --sort too"));
    const QString lineEndName = parser.value(lineEnd);
    if (parser.isSet(lineEnd) && lineEndName != u"crlf" && lineEndName != u"lf")
        usageError(QStringLiteral("unknown line end '%1': crlf or lf").arg(lineEndName));
    if (parser.isSet(lineEnd) && parser.isSet(null))
        usageError(QStringLiteral("--null ends names with NUL; --line-end cannot be given too"));
    const LineEnd ending = parser.isSet(null) ? LineEnd::Nul
        : lineEndName == u"lf"                ? LineEnd::Lf
                                              : LineEnd::CrLf;
    const QString target = parser.value(output);
    const bool toFile = parser.isSet(output) && target != u"-";
    if (toFile && (target.isEmpty() || target.contains(QChar(NotUtf8))))
        usageError(QStringLiteral("the output file's name must be valid UTF-8 and not empty; "
                                  "redirect standard output instead"));
    const QStringList folders = parser.positionalArguments();
    if (folders.isEmpty())
        usageError(QStringLiteral("no folder given"));

    int status = Success;
    QByteArray text;
    {
        FileRows rows;
        // A folder given twice is listed once, compared as given but for
        // trailing separators.
        QSet<QByteArray> listed;
        for (const QString &folder : folders) {
            const QByteArray path = cleanFolderPathBytes(arguments.bytes.value(folder));
            if (listed.contains(path))
                continue;
            listed.insert(path);
            QString reason;
            if (!listFolderBytes(path, rows, &reason)) {
                printError("cannot list " + shown(path) + ": " + reason.toUtf8());
                status = FolderFailed;
            }
        }

        // The order the window shows after clicks on the column's header: the
        // first sorts descending, the second ascending.
        SortState state;
        if (parser.isSet(sort)) {
            const int header = sortKey == u"extension" ? 2 : 1;
            state = headerClicked(state, header);
            if (!parser.isSet(reverse))
                state = headerClicked(state, header);
        }
        FileArrangement files;
        arrangeRows(files, std::move(rows), state);
        // Past the sort keys' limit the list stays in the file system's order;
        // the names are still written, but the order asked for is not met.
        if (files.state != state) {
            printError("cannot sort: " + FileRows::limitReason().toUtf8());
            status = FolderFailed;
        }
        text = exportText(files, ending);
    }

    QString reason;
    if (toFile) {
        switch (saveText(target, text, &reason)) {
        case SaveResult::Saved:
            break;
        case SaveResult::Unconfirmed:
        case SaveResult::NotAllKept:
            // One line for each thing the save could not confirm or keep.
            for (const QString &line : reason.split(QLatin1Char('\n')))
                printError(shown(target.toUtf8()) + ": " + shown(line.toUtf8()));
            return WrittenBut;
        case SaveResult::Failed:
            printError("cannot write " + shown(target.toUtf8()) + ": " + shown(reason.toUtf8()));
            return Trouble;
        }
    } else if (!writeStandardOutput(text, &reason)) {
        printError("cannot write to standard output: " + reason.toUtf8());
        return Trouble;
    }
    return status;
}
