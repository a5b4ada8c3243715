// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

struct option;

struct CommandLine
{
    QList<std::pair<int, QByteArray>> options; // each option's val and value, in the order given
    QList<QByteArray> operands;
    QString error; // a usage error in the user's language, empty when none
};

// Reads args, the arguments after the program's name, with getopt_long(3)
// over the options of longOptions, ended by an entry of zeros as getopt_long
// takes them. An entry's val is its short letter, or 256 and above when it
// has a long name only; flag is null. Options and operands come in any order,
// whatever POSIXLY_CORRECT says, and "--" ends the options. Errors are worded
// as getopt_long words them, the user's text quoted as messages quote it, an
// ambiguous abbreviation with the names it could stand for.
CommandLine parseCommandLine(const QList<QByteArray> &args, const option *longOptions);
