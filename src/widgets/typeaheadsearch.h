// SPDX-License-Identifier: MIT
#pragma once

#include "core/typeahead.h"

#include <QElapsedTimer>
#include <QObject>

#include <vector>

class FileListModel;
class QAbstractItemView;
class QFutureWatcherBase;

// Type-ahead for a view of the file list, searched on a worker over a copy of
// the rows, so that a million rows never stall the window. Keys add up and
// step through the rows as in Qt's own views (see core/typeahead.h); the row
// found becomes the view's current and selected row, scrolled to. A newer key
// replaces a search still running, with every key not yet answered; a search
// whose rows changed meanwhile is done again on the rows shown, from the
// current row as it is now; one whose current row was moved meanwhile by
// other means is dropped, as that move came after the keys.
class TypeAheadSearch : public QObject
{
    Q_OBJECT

public:
    TypeAheadSearch(QAbstractItemView *view, FileListModel *files);
    ~TypeAheadSearch() override;

    // A key's text, as QAbstractItemView::keyboardSearch() is given it.
    void type(const QString &key);
    bool isRunning() const { return m_running != nullptr; }

private:
    int currentRow() const;
    void start();
    void stop();
    void answered(qsizetype found);

    QAbstractItemView *m_view;
    FileListModel *m_files;
    TypedText m_typed;
    QElapsedTimer m_typedAt;
    // The keys not answered yet, and the current row they look from.
    std::vector<TypedKey> m_keys;
    int m_from = -1;
    // Changes of the rows so far, and when m_from was taken.
    quint64 m_changes = 0;
    quint64 m_fromChanges = 0;
    QFutureWatcherBase *m_running = nullptr;
};
