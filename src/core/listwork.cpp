// SPDX-License-Identifier: MIT
#include "core/listwork.h"

#include "core/filelistmodel.h"
#include "core/workerpool.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

ListWork::ListWork(FileListModel *files, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_reader(listFolder)
{ }

ListWork::~ListWork()
{
    // The worker ends on its own; nothing waits for it.
    stop();
}

template<typename Result, typename Done>
void ListWork::start(Kind kind, QFuture<Result> future, Done done)
{
    auto *watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done] {
        QFuture<Result> finished = watcher->future();
        end();
        done(finished);
    });
    watcher->setFuture(std::move(future));
    m_work = watcher;
    m_kind = kind;
    if (kind != Changing)
        emit started();
}

void ListWork::stop()
{
    if (!m_work)
        return;
    if (m_status)
        m_status->requestStop();
    m_work->disconnect(this);
    m_work->cancel(); // its result, if it ever comes, is dropped
    m_work->deleteLater();
    m_work = nullptr;
}

void ListWork::end()
{
    if (m_work)
        m_work->deleteLater();
    m_work = nullptr;
    emit ended();
}

void ListWork::rebuild(const QStringList &folders)
{
    // The last request wins; the one it replaces ends without a word.
    stop();
    m_status = std::make_shared<WorkStatus>();
    start(Rebuilding,
        listAndArrange(
            folders, m_reader, m_files->sortState(), m_status, m_files->arrangement().keyLimit),
        [this](QFuture<Rebuilt> future) {
            Rebuilt made = future.takeResult();
            const bool sorted = made.files.state == m_files->sortState();
            m_files->setArrangement(std::move(made.files));
            emit rebuilt(made.failures);
            if (!sorted)
                emit cannotSort();
        });
}

bool ListWork::sort(int columnHeader)
{
    if (isBusy())
        return false;
    const SortState to = headerClicked(m_files->sortState(), columnHeader);
    m_status = std::make_shared<WorkStatus>();
    start(Sorting, sortArrangement(m_files->arrangement(), to, m_status),
        [this](QFuture<FileArrangement> future) {
            if (future.resultCount() == 0)
                return; // stopped: the rows keep their order
            FileArrangement files = future.takeResult();
            const bool tooLarge = !files.state.sorted;
            m_files->setArrangement(std::move(files));
            if (tooLarge)
                emit cannotSort();
        });
    return true;
}

namespace {

// An arrangement with rows taken out or put back, and the record of it.
struct Changed
{
    FileArrangement files;
    RemovedRows removed;
};

// Runs change on a copy of files on a worker. Such changes are O(n), a
// fraction of a listing, and are not stopped: the undo history must match the list.
template<typename Change> QFuture<Changed> changeInBackground(FileArrangement files, Change change)
{
    return QtConcurrent::run(workerPool(), [files = std::move(files), change]() mutable {
        Changed changed { std::move(files), {} };
        change(changed);
        return changed;
    });
}

} // namespace

bool ListWork::removeExtension(const QByteArray &extension, bool keep)
{
    if (isBusy())
        return false;
    start(Changing,
        changeInBackground(m_files->arrangement(),
            [extension, keep](Changed &changed) {
                changed.removed = takeByExtension(changed.files, extension, keep);
            }),
        [this](QFuture<Changed> future) {
            Changed changed = future.takeResult();
            if (changed.removed.taken.empty())
                return; // nothing to take, nothing to undo
            m_files->setArrangement(std::move(changed.files));
            emit removed(std::make_shared<RemovedRows>(std::move(changed.removed)));
        });
    return true;
}

bool ListWork::isCurrent(const std::shared_ptr<RemovedRows> &removed) const
{
    return !isBusy() && removed && removed->rows == m_files->arrangement().rows;
}

bool ListWork::putBack(const std::shared_ptr<RemovedRows> &removed)
{
    if (!isCurrent(removed))
        return false;
    // One row, in an order unchanged since: inserted, so the view keeps its place.
    if (removed->taken.size() == 1 && removed->state == m_files->sortState()) {
        m_files->putRowsBack(*removed);
        return true;
    }
    start(Changing,
        changeInBackground(m_files->arrangement(),
            [removed = *removed](Changed &changed) { ::putBack(changed.files, removed); }),
        [this](QFuture<Changed> future) { m_files->setArrangement(future.takeResult().files); });
    return true;
}

bool ListWork::takeAgain(const std::shared_ptr<RemovedRows> &removed)
{
    if (!isCurrent(removed))
        return false;
    const FileArrangement &files = m_files->arrangement();
    if (removed->taken.size() == 1 && removed->state == files.state
        && removed->positions.front() < files.order.size()
        && files.order[removed->positions.front()] == removed->taken.front()) {
        *removed = m_files->takeRowAt(int(removed->positions.front()));
        return true;
    }
    start(Changing,
        changeInBackground(m_files->arrangement(),
            [removed = *removed](Changed &changed) {
                changed.removed = removed;
                ::takeAgain(changed.files, changed.removed);
            }),
        [this, removed](QFuture<Changed> future) {
            Changed changed = future.takeResult();
            m_files->setArrangement(std::move(changed.files));
            // Where they were taken from now, for the next undo.
            *removed = std::move(changed.removed);
        });
    return true;
}

void ListWork::cancel()
{
    if (!m_work || m_kind == Changing)
        return;
    if (m_kind == Sorting) {
        // Nothing of a sort is kept: the rows stay in their present order.
        stop();
        end();
        return;
    }
    // A rebuild stops before its next read and hands over what it read in full.
    m_status->requestStop();
}
