// SPDX-License-Identifier: MIT
#include "core/arrangement.h"
#include "core/collation.h"
#include "core/keysahead.h"
#include "core/listingpreview.h"
#include "core/sortindex.h"
#include "rows.h"

#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <numeric>

namespace {

FileArrangement arranged(const QList<QByteArray> &names, const SortState &state, int workers = 0,
    qsizetype keyLimit = UINT32_MAX)
{
    FileArrangement files;
    files.workers = workers;
    files.keyLimit = keyLimit;
    arrangeRows(files, rowsOf(names), state);
    return files;
}

SortState sortedBy(int key, Qt::SortOrder order)
{
    return SortState { true, key, order };
}

} // namespace

class tst_Arrangement : public QObject
{
    Q_OBJECT

private slots:
    void headerClickRule();
    void tiesByNameBytesThenListPosition();
    void orderDependsOnColumnAndDirectionOnly_data();
    void orderDependsOnColumnAndDirectionOnly();
    void reversingEqualsSortingTheOtherWay();
    void previewsKeepTheFinalOrder_data();
    void previewsKeepTheFinalOrder();
};

void tst_Arrangement::headerClickRule()
{
    // One direction for the whole list, turned on every click whichever header.
    SortState state;
    state = headerClicked(state, 1);
    QCOMPARE(state, sortedBy(0, Qt::DescendingOrder));
    state = headerClicked(state, 1);
    QCOMPARE(state, sortedBy(0, Qt::AscendingOrder));
    state = headerClicked(state, 2);
    QCOMPARE(state, sortedBy(1, Qt::DescendingOrder));
    state = headerClicked(state, 1);
    QCOMPARE(state, sortedBy(0, Qt::AscendingOrder));
}

void tst_Arrangement::tiesByNameBytesThenListPosition()
{
    // Rows 0 and 3 hold one name (two folders); others differ only in case.
    const QList<QByteArray> names = { "b.txt", "a.doc", "B.txt", "b.txt", "a.DOC", "c.TXT" };
    auto order = [&](const SortState &state) { return arranged(names, state).order; };
    using Order = std::vector<uint32_t>;
    QCOMPARE(order(sortedBy(0, Qt::AscendingOrder)), (Order { 4, 1, 2, 0, 3, 5 }));
    // Everything turns round but the list position of the same name.
    QCOMPARE(order(sortedBy(0, Qt::DescendingOrder)), (Order { 5, 0, 3, 2, 1, 4 }));
    // Equal extensions (case ignored) by name, then bytes, then position.
    QCOMPARE(order(sortedBy(1, Qt::AscendingOrder)), (Order { 4, 1, 2, 0, 3, 5 }));
    QCOMPARE(order(sortedBy(1, Qt::DescendingOrder)), (Order { 5, 0, 3, 2, 1, 4 }));
    // A name without extension comes first by extension, ascending.
    QCOMPARE(arranged({ "z.a", "y", "x.b", "w" }, sortedBy(1, Qt::AscendingOrder)).order,
        (Order { 3, 1, 0, 2 }));
}

void tst_Arrangement::orderDependsOnColumnAndDirectionOnly_data()
{
    // Threads sharing out keys and sort: 0 as the machine decides.
    QTest::addColumn<int>("workers");
    // Before every name: with a long one, no key differs in its first eight bytes.
    QTest::addColumn<QByteArray>("prefix");
    QTest::newRow("as the cores allow") << 0 << QByteArray();
    QTest::newRow("one thread") << 1 << QByteArray();
    QTest::newRow("two threads") << 2 << QByteArray();
    QTest::newRow("five threads") << 5 << QByteArray();
    QTest::newRow("two threads, one long prefix") << 2 << QByteArray("the same long prefix ");
}

