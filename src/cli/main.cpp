// SPDX-License-Identifier: MIT
// quillmere-list: the window's file list from a terminal. The same listing,
// collation, sort and text bytes as the window, through the same core code,
// so that both always agree on which files, in which order, and which bytes.

#include "cli/namepattern.h"
#include "cli/options.h"
#include "cli/treelisting.h"
#include "core/arrangement.h"
#include "core/atomicsave.h"
#include "core/displaytext.h"
#include "core/filerows.h"
#include "core/folderlisting.h"
#include "core/helpandversion.h"
#include "core/paths.h"
#include "core/textexport.h"
#include "core/translations.h"
#include "core/writeall.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include <getopt.h>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

// The context of quillmere-list's own texts in the catalogues.
class QuillmereList
{
    Q_DECLARE_TR_FUNCTIONS(QuillmereList)
};

namespace {

// 3 wins over 1: the list is in place, but may not survive a power cut or
// lacks something of the file it replaced.
enum ExitStatus { Success = 0, FolderFailed = 1, Trouble = 2, WrittenBut = 3 };

const char Usage[]
    = QT_TRANSLATE_NOOP("QuillmereList", "Usage: quillmere-list [OPTION]... FOLDER...\n");
const char TryHelp[]
    = QT_TRANSLATE_NOOP("QuillmereList", "Try 'quillmere-list --help' for more information.\n");

// In the layout of GNU tools, which shells, help2man and users expect; a
// translation keeps the option names and the columns.
const char Help[] = QT_TRANSLATE_NOOP("QuillmereList",
    R"(List the plain files of each FOLDER, one name per line, as Quillmere's window
lists them: the same files in the same order. With -o, FILE holds the bytes the
window's save writes, each name followed by CR LF; on standard output each name
ends with LF alone, as Unix tools expect.

Mandatory arguments to long options are mandatory for short options too.
  -a, --all             list hidden files too, and with -r hidden sub-folders
      --escape          write names as the window shows them, escaping control,
                          bidi and invisible characters (the default when
                          standard output is a terminal)
      --exclude=GLOB    leave out files whose name matches GLOB
      --ignore-case     match --include and --exclude ignoring letter case, as
                          the window's Remove All .EXT Files does
      --include=GLOB    list only files whose name matches GLOB; --include and
                          --exclude may be given more than once
      --line-end=END    end every name with crlf or lf, wherever the list goes
      --literal         write names byte for byte (the default to a pipe or file)
  -0, --null            end every name with a NUL byte instead, for xargs -0
  -o, --output=FILE     write the list to FILE, replacing it as a whole, instead
                          of to standard output; '-' is standard output
  -r, --recursive       list the files of all sub-folders too, each by its path
                          from the FOLDER given; links to folders are not
                          followed
      --reverse         turn the sorted order round
      --sort=KEY        sort ascending by KEY, name or extension, as the window's
                          column headers do, with -r by folder first; without
                          it, the file system's order
  -h, --help            display this help and exit
  -V, --version         output version information and exit

Folders are listed in the order given, a folder given twice once; they are
paths, never addresses such as smb://. GLOB is matched against the file's name
only, as find -name matches it, in the characters of the locale: '*' any
characters, '?' one, '[...]' one of a set, such as '[[:alpha:]]' a letter. A
file is listed when it matches some --include (or none is given) and no
--exclude.

Exit status:
 0  if OK,
 1  if a folder could not be listed (the others are still written), or the
      list could not be sorted (it is written in the file system's order),
 2  if the usage was wrong or the list could not be written (an existing
      output file is then left as it was),
 3  if the list was written to FILE but the system could not confirm that it
      is on the disk, or the replaced FILE's owner, group, mode, ACL or an
      extended attribute could not be kept (each is named).

Full documentation is available locally via: man quillmere-list
)");

// The program's name stays untranslated in front, as scripts and users look
// for it.
void printError(const QString &message)
{
    const QByteArray line = "quillmere-list: " + message.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

[[noreturn]] void usageError(const QString &message)
{
    printError(message);
    const QByteArray hint = (QuillmereList::tr(Usage) + QuillmereList::tr(TryHelp)).toUtf8();
    std::fwrite(hint.constData(), 1, size_t(hint.size()), stderr);
    std::exit(Trouble);
}

// A path or an argument as it goes into a one-line message: by the display
// rules (control and bidi characters would break the line, drive the
// terminal or turn the text round), then quoted as ls quotes names in its
// own messages, in every language alike. Messages put it in with a single
// arg() of all their parts, so that a "%1" in a name stays as it is.
QString quoted(QByteArrayView path)
{
    const QString shown = displayPath(path);
    if (!shown.contains(u'\''))
        return u'\'' + shown + u'\'';
    if (!shown.contains(u'"') && !shown.contains(u'$') && !shown.contains(u'`')
        && !shown.contains(u'\\'))
        return u'"' + shown + u'"';
    return u'\'' + QString(shown).replace(u'\'', QLatin1StringView("'\\''")) + u'\'';
}

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
    if (const int failed = writeAll(STDOUT_FILENO, text)) {
        if (failed == EPIPE)
            endAsReaderLeft();
        *error = qt_error_string(failed);
        return false;
    }
    return true;
#endif
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
    // The window's languages, chosen by the same rule, before the first
    // message. Without Qt's catalogue: there is no dialog to speak for, and
    // the system's reasons stay as the C library words them.
    installTranslations(QLocale(), QtTexts::AsGiven);

    // Each option's short letter, or from 256 on for a long name only.
    enum Option {
        All = 'a',
        Help = 'h',
        Null = '0',
        Output = 'o',
        Recursive = 'r',
        Version = 'V',
        Escape = 256,
        Exclude,
        IgnoreCase,
        Include,
        LineEndOption,
        Literal,
        Reverse,
        Sort
    };
    // In the order of their names, which an ambiguous abbreviation's
    // possibilities follow; -v is left free.
    static constexpr option longOptions[] = {
        { "all", no_argument, nullptr, All },
        { "escape", no_argument, nullptr, Escape },
        { "exclude", required_argument, nullptr, Exclude },
        { "help", no_argument, nullptr, Help },
        { "ignore-case", no_argument, nullptr, IgnoreCase },
        { "include", required_argument, nullptr, Include },
        { "line-end", required_argument, nullptr, LineEndOption },
        { "literal", no_argument, nullptr, Literal },
        { "null", no_argument, nullptr, Null },
        { "output", required_argument, nullptr, Output },
        { "recursive", no_argument, nullptr, Recursive },
        { "reverse", no_argument, nullptr, Reverse },
        { "sort", required_argument, nullptr, Sort },
        { "version", no_argument, nullptr, Version },
        { nullptr, 0, nullptr, 0 },
    };
    const CommandLine line = parseCommandLine(readArguments(argc, argv), longOptions);
    if (!line.error.isEmpty())
        usageError(line.error);
    // A repeated option counts once, its last value wins; globs add up.
    QSet<int> given;
    QHash<int, QByteArray> values;
    QList<QByteArray> includes, excludes;
    for (const auto &[id, value] : line.options) {
        given.insert(id);
        values.insert(id, value);
        if (id == Include || id == Exclude) {
            if (const QString fault = NamePattern::fault(value); !fault.isEmpty())
                usageError(QuillmereList::tr("%1 in %2",
                    "what is wrong with a pattern of --include or --exclude, then the pattern")
                               .arg(fault, quoted(value)));
            (id == Include ? includes : excludes) << value;
        }
    }
    auto isSet = [&given](Option option) { return given.contains(option); };
    if (isSet(Help))
        showTextAndExit(
            "quillmere-list", (QuillmereList::tr(Usage) + QuillmereList::tr(::Help)).toUtf8());
    if (isSet(Version))
        showTextAndExit("quillmere-list", versionText("quillmere-list"));

    const QByteArray sortKey = values.value(Sort);
    if (isSet(Sort) && sortKey != "name" && sortKey != "extension")
        usageError(QuillmereList::tr("unknown sort key %1: name or extension",
            "name and extension are the values --sort takes, as they are typed")
                       .arg(quoted(sortKey)));
    if (isSet(Reverse) && !isSet(Sort))
        usageError(QuillmereList::tr("--reverse turns a sorted list round; give --sort too"));
    const QByteArray lineEndName = values.value(LineEndOption);
    if (isSet(LineEndOption) && lineEndName != "crlf" && lineEndName != "lf")
        usageError(QuillmereList::tr("unknown line end %1: crlf or lf",
            "crlf and lf are the values --line-end takes, as they are typed")
                       .arg(quoted(lineEndName)));
    if (isSet(LineEndOption) && isSet(Null))
        usageError(QuillmereList::tr("--null ends names with NUL; --line-end cannot be given too"));
    if (isSet(Escape) && isSet(Literal))
        usageError(QuillmereList::tr("--escape and --literal cannot both be given"));
    const QByteArray targetBytes = values.value(Output);
    const QString target = QString::fromUtf8(targetBytes);
    const bool toFile = isSet(Output) && targetBytes != "-";
    // A file as the window saves it; standard output as every Unix tool
    // that reads it expects lines to end.
    const LineEnd ending = isSet(Null) ? LineEnd::Nul
        : lineEndName == "lf"          ? LineEnd::Lf
        : lineEndName == "crlf"        ? LineEnd::CrLf
        : toFile                       ? LineEnd::CrLf
                                       : LineEnd::Lf;
    if (toFile && (target.isEmpty() || target.toUtf8() != targetBytes))
        usageError(QuillmereList::tr("the output file's name must be valid UTF-8 and not empty; "
                                     "redirect standard output instead"));
    const QList<QByteArray> &folders = line.operands;
    if (folders.isEmpty())
        usageError(QuillmereList::tr("no folder given"));
    // Matches no name: surely not what was meant, but not wrong either.
    if (includes.contains(QByteArray()))
        printError(QuillmereList::tr("an empty --include matches no name"));
#ifdef Q_OS_WIN
    const bool toTerminal = !toFile && _isatty(_fileno(stdout));
#else
    const bool toTerminal = !toFile && ::isatty(STDOUT_FILENO);
#endif
    const bool escaped = isSet(Escape) || (toTerminal && !isSet(Literal));

    ListingOptions listing;
    listing.hidden = isSet(All);
    if (!includes.isEmpty() || !excludes.isEmpty()) {
        std::vector<NamePattern> kept, dropped;
        for (const QByteArray &glob : std::as_const(includes))
            kept.emplace_back(glob, isSet(IgnoreCase));
        for (const QByteArray &glob : std::as_const(excludes))
            dropped.emplace_back(glob, isSet(IgnoreCase));
        listing.keep = [kept, dropped](QByteArrayView name) {
            auto matches = [name](const NamePattern &p) { return p.matches(name); };
            return (kept.empty() || std::any_of(kept.begin(), kept.end(), matches))
                && std::none_of(dropped.begin(), dropped.end(), matches);
        };
    }

    // The order the window shows after clicks on the column's header: the
    // first sorts descending, the second ascending.
    SortState state;
    if (isSet(Sort)) {
        const int header = sortKey == "extension" ? 2 : 1;
        state = headerClicked(state, header);
        if (!isSet(Reverse))
            state = headerClicked(state, header);
    }

    int status = Success;
    QByteArray text;
    {
        // The sort keys are made while the folders are read.
        KeysAhead ahead(state, FileArrangement().keyLimit);
        TreeListing tree;
        tree.ahead = &ahead;
        tree.failed = [&status](const QByteArray &path, const QString &reason) {
            printError(QuillmereList::tr("cannot list %1: %2").arg(quoted(path), reason));
            status = FolderFailed;
        };
        // As find says it, in the words of the other messages.
        tree.looped = [&status](const QByteArray &path, const QByteArray &same) {
            printError(QuillmereList::tr(
                "cannot list %1: File system loop detected; it is the same folder as %2")
                           .arg(quoted(path), quoted(same)));
            status = FolderFailed;
        };
        // A folder given twice is listed once, compared as given but for
        // trailing separators.
        QSet<QByteArray> listed;
        for (const QByteArray &given : folders) {
            const QByteArray path = cleanFolderPathBytes(given);
            if (listed.contains(path))
                continue;
            listed.insert(path);
            tree.list(path, isSet(Recursive), listing);
        }

        FileArrangement files = tree.arrange(state);
        files.keys = {}; // tens of MiB for a million names, not needed to write them
        // Past the sort keys' limit the list stays in the file system's order;
        // the names are still written, but the order asked for is not met.
        if (files.state != state) {
            printError(QuillmereList::tr("cannot sort: %1").arg(FileRows::limitReason()));
            status = FolderFailed;
        }
        text = tree.text(files, ending, escaped);
    }

    QString reason;
    if (toFile) {
        switch (saveText(target, text, &reason)) {
        case SaveResult::Saved:
            break;
        case SaveResult::Unconfirmed:
        case SaveResult::NotAllKept:
            // One line for each thing the save could not confirm or keep. The
            // paths and names in them are shown by the display rules already.
            for (const QString &line : reason.split(QLatin1Char('\n')))
                printError(QuillmereList::tr(
                    "%1: %2", "the output file, then something its save could not confirm or keep")
                               .arg(quoted(targetBytes), line));
            return WrittenBut;
        case SaveResult::Failed:
            printError(QuillmereList::tr("cannot write %1: %2").arg(quoted(targetBytes), reason));
            return Trouble;
        }
    } else if (!writeStandardOutput(text, &reason)) {
        printError(QuillmereList::tr("cannot write to standard output: %1").arg(reason));
        return Trouble;
    }
    return status;
}
