// SPDX-License-Identifier: MIT
#pragma once

#include <QtCore/qnamespace.h>

#include <cstdint>
#include <span>
#include <vector>

class FileRows;
class SortKeys;

// Orders `order` (row numbers) for one column and direction: by the first
// keys, rows that tie there by the next keys (the extension's, then the
// name's; or the name's alone), then by the name's bytes; all of that turned
// round when descending. Rows that still tie hold the same name (from two
// folders, say) and stay by row number, ascending both ways. So the result
// depends on the set of rows alone, never on their present order.
// O(n log n) comparisons, nearly all of them on the eight-byte key prefix held
// in the index itself rather than on the keys. With workers above one the
// rows are first parted by their leading key bits, and the parts sorted on
// that many threads: the same order, in the same memory.
void sortRows(std::vector<uint32_t> &order, std::span<const SortKeys *const> keys,
    const FileRows &rows, Qt::SortOrder direction, int workers = 1);

// Turns an `order` that sortRows() made, in either direction, into what it
// makes for the other direction, in O(n).
void reverseSortedRows(std::vector<uint32_t> &order, const FileRows &rows);
