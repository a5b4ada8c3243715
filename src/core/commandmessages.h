// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>

// What both programs write on standard error, in the user's language, one
// quoting style to each: English quotes as ls does ('list.txt'), German
// „list.txt“, French « list.txt ».

// A path or an argument as it goes into a one-line message: by the display
// rules (control and bidi characters would break the line, drive the
// terminal or turn the text round), then quoted in the language of the
// messages. Messages put it in with a single arg() of all their parts, so
// that a "%1" in a name stays as it is.
QString quoted(QByteArrayView bytes);

// "PROGRAM: MESSAGE" and a line feed. The program's name stays untranslated
// in front, as scripts and users look for it.
void printError(QByteArrayView program, const QString &message);

// printError(), then the usage line and where to find more; status 2.
[[noreturn]] void exitOnUsageError(
    QByteArrayView program, const QString &message, const QString &usage);
