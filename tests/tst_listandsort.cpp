// SPDX-License-Identifier: MIT
#include "core/collation.h"
#include "core/filerows.h"
#include "core/keysahead.h"
#include "core/listandsort.h"
#include "core/workerpool.h"
#include "core/workstatus.h"
#include "testdir.h"

#include <QDir>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>

namespace {

// Waits for a worker's future, a generous while on a busy machine.
template<typename T> bool finished(const QFuture<T> &future)
{
    return QTest::qWaitFor([&future] { return future.isFinished(); }, 30000);
}

} // namespace

class tst_ListAndSort : public QObject
{
    Q_OBJECT

private slots:
    void stopNamesEveryFolderNotReadInFull();
    void sortedOnWorkersUnlessStopped();
};

void tst_ListAndSort::stopNamesEveryFolderNotReadInFull()
{
    TestDir first, second, third;
    QCOMPARE(first.createFiles({ "1", "2" }), QString());
    QCOMPARE(second.createFiles({ "3" }), QString());
    QCOMPARE(third.createFiles({ "4" }), QString());
    const auto status = std::make_shared<WorkStatus>();
    // The stop comes while the second folder's read is stuck, as on a hung
    // mount: the listing ends without waiting for it.
    QSemaphore stuck;
    const QString missing = first.filePath("missing");
    const FolderReader reader
        = [&](const QString &folder, FileRows &rows, QString *error, const BeforeRead &beforeRead) {
              if (folder == missing) { // as if it went away after a first read
                  rows.append("gone 1");
                  rows.append("gone 2");
                  beforeRead(rows.size());
              }
              if (folder == second.path()) {
                  status->requestStop();
                  stuck.acquire();
              }
              return listFolder(folder, rows, error, beforeRead);
          };
    FileRows rows;
    const auto ahead = std::make_shared<KeysAhead>(SortState { true, 0, Qt::AscendingOrder }, 1000);
    const QList<ListingFailure> failures = listFolders(
        { missing, first.path(), second.path(), third.path() }, reader, rows, status, ahead);
    QCOMPARE(rows.size(), 2);
    // Keys made while listing are those of the rows kept, not of the rows
    // a failed folder handed over; none on one core.
    if (const auto keys = ahead->take(rows.size()); keys[0]) {
        Collator collator;
        const SortKeys expected(rows, false, collator);
        QCOMPARE(keys[0]->key(0), expected.key(0));
        QCOMPARE(keys[0]->key(1), expected.key(1));
    }
    // Each row knows its folder, for the paths the file list copies.
    QCOMPARE(rows.folder(0), first.path());
    QCOMPARE(rows.folder(1), first.path());
    QCOMPARE(failures.size(), 3);
    QCOMPARE(failures[0].folder, missing);
    QCOMPARE(failures[0].reason, qt_error_string(ENOENT));
    QCOMPARE(failures[1].folder, second.path());
    QCOMPARE(failures[1].reason, listingCancelled());
    QCOMPARE(failures[2].folder, third.path());
    QCOMPARE(failures[2].reason, listingCancelled());
    QCOMPARE(status->filesFound(), 2);
    stuck.release();
    QVERIFY2(workerPool()->waitForDone(30000), "the stuck read to end once let go");
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
