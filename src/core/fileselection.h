// SPDX-License-Identifier: MIT
#pragma once

#include "core/pickedplace.h"

#include <QItemSelectionModel>
#include <QPersistentModelIndex>

class FileListModel;

// The selection of the file list, its current row and the row at the top of
// its view: the user's place, which the model owns so that the work on the
// rows can keep it. A list read again finds the rows picked by what they
// are (place(), then pick() with what PickedPlace::find() found), Undo
// selects the rows it brings back; views show this selection and tell
// where they are scrolled.
class FileSelection : public QItemSelectionModel
{
    Q_OBJECT

public:
    explicit FileSelection(FileListModel *files);

    // The display positions of the selected rows, ascending. O(rows selected).
    std::vector<uint32_t> selectedPositions() const;
    // The row at the top of the view, which views set as they scroll; -1 none.
    void setTopRow(int position);
    int topRow() const { return m_top.isValid() ? m_top.row() : -1; }

    // The place now, to be found among other rows; pickedSince() tells from
    // now on whether the user has picked other rows.
    PickedPlace place();
    // Qt's selection takes a while to make of many runs of rows (4 ms for
    // 1,000 runs, 100 ms for 5,000: it merges them pairwise): past this
    // many, only the first run found is picked.
    static constexpr int MostRuns = 1000;

    // How rows found are picked: as the place the user had (the views put
    // the rows back where they were), or as rows brought back (the views
    // show them); in place of the selection or besides it.
    enum Pick { Restore = 0, Show = 1, Add = 2 };
    // Selects the rows found as runs of rows, makes the row found current,
    // and tells the views (placeFound()).
    void pick(const PickedPlace::Found &found, int how = Restore);
    // Whether the selection or current row changed since the last pick() by
    // other means: the user picked other rows.
    bool pickedSince() const { return m_changes != m_changesAtPick; }

    // Called by the model before rows at display positions [first, last] go,
    // ahead of the selection's own handling, which drops them from it; and
    // once a reset has ended, which every view has heard of and cleared its
    // selection for.
    void rowsGoing(int first, int last);
    void keepAfterReset();

signals:
    // Rows were picked for the user; top and current are their display
    // positions (-1 none), which views show at the place they had or, with
    // show, scrolled to.
    void placeFound(int top, int current, bool show);

private:
    // Selects the row now at position, or the last row, so that removing
    // rows one after another trims a run.
    void selectAfterRemoval(int position);

    const FileListModel *m_files;
    // The selected row's position while rows are taken out; -1 none.
    int m_removing = -1;
    // The selected row across a reset: its rows, position and row number.
    struct
    {
        const void *rows = nullptr;
        int position = -1;
        uint32_t row = 0;
    } m_kept;
    QPersistentModelIndex m_top;
    quint64 m_changes = 0;
    quint64 m_changesAtPick = 0;
};
