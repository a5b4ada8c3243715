// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace bench {

// The first rows of an Add, painted while the folder is still read, and the
// longest stall while rows come in, warm and sorted or not; then, where the
// page cache can be dropped (root), the first listing of a cold folder
// against cold find and getdents64, quillmere-list cold, and whether reading
// the folder ahead helps. cli is quillmere-list. Returns an exit status.
int measureStreaming(const std::vector<std::string> &folders, const std::string &cli,
    const std::string &workDir, int runs);

} // namespace bench
