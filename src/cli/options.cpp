// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include "core/commandmessages.h"

#include <QCoreApplication>

#include <vector>

#include <getopt.h>

namespace {

bool hasShortName(const option &known)
{
    return known.val > 0 && known.val < 256;
}

// "-" returns each operand in its place, as option 1, so that options may
// follow operands even under POSIXLY_CORRECT; ":" tells a missing value
// (':') from the other errors ('?').
QByteArray shortOptions(const option *longOptions)
{
    QByteArray letters = "-:";
    for (const option *known = longOptions; known->name; ++known) {
        if (!hasShortName(*known))
            continue;
        letters += char(known->val);
        if (known->has_arg == required_argument)
            letters += ':';
    }
    return letters;
}

// getopt_long's message for the argument arg it turned down with result,
// told apart by optopt: the option's val, an unknown short option's byte, or
// 0 for a long name that is unknown or ambiguous. The option names stay as
// they are typed in every language.
QString failure(int result, QByteArrayView arg, const option *longOptions)
{
    const option *named = nullptr;
    for (const option *known = longOptions; known->name; ++known) {
        if (optopt && known->val == optopt)
            named = known;
    }
    const QString full = named ? quoted("--" + QByteArray(named->name)) : QString();
    if (result == ':' && arg.startsWith("--"))
        return QCoreApplication::translate("CommandLine", "option %1 requires an argument")
            .arg(full);
    if (result == ':')
        return QCoreApplication::translate("CommandLine", "option requires an argument -- %1")
            .arg(quoted(QByteArray(1, char(optopt))));
    // A known option turned down with '?' is a long one given a value it does not take.
    if (named)
        return QCoreApplication::translate("CommandLine", "option %1 doesn't allow an argument")
            .arg(full);
    if (optopt)
        return QCoreApplication::translate("CommandLine", "invalid option -- %1")
            .arg(quoted(QByteArray(1, char(optopt))));
    const qsizetype equals = arg.indexOf('=');
    const QByteArrayView name = arg.sliced(2, (equals < 0 ? arg.size() : equals) - 2);
    const QString given = quoted("--" + name.toByteArray());
    QString candidates;
    for (const option *known = longOptions; known->name; ++known) {
        if (QByteArrayView(known->name).startsWith(name))
            candidates += u' ' + quoted("--" + QByteArray(known->name));
    }
    if (candidates.isEmpty())
        return QCoreApplication::translate("CommandLine", "unrecognized option %1").arg(given);
    return QCoreApplication::translate("CommandLine", "option %1 is ambiguous; possibilities:%2")
        .arg(given, candidates);
}

} // namespace

CommandLine parseCommandLine(const QList<QByteArray> &args, const option *longOptions)
{
    // getopt_long takes an argv as main gets it, and points optarg into its strings.
    QList<QByteArray> copies = args;
    copies.prepend("quillmere-list");
    std::vector<char *> argv;
    for (QByteArray &arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int argc = int(copies.size());
    const QByteArray letters = shortOptions(longOptions);

    CommandLine line;
    opterr = 0; // it would write the user's bytes raw; failure() words the messages instead
    optind = 0; // a scan from the start, forgetting any before: glibc, musl and the BSDs agree
    for (int result;
         (result = getopt_long(argc, argv.data(), letters.constData(), longOptions, nullptr))
         != -1;) {
        if (result == '?' || result == ':') {
            line.error = failure(result, argv[size_t(optind - 1)], longOptions);
            return line;
        }
        if (result == 1)
            line.operands << optarg;
        else
            line.options.append({ result, optarg ? QByteArray(optarg) : QByteArray() });
    }
    for (int i = optind; i < argc; ++i)
        line.operands << argv[size_t(i)];
    return line;
}
