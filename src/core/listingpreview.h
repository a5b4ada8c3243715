// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"

#include <functional>
#include <memory>

class FileRows;

// Rows of a listing still under way, shown as they come: now and then the
// rows listed so far, arranged as the finished listing will arrange them, so
// that each preview's order is the final order of its rows. The first goes
// out as soon as there are rows; the next once `interval` milliseconds have
// passed and at least seven times as long as the last one took to arrange,
// so that previews never take more than an eighth of a core from the listing
// and the sort keys made beside it (a sorted preview of millions of rows
// makes its keys anew, seconds of a core), and a listing of a second or less
// (a warm million files) pays for one small preview only. One is arranged at
// a time, on a worker.
class ListingPreview
{
public:
    // A preview: its rows, and how many rows of the one before it begins
    // with (0 when a folder that failed half-way took some back).
    struct Shown
    {
        FileArrangement files;
        qsizetype kept = 0;
    };
    // Called on a worker, one preview after another.
    using Show = std::function<void(Shown shown)>;

    ListingPreview(const SortState &state, qsizetype keyLimit, Show show, int interval = 1000);
    // Closes it.
    ~ListingPreview();
    ListingPreview(const ListingPreview &) = delete;
    ListingPreview &operator=(const ListingPreview &) = delete;

    // Appends rows that follow the rows given before, which nothing changes
    // from now on; any thread may call it. Kept as they come, and copied
    // together only for a preview, so that a long listing is not copied
    // again each time its copy grows.
    void append(std::shared_ptr<const FileRows> rows);
    // The listing dropped every row from count on.
    void truncate(qsizetype count);
    // Shows no more: a preview being arranged is abandoned, and one being
    // shown is waited for. Returns how many rows of the last preview shown
    // the listing still begins with.
    qsizetype close();

    struct Shared; // what the worker arranging a preview shares with this

private:
    std::shared_ptr<Shared> m_shared;
};
