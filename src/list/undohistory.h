// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

struct FileArrangement;
struct RemovedRows;

// The storage that steps of the history and the list shown hold, each piece
// counted once however many of them share it.
class HeldStorage
{
public:
    void add(const void *storage, qsizetype bytes);
    // Its rows, order and keys.
    void add(const FileArrangement &files);
    void add(const RemovedRows &removed);
    // The bytes held here and not in shown.
    qsizetype bytesBeyond(const HeldStorage &shown) const;

private:
    QHash<const void *, qsizetype> m_pieces;
};

// One step of the undo history: redo() does it, undo() takes it back.
class HistoryStep
{
public:
    virtual ~HistoryStep() = default;
    virtual void redo() = 0;
    virtual void undo() = 0;
    // What it keeps so that it can be undone and done again.
    virtual void hold(HeldStorage &held) const = 0;
};

// The file list's undo history: the steps done, then those undone since. It
// keeps MaxSteps steps, and no more storage beyond the list shown than
// Budget, the oldest steps going first; the last step done and the one
// undone last stay whatever they hold, so that the last change can always
// be undone and done again.
class UndoHistory : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxSteps = 20;
    static constexpr qsizetype Budget = qsizetype(512) * 1024 * 1024;

    // shown gives the list shown now, whose storage the budget leaves out.
    UndoHistory(std::function<const FileArrangement &()> shown, QObject *parent = nullptr);
    ~UndoHistory() override;

    // Does step and puts it last, in place of the steps undone.
    void push(std::unique_ptr<HistoryStep> step);
    void undo();
    void redo();
    bool canUndo() const { return m_enabled && m_done > 0; }
    bool canRedo() const { return m_enabled && m_done < m_steps.size(); }
    // Refuses Undo and Redo while not, as while the list is busy.
    void setEnabled(bool enabled);
    // A lower budget, so that tests can reach it.
    void setBudget(qsizetype bytes) { m_budget = bytes; }
    // Drops the oldest steps while the history holds more than its budget
    // beyond the list shown; done after every step and whenever a listing ends.
    void trim();
    // Storage the steps hold beyond the list shown, and how many there are.
    qsizetype heldBytes() const;
    int count() const { return int(m_steps.size()); }

signals:
    // Whether Undo or Redo can be done may have changed.
    void changed();

private:
    // What steps [from, to) hold beyond the list shown.
    qsizetype heldBy(size_t from, size_t to) const;

    std::function<const FileArrangement &()> m_shown;
    std::vector<std::unique_ptr<HistoryStep>> m_steps;
    size_t m_done = 0; // m_steps[0, m_done) are done
    bool m_enabled = true;
    qsizetype m_budget = Budget;
};
