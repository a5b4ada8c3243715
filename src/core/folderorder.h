// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

class FileRows;
class SortKeys;

// Where each row's folder comes in the order of folder paths, as sort keys
// ahead of the column's own: rows listed from sub-folders sort folder by
// folder. Folders are ordered part by part, each part as names are compared
// (natural, ignoring case, in the collation's language, then by its bytes),
// a folder's own files before those of its sub-folders; the rows of the same
// path from two listed folders share their key, so that the column decides
// between them. A row's folder is its path before the last '/', "" for a
// file of the folder listed. O(rows), plus a sort of the folders. Null
// past the keys' limit of bytes.
std::shared_ptr<const SortKeys> folderOrderKeys(const FileRows &rows);
