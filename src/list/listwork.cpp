// SPDX-License-Identifier: MIT
#include "list/listwork.h"

#include "core/filelistmodel.h"
#include "core/fileselection.h"
#include "core/workerpool.h"

#include <QFutureWatcher>

#include <mutex>

struct ListWork::Relay
{
    std::mutex mutex;
    ListWork *to = nullptr; // null once it is gone
};

ListWork::ListWork(FileListModel *files, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_relay(std::make_shared<Relay>())
{
    m_relay->to = this;
}

ListWork::~ListWork()
{
    // The worker ends on its own; nothing waits for it, and a preview it
    // makes from now on goes nowhere.
    stop();
    const std::lock_guard lock(m_relay->mutex);
    m_relay->to = nullptr;
}

template<typename Result, typename Apply>
void ListWork::start(Kind kind, QFuture<Result> future, Apply apply)
{
    auto *watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, apply] {
        QFuture<Result> finished = watcher->future();
        watcher->deleteLater();
        m_work = nullptr;
        // The rows are in place before the list says it is free, so that what
        // waits for that finds them; what is told of them comes after, so
        // that a warning about them finds the commands back.
        const Told told = apply(finished);
        if (!m_work)
            end();
        if (told)
            told();
    });
    watcher->setFuture(std::move(future));
    m_work = watcher;
    m_kind = kind;
    if (!std::exchange(m_busy, true))
        emit busyChanged(true);
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
    m_previewed = false;
}

void ListWork::end()
{
    if (std::exchange(m_busy, false))
        emit busyChanged(false);
}

void ListWork::restore(const FileArrangement &rows, const QStringList &broughtBack)
{
    Q_ASSERT(!isBusy());
    const PickedPlace place = m_files->selection()->place();
    m_files->setArrangement(rows);
    if (broughtBack.isEmpty()) {
        pickWhenFound([place, rows] { return place.find(rows); }, FileSelection::Restore);
        return;
    }
    pickWhenFound(
        [broughtBack, rows] {
            return PickedPlace::broughtBack(PickedPlace::rowsOf(rows, broughtBack));
        },
        FileSelection::Show);
}

void ListWork::pickWhenFound(std::function<PickedPlace::Found()> find, int how)
{
    // Not the list's busy work: nothing waits for it, and a change of the
    // rows meanwhile drops it.
    const FileArrangement shown = m_files->arrangement();
    auto *finding = new QFutureWatcher<PickedPlace::Found>(this);
    connect(finding, &QFutureWatcherBase::finished, this, [this, finding, shown, how] {
        finding->deleteLater();
        const FileArrangement &now = m_files->arrangement();
        if (now.rows != shown.rows || !now.order.shares(shown.order)
            || m_files->selection()->pickedSince() || finding->future().resultCount() == 0)
            return;
        m_files->selection()->pick(finding->result(), how);
    });
    finding->setFuture(runForResult(std::move(find)));
}

ListingPreview::Show ListWork::previewRelay(const std::shared_ptr<const PickedPlace> &place)
{
    // Called on a worker, which finds there the rows picked among the new rows.
    return [relay = m_relay, status = std::weak_ptr<WorkStatus>(m_status), place](
               ListingPreview::Shown shown) {
        PickedPlace::Found found = place->find(shown.files, shown.kept);
        const std::lock_guard lock(relay->mutex);
        ListWork *to = relay->to;
        if (!to)
            return;
        QMetaObject::invokeMethod(
            to,
            [to, status, shown = std::move(shown), found = std::move(found)]() mutable {
                if (status.lock() == to->m_status && to->m_work && to->m_kind == Rebuilding)
                    to->showRows(std::move(shown.files), shown.kept, found);
            },
            Qt::QueuedConnection);
    };
}

void ListWork::rebuild(const ListedFolders &folders, const FileArrangement &like)
{
    Q_ASSERT(!isChanging());
    // The last request wins; the one it replaces ends without a word.
    stop();
    m_status = std::make_shared<WorkStatus>();
    // Rows are shown as they are read, keeping the rows picked where the new
    // rows hold them; those of a rebuild replaced since are dropped.
    const auto place = std::make_shared<const PickedPlace>(m_files->selection()->place());
    const SortState state = m_files->sortState();
    start(Rebuilding,
        listAndArrange(folders, m_readers, state, m_status, m_files->arrangement().keyLimit,
            previewRelay(place), like, place),
        [this, state](QFuture<Rebuilt> future) -> Told {
            Rebuilt made = future.takeResult();
            const bool sorted = made.files.state == state;
            showRows(std::move(made.files), made.previewKept, made.found);
            m_previewed = false;
            return [this, sorted, failures = made.failures] {
                emit rebuilt(failures);
                if (!sorted)
                    emit cannotSort();
            };
        });
}

