// SPDX-License-Identifier: MIT
#include "widgets/typeaheadsearch.h"

#include "core/filelistmodel.h"
#include "core/workerpool.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFutureWatcher>

#include <algorithm>

TypeAheadSearch::TypeAheadSearch(QAbstractItemView *view, FileListModel *files)
    : QObject(view)
    , m_view(view)
    , m_files(files)
{
    // After any of these a position found in the rows before may name
    // another row: the search is ended early, and done again once it has.
    const auto changing = [this] {
        ++m_changes;
        if (m_running)
            m_running->cancel();
    };
    connect(files, &QAbstractItemModel::modelAboutToBeReset, this, changing);
    connect(files, &QAbstractItemModel::layoutAboutToBeChanged, this, changing);
    connect(files, &QAbstractItemModel::rowsAboutToBeRemoved, this, changing);
    connect(files, &QAbstractItemModel::rowsAboutToBeInserted, this, changing);
    connect(files, &QAbstractItemModel::rowsAboutToBeMoved, this, changing);
}

TypeAheadSearch::~TypeAheadSearch()
{
    stop();
}

int TypeAheadSearch::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TypeAheadSearch::type(const QString &key)
{
    // As in Qt's views, a key typed into an empty list counts for nothing.
    if (m_files->rowCount() == 0)
        return;
    const bool within
        = m_typedAt.isValid() && m_typedAt.elapsed() <= QApplication::keyboardInputInterval();
    m_typedAt.start();
    const TypedKey typed = m_typed.type(key, within);
    // The current row moved since the keys not answered yet: they are
    // overtaken, as that move came after them. Rows that changed moved it
    // with them: every key is looked for again from where it stands now.
    const int current = currentRow();
    if (m_fromChanges == m_changes && current != m_from)
        m_keys.clear();
    m_from = current;
    m_fromChanges = m_changes;
    m_keys.push_back(typed);
    start();
}

void TypeAheadSearch::start()
{
    stop();
    auto *search = new QFutureWatcher<qsizetype>(this);
    m_running = search;
    connect(search, &QFutureWatcherBase::finished, this, [this, search, changes = m_changes] {
        const QFuture<qsizetype> future = search->future();
        search->deleteLater();
        m_running = nullptr;
        if (changes != m_changes) {
            // Found in rows that have changed since: again, in the rows shown.
            m_from = currentRow();
            m_fromChanges = m_changes;
            start();
            return;
        }
        answered(future.resultCount() > 0 ? future.result() : -1);
    });
    search->setFuture(
        runWithPromise<qsizetype>([files = m_files->arrangement(), from = qsizetype(m_from),
                                      keys = m_keys](QPromise<qsizetype> &promise) {
            promise.addResult(
                typeAhead(files, from, keys, [&promise] { return promise.isCanceled(); }));
        }));
}

void TypeAheadSearch::stop()
{
    if (!m_running)
        return;
    m_running->disconnect(this);
    m_running->cancel(); // its answer, if it ever comes, is dropped
    m_running->deleteLater();
    m_running = nullptr;
}

void TypeAheadSearch::answered(qsizetype found)
{
    m_keys.clear();
    if (found < 0 || currentRow() != m_from)
        return;
    const QModelIndex match
        = m_files->index(int(found), std::max(m_view->currentIndex().column(), 0));
    // The one selected row, whatever keys are held as the answer comes.
    m_view->selectionModel()->setCurrentIndex(
        match, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(match);
}
