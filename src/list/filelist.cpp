// SPDX-License-Identifier: MIT
#include "list/filelist.h"

#include "core/filelistmodel.h"
#include "core/heaptuning.h"
#include "core/workerpool.h"
#include "list/folderchange.h"
#include "list/listwork.h"
#include "list/rowremoval.h"
#include "list/savejob.h"
#include "list/undohistory.h"

#include <QAction>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#ifdef Q_OS_UNIX
#include <poll.h>
#else
#include <QThread>
#endif

FileList::FileList(QObject *parent)
    : QObject(parent)
    , m_model(new FileListModel(this))
    , m_work(new ListWork(m_model, this))
    , m_history(new UndoHistory(
          [model = m_model]() -> const FileArrangement & { return model->arrangement(); }, this))
{
    // Every rebuild and sort allocates and frees buffers of many MiB.
    tuneHeapForLargeBuffers();
    connect(m_work, &ListWork::busyChanged, this, &FileList::setBusy);
    connect(m_work, &ListWork::started, this, [this] { emit workStarted(m_work->status()); });
    connect(m_work, &ListWork::rebuilt, this, [this](const QList<ListingFailure> &failures) {
        if (FolderChange *change = std::exchange(m_listing, nullptr))
            change->listed(m_model->arrangement());
        // The rows replaced are now the history's alone.
        m_history->trim();
        emit rebuilt(failures);
    });
    connect(m_work, &ListWork::cannotSort, this, &FileList::cannotSort);
}

FileList::~FileList()
{
    // Its steps refer to the work, which goes with this object.
    delete m_history;
}

bool FileList::isBusy() const
{
    return m_work->isBusy();
}

void FileList::setFolderReaders(FolderReaders readers)
{
    m_work->setFolderReaders(std::move(readers));
}

void FileList::setBusy(bool busy)
{
    // A change still being made is not undone half-way.
    m_history->setEnabled(!busy);
    emit busyChanged(busy);
    if (!busy && m_rebuildAfterChange)
        rebuild(*std::exchange(m_rebuildAfterChange, std::nullopt));
}

void FileList::rebuild(const ListedFolders &folders)
{
    // Rows being taken out or put back are in place first, each change then
    // a step of its own.
    if (m_work->isChanging()) {
        m_rebuildAfterChange = folders;
        return;
    }
    if (m_listing) {
        m_listing->setFolders(folders);
        listFolders(folders, m_listing);
        return;
    }
    m_history->push(
        std::make_unique<FolderChange>(this, m_folders, m_model->arrangement(), folders));
}

void FileList::show(const ListedFolders &folders, const FileArrangement &rows)
{
    // The folders this brings back, whose rows it selects.
    QStringList broughtBack;
    for (const ListedFolder &folder : folders) {
        if (!m_folders.contains(folder))
            broughtBack << folder.path;
    }
    setFolders(folders);
    m_work->restore(rows, broughtBack);
}

void FileList::listFolders(const ListedFolders &folders, FolderChange *change)
{
    setFolders(folders);
    m_listing = change;
    // Folders read again unchanged share the rows of the list before.
    m_work->rebuild(folders, change->shown());
}

void FileList::setFolders(const ListedFolders &folders)
{
    if (m_folders == folders)
        return;
    m_folders = folders;
    emit foldersChanged(m_folders);
}

void FileList::sort(int columnHeader)
{
    m_work->sort(columnHeader);
}

void FileList::cancel()
{
    m_work->cancel();
}

void FileList::removeRows(const std::vector<uint32_t> &positions, int keep)
{
    const FileArrangement &files = m_model->arrangement();
    if (isBusy() || files.order.size() <= 1 || positions.empty())
        return;
    auto removed = std::make_shared<RemovedRows>();
    removed->rows = files.rows;
    removed->state = files.state;
    removed->positions = positions;
    std::sort(removed->positions.begin(), removed->positions.end());
    removed->positions.erase(std::unique(removed->positions.begin(), removed->positions.end()),
        removed->positions.end());
    if (removed->positions.back() >= files.order.size())
        return;
    if (removed->positions.size() == files.order.size()) {
        const auto kept = std::lower_bound(
            removed->positions.begin(), removed->positions.end(), uint32_t(std::max(keep, 0)));
        removed->positions.erase(kept == removed->positions.end() ? kept - 1 : kept);
    }
    removed->taken.reserve(removed->positions.size());
    for (const uint32_t position : removed->positions)
        removed->taken.push_back(files.order[position]);
    m_history->push(std::make_unique<RowRemoval>(m_work, std::move(removed)));
}

