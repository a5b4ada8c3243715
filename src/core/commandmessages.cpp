// SPDX-License-Identifier: MIT
#include "core/commandmessages.h"

#include "core/displaytext.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

QString quoted(QByteArrayView bytes)
{
    const QString shown = displayPath(bytes);
    const QString quotes = QCoreApplication::translate("CommandMessages", "'%1'",
        "a path or an argument in a message on standard error, in the quotes of the language");
    if (quotes != QLatin1StringView("'%1'"))
        return quotes.arg(shown);
    // As ls quotes a name that holds a quote: a shell reads it back the same.
    if (!shown.contains(u'\''))
        return u'\'' + shown + u'\'';
    if (!shown.contains(u'"') && !shown.contains(u'$') && !shown.contains(u'`')
        && !shown.contains(u'\\'))
        return u'"' + shown + u'"';
    return u'\'' + QString(shown).replace(u'\'', QLatin1StringView("'\\''")) + u'\'';
}

void printError(QByteArrayView program, const QString &message)
{
    const QByteArray line = program.toByteArray() + ": " + message.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

void exitOnUsageError(QByteArrayView program, const QString &message, const QString &usage)
{
    printError(program, message);
    const QString help = quoted(program.toByteArray() + " --help");
    const QByteArray hint = (usage
        + QCoreApplication::translate("CommandMessages", "Try %1 for more information.\n",
            "%1 is the program's name and --help, quoted")
              .arg(help))
                                .toUtf8();
    std::fwrite(hint.constData(), 1, size_t(hint.size()), stderr);
    std::exit(2);
}