void ListWork::showRows(FileArrangement files, qsizetype kept, const PickedPlace::Found &found)
{
    const bool extending = m_previewed && kept == m_files->rowCount();
    if (extending)
        m_files->extendArrangement(std::move(files));
    else
        m_files->setArrangement(std::move(files));
    m_previewed = true;
    // Rows picked found as they come, until the user picks others.
    FileSelection *picked = m_files->selection();
    if (!picked->pickedSince() && !(extending && found.isEmpty()))
        picked->pick(found, extending ? FileSelection::Add : FileSelection::Restore);
}

bool ListWork::sort(int columnHeader)
{
    if (isBusy())
        return false;
    const SortState to = headerClicked(m_files->sortState(), columnHeader);
    m_status = std::make_shared<WorkStatus>();
    start(Sorting, sortArrangement(m_files->arrangement(), to, m_status),
        [this](QFuture<FileArrangement> future) -> Told {
            if (future.resultCount() == 0)
                return {}; // stopped: the rows keep their order
            FileArrangement files = future.takeResult();
            const bool tooLarge = !files.state.sorted;
            m_files->setArrangement(std::move(files));
            if (!tooLarge)
                return {};
            return [this] { emit cannotSort(); };
        });
    return true;
}

namespace {

// Runs change on a copy of files on a worker. Such changes are O(n), a
// fraction of a listing, and are not stopped: the undo history must match the list.
template<typename Change> auto changeInBackground(FileArrangement files, Change change)
{
    return runForResult(
        [files = std::move(files), change]() mutable { return change(std::move(files)); });
}

} // namespace

bool ListWork::prepareRemoval(const QByteArray &extension, bool keep, Prepared prepared)
{
    if (isBusy())
        return false;
    start(Changing,
        changeInBackground(m_files->arrangement(),
            [extension, keep](FileArrangement files) {
                auto removed
                    = std::make_shared<RemovedRows>(takeByExtension(files, extension, keep));
                return Removal { std::move(removed), std::move(files) };
            }),
        [prepared](QFuture<Removal> future) -> Told {
            Removal removal = future.takeResult();
            if (!removal.removed->taken.empty())
                prepared(std::move(removal));
            return {};
        });
    return true;
}

void ListWork::show(FileArrangement without)
{
    Q_ASSERT(without.rows == m_files->arrangement().rows);
    m_files->setArrangement(std::move(without));
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
    FileSelection *picked = m_files->selection();
    if (removed->taken.size() == 1 && removed->state == m_files->sortState()) {
        m_files->putRowsBack(*removed);
        picked->pick(PickedPlace::broughtBack({ removed->positions }), FileSelection::Show);
        return true;
    }
    struct PutBack
    {
        FileArrangement files;
        PickedPlace::Found found;
    };
    start(Changing,
        changeInBackground(m_files->arrangement(),
            [removed = *removed](FileArrangement files) {
                ::putBack(files, removed);
                return PutBack { files,
                    PickedPlace::broughtBack(displayPositions(files, removed.taken)) };
            }),
        [this, picked](QFuture<PutBack> future) -> Told {
            PutBack back = future.takeResult();
            m_files->setArrangement(std::move(back.files));
            picked->pick(back.found, FileSelection::Show);
            return {};
        });
    return true;
}

bool ListWork::takeAgain(const std::shared_ptr<RemovedRows> &removed)
{
    if (!isCurrent(removed))
        return false;
    // One row still where it was taken from, the very row: removed in place,
    // so the view keeps its place.
    const FileArrangement &files = m_files->arrangement();
    if (removed->taken.size() == 1 && removed->state == files.state
        && removed->positions.front() < files.order.size()
        && files.order[removed->positions.front()] == removed->taken.front()) {
        *removed = m_files->takeRowAt(int(removed->positions.front()));
        return true;
    }
    start(Changing,
        changeInBackground(m_files->arrangement(),
            [removed = *removed](FileArrangement files) mutable {
                ::takeAgain(files, removed);
                return Removal { std::make_shared<RemovedRows>(std::move(removed)),
                    std::move(files) };
            }),
        [this, removed](QFuture<Removal> future) -> Told {
            Removal removal = future.takeResult();
            m_files->setArrangement(std::move(removal.without));
            // Where they were taken from now, for the next undo.
            *removed = std::move(*removal.removed);
            return {};
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
