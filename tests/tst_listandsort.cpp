// SPDX-License-Identifier: MIT
#include "core/collation.h"
#include "core/filerows.h"
#include "core/keysahead.h"
#include "core/listandsort.h"
#include "core/sortindex.h"
#include "core/workerpool.h"
#include "core/workstatus.h"

#include <QHash>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Waits for a worker's future, a generous while on a busy machine.
template<typename T> bool finished(const QFuture<T> &future)
{
    return QTest::qWaitFor([&future] { return future.isFinished(); }, 30000);
}

// A folder as the test's reader lists it: `rows` names in batches of `batch`,
// asking beforeRead before each batch. Before batch failAt it fails, having
// handed over the batches before; before batch stopAt it asks for a stop.
// One that hangs asks for a stop and then hangs in its read, as on a hung
// mount, until the test lets it go.
struct Folder
{
    QString name;
    int rows = 1;
    int batch = 100;
    int failAt = -1;
    int stopAt = -1;
    bool hangs = false;
};

QByteArray rowName(const QString &folder, int row)
{
    return folder.toUtf8() + ' ' + QByteArray::number(row);
}

// What the test's reader did, shared with the tasks that read.
struct Reads
{
    std::mutex mutex;
    std::condition_variable changed;
    QHash<QString, int> batches; // read into rows, per folder
    int running = 0;
    bool letGo = false; // a hanging read may end
};

FolderReader readerOf(const QList<Folder> &folders, const std::shared_ptr<Reads> &reads,
    const std::shared_ptr<WorkStatus> &status)
{
    return [=](const QString &name, FileRows &rows, QString *error, const BeforeRead &beforeRead) {
        const Folder folder = *std::find_if(
            folders.begin(), folders.end(), [&](auto &f) { return f.name == name; });
        std::unique_lock lock(reads->mutex);
        ++reads->running;
        auto end = [&](bool listed, const QString &reason) {
            if (!listed) {
                rows.truncate(0);
                *error = reason;
            }
            lock.lock();
            --reads->running;
            reads->changed.notify_all();
            return listed;
        };
        if (folder.hangs) {
            status->requestStop();
            reads->changed.wait(lock, [&] { return reads->letGo; });
        }
        lock.unlock();
        if (folder.hangs)
            return end(false, listingCancelled());
        for (int batch = 0, row = 0; row < folder.rows; ++batch) {
            if (batch == folder.stopAt)
                status->requestStop();
            if (!beforeRead(rows.size()))
                return end(false, listingCancelled());
            if (batch == folder.failAt)
                return end(false, QStringLiteral("gone"));
            for (int i = 0; i < folder.batch && row < folder.rows; ++i, ++row)
                rows.append(rowName(name, row));
            const std::lock_guard guard(reads->mutex);
            ++reads->batches[name];
        }
        return end(true, {});
    };
}

} // namespace

class tst_ListAndSort : public QObject
{
    Q_OBJECT

private slots:
    void namesEveryFolderNotReadInFull_data();
    void namesEveryFolderNotReadInFull();
    void sortedOnWorkersUnlessStopped();
};

void tst_ListAndSort::namesEveryFolderNotReadInFull_data()
{
    QTest::addColumn<QList<Folder>>("folders");
    QTest::addColumn<QStringList>("kept"); // the folders whose rows are kept
    QTest::addColumn<QStringList>("failures"); // "folder: reason"
    QTest::addColumn<QList<int>>("batches"); // read per folder
    QTest::addColumn<int>("poolThreads"); // the worker pool's limit meanwhile; 0 as it is

    // The listing ends without waiting for the hung read.
    QTest::newRow("a stop while a read hangs")
        << QList<Folder> { { .name = "gone", .rows = 4, .batch = 2, .failAt = 1 },
               { .name = "first", .rows = 2 }, { .name = "hung", .hangs = true },
               { .name = "third" } }
        << QStringList { "first" }
        << QStringList { "gone: gone", "hung: cancelled", "third: cancelled" }
        << QList<int> { 1, 2, 0, 0 } << 0;
    // A read hung for good holds no place in the pool: the next listing gets a thread.
    QTest::newRow("a read hangs in a pool of one thread")
        << QList<Folder> { { .name = "first", .rows = 2 }, { .name = "hung", .hangs = true } }
        << QStringList { "first" } << QStringList { "hung: cancelled" } << QList<int> { 2, 0 } << 1;
    // The folder being read hears of the stop at its next batch.
    QTest::newRow("a stop part-way through a folder")
        << QList<Folder> { { .name = "first", .rows = 3 },
               { .name = "many", .rows = 200, .batch = 10, .stopAt = 5 },
               { .name = "after", .rows = 2 } }
        << QStringList { "first" } << QStringList { "many: cancelled", "after: cancelled" }
        << QList<int> { 2, 5, 0 } << 0;
    // The keys of the rows after the failed folder follow the rows kept.
    QTest::newRow("a folder failing part-way, then one read in full")
        << QList<Folder> { { .name = "first", .rows = 300 },
               { .name = "broken", .rows = 500, .failAt = 2 }, { .name = "last", .rows = 400 } }
        << QStringList { "first", "last" } << QStringList { "broken: gone" }
        << QList<int> { 6, 2, 4 } << 0;
}