void tst_Arrangement::orderDependsOnColumnAndDirectionOnly()
{
    QFETCH(int, workers);
    QFETCH(QByteArray, prefix);
    // Many ties: case, accents, numbers, invalid bytes, the same name twice,
    // names alike well past the keys' first eight bytes.
    QRandomGenerator random(19);
    const char *const stems[] = { "a", "A", "á", "file", "File", "FILE", "x\xff", "x\xfe", "",
        "a-long-name-alike-past-the-prefix", "A-Long-Name-Alike-Past-The-Prefix" };
    const char *const extensions[] = { ".txt", ".TXT", ".Txt", ".doc", "", ".tar.gz", "." };
    QList<QByteArray> names;
    for (int i = 0; i < 5000; ++i)
        names << prefix + stems[random.bounded(int(std::size(stems)))]
                + QByteArray::number(random.bounded(40))
                + extensions[random.bounded(int(std::size(extensions)))];
    const FileRows rows = rowsOf(names);
    Collator collator(QLocale(QStringLiteral("en_US")));
    const SortKeys nameKeys(rows, false, collator), extensionKeys(rows, true, collator);
    // Keys made on several threads are the same bytes.
    const SortKeys shared(rows, false, collator, {}, SortKeys::MaxBytes, qMax(workers, 2));
    size_t keyBytes = 0;
    for (uint32_t row = 0; row < uint32_t(rows.size()); ++row) {
        QCOMPARE(shared.key(row), nameKeys.key(row));
        keyBytes += std::strlen(nameKeys.key(row)) + 1;
    }
    QVERIFY(!SortKeys(
        rows, false, collator, [] { return true; }, SortKeys::MaxBytes, workers)
                 .complete());
    // One byte short of all the keys leaves the rows unsorted, as in listing order.
    const SortState byName = sortedBy(0, Qt::AscendingOrder);
    QVERIFY(arranged(names, byName, workers, qsizetype(keyBytes)).state.sorted);
    const FileArrangement tooLarge = arranged(names, byName, workers, qsizetype(keyBytes) - 1);
    QVERIFY(!tooLarge.state.sorted);
    QVERIFY(std::is_sorted(tooLarge.order.begin(), tooLarge.order.end()));

    // Keys made while listing are the same bytes: handed over in chunks, one
    // cut across by a truncate, and a dropped folder's rows refused even
    // when its read goes on (they are the wrong names on purpose).
    if (QThread::idealThreadCount() > 1) {
        Collator system;
        const SortKeys names0(rows, false, system), extensions0(rows, true, system);
        // All the name keys fit the limit; one byte short, none are given,
        // so that the arrangement finds them too large and leaves the rows unsorted.
        qsizetype bytes = 0;
        for (uint32_t row = 0; row < uint32_t(rows.size()); ++row)
            bytes += qsizetype(std::strlen(names0.key(row))) + 1;
        for (const qsizetype limit : { bytes, bytes - 1 }) {
            KeysAhead limited(byName, limit);
            limited.add(limited.begin(0), rows, 0, rows.size());
            QCOMPARE(bool(limited.take(rows.size())[0]), limit == bytes);
        }
        KeysAhead ahead(sortedBy(1, Qt::AscendingOrder), SortKeys::MaxBytes);
        const qsizetype half = rows.size() / 2;
        int ticket = ahead.begin(0);
        for (qsizetype from = 0; from < half + 250; from += 700)
            ahead.add(ticket, rows, from, qMin(from + 700, half + 250));
        ahead.truncate(half);
        const int next = ahead.begin(half);
        ahead.add(ticket, rows, 0, 300);
        ahead.add(next, rows, half, rows.size());
        const ColumnKeys made = ahead.take(rows.size());
        QVERIFY(made[0] && made[1]);
        for (uint32_t row = 0; row < uint32_t(rows.size()); ++row) {
            QCOMPARE(made[0]->key(row), names0.key(row));
            QCOMPARE(made[1]->key(row), extensions0.key(row));
        }
    }

    // The order written out as a plain comparison of the keys.
    auto expected = [&](const SortState &state) {
        std::vector<uint32_t> order(size_t(rows.size()));
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            int c = state.column == 1 ? std::strcmp(extensionKeys.key(a), extensionKeys.key(b)) : 0;
            if (c == 0)
                c = std::strcmp(nameKeys.key(a), nameKeys.key(b));
            if (c == 0)
                c = rows.name(a).compare(rows.name(b));
            if (c == 0)
                return a < b;
            return state.order == Qt::AscendingOrder ? c < 0 : c > 0;
        });
        return order;
    };

    // Random histories of header clicks, each from a fresh unsorted list.
    for (int history = 0; history < 12; ++history) {
        FileArrangement files = arranged(names, SortState {}, workers);
        for (int click = 0; click < 6; ++click) {
            const SortState to = headerClicked(files.state, 1 + random.bounded(2));
            QVERIFY(changeSortState(files, to));
            QCOMPARE(files.state, to);
            QVERIFY2(files.order == expected(to),
                qPrintable(QStringLiteral("history %1, click %2").arg(history).arg(click)));
        }
        // A rebuild in the same state gives the same order.
        QCOMPARE(arranged(names, files.state, workers).order, files.order);
    }
}

void tst_Arrangement::reversingEqualsSortingTheOtherWay()
{
    // Many equal names, in a random order: turning a sorted list round must
    // give exactly what sorting in the other direction gives.
    QRandomGenerator random(7);
    const char *const stems[] = { "a", "B", "c10", "c9", "b", "A", "long-name-beyond-prefix" };
    FileRows rows;
    for (int i = 0; i < 2000; ++i)
        rows.append(QByteArray(stems[random.bounded(int(std::size(stems)))]) + '.'
            + QByteArray::number(random.bounded(5)));
    Collator collator(QLocale(QStringLiteral("en_US")));
    const SortKeys nameKeys(rows, false, collator), extensionKeys(rows, true, collator);
    const SortKeys *byName[] = { &nameKeys };
    const SortKeys *byExtension[] = { &extensionKeys, &nameKeys };
    for (const std::span<const SortKeys *const> keys : { std::span<const SortKeys *const>(byName),
             std::span<const SortKeys *const>(byExtension) }) {
        std::vector<uint32_t> order(size_t(rows.size()));
        std::iota(order.begin(), order.end(), 0u);
        std::shuffle(order.begin(), order.end(), random);
        sortRows(order, keys, rows, Qt::AscendingOrder);

        std::vector<uint32_t> reversed = order;
        reverseSortedRows(reversed, rows);
        std::vector<uint32_t> expected = order;
        std::shuffle(expected.begin(), expected.end(), random);
        sortRows(expected, keys, rows, Qt::DescendingOrder);
        QCOMPARE(reversed, expected);

        reverseSortedRows(reversed, rows);
        QCOMPARE(reversed, order);
    }
}

