// SPDX-License-Identifier: MIT
#include "list/undohistory.h"

#include "core/arrangement.h"
#include "core/collation.h"
#include "core/workerpool.h"

#include <iterator>

namespace {

using Steps = std::vector<std::unique_ptr<HistoryStep>>;

// A step may be all that holds the list it replaced: hundreds of MiB of rows,
// order and keys at ten million files, tens of milliseconds to free. The
// window's thread does not wait for that.
void letGo(Steps steps)
{
    if (steps.empty())
        return;
    auto held = std::make_shared<Steps>(std::move(steps));
    runOnWorker([held]() mutable { held.reset(); });
}

} // namespace

void HeldStorage::add(const void *storage, qsizetype bytes)
{
    if (storage)
        m_pieces.insert(storage, bytes);
}

void HeldStorage::add(const FileArrangement &files)
{
    add(files.rows.get(), files.rows->memoryUse());
    add(files.order.storage(), qsizetype(files.order.memoryUse()));
    for (const auto &keys : files.keys)
        add(keys.get(), keys ? keys->memoryUse() : 0);
    add(files.folderKeys.get(), files.folderKeys ? files.folderKeys->memoryUse() : 0);
}

void HeldStorage::add(const RemovedRows &removed)
{
    add(removed.rows.get(), removed.rows ? removed.rows->memoryUse() : 0);
    add(&removed, qsizetype((removed.positions.capacity() + removed.taken.capacity()) * 4));
}

qsizetype HeldStorage::bytesBeyond(const HeldStorage &shown) const
{
    qsizetype bytes = 0;
    for (auto piece = m_pieces.cbegin(); piece != m_pieces.cend(); ++piece)
        bytes += shown.m_pieces.contains(piece.key()) ? 0 : piece.value();
    return bytes;
}

UndoHistory::UndoHistory(std::function<const FileArrangement &()> shown, QObject *parent)
    : QObject(parent)
    , m_shown(std::move(shown))
{ }

UndoHistory::~UndoHistory() = default;

void UndoHistory::push(std::unique_ptr<HistoryStep> step)
{
    step->redo();
    const auto undone = m_steps.begin() + qsizetype(m_done);
    letGo(Steps(std::make_move_iterator(undone), std::make_move_iterator(m_steps.end())));
    m_steps.erase(undone, m_steps.end());
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
    trim();
}

void UndoHistory::undo()
{
    if (!canUndo())
        return;
    m_steps[--m_done]->undo();
    trim();
}

void UndoHistory::redo()
{
    if (!canRedo())
        return;
    m_steps[m_done++]->redo();
    trim();
}

void UndoHistory::setEnabled(bool enabled)
{
    if (std::exchange(m_enabled, enabled) != enabled)
        emit changed();
}

qsizetype UndoHistory::heldBy(size_t from, size_t to) const
{
    HeldStorage shown, held;
    shown.add(m_shown());
    for (size_t step = from; step < to; ++step)
        m_steps[step]->hold(held);
    return held.bytesBeyond(shown);
}

qsizetype UndoHistory::heldBytes() const
{
    return heldBy(0, m_steps.size());
}

void UndoHistory::trim()
{
    Steps dropped;
    const auto dropFirst = [this, &dropped] {
        dropped.push_back(std::move(m_steps.front()));
        m_steps.erase(m_steps.begin());
        --m_done;
    };
    while (m_steps.size() > size_t(MaxSteps) && m_done > 0)
        dropFirst();
    // The oldest steps done go first, then the steps undone furthest back in
    // time to do again; never the last step done nor the last undone.
    while (m_done > 1 && heldBy(0, m_steps.size()) > m_budget)
        dropFirst();
    while (m_steps.size() > m_done + 1 && heldBy(0, m_steps.size()) > m_budget) {
        dropped.push_back(std::move(m_steps.back()));
        m_steps.pop_back();
    }
    letGo(std::move(dropped));
    emit changed();
}
