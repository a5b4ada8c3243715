// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include "core/displaytext.h"

namespace {

QByteArray shown(QByteArrayView text)
{
    return displayText(text).toUtf8();
}

} // namespace

CommandLine parseCommandLine(
    const QList<QByteArray> &args, std::span<const KnownOption> knownOptions)
{
    CommandLine line;
    auto fail = [&line](const QByteArray &error) {
        line.error = error;
        return line;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray &arg = args[i];
        if (arg == "--") {
            line.operands += args.mid(i + 1);
            break;
        }
        if (arg.startsWith("--")) {
            const qsizetype equals = arg.indexOf('=');
            const QByteArray name = arg.mid(2, equals < 0 ? -1 : equals - 2);
            qsizetype found = -1;
            QList<qsizetype> candidates;
            for (size_t s = 0; s < knownOptions.size(); ++s) {
                const QByteArrayView longName(knownOptions[s].longName);
                if (longName == name) {
                    found = qsizetype(s);
                    break;
                }
                if (longName.startsWith(name))
                    candidates << qsizetype(s);
            }
            if (found < 0 && candidates.size() == 1)
                found = candidates.front();
            const QByteArray quoted = "'--" + shown(name) + '\'';
            if (found < 0 && candidates.isEmpty())
                return fail("unrecognized option " + quoted);
            if (found < 0) {
                QByteArray error = "option " + quoted + " is ambiguous; possibilities:";
                for (const qsizetype c : std::as_const(candidates))
                    error += " '--" + QByteArray(knownOptions[size_t(c)].longName) + '\'';
                return fail(error);
            }
            const KnownOption &known = knownOptions[size_t(found)];
            const QByteArray full = "'--" + QByteArray(known.longName) + '\'';
            if (!known.takesValue && equals >= 0)
                return fail("option " + full + " doesn't allow an argument");
            QByteArray value;
            if (equals >= 0)
                value = arg.mid(equals + 1);
            else if (known.takesValue && ++i < args.size())
                value = args[i];
            else if (known.takesValue)
                return fail("option " + full + " requires an argument");
            line.options.append({ found, value });
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            line.operands << arg;
            continue;
        }
        for (qsizetype c = 1; c < arg.size(); ++c) {
            qsizetype found = -1;
            for (size_t s = 0; s < knownOptions.size(); ++s)
                if (knownOptions[s].shortName && knownOptions[s].shortName == arg[c])
                    found = qsizetype(s);
            if (found < 0)
                return fail("invalid option -- '" + shown(arg.mid(c, 1)) + '\'');
            if (!knownOptions[size_t(found)].takesValue) {
                line.options.append({ found, QByteArray() });
                continue;
            }
            if (c + 1 < arg.size())
                line.options.append({ found, arg.mid(c + 1) });
            else if (++i < args.size())
                line.options.append({ found, args[i] });
            else
                return fail("option requires an argument -- '" + arg.mid(c, 1) + '\'');
            break;
        }
    }
    return line;
}
