// SPDX-License-Identifier: MIT
#include "core/collation.h"
#include "core/filelistmodel.h"
#include "core/listwork.h"
#include "core/sortindex.h"
#include "rows.h"
#include "testdir.h"

#include <QAbstractItemModelTester>
#include <QCollator>
#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <numeric>

namespace {

QList<QByteArray> namesOf(const FileListModel &model)
{
    QList<QByteArray> names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.name(row).toByteArray();
    return names;
}

QList<QByteArray> sortedByCollator(const QList<QByteArray> &names, const QLocale &locale)
{
    // The model's collator follows the system locale; this one takes the given locale.
    Collator collator(locale);
    const FileRows rows = rowsOf(names);
    const SortKeys keys(rows, false, collator);
    const SortKeys *byName[] = { &keys };
    std::vector<uint32_t> order(size_t(rows.size()));
    std::iota(order.begin(), order.end(), 0u);
    sortRows(order, byName, rows, Qt::AscendingOrder);
    QList<QByteArray> sorted;
    for (const uint32_t row : order)
        sorted << rows.name(row).toByteArray();
    return sorted;
}

} // namespace

class tst_FileListModel : public QObject
{
    Q_OBJECT

private slots:
    void consistentThroughEveryChange();
    void naturalCaseInsensitiveOrder_data();
    void naturalCaseInsensitiveOrder();
    void neutralOrderUnderCLocale();
    void agreesWithQCollator();
    void rebuildWhileSortedIsSorted();
    void removalKeepsOrder();
    void tooManySortKeyBytes();
    void selectionFollowsItsRow();
    void bulkRemovalsUndoneAndRedone_data();
    void bulkRemovalsUndoneAndRedone();
};

void tst_FileListModel::consistentThroughEveryChange()
{
    FileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows(rowsOf({ "b.txt", "a.doc", "c", "d.txt" }));
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("File Name"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Extension"));
    QVERIFY(model.removeRow(1));
    model.setSorted(true);
    model.setSortOrder(Qt::DescendingOrder);
    model.setSortColumn(FileListModel::ExtensionColumn);
    model.setRows(rowsOf({ "x.1", "y.2" }));
    QVERIFY(!model.removeRows(-1, 1));
    QVERIFY(!model.removeRows(1, 2));
    QCOMPARE(model.rowCount(), 2);
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.removeRow(0));
}

// clang-format off
void tst_FileListModel::naturalCaseInsensitiveOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_US") << "en_US";
    QTest::newRow("de_DE") << "de_DE";
    QTest::newRow("C") << "C";
}
// clang-format on

void tst_FileListModel::naturalCaseInsensitiveOrder()
{
    QFETCH(QString, locale);
    const QList<QByteArray> sorted = sortedByCollator(
        { "file10", "File2", "file1", "b.txt", "a.TXT", "B.txt" }, QLocale(locale));
    // "b.txt" and "B.txt" differ only in case: equal keys, so their bytes decide.
    QCOMPARE(sorted, (QList<QByteArray> { "a.TXT", "B.txt", "b.txt", "file1", "File2", "file10" }));
}

void tst_FileListModel::neutralOrderUnderCLocale()
{
    // CTest runs this test under LC_ALL=C.UTF-8, where ICU's own default would
    // be a byte order: the model must still sort naturally.
    QCOMPARE(QLocale::system().language(), QLocale::C);
    FileListModel model;
    // ICU's POSIX order would put "B" before "a" and compare "b" < "B".
    model.setRows(rowsOf({ "file10", "b", "file2", "B", "File1", "a" }));
    model.setSorted(true);
    QCOMPARE(namesOf(model), (QList<QByteArray> { "a", "B", "b", "File1", "file2", "file10" }));
}

