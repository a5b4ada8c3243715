// SPDX-License-Identifier: MIT
#include "list/filelist.h"

#include "core/filelistmodel.h"
#include "core/heaptuning.h"
#include "core/workerpool.h"
#include "list/folderchange.h"
#include "list/listwork.h"
#include "list/rowremoval.h"
#include "list/undohistory.h"

#include <QAction>
#include <QClipboard>
#include <QFutureWatcher>
#include <QGuiApplication>

#include <algorithm>
#include <vector>

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
        if (m_model->rowCount() == 0 && !m_folders.isEmpty())
            explainEmpty(failures);
    });
    connect(m_work, &ListWork::cannotSort, this, &FileList::cannotSort);
    connect(m_history, &UndoHistory::changed, this, &FileList::stateChanged);
    for (const auto rowsChanged :
        { &QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved })
        connect(m_model, rowsChanged, this, &FileList::stateChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &FileList::stateChanged);
}

FileList::State FileList::state() const
{
    return { isBusy(), m_model->rowCount() > 0, !m_folders.isEmpty(), m_history->canUndo(),
        m_history->canRedo() };
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
    emit stateChanged();
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

void FileList::explainEmpty(const QList<ListingFailure> &failures)
{
    QStringList failed;
    for (const ListingFailure &failure : failures)
        failed << failure.folder;
    auto *finding = new QFutureWatcher<EmptyListing>(this);
    // Said only of the listing it looked at, still shown, sorted or not.
    connect(finding, &QFutureWatcherBase::finished, this,
        [this, finding, listed = std::weak_ptr(m_model->arrangement().rows)] {
            finding->deleteLater();
            if (listed.lock() == m_model->arrangement().rows && m_model->rowCount() == 0)
                emit listedNothing(finding->result());
        });
    finding->setFuture(
        runForResult([folders = m_folders, failed] { return whyEmpty(folders, failed); }));
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

void FileList::undo()
{
    m_history->undo();
}

void FileList::redo()
{
    m_history->redo();
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
    copy->setFuture(
        runForResult([files = m_model->arrangement(), what] { return listText(files, what); }));
}
