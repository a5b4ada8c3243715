// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "list/undohistory.h"

#include <memory>
#include <optional>

class ListWork;

// One removal of rows in the undo history: redo() takes the rows out,
// undo() puts them back where they were, or, sorted since, where the sort
// puts them. The rows are known by what they are, not where they stand.
class RowRemoval : public HistoryStep
{
public:
    // Takes out the rows that removed names, wherever they stand.
    RowRemoval(ListWork *work, std::shared_ptr<RemovedRows> removed);
    // The same, with the rows shown without them already worked out from
    // the rows shown now, which the first redo() then shows.
    RowRemoval(ListWork *work, std::shared_ptr<RemovedRows> removed, FileArrangement without);

    void redo() override;
    void undo() override;
    void hold(HeldStorage &held) const override;

private:
    ListWork *m_work;
    std::shared_ptr<RemovedRows> m_removed;
    std::optional<FileArrangement> m_without;
};
