// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"

#include <QString>
#include <QStringView>

#include <vector>

// Type-ahead in the file list: the letters typed find the next row whose name,
// as shown, starts with them, as Qt's item views find rows
// (QAbstractItemView::keyboardSearch()). Pure functions of the rows, so that
// a worker can search a copy of them while the window goes on.

// The first display position at or after from, going round from the last row
// to the first, whose name as shown (displayText()) starts with prefix, letter
// case aside as QString compares it (Qt::CaseInsensitive); -1 when none does,
// or when stopped (asked every few thousand rows). O(n).
qsizetype findShownName(const FileArrangement &files, qsizetype from, QStringView prefix,
    const StopRequested &stopped = {});

// What one typed key looks for, and where from.
struct TypedKey
{
    QString prefix;
    // A new search looks from the row after the current one, or from the
    // first row when none is current.
    bool startsOver = false;
    // One letter typed again and again looks from the row after the current
    // one too (the first row counting as current when none is), for the
    // letters as typed, as Qt 6's views look: a letter typed again after a
    // pause is what steps through the rows it starts.
    bool repeats = false;
};

// The text typed so far: a key typed within the keyboard interval of the one
// before adds to it, any other key (or none) starts it over.
class TypedText
{
public:
    TypedKey type(const QString &key, bool withinInterval);

private:
    QString m_text;
};

// Where keys take the current row from the display position current (-1 for
// none), each key looking from where the one before took it: the last
// position found, or -1 when no key found one, or when stopped.
qsizetype typeAhead(const FileArrangement &files, qsizetype current,
    const std::vector<TypedKey> &keys, const StopRequested &stopped = {});
