// SPDX-License-Identifier: MIT
#include "arranged.h"
#include "core/collation.h"
#include "core/filelistmodel.h"
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
};

void tst_FileListModel::consistentThroughEveryChange()
{
    FileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    showRows(model, rowsOf({ "b.txt", "a.doc", "c", "d.txt" }));
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("File Name"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Extension"));
    QVERIFY(model.removeRow(1));
    showSorted(model, sortedBy(ExtensionColumn, Qt::DescendingOrder));
    showRows(model, rowsOf({ "x.1", "y.2" }));
    QVERIFY(!model.removeRows(-1, 1));
    QVERIFY(!model.removeRows(1, 2));
    QCOMPARE(model.rowCount(), 2);
    showRows(model, FileRows());
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.removeRow(0));
    // A listing that goes on: rows added at the end, unsorted and sorted.
    for (const SortState &state : { SortState(), sortedBy(ExtensionColumn) }) {
        showRows(model, rowsOf({ "b.txt" }), state);
        FileArrangement more;
        arrangeRows(more, rowsOf({ "b.txt", "a.doc", "c" }), state);
        model.extendArrangement(std::move(more));
        QCOMPARE(model.rowCount(), 3);
    }
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
    showRows(model, rowsOf({ "file10", "b", "file2", "B", "File1", "a" }), sortedBy(NameColumn));
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
    showRows(model, FileRows(), sortedBy(ExtensionColumn, Qt::DescendingOrder));
    QCOMPARE(model.rowCount(), 0);
    showRows(model, rowsOf({ "a.b", "Latin1", Latin1Cafe, "z.a", "y.c", "x.B" }));
    QCOMPARE(
        namesOf(model), (QList<QByteArray> { Latin1Cafe, "y.c", "x.B", "a.b", "z.a", "Latin1" }));
    showSorted(model, sortedBy(NameColumn, Qt::DescendingOrder));
    // The name that is not UTF-8 sorts as "caf\uFFFD.txt", between "a.b" and "Latin1".
    QCOMPARE(
        namesOf(model), (QList<QByteArray> { "z.a", "y.c", "x.B", "Latin1", Latin1Cafe, "a.b" }));
}

void tst_FileListModel::removalKeepsOrder()
{
    FileListModel model;
    showRows(model, rowsOf({ "c", "a", "b", "d" }), sortedBy(NameColumn));
    QVERIFY(model.removeRow(1));
    QCOMPARE(namesOf(model), (QList<QByteArray> { "a", "c", "d" }));
    showSorted(model, sortedBy(NameColumn, Qt::DescendingOrder));
    QCOMPARE(namesOf(model), (QList<QByteArray> { "d", "c", "a" }));
    showSorted(model, sortedBy(NameColumn, Qt::DescendingOrder)); // already so: nothing turns
    QCOMPARE(namesOf(model), (QList<QByteArray> { "d", "c", "a" }));
    // A rebuild brings the removed row back, in its sorted place.
    showRows(model, rowsOf({ "c", "a", "b", "d" }));
    QCOMPARE(namesOf(model), (QList<QByteArray> { "d", "c", "b", "a" }));
}

void tst_FileListModel::tooManySortKeyBytes()
{
    FileListModel model;
    model.setSortKeyLimit(8); // less than three keys
    // A rebuild while sorted keeps the rows in listing order and switches sorting off.
    QVERIFY(!showRows(model, rowsOf({ "c", "a", "b" }), sortedBy(NameColumn)));
    QVERIFY(!model.isSorted());
    QCOMPARE(namesOf(model), (QList<QByteArray> { "c", "a", "b" }));
    // Keys made under a higher limit are made again under a lower one.
    model.setSortKeyLimit(UINT32_MAX);
    QVERIFY(showSorted(model, sortedBy(NameColumn)));
    QVERIFY(showSorted(model, SortState()));
    model.setSortKeyLimit(8);
    QVERIFY(!showSorted(model, sortedBy(NameColumn)));
}

void tst_FileListModel::selectionFollowsItsRow()
{
    FileListModel model;
    QItemSelectionModel selection(&model);
    showRows(model, rowsOf({ "b.2", "c.1", "a.3" }));
    selection.setCurrentIndex(
        model.index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    showSorted(model, sortedBy(NameColumn));
    QCOMPARE(selection.currentIndex().row(), 1);
    showSorted(model, sortedBy(ExtensionColumn));
    QCOMPARE(selection.currentIndex().row(), 1);
    showSorted(model, sortedBy(ExtensionColumn, Qt::DescendingOrder));
    QCOMPARE(model.name(selection.currentIndex().row()), QByteArrayView("b.2"));
    QCOMPARE(selection.selectedRows().size(), 1);
    QCOMPARE(selection.selectedRows().first().row(), selection.currentIndex().row());
    // More rows of the same listing, some sorting before it: it stays picked.
    FileArrangement more;
    arrangeRows(more, rowsOf({ "b.2", "c.1", "a.3", "d.9", "a.0", "b.1" }), model.sortState());
    model.extendArrangement(std::move(more));
    QCOMPARE(namesOf(model), (QList<QByteArray> { "d.9", "a.3", "b.2", "c.1", "b.1", "a.0" }));
    QCOMPARE(model.name(selection.currentIndex().row()), QByteArrayView("b.2"));
    QCOMPARE(selection.selectedRows().size(), 1);
    QCOMPARE(selection.selectedRows().first().row(), 2);
    // Rows apart, each a range of two indexes, with the current one more than
    // are looked up one by one: each keeps its row.
    selection.clearSelection();
    for (const int row : { 0, 1, 3, 5 })
        selection.select(
            model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    showSorted(model, sortedBy(NameColumn));
    QList<QByteArray> picked;
    for (const QModelIndex &row : selection.selectedRows())
        picked << model.name(row.row()).toByteArray();
    std::sort(picked.begin(), picked.end());
    QCOMPARE(picked, (QList<QByteArray> { "a.0", "a.3", "c.1", "d.9" }));
}

QTEST_GUILESS_MAIN(tst_FileListModel)
#include "tst_filelistmodel.moc"
