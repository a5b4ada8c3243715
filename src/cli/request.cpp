// SPDX-License-Identifier: MIT
#include "cli/request.h"

#include "cli/namepattern.h"
#include "cli/options.h"
#include "core/commandmessages.h"
#include "core/helpandversion.h"
#include "core/paths.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include <getopt.h>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

const char Usage[]
    = QT_TRANSLATE_NOOP("QuillmereList", "Usage: quillmere-list [OPTION]... FOLDER...\n");

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

// Each option's short letter, or from 256 on for a long name only.
enum Option {
    All = 'a',
    HelpOption = 'h',
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
constexpr option LongOptions[] = {
    { "all", no_argument, nullptr, All },
    { "escape", no_argument, nullptr, Escape },
    { "exclude", required_argument, nullptr, Exclude },
    { "help", no_argument, nullptr, HelpOption },
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

[[noreturn]] void usageError(const QString &message)
{
    exitOnUsageError("quillmere-list", message, QuillmereList::tr(Usage));
}

// The options as given: a repeated one counts once, its last value wins;
// globs add up.
struct Given
{
    QSet<int> set;
    QHash<int, QByteArray> values;
    QList<QByteArray> includes, excludes;
    bool has(Option option) const { return set.contains(option); }
};

// A glob that cannot be read, or can match no name, is refused as it comes,
// before --help is looked at.
void checkGlob(const QByteArray &glob)
{
    if (const QString fault = NamePattern::fault(glob); !fault.isEmpty())
        usageError(QuillmereList::tr(
            "%1 in %2", "what is wrong with a pattern of --include or --exclude, then the pattern")
                       .arg(fault, quoted(glob)));
    // find -name warns of it, and then matches nothing.
    if (glob.contains('/'))
        usageError(QuillmereList::tr("%1 matches no name, as no name holds %2: --include and "
                                     "--exclude match a file's name, not its path")
                       .arg(quoted(glob), quoted("/")));
}

Given readOptions(const QList<std::pair<int, QByteArray>> &options)
{
    Given given;
    for (const auto &[id, value] : options) {
        given.set.insert(id);
        given.values.insert(id, value);
        if (id == Include || id == Exclude) {
            checkGlob(value);
            (id == Include ? given.includes : given.excludes) << value;
        }
    }
    return given;
}

void checkValues(const Given &given)
{
    const QByteArray sortKey = given.values.value(Sort);
    if (given.has(Sort) && sortKey != "name" && sortKey != "extension")
        usageError(QuillmereList::tr("unknown sort key %1: name or extension",
            "name and extension are the values --sort takes, as they are typed")
                       .arg(quoted(sortKey)));
    if (given.has(Reverse) && !given.has(Sort))
        usageError(QuillmereList::tr("--reverse turns a sorted list round; give --sort too"));
    const QByteArray lineEnd = given.values.value(LineEndOption);
    if (given.has(LineEndOption) && lineEnd != "crlf" && lineEnd != "lf")
        usageError(QuillmereList::tr("unknown line end %1: crlf or lf",
            "crlf and lf are the values --line-end takes, as they are typed")
                       .arg(quoted(lineEnd)));
    if (given.has(LineEndOption) && given.has(Null))
        usageError(QuillmereList::tr("--null ends names with NUL; --line-end cannot be given too"));
    if (given.has(Escape) && given.has(Literal))
        usageError(QuillmereList::tr("--escape and --literal cannot both be given"));
    const QByteArray output = given.values.value(Output);
    if (given.has(Output) && output != "-"
        && (output.isEmpty() || QString::fromUtf8(output).toUtf8() != output))
        usageError(QuillmereList::tr("the output file's name must be valid UTF-8 and not empty; "
                                     "redirect standard output instead"));
}

// A file as the window saves it; standard output as every Unix tool that
// reads it expects lines to end.
LineEnd lineEndOf(const Given &given, bool toFile)
{
    const QByteArray name = given.values.value(LineEndOption);
    return given.has(Null) ? LineEnd::Nul
        : name == "lf"     ? LineEnd::Lf
        : name == "crlf"   ? LineEnd::CrLf
        : toFile           ? LineEnd::CrLf
                           : LineEnd::Lf;
}

// The names a listing keeps, by --include and --exclude.
std::function<bool(QByteArrayView)> keptNames(const Given &given)
{
    if (given.includes.isEmpty() && given.excludes.isEmpty())
        return {};
    std::vector<NamePattern> kept, dropped;
    for (const QByteArray &glob : given.includes)
        kept.emplace_back(glob, given.has(IgnoreCase));
    for (const QByteArray &glob : given.excludes)
        dropped.emplace_back(glob, given.has(IgnoreCase));
    return [kept, dropped](QByteArrayView name) {
        auto matches = [name](const NamePattern &p) { return p.matches(name); };
        return (kept.empty() || std::any_of(kept.begin(), kept.end(), matches))
            && std::none_of(dropped.begin(), dropped.end(), matches);
    };
}

bool toTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdout));
#else
    return ::isatty(STDOUT_FILENO);
#endif
}

} // namespace

Request readRequest(const QList<QByteArray> &arguments)
{
    const CommandLine line = parseCommandLine(arguments, LongOptions);
    if (!line.error.isEmpty())
        usageError(line.error);
    const Given given = readOptions(line.options);
    if (given.has(HelpOption))
        showTextAndExit(
            "quillmere-list", (QuillmereList::tr(Usage) + QuillmereList::tr(Help)).toUtf8());
    if (given.has(Version))
        showTextAndExit("quillmere-list", versionText("quillmere-list"));
    checkValues(given);
    if (line.operands.isEmpty())
        usageError(QuillmereList::tr("no folder given"));
    // Matches no name: surely not what was meant, but not wrong either.
    if (given.includes.contains(QByteArray()))
        printError("quillmere-list", QuillmereList::tr("an empty --include matches no name"));

    Request request;
    QSet<QByteArray> folders;
    for (const QByteArray &folder : line.operands) {
        const QByteArray path = cleanFolderPathBytes(folder);
        if (!folders.contains(path))
            request.folders << path;
        folders.insert(path);
    }
    request.recursive = given.has(Recursive);
    request.listing.hidden = given.has(All);
    request.listing.keep = keptNames(given);
    // The order the window shows once that column's header was clicked into
    // that direction, whatever was clicked before.
    if (given.has(Sort)) {
        request.sort
            = { true, given.values.value(Sort) == "extension" ? ExtensionColumn : NameColumn,
                  given.has(Reverse) ? Qt::DescendingOrder : Qt::AscendingOrder };
    }
    if (given.has(Output) && given.values.value(Output) != "-")
        request.output = given.values.value(Output);
    request.lineEnd = lineEndOf(given, !request.output.isEmpty());
    request.escaped
        = given.has(Escape) || (request.output.isEmpty() && !given.has(Literal) && toTerminal());
    return request;
}
