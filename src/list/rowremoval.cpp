// SPDX-License-Identifier: MIT
#include "list/rowremoval.h"

#include "list/listwork.h"

RowRemoval::RowRemoval(ListWork *work, std::shared_ptr<RemovedRows> removed)
    : m_work(work)
    , m_removed(std::move(removed))
{ }

RowRemoval::RowRemoval(
    ListWork *work, std::shared_ptr<RemovedRows> removed, FileArrangement without)
    : RowRemoval(work, std::move(removed))
{
    m_without = std::move(without);
}

void RowRemoval::redo()
{
    // Worked out on a worker for the first redo, which follows at once;
    // later redos find the rows again.
    if (m_without) {
        m_work->show(std::move(*m_without));
        m_without.reset();
        return;
    }
    m_work->takeAgain(m_removed);
}

void RowRemoval::undo()
{
    m_work->putBack(m_removed);
}

void RowRemoval::hold(HeldStorage &held) const
{
    held.add(*m_removed);
    if (m_without)
        held.add(*m_without);
}
