// SPDX-License-Identifier: MIT
#include "arranged.h"
#include "core/filelistmodel.h"
#include "heldreader.h"
#include "list/filelist.h"
#include "rows.h"
#include "testdir.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {

// Reads the given names for every folder, in that order.
FolderReader namesReader(const QList<QByteArray> &names)
{
    return [names](const QString &, FileRows &rows, QString *, const BeforeRead &) {
        for (const QByteArray &name : names)
            rows.append(name);
        return true;
    };
}

} // namespace

// The file list and its work driven without a window: rebuilds, sorts,
// removals and their history, and when it says it is busy.
class tst_FileList : public QObject
{
    Q_OBJECT

private slots:
    void removalsUndoneAndRedone_data();
    void removalsUndoneAndRedone();
    void refusesChangesWhileBusy();
    void copiesAllNames();
};

#define settle(list) QTRY_VERIFY2_WITH_TIMEOUT(!(list).isBusy(), "the list's work to end", 30000)

void tst_FileList::removalsUndoneAndRedone_data()
{
    QTest::addColumn<int>("header"); // clicked before the removal; 0 none
    QTest::addColumn<int>("position"); // the one row removed; -1 by extension
    QTest::addColumn<QByteArray>("extension");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<int>("headerBetween"); // clicked after it, before the undo
    QTest::addColumn<QList<QByteArray>>("left"); // by extension: the rows left

    // b.txt twice (two folders), extensions differing in case, none at all,
    // and one of bytes that are not text.
    const QList<QByteArray> none;
    QTest::newRow("remove, unsorted")
        << 0 << -1 << QByteArray("txt") << false << 0
        << QList<QByteArray> { "c", "e.doc", "f", "g.\xff", "h.\xfe" };
    QTest::newRow("keep, by name") << 1 << -1 << QByteArray("TXT") << true << 0
                                   << QList<QByteArray> { "b.txt", "a.TXT", "b.txt", "d.Txt" };
    QTest::newRow("no extension, by extension")
        << 2 << -1 << QByteArray() << false << 0
        << QList<QByteArray> { "b.txt", "a.TXT", "b.txt", "d.Txt", "e.doc", "g.\xff", "h.\xfe" };
    QTest::newRow("bytes match exactly")
        << 0 << -1 << QByteArray("\xff") << false << 0
        << QList<QByteArray> { "b.txt", "a.TXT", "c", "b.txt", "d.Txt", "e.doc", "f", "h.\xfe" };
    QTest::newRow("sorted in between")
        << 1 << -1 << QByteArray("Txt") << false << 2
        << QList<QByteArray> { "c", "e.doc", "f", "g.\xff", "h.\xfe" };
    QTest::newRow("sorted first in between")
        << 0 << -1 << QByteArray("doc") << true << 1 << QList<QByteArray> { "e.doc" };
    // By name, descending: h, g, f, e.doc, d.Txt, c, ...; the row is known by
    // what it is, not by where it stood.
    QTest::newRow("one row, turned round in between")
        << 1 << 2 << QByteArray() << false << 1 << none;
    QTest::newRow("one row of two alike, unsorted, sorted in between")
        << 0 << 0 << QByteArray() << false << 2 << none;
}

