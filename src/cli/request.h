// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/folderlisting.h"
#include "core/textexport.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>

// The context of quillmere-list's own texts in the catalogues.
class QuillmereList
{
    Q_DECLARE_TR_FUNCTIONS(QuillmereList)
};

// What a command line asks of quillmere-list, read and checked whole before
// any folder is read.
struct Request
{
    // Each once, compared as given but for trailing separators, in the order given.
    QList<QByteArray> folders;
    bool recursive = false;
    ListingOptions listing; // hidden files, and the names --include and --exclude keep
    SortState sort; // not sorted without --sort
    LineEnd lineEnd = LineEnd::Lf;
    bool escaped = false; // names by the display rules rather than byte for byte
    QByteArray output; // the file of -o, empty for standard output
};

// The request of arguments, those after the program's name, as the system
// passed them. --help and --version end the program here with their text,
// bad usage with its message (status 2).
Request readRequest(const QList<QByteArray> &arguments);
