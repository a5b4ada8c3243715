// SPDX-License-Identifier: MIT
#include "list/folderchange.h"

#include "list/filelist.h"

FolderChange::FolderChange(
    FileList *list, ListedFolders before, FileArrangement shown, ListedFolders after)
    : m_list(list)
    , m_before(std::move(before))
    , m_shown(std::move(shown))
    , m_after(std::move(after))
{ }

void FolderChange::redo()
{
    if (m_listed)
        m_list->show(m_after, *m_listed);
    else
        m_list->listFolders(m_after, this);
}

void FolderChange::undo()
{
    m_list->show(m_before, m_shown);
}

void FolderChange::hold(HeldStorage &held) const
{
    held.add(m_shown);
    if (m_listed)
        held.add(*m_listed);
}