void tst_FileList::removalsUndoneAndRedone()
{
    QFETCH(int, header);
    QFETCH(int, position);
    QFETCH(QByteArray, extension);
    QFETCH(bool, keep);
    QFETCH(int, headerBetween);
    QFETCH(QList<QByteArray>, left);

    TestDir dir;
    const QList<QByteArray> names
        = { "b.txt", "a.TXT", "c", "b.txt", "d.Txt", "e.doc", "f", "g.\xff", "h.\xfe" };
    FileList list;
    QAbstractItemModelTester tester(list.model());
    QAction *undo = list.createUndoAction(this);
    QAction *redo = list.createRedoAction(this);
    const FileListModel &model = *list.model();
    list.setFolderReader(namesReader(names));
    list.rebuild({ dir.path() });
    settle(list);
    if (header) {
        list.sort(header);
        settle(list);
    }
    const QList<QByteArray> before = namesOf(model);
    if (position >= 0)
        list.removeRow(position);
    else
        list.removeExtension(extension, keep);
    settle(list);
    QList<QByteArray> expected = before;
    if (position >= 0)
        expected.removeAt(position);
    else
        expected.removeIf([&left](const QByteArray &name) { return !left.contains(name); });
    QCOMPARE(namesOf(model), expected);
    QVERIFY(undo->isEnabled());

    if (headerBetween) {
        list.sort(headerBetween);
        settle(list);
    }
    const QList<QByteArray> shown = namesOf(model);
    undo->trigger();
    settle(list);
    // Back in their places, or, sorted since, where the sort puts them.
    QList<QByteArray> whole = before;
    if (headerBetween) {
        FileListModel sorted;
        showRows(sorted, rowsOf(names), model.sortState());
        whole = namesOf(sorted);
    }
    QCOMPARE(namesOf(model), whole);
    QVERIFY(!undo->isEnabled());
    redo->trigger();
    settle(list);
    QCOMPARE(namesOf(model), shown);
    undo->trigger();
    settle(list);
    QCOMPARE(namesOf(model), whole);
    // A rebuild brings every row back: nothing is left to undo or redo.
    list.rebuild({ dir.path() });
    settle(list);
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
}

void tst_FileList::refusesChangesWhileBusy()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("slow")));
    QCOMPARE(dir.createFiles({ "slow/a.txt", "slow/b.doc", "c.txt" }), QString());
    FileList list;
    QAction *undo = list.createUndoAction(this);
    QSignalSpy busy(&list, &FileList::busyChanged);
    QSignalSpy started(&list, &FileList::workStarted);
    list.rebuild({ dir.path() });
    settle(list);
    list.sort(1);
    settle(list);
    list.removeRow(0);
    QVERIFY(undo->isEnabled());
    QCOMPARE(busy.count(), 4); // the rebuild and the sort began and ended
    QCOMPARE(started.count(), 2);

    HeldReader held;
    list.setFolderReader(held.reader());
    list.rebuild({ dir.path(), dir.filePath("slow") });
    QVERIFY(list.isBusy());
    QCOMPARE(busy.last(), QVariantList { true });
    QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 1, "the slow folder to be held", 10000);
    // Nothing acts on rows about to be replaced, and nothing is undone half-way.
    QVERIFY(!undo->isEnabled());
    const QList<QByteArray> shown = namesOf(*list.model());
    list.removeRow(0);
    list.removeExtension("txt", false);
    list.sort(2);
    QCOMPARE(namesOf(*list.model()), shown);
    QCOMPARE(started.count(), 3);

    // A rebuild replacing the held one is busy all along: no end in between.
    list.rebuild({ dir.path() });
    held.letGo();
    settle(list);
    QCOMPARE(busy.count(), 6);
    QCOMPARE(busy.last(), QVariantList { false });
    QCOMPARE(list.model()->rowCount(), 1);
    QVERIFY(!undo->isEnabled()); // the rebuild brought every row back
}

void tst_FileList::copiesAllNames()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "b.txt", "a" }), QString());
    FileList list;
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    list.copyAll(ListText::Names); // nothing to copy: the clipboard is left as it was
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    list.rebuild({ dir.path() });
    settle(list);
    list.sort(1);
    settle(list);
    list.copyAll(ListText::Paths); // replaced by the next copy before it ends
    list.copyAll(ListText::Names);
    QTRY_COMPARE_WITH_TIMEOUT(
        QGuiApplication::clipboard()->text(), QStringLiteral("b.txt\na\n"), 10000);
}

QTEST_MAIN(tst_FileList)
#include "tst_filelist.moc"
