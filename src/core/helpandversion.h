// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What --version shows for the program named program, in the layout of GNU
// tools: its name and Quillmere's version, the copyright and the licence.
QByteArray versionText(QByteArrayView program);

// Writes the help or the version to standard output and ends the program:
// status 0, or 2 after "PROGRAM: write error: REASON" on standard error when
// the write fails, in the language of the translations installed. A reader
// that has gone is such a failure too, as for GNU tools, where SIGPIPE is
// ignored.
[[noreturn]] void showTextAndExit(QByteArrayView program, QByteArrayView text);
