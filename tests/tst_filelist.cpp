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
    void folderChangesUndoneAndRedone_data();
    void folderChangesUndoneAndRedone();
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
    list.setFolderReaders(namesReader(names));
    list.rebuild({ dir.path() });
    settle(list);
    if (header) {
        list.sort(header);
        settle(list);
    }
    const QList<QByteArray> before = namesOf(model);
    if (position >= 0)
        list.removeRows({ uint32_t(position) }, position);
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
    redo->trigger();
    settle(list);
    QCOMPARE(namesOf(model), shown);
    undo->trigger();
    settle(list);
    QCOMPARE(namesOf(model), whole);
    // A rebuild is a step of its own: it brings every row back, and undone,
    // the rows are as they were before it, removals and order and all.
    redo->trigger();
    settle(list);
    list.rebuild({ dir.path() });
    settle(list);
    QCOMPARE(namesOf(model).size(), names.size());
    undo->trigger();
    settle(list);
    QCOMPARE(namesOf(model), shown);
    undo->trigger();
    settle(list);
    QCOMPARE(namesOf(model), whole);
}

void tst_FileList::folderChangesUndoneAndRedone_data()
{
    QTest::addColumn<QString>("change"); // of the folders, "a" at first
    QTest::addColumn<QStringList>("folders"); // after it
    QTest::addColumn<QList<QByteArray>>("rows"); // after it, by name
    QTest::newRow("add") << "add" << QStringList { "a", "b" }
                         << QList<QByteArray> { "a1", "a2", "a3", "b1" };
    QTest::newRow("remove") << "remove" << QStringList() << QList<QByteArray>();
    QTest::newRow("read again, a file made since")
        << "again" << QStringList { "a" } << QList<QByteArray> { "a1", "a2", "a3", "a4" };
    // Add while a listing runs: one step, the last folders win.
    QTest::newRow("add, then add while listing")
        << "twice" << QStringList { "a", "slow", "b" }
        << QList<QByteArray> { "a1", "a2", "a3", "b1", "s1" };
}

void tst_FileList::folderChangesUndoneAndRedone()
{
    QFETCH(QString, change);
    QFETCH(QStringList, folders);
    QFETCH(QList<QByteArray>, rows);
    TestDir dir;
    for (const char *folder : { "a", "b", "slow" })
        QVERIFY(QDir(dir.path()).mkdir(QLatin1StringView(folder)));
    QCOMPARE(dir.createFiles({ "a/a1", "a/a2", "a/a3", "b/b1", "slow/s1" }), QString());
    const auto paths = [&dir](const QStringList &names) {
        ListedFolders paths;
        for (const QString &name : names)
            paths << dir.filePath(name);
        return paths;
    };
    HeldReader held;
    FileList list;
    list.setFolderReaders(held.reader());
    QAction *undo = list.createUndoAction(this);
    QAction *redo = list.createRedoAction(this);
    QSignalSpy changed(&list, &FileList::foldersChanged);
    list.rebuild(paths({ "a" }));
    settle(list);
    for (int click = 0; click < 2; ++click) { // by name, ascending
        list.sort(1);
        settle(list);
    }
    list.removeRows({ 1 }, 1); // a2
    const QList<QByteArray> before { "a1", "a3" };
    QCOMPARE(namesOf(*list.model()), before);

    if (change == "again") {
        QCOMPARE(dir.createFiles({ "a/a4" }), QString());
        list.refresh();
    } else if (change == "twice") {
        list.rebuild(paths({ "a", "slow" }));
        QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 1, "the slow folder to be held", 10000);
        list.rebuild(paths(folders));
        held.letGo();
    } else {
        list.rebuild(paths(folders));
    }
    settle(list);
    QCOMPARE(namesOf(*list.model()), rows);
    QCOMPARE(list.folders(), paths(folders));

    // Undone whole: the folders and the rows as they were, a2 removed.
    changed.clear();
    undo->trigger();
    settle(list);
    QCOMPARE(namesOf(*list.model()), before);
    QCOMPARE(list.folders(), paths({ "a" }));
    QCOMPARE(changed.count(), change == "again" ? 0 : 1);
    // Redone as read then, without reading again.
    QCOMPARE(dir.createFiles({ "a/a5" }), QString());
    redo->trigger();
    settle(list);
    QCOMPARE(namesOf(*list.model()), rows);
    QCOMPARE(list.folders(), paths(folders));
    // Further back: the removal, then the first listing.
    undo->trigger();
    undo->trigger();
    settle(list);
    QCOMPARE(namesOf(*list.model()), (QList<QByteArray> { "a1", "a2", "a3" }));
    undo->trigger();
    settle(list);
    QCOMPARE(list.model()->rowCount(), 0);
    QCOMPARE(list.folders(), ListedFolders());
    QVERIFY(!undo->isEnabled());
    QVERIFY(redo->isEnabled());
}

void tst_FileList::refusesChangesWhileBusy()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("slow")));
    QCOMPARE(dir.createFiles({ "slow/a.txt", "slow/b.doc", "c.txt", "d.txt" }), QString());
    FileList list;
    QAction *undo = list.createUndoAction(this);
    QSignalSpy busy(&list, &FileList::busyChanged);
    QSignalSpy started(&list, &FileList::workStarted);
    list.rebuild({ dir.path() });
    settle(list);
    list.sort(1);
    settle(list);
    list.removeRows({ 0 }, 0);
    QVERIFY(undo->isEnabled());
    QCOMPARE(busy.count(), 4); // the rebuild and the sort began and ended
    QCOMPARE(started.count(), 2);

    HeldReader held;
    list.setFolderReaders(held.reader());
    list.rebuild({ dir.path(), dir.filePath("slow") });
    QVERIFY(list.isBusy());
    QCOMPARE(busy.last(), QVariantList { true });
    QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 1, "the slow folder to be held", 10000);
    // Nothing acts on rows about to be replaced, and nothing is undone half-way.
    QVERIFY(!undo->isEnabled());
    const QList<QByteArray> shown = namesOf(*list.model());
    list.removeRows({ 0 }, 0);
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
    QCOMPARE(list.model()->rowCount(), 2);
    QVERIFY(undo->isEnabled());
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