void tst_ListAndSort::namesEveryFolderNotReadInFull()
{
    QFETCH(QList<Folder>, folders);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, failures);
    QFETCH(QList<int>, batches);
    QFETCH(int, poolThreads);
    const int threads = workerPool()->maxThreadCount();
    const auto restore = qScopeGuard([threads] { workerPool()->setMaxThreadCount(threads); });
    if (poolThreads)
        workerPool()->setMaxThreadCount(poolThreads);
    const auto status = std::make_shared<WorkStatus>();
    const auto reads = std::make_shared<Reads>();
    const auto letGo = [reads] {
        const std::lock_guard lock(reads->mutex);
        reads->letGo = true;
        reads->changed.notify_all();
    };
    // However the test ends, a hanging read does not hold its thread for good.
    const auto letGoAtEnd = qScopeGuard(letGo);
    ListedFolders names;
    for (const Folder &folder : folders)
        names << folder.name;
    FileRows rows;
    const auto ahead = std::make_shared<KeysAhead>(
        SortState { true, 0, Qt::AscendingOrder }, SortKeys::MaxBytes);
    const QList<ListingFailure> failed
        = listFolders(names, readerOf(folders, reads, status), rows, status, ahead);

    QStringList named;
    for (const ListingFailure &failure : failed)
        named << failure.folder + ": "
                + (failure.reason == listingCancelled() ? "cancelled" : failure.reason);
    QCOMPARE(named, failures);
    // Each row knows its folder, for the paths the file list copies.
    qsizetype row = 0;
    for (const QString &folder : kept) {
        const Folder &plan = folders[names.indexOf(folder)];
        for (int i = 0; i < plan.rows; ++i, ++row) {
            QCOMPARE(rows.name(row), QByteArrayView(rowName(folder, i)));
            QCOMPARE(rows.folder(row), folder);
        }
    }
    QCOMPARE(rows.size(), row);
    QCOMPARE(status->filesFound(), rows.size());
    // Keys made while listing are those of the rows kept, numbered as the
    // listing's rows; none on one core.
    const ColumnKeys keys = ahead->take(rows.size());
    QCOMPARE(bool(keys[0]), QThread::idealThreadCount() > 1);
    if (keys[0]) {
        Collator collator;
        const SortKeys expected(rows, false, collator);
        for (uint32_t i = 0; i < uint32_t(rows.size()); ++i)
            QVERIFY2(qstrcmp(keys[0]->key(i), expected.key(i)) == 0,
                qPrintable(QStringLiteral("the key of row %1").arg(i)));
    }

    // Read again on the pool while a hung read still holds its thread.
    const qsizetype first = names.indexOf(ListedFolder(kept.first()));
    const auto status2 = std::make_shared<WorkStatus>();
    const QFuture<Rebuilt> again = listAndArrange(
        { names[first] }, readerOf(folders, reads, status2), SortState {}, status2);
    QVERIFY2(finished(again), "a listing to end while another read hangs");
    QCOMPARE(again.result().files.order.size(), size_t(folders[first].rows));

    letGo();
    std::unique_lock lock(reads->mutex);
    QVERIFY2(reads->changed.wait_for(
                 lock, std::chrono::seconds(30), [&] { return reads->running == 0; }),
        "every read to end once a hanging one is let go");
    QList<int> read;
    for (const ListedFolder &folder : names)
        read << reads->batches.value(folder.path);
    QCOMPARE(read, batches);
}

void tst_ListAndSort::sortedOnWorkersUnlessStopped()
{
    FileRows rows;
    for (int i = 0; i < 20000; ++i)
        rows.append(QByteArray::number(i));
    FileArrangement files;
    QVERIFY(arrangeRows(files, std::move(rows), SortState {}));
    const auto status = std::make_shared<WorkStatus>();
    status->requestStop();
    QFuture<FileArrangement> future
        = sortArrangement(files, { SortState { true, 0, Qt::AscendingOrder } }, status);
    QVERIFY2(finished(future), "the sort to end");
    QCOMPARE(future.resultCount(), 0);

    // Not stopped, a task of the rebuilds' pool shares the sort out on other
    // threads and waits for them: the order is the one thread's.
    const SortState byName { true, 0, Qt::DescendingOrder };
    future = sortArrangement(files, byName, std::make_shared<WorkStatus>());
    QVERIFY2(finished(future), "the sort to end");
    files.workers = 1;
    QVERIFY(changeSortState(files, byName));
    QCOMPARE(future.result().order, files.order);
}

QTEST_GUILESS_MAIN(tst_ListAndSort)
#include "tst_listandsort.moc"