void tst_FileListModel::agreesWithQCollator()
{
    const QList<QByteArray> names = {
        "Zebra.png",
        "apple.txt",
        "Äpfel.txt",
        "apfel.txt",
        "résumé.pdf",
        "resume.pdf",
        "IMG_0002.JPG",
        "img_10.jpg",
        "img-3.jpg",
        "_notes",
        "~backup",
        "1.txt",
        "01.txt",
        "10.txt",
        "2.txt",
        "x y.txt",
        "x-y.txt",
        "x.y.txt",
        "日本語.txt",
        "Ωmega",
        "omega",
        "file1.tar.gz",
        "file1.tar",
        "a",
        "A",
        "ä",
    };
    const QLocale locale(QStringLiteral("en_US"));
    QCollator reference(locale);
    reference.setNumericMode(true);
    reference.setCaseSensitivity(Qt::CaseInsensitive);
    const auto referenceSorted = [&](QList<QByteArray> list, Qt::SortOrder direction) {
        std::sort(list.begin(), list.end(), [&](const QByteArray &a, const QByteArray &b) {
            int order = reference.compare(QString::fromUtf8(a), QString::fromUtf8(b));
            if (order == 0)
                order = a < b ? -1 : b < a ? 1 : 0;
            return direction == Qt::AscendingOrder ? order < 0 : order > 0;
        });
        return list;
    };
    QCOMPARE(sortedByCollator(names, locale), referenceSorted(names, Qt::AscendingOrder));

    // Thousands of names take the radix passes, also past the first eight key
    // bytes: many share a long prefix, many keys are equal (case, leading zeros).
    QRandomGenerator random(11);
    const char *const stems[]
        = { "", "a", "A", "b", "Ä", "é", "file", "File", "IMG_", "img-", "日本", "Ωmega", "x y" };
    const char *const longStems[] = { "common-long-prefix-", "COMMON-long-prefix-" };
    const char *const suffixes[] = { ".txt", ".TXT", ".jpg", "", ".tar.gz", "b" };
    QList<QByteArray> generated;
    for (int i = 0; i < 3000; ++i) {
        const char *stem = random.bounded(2) ? longStems[random.bounded(2)]
                                             : stems[random.bounded(int(std::size(stems)))];
        generated << stem + QByteArray(random.bounded(3), '0')
                + QByteArray::number(random.bounded(300))
                + suffixes[random.bounded(int(std::size(suffixes)))];
    }
    const FileRows rows = rowsOf(generated);
    Collator collator(locale);
    // On one thread, and shared out among three.
    for (const int workers : { 1, 3 }) {
        const SortKeys keys(rows, false, collator, {}, SortKeys::MaxBytes, workers);
        const SortKeys *byName[] = { &keys };
        for (const Qt::SortOrder direction : { Qt::AscendingOrder, Qt::DescendingOrder }) {
            std::vector<uint32_t> order(size_t(rows.size()));
            std::iota(order.begin(), order.end(), 0u);
            sortRows(order, byName, rows, direction, workers);
            QList<QByteArray> sorted;
            for (const uint32_t row : order)
                sorted << rows.name(row).toByteArray();
            QCOMPARE(sorted, referenceSorted(generated, direction));
        }
    }
}

void tst_FileListModel::rebuildWhileSortedIsSorted()
{
    FileListModel model;
    model.setSorted(true);
    model.setSortOrder(Qt::DescendingOrder);
    model.setSortColumn(FileListModel::ExtensionColumn);
    QCOMPARE(model.rowCount(), 0);
    model.setRows(rowsOf({ "a.b", "Latin1", Latin1Cafe, "z.a", "y.c", "x.B" }));
    QCOMPARE(
        namesOf(model), (QList<QByteArray> { Latin1Cafe, "y.c", "x.B", "a.b", "z.a", "Latin1" }));
    model.setSortColumn(FileListModel::NameColumn);
    // The name that is not UTF-8 sorts as "caf\uFFFD.txt", between "a.b" and "Latin1".
    QCOMPARE(
        namesOf(model), (QList<QByteArray> { "z.a", "y.c", "x.B", "Latin1", Latin1Cafe, "a.b" }));
}

void tst_FileListModel::removalKeepsOrder()
{
    FileListModel model;
    model.setRows(rowsOf({ "c", "a", "b", "d" }));
    model.setSorted(true);
    QVERIFY(model.removeRow(1));
    QCOMPARE(namesOf(model), (QList<QByteArray> { "a", "c", "d" }));
    model.setSortOrder(Qt::DescendingOrder);
    QCOMPARE(namesOf(model), (QList<QByteArray> { "d", "c", "a" }));
    model.setSortOrder(Qt::DescendingOrder); // already so: nothing turns round
    QCOMPARE(namesOf(model), (QList<QByteArray> { "d", "c", "a" }));
    // A rebuild brings the removed row back, in its sorted place.
    model.setRows(rowsOf({ "c", "a", "b", "d" }));
    QCOMPARE(namesOf(model), (QList<QByteArray> { "d", "c", "b", "a" }));
}

void tst_FileListModel::tooManySortKeyBytes()
{
    FileListModel model;
    QVERIFY(model.setSorted(true));
    model.setSortKeyLimit(8); // less than three keys
    // A rebuild while sorted keeps the rows in listing order and switches sorting off.
    QVERIFY(!model.setRows(rowsOf({ "c", "a", "b" })));
    QVERIFY(!model.isSorted());
    QCOMPARE(namesOf(model), (QList<QByteArray> { "c", "a", "b" }));
    // Keys made under a higher limit are made again under a lower one.
    model.setSortKeyLimit(UINT32_MAX);
    QVERIFY(model.setSorted(true));
    QVERIFY(model.setSorted(false));
    model.setSortKeyLimit(8);
    QVERIFY(!model.setSorted(true));
}

