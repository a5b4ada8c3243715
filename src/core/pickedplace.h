// SPDX-License-Identifier: MIT
#pragma once

#include "core/arrangement.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

// Where the user is in the file list: the rows picked, the current row and
// the row at the top of the view, known by what they are (the folder they
// were listed from and their name's bytes), so that they can be found again
// among other rows: the list read again, or one that Undo brings back.
class PickedPlace
{
public:
    // Rows picked past this many are not looked for: the current and top
    // rows still are. Finding them costs a pass over the rows either way,
    // but selecting many rows costs the window a while (see FileSelection).
    static constexpr qsizetype MostRows = 10000;

    // Display positions in some rows of the rows found, ascending; -1 none.
    struct Found
    {
        std::vector<uint32_t> selected;
        int current = -1;
        int top = -1;
        bool isEmpty() const { return selected.empty() && current < 0 && top < 0; }
    };

    PickedPlace() = default;
    // The rows of files at the display positions selected (ascending),
    // current and top (-1 for none).
    PickedPlace(
        const FileArrangement &files, const std::vector<uint32_t> &selected, int current, int top);

    bool isEmpty() const { return m_names.empty(); }

    // Where in files the rows picked are that are among its rows from row
    // number `from` on, as a listing that goes on adds them. O(those rows of
    // the folders picked from, and a pass over the order when any is found).
    Found find(const FileArrangement &files, qsizetype from = 0) const;

    // The display positions in files of the rows listed from the folders
    // given. O(rows).
    static std::vector<uint32_t> rowsOf(const FileArrangement &files, const QStringList &folders);
    // Rows brought back at these display positions (ascending): all picked,
    // the first current; past MostRows, the first alone.
    static Found broughtBack(std::vector<uint32_t> positions);

private:
    enum Role : uint8_t { Selected = 1, Current = 2, Top = 4 };
    void pick(const FileRows &rows, uint32_t row, uint8_t role);

    std::vector<QByteArray> m_names; // the storage of the names below
    QHash<QString, QHash<QByteArrayView, uint8_t>> m_byFolder; // folder -> name -> roles
    // The names' lengths: most rows are passed over on theirs, unhashed.
    std::vector<bool> m_lengths = std::vector<bool>(size_t(FileRows::MaxNameLength) + 1);
};
