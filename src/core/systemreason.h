// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The C library's reason for the error number `error` ("No such file or
// directory" for ENOENT), worded as ls and find word it: from the C
// library's own catalogue, in the language of the program's LC_MESSAGES (or
// LANGUAGE's list where that is not C), English where the catalogue or the
// locale is missing. Every message of the window and of quillmere-list that
// gives a system's reason takes it from here, so that Qt's catalogue, which
// rewords a few (qt_error_string()), never mixes its words in. Reads the
// program's locale as setlocale() left it when first called; the application
// object sets it from the environment. Thread-safe.
QString systemReason(int error);