void FileList::removeExtension(const QByteArray &extension, bool keep)
{
    m_work->prepareRemoval(extension, keep, [this](ListWork::Removal removal) {
        m_history->push(std::make_unique<RowRemoval>(
            m_work, std::move(removal.removed), std::move(removal.without)));
    });
}

void FileList::setHistoryBudget(qsizetype bytes)
{
    m_history->setBudget(bytes);
}

QAction *FileList::createUndoAction(QObject *parent) const
{
    return m_history->createUndoAction(parent, tr("&Undo"));
}

QAction *FileList::createRedoAction(QObject *parent) const
{
    return m_history->createRedoAction(parent, tr("Re&do"));
}

void FileList::copyAll(ListText what)
{
    if (m_model->rowCount() == 0)
        return;
    delete m_copy; // its result, if it ever comes, is dropped
    // A million names take a few hundred milliseconds to decode and escape:
    // written by a worker from a copy of the order, while the window goes on.
    auto *copy = new QFutureWatcher<QString>(this);
    m_copy = copy;
    connect(copy, &QFutureWatcherBase::finished, this, [this, copy] {
        QGuiApplication::clipboard()->setText(copy->result());
        copy->deleteLater();
        m_copy = nullptr;
    });
    copy->setFuture(QtConcurrent::run(
        workerPool(), [files = m_model->arrangement(), what] { return listText(files, what); }));
}

void FileList::save(const QString &target)
{
    auto *job = new SaveJob(m_model->arrangement(), target, m_saveHooks, this);
    m_saves << job;
    connect(job, &SaveJob::ended, this, [this, job](SaveResult result, const QString &reason) {
        m_saves.removeOne(job);
        job->deleteLater();
        emit saveEnded(job->target(), result, reason);
        if (m_saves.isEmpty())
            emit savesEnded();
    });
}

QStringList FileList::savingTargets() const
{
    QStringList targets;
    for (const SaveJob *job : m_saves)
        targets << job->target();
    return targets;
}

bool FileList::waitForSaves(int milliseconds, [[maybe_unused]] int interrupt)
{
    const QDeadlineTimer deadline(milliseconds);
#ifdef Q_OS_UNIX
    for (;;) {
        // A save whose worker has ended is told, never given up.
        for (SaveJob *job : QList(m_saves))
            job->tellEnd();
        if (m_saves.isEmpty())
            return true;
        std::vector<pollfd> ends;
        for (const SaveJob *job : std::as_const(m_saves))
            ends.push_back({ job->endDescriptor(), POLLIN, 0 });
        ends.push_back({ interrupt, POLLIN, 0 }); // poll() passes over a negative one
        const qint64 left = deadline.remainingTime();
        if (left == 0)
            return false;
        const int timeout = left < 0 ? -1 : int(std::min<qint64>(left, INT_MAX));
        const int ready = ::poll(ends.data(), nfds_t(ends.size()), timeout);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready > 0 && ends.back().revents != 0) {
            for (SaveJob *job : QList(m_saves))
                job->tellEnd();
            return m_saves.isEmpty();
        }
    }
#else
    // No descriptors to wait on: the saves' workers are asked now and then.
    for (;;) {
        for (SaveJob *job : QList(m_saves))
            job->tellEnd();
        if (m_saves.isEmpty())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
#endif
}

QList<FileList::GivenUp> FileList::giveUpSaves()
{
    QList<GivenUp> givenUp;
    for (SaveJob *job : std::as_const(m_saves)) {
        GivenUp save { job->target(), SaveGiveUp::GivenUp, {} };
        save.outcome = job->giveUp(&save.leftBehind);
        givenUp << save;
        job->deleteLater();
    }
    m_saves.clear();
    return givenUp;
}
