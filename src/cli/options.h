// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

#include <span>

// One option a command takes: a short letter (or 0), a long name, and whether
// it takes a value.
struct KnownOption
{
    char shortName;
    const char *longName;
    bool takesValue;
};

struct GivenOption
{
    qsizetype index; // into the known options
    QByteArray value;
};

struct CommandLine
{
    QList<GivenOption> options; // in the order given
    QList<QByteArray> operands;
    QByteArray error; // a usage error, empty when none
};

// Reads arguments as GNU getopt_long does, on bytes: options and operands in
// any order, "--" ends the options, short options may be grouped ("-r0") and
// take their value joined or as the next argument ("-oFILE", "-o FILE"), long
// ones as "--name=VALUE" or "--name VALUE" and abbreviated while only one name
// starts so. Errors are worded as getopt words them, the user's text quoted.
CommandLine parseCommandLine(
    const QList<QByteArray> &args, std::span<const KnownOption> knownOptions);
