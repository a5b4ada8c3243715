// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"
#include "core/listedfolder.h"
#include "list/undohistory.h"

#include <optional>

class FileList;

// One change of the listed folders in the undo history: Add, a folder's
// Remove, a drop, reading the folders again, including a folder's
// sub-folders or not, Use Parent Folder. redo() lists the folders after
// it, the first time by reading them, later by showing the rows that reading
// gave; undo() shows the folders and rows from before it, with their
// removals and order. It holds both lists, sharing their rows, order and
// keys with the list shown and the other steps: what it costs is what no
// other holds, a whole list where the listing found other rows.
class FolderChange : public HistoryStep
{
public:
    FolderChange(FileList *list, ListedFolders before, FileArrangement shown, ListedFolders after);

    void redo() override;
    void undo() override;
    void hold(HeldStorage &held) const override;

    // The listing still running lists these folders instead.
    void setFolders(const ListedFolders &after) { m_after = after; }
    // The listing ended, with these rows.
    void listed(const FileArrangement &rows) { m_listed = rows; }
    // The rows shown before it, which a listing of the same rows shares.
    const FileArrangement &shown() const { return m_shown; }

private:
    FileList *m_list;
    ListedFolders m_before;
    FileArrangement m_shown;
    ListedFolders m_after;
    std::optional<FileArrangement> m_listed;
};