void tst_FileListModel::selectionFollowsItsRow()
{
    FileListModel model;
    QItemSelectionModel selection(&model);
    model.setRows(rowsOf({ "b.2", "c.1", "a.3" }));
    selection.setCurrentIndex(
        model.index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    model.setSorted(true);
    QCOMPARE(selection.currentIndex().row(), 1);
    model.setSortColumn(FileListModel::ExtensionColumn);
    QCOMPARE(selection.currentIndex().row(), 1);
    model.setSortOrder(Qt::DescendingOrder);
    QCOMPARE(model.name(selection.currentIndex().row()), QByteArrayView("b.2"));
    QCOMPARE(selection.selectedRows().size(), 1);
    QCOMPARE(selection.selectedRows().first().row(), selection.currentIndex().row());
}

void tst_FileListModel::bulkRemovalsUndoneAndRedone_data()
{
    QTest::addColumn<int>("header"); // clicked before the removal; 0 none
    QTest::addColumn<QByteArray>("extension");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<int>("headerBetween"); // clicked after it, before the undo
    QTest::addColumn<QList<QByteArray>>("left");

    // b.txt twice (two folders), extensions differing in case, none at all,
    // and one of bytes that are not text.
    QTest::newRow("remove, unsorted")
        << 0 << QByteArray("txt") << false << 0
        << QList<QByteArray> { "c", "e.doc", "f", "g.\xff", "h.\xfe" };
    QTest::newRow("keep, by name") << 1 << QByteArray("TXT") << true << 0
                                   << QList<QByteArray> { "b.txt", "a.TXT", "b.txt", "d.Txt" };
    QTest::newRow("no extension, by extension")
        << 2 << QByteArray() << false << 0
        << QList<QByteArray> { "b.txt", "a.TXT", "b.txt", "d.Txt", "e.doc", "g.\xff", "h.\xfe" };
    QTest::newRow("bytes match exactly")
        << 0 << QByteArray("\xff") << false << 0
        << QList<QByteArray> { "b.txt", "a.TXT", "c", "b.txt", "d.Txt", "e.doc", "f", "h.\xfe" };
    QTest::newRow("sorted in between")
        << 1 << QByteArray("Txt") << false << 2
        << QList<QByteArray> { "c", "e.doc", "f", "g.\xff", "h.\xfe" };
    QTest::newRow("sorted first in between")
        << 0 << QByteArray("doc") << true << 1 << QList<QByteArray> { "e.doc" };
}

void tst_FileListModel::bulkRemovalsUndoneAndRedone()
{
    QFETCH(int, header);
    QFETCH(QByteArray, extension);
    QFETCH(bool, keep);
    QFETCH(int, headerBetween);
    QFETCH(QList<QByteArray>, left);

    TestDir dir;
    const QList<QByteArray> names
        = { "b.txt", "a.TXT", "c", "b.txt", "d.Txt", "e.doc", "f", "g.\xff", "h.\xfe" };
    FileListModel model;
    QAbstractItemModelTester tester(&model);
    ListWork work(&model);
    work.setFolderReader([&names](const QString &, FileRows &rows, QString *, auto &&) {
        for (const QByteArray &name : names)
            rows.append(name);
        return true;
    });
    std::shared_ptr<RemovedRows> removed;
    connect(&work, &ListWork::removed, this, [&removed](auto record) { removed = record; });
#define settle() QTRY_VERIFY2_WITH_TIMEOUT(!work.isBusy(), "the list's work to end", 30000)
    work.rebuild({ dir.path() });
    settle();
    if (header) {
        QVERIFY(work.sort(header));
        settle();
    }
    const QList<QByteArray> before = namesOf(model);
    QVERIFY(work.removeExtension(extension, keep));
    settle();
    QVERIFY(removed);
    QList<QByteArray> expected;
    std::copy_if(before.begin(), before.end(), std::back_inserter(expected),
        [&left](const QByteArray &name) { return left.contains(name); });
    QCOMPARE(namesOf(model), expected);

    if (headerBetween) {
        QVERIFY(work.sort(headerBetween));
        settle();
    }
    const QList<QByteArray> shown = namesOf(model);
    QVERIFY(work.putBack(removed));
    settle();
    // Back in their places, or, sorted since, where the sort puts them.
    QList<QByteArray> whole = before;
    if (headerBetween) {
        FileListModel sorted;
        sorted.setRows(rowsOf(names));
        sorted.setSortState(model.sortState());
        whole = namesOf(sorted);
    }
    QCOMPARE(namesOf(model), whole);
    QVERIFY(work.takeAgain(removed));
    settle();
    QCOMPARE(namesOf(model), shown);
    QVERIFY(work.putBack(removed));
    settle();
    QCOMPARE(namesOf(model), whole);
    // A rebuild makes the record stale: it changes nothing then.
    work.rebuild({ dir.path() });
    settle();
    QVERIFY(!work.takeAgain(removed));
#undef settle
}

QTEST_GUILESS_MAIN(tst_FileListModel)
#include "tst_filelistmodel.moc"
