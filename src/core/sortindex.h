// SPDX-License-Identifier: MIT
#pragma once

#include <QtCore/qnamespace.h>

#include <cstdint>
#include <vector>

class SortKeys;

// Reorders `order` (row numbers in display order) by the rows' keys, keeping
// rows with equal keys in their present relative order in both directions.
// O(n log n) comparisons, nearly all of them on the eight-byte key prefix held
// in the index itself rather than on the keys.
void stableSortRows(std::vector<uint32_t> &order, const SortKeys &keys, Qt::SortOrder direction);

// Turns an `order` that is sorted by keys, in either direction, into the same
// rows sorted the other way, with rows of equal keys still in their present
// relative order: exactly what stableSortRows() would give, in O(n).
void reverseSortedRows(std::vector<uint32_t> &order, const SortKeys &keys);
