// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"

#include <memory>

class FileRows;
class ListingPreview;

// The sort keys of rows made while more rows are still being listed, on a
// task of the worker pool a few thousand names behind the listing: reading a
// folder keeps one core in the system, the keys take the other, and a sorted
// listing then costs little more than the listing. The keys are the bytes
// SortKeys makes, so the order is the same.
//
// Rows are handed over in listing order, under a ticket that a failed folder
// voids: a read left stuck in the system cannot add rows that were given up.
// On one core it makes nothing: arrangeRows() makes the keys after the listing.
class KeysAhead
{
public:
    // Ahead of a listing that is to be arranged as state says, with at most
    // keyLimit bytes of keys per column. The rows handed over go on to
    // preview too, when given, whether or not keys are made.
    KeysAhead(const SortState &state, qsizetype keyLimit,
        std::shared_ptr<ListingPreview> preview = nullptr);
    ~KeysAhead();
    KeysAhead(const KeysAhead &) = delete;
    KeysAhead &operator=(const KeysAhead &) = delete;

    // A ticket for rows that follow the first `firstRow` rows of the listing.
    int begin(qsizetype firstRow);
    // Hands over the names of rows [from, to) of rows, which under ticket
    // follow those handed over before. Copies them, so any thread may call it
    // while no other changes rows. A voided ticket is ignored.
    void add(int ticket, const FileRows &rows, qsizetype from, qsizetype to);
    // The listing dropped every row from count on: their keys go, and the
    // ticket of the rows being handed over is void.
    void truncate(qsizetype count);
    // Once the listing holds `rows` rows, all handed over: the keys made for
    // them, helping to make the rest. Columns past the key limit, or not
    // needed, are left null for arrangeRows() to deal with. Ends the handing over.
    ColumnKeys take(qsizetype rows);

    struct Shared; // what the thread making keys shares with this

private:
    std::shared_ptr<Shared> m_shared;
};