void tst_Arrangement::previewsKeepTheFinalOrder_data()
{
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<bool>("paths"); // rows from sub-folders, which sort folder by folder
    QTest::addColumn<bool>("takenBack"); // a folder dropped half-way, as a failed read is
    QTest::newRow("unsorted") << false << 0 << false << false << false;
    QTest::newRow("File Name, ascending") << true << 0 << false << false << false;
    QTest::newRow("File Name, descending") << true << 0 << true << false << false;
    QTest::newRow("Extension, ascending") << true << 1 << false << false << false;
    QTest::newRow("Extension, descending, sub-folders") << true << 1 << true << true << false;
    QTest::newRow("File Name, rows taken back") << true << 0 << false << false << true;
    QTest::newRow("unsorted, rows taken back") << false << 0 << false << true << true;
}

void tst_Arrangement::previewsKeepTheFinalOrder()
{
    QFETCH(bool, sorted);
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(bool, paths);
    QFETCH(bool, takenBack);
    const SortState state { sorted, column, descending ? Qt::DescendingOrder : Qt::AscendingOrder };
    QRandomGenerator random(23);
    const char *const folders[] = { "", "b/", "B/", "a/", "a/x/", "10/", "9/" };
    const char *const stems[] = { "a", "A", "á", "file", "File", "x\xff", "" };
    const char *const extensions[] = { ".txt", ".TXT", ".doc", "", ".tar.gz" };
    QList<QByteArray> names;
    for (int i = 0; i < 3000; ++i)
        names << (paths ? folders[random.bounded(int(std::size(folders)))] : "")
                + QByteArray(stems[random.bounded(int(std::size(stems)))])
                + QByteArray::number(random.bounded(30))
                + extensions[random.bounded(int(std::size(extensions)))];
    // With takenBack, the rows [cut, cut + 200) are listed, then dropped.
    const qsizetype cut = takenBack ? 1700 : names.size();
    QList<QByteArray> final = names;
    final.remove(cut, takenBack ? 200 : 0);
    const FileRows listed = rowsOf(names), kept = rowsOf(final);
    const FileArrangement finished = arranged(final, state);

    std::mutex mutex;
    std::vector<ListingPreview::Shown> shown;
    ListingPreview preview(
        state, UINT32_MAX,
        [&](ListingPreview::Shown one) {
            const std::lock_guard lock(mutex);
            shown.push_back(std::move(one));
        },
        0);
    auto lastShown = [&] {
        const std::lock_guard lock(mutex);
        return shown.empty() ? qsizetype(0) : shown.back().files.rows->size();
    };
    auto batch = [](const FileRows &rows, qsizetype from, qsizetype to) {
        auto copy = std::make_shared<FileRows>();
        copy->appendCopy(rows, from, to);
        return copy;
    };
    // Random batches, each shown before the next is given.
    qsizetype given = 0;
    while (given < kept.size()) {
        const qsizetype to = qMin(given + 1 + random.bounded(400), kept.size());
        if (takenBack && given < cut && to >= cut) {
            preview.append(batch(listed, given, cut + 200));
            QTRY_VERIFY2_WITH_TIMEOUT(lastShown() == cut + 200, "rows to be taken back", 10000);
            preview.truncate(cut);
            given = cut;
            continue;
        }
        preview.append(batch(takenBack && given >= cut ? kept : listed, given, to));
        given = to;
        QTRY_VERIFY2_WITH_TIMEOUT(lastShown() == given, "the rows given to be shown", 10000);
    }
    QCOMPARE(preview.close(), kept.size());

    const std::lock_guard lock(mutex);
    QVERIFY(shown.size() > 5);
    qsizetype before = 0;
    bool dropped = false;
    for (const ListingPreview::Shown &one : shown) {
        const qsizetype size = one.files.rows->size();
        // Each begins with the rows of the one before it, unless rows were taken back.
        const bool first = takenBack && before == cut + 200 && !std::exchange(dropped, true);
        QCOMPARE(one.kept, first ? cut : before);
        before = size;
        QCOMPARE(one.files.state, state);
        if (size > cut)
            continue; // holds rows that are gone
        std::vector<uint32_t> expected;
        for (const uint32_t row : finished.order)
            if (row < size)
                expected.push_back(row);
        QVERIFY2(one.files.order == expected,
            qPrintable(QStringLiteral("the preview of %1 rows").arg(size)));
        for (qsizetype row = 0; row < size; ++row)
            QCOMPARE(one.files.rows->name(row), kept.name(row));
    }
}

QTEST_GUILESS_MAIN(tst_Arrangement)
#include "tst_arrangement.moc"
