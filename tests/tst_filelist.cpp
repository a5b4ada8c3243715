// SPDX-License-Identifier: MIT
#include "arranged.h"
#include "core/collation.h"
#include "core/filelistmodel.h"
#include "core/fileselection.h"
#include "core/workstatus.h"
#include "heldreader.h"
#include "list/filelist.h"
#include "list/savequeue.h"
#include "list/undohistory.h"
#include "rows.h"
#include "testdir.h"
#include "treecases.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include <grp.h>
#include <sys/wait.h>

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
    void historySharesWhatItKeeps_data();
    void historySharesWhatItKeeps();
    void refusesChangesWhileBusy();
    void copiesAllNames();
    void subfoldersListedAsQuillmereListDoes_data();
    void subfoldersListedAsQuillmereListDoes();
    void subfolderWalkStopped();
    void unreadableSubfolderNamed();
};

#define settle(list) QTRY_VERIFY2_WITH_TIMEOUT(!(list).isBusy(), "the list's work to end", 30000)

// Lists the folder with its sub-folders; its failures come to failed, each
// as "folder: reason", once the list has settled.
static void listWithSubfolders(FileList &list, const QString &folder, QStringList &failed)
{
    QObject::connect(
        &list, &FileList::rebuilt, &list, [&failed](const QList<ListingFailure> &failures) {
            for (const ListingFailure &failure : failures)
                failed << failure.folder + ": " + failure.reason;
        });
    list.rebuild({ ListedFolder(folder, true) });
}

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
    QVERIFY(list.state().canUndo);

    if (headerBetween) {
        list.sort(headerBetween);
        settle(list);
    }
    const QList<QByteArray> shown = namesOf(model);
    list.undo();
    settle(list);
    // Back in their places, or, sorted since, where the sort puts them.
    QList<QByteArray> whole = before;
    if (headerBetween) {
        FileListModel sorted;
        showRows(sorted, rowsOf(names), model.sortState());
        whole = namesOf(sorted);
    }
    QCOMPARE(namesOf(model), whole);
    // Selected, the rows brought back.
    QList<QByteArray> broughtBack = before, selected;
    for (const QByteArray &name : expected)
        broughtBack.removeOne(name);
    for (const uint32_t position : model.selection()->selectedPositions())
        selected << model.name(int(position)).toByteArray();
    std::sort(broughtBack.begin(), broughtBack.end());
    std::sort(selected.begin(), selected.end());
    QCOMPARE(selected, broughtBack);
    list.redo();
    settle(list);
    QCOMPARE(namesOf(model), shown);
    list.undo();
    settle(list);
    QCOMPARE(namesOf(model), whole);
    // A rebuild is a step of its own: it brings every row back, and undone,
    // the rows are as they were before it, removals and order and all.
    list.redo();
    settle(list);
    list.rebuild({ dir.path() });
    settle(list);
    QCOMPARE(namesOf(model).size(), names.size());
    list.undo();
    settle(list);
    QCOMPARE(namesOf(model), shown);
    list.undo();
    settle(list);
    QCOMPARE(namesOf(model), whole);
}

void tst_FileList::folderChangesUndoneAndRedone_data()
{
    QTest::addColumn<QString>("change"); // of the folders, "a" at first
    QTest::addColumn<QStringList>("folders"); // after it
    QTest::addColumn<QList<QByteArray>>("rows"); // after it, by name
    // a3 picked before the change: the rows picked after it, after its undo
    // and its redo: the rows of the folders brought back, else those picked
    // that remain.
    QTest::addColumn<QList<QByteArray>>("picked");
    using Names = QList<QByteArray>;
    // b holds an a3 too: a row is known by its folder as well as its name.
    QTest::newRow("add") << "add" << QStringList { "a", "b" }
                         << Names { "a1", "a2", "a3", "a3", "b1" } << Names { "a3", "a3", "a3 b1" };
    QTest::newRow("remove") << "remove" << QStringList() << Names() << Names { "", "a1 a3", "" };
    QTest::newRow("read again, a file made since")
        << "again" << QStringList { "a" } << Names { "a1", "a2", "a3", "a4" }
        << Names { "a3", "a3", "a3" };
    // Add while a listing runs: one step, the last folders win.
    QTest::newRow("add, then add while listing")
        << "twice" << QStringList { "a", "slow", "b" }
        << Names { "a1", "a2", "a3", "a3", "b1", "s1" } << Names { "a3", "a3", "a3 b1 s1" };
}

void tst_FileList::folderChangesUndoneAndRedone()
{
    QFETCH(QString, change);
    QFETCH(QStringList, folders);
    QFETCH(QList<QByteArray>, rows);
    QFETCH(QList<QByteArray>, picked);
    TestDir dir;
    for (const char *folder : { "a", "b", "slow" })
        QVERIFY(QDir(dir.path()).mkdir(QLatin1StringView(folder)));
    QCOMPARE(dir.createFiles({ "a/a1", "a/a2", "a/a3", "b/a3", "b/b1", "slow/s1" }), QString());
    const auto paths = [&dir](const QStringList &names) {
        ListedFolders paths;
        for (const QString &name : names)
            paths << dir.filePath(name);
        return paths;
    };
    HeldReader held;
    FileList list;
    list.setFolderReaders(held.reader());
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
    FileSelection *selection = list.model()->selection();
    selection->setCurrentIndex(list.model()->index(1, 0), QItemSelectionModel::ClearAndSelect);
    const auto pickedNow = [&] {
        QList<QByteArray> names;
        for (const uint32_t position : selection->selectedPositions())
            names << list.model()->name(int(position)).toByteArray();
        return names.join(' ');
    };

    if (change == "again") {
        QCOMPARE(dir.createFiles({ "a/a4" }), QString());
        list.refresh();
    } else if (change == "twice") {
        list.rebuild(paths({ "a", "slow" }));
        QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 1, "the slow folder to be held", 10000);
        // Found among the rows shown while the slow folder is held.
        QTRY_COMPARE_WITH_TIMEOUT(pickedNow(), QByteArray("a3"), 10000);
        list.rebuild(paths(folders));
        held.letGo();
    } else {
        list.rebuild(paths(folders));
    }
    settle(list);
    QCOMPARE(namesOf(*list.model()), rows);
    QCOMPARE(list.folders(), paths(folders));
    QCOMPARE(pickedNow(), picked[0]);

    // Undone whole: the folders and the rows as they were, a2 removed.
    changed.clear();
    list.undo();
    settle(list);
    QCOMPARE(namesOf(*list.model()), before);
    QCOMPARE(list.folders(), paths({ "a" }));
    QCOMPARE(changed.count(), change == "again" ? 0 : 1);
    QTRY_COMPARE_WITH_TIMEOUT(pickedNow(), picked[1], 10000);
    // Redone as read then, without reading again.
    QCOMPARE(dir.createFiles({ "a/a5" }), QString());
    list.redo();
    settle(list);
    QCOMPARE(namesOf(*list.model()), rows);
    QCOMPARE(list.folders(), paths(folders));
    QTRY_COMPARE_WITH_TIMEOUT(pickedNow(), picked[2], 10000);
    // Further back: the removal, then the first listing.
    list.undo();
    list.undo();
    settle(list);
    QCOMPARE(namesOf(*list.model()), (QList<QByteArray> { "a1", "a2", "a3" }));
    list.undo();
    settle(list);
    QCOMPARE(list.model()->rowCount(), 0);
    QCOMPARE(list.folders(), ListedFolders());
    QVERIFY(!list.state().canUndo);
    QVERIFY(list.state().canRedo);
}

void tst_FileList::historySharesWhatItKeeps_data()
{
    // After a sorted listing of five files: the changes, each a step, the
    // history's budget (0 as built), what it then holds beyond the list
    // shown of the list before the last change, and its steps.
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<qsizetype>("budget");
    QTest::addColumn<QString>("held");
    QTest::addColumn<int>("steps");
    QTest::newRow("read again unchanged")
        << QStringList { "again" } << qsizetype(0) << "nothing" << 2;
    QTest::newRow("a row removed") << QStringList { "remove" } << qsizetype(0) << "order" << 2;
    QTest::newRow("read again, a file made since")
        << QStringList { "new file" } << qsizetype(0) << "all" << 2;
    QTest::newRow("the budget drops the oldest steps") << QStringList { "new file", "new file",
        "remove", "new file" } << qsizetype(1) << "all" << 1;
}

void tst_FileList::historySharesWhatItKeeps()
{
    QFETCH(QStringList, changes);
    QFETCH(qsizetype, budget);
    QFETCH(QString, held);
    QFETCH(int, steps);
    TestDir dir;
    QCOMPARE(dir.createFiles({ "e.txt", "b.doc", "a", "d.txt", "c.txt" }), QString());
    FileList list;
    if (budget)
        list.setHistoryBudget(budget);
    list.sort(1); // sorted as listed
    settle(list);
    list.rebuild({ dir.path() });
    settle(list);
    FileArrangement before;
    int made = 0;
    for (const QString &change : changes) {
        before = list.model()->arrangement();
        if (change == "remove") {
            list.removeRows({ 1 }, 1);
        } else {
            if (change == "new file")
                QCOMPARE(dir.createFiles({ "made " + QByteArray::number(++made) }), QString());
            list.refresh();
        }
        settle(list);
    }
    const FileArrangement &shown = list.model()->arrangement();
    // The rows and keys are held once, by the list shown and the step alike.
    QCOMPARE(shown.rows == before.rows, held != "all");
    QCOMPARE(shown.keys[0] == before.keys[0], held != "all");
    QCOMPARE(shown.order.shares(before.order), held == "nothing");
    qsizetype expected = 0;
    if (held == "order")
        expected = qsizetype(before.order.memoryUse()) + 2 * sizeof(uint32_t); // and the row taken
    if (held == "all")
        expected = before.rows->memoryUse() + qsizetype(before.order.memoryUse())
            + before.keys[0]->memoryUse();
    QCOMPARE(list.history().heldBytes(), expected);
    QCOMPARE(list.history().count(), steps);
    // The last change can be undone, and with steps dropped, nothing before it.
    list.undo();
    settle(list);
    QList<QByteArray> beforeNames;
    for (const uint32_t row : before.order)
        beforeNames << before.rows->name(row).toByteArray();
    QCOMPARE(namesOf(*list.model()), beforeNames);
    QCOMPARE(list.state().canUndo, steps > 1);
}

void tst_FileList::refusesChangesWhileBusy()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("slow")));
    QCOMPARE(dir.createFiles({ "slow/a.txt", "slow/b.doc", "c.txt", "d.txt" }), QString());
    FileList list;
    QSignalSpy busy(&list, &FileList::busyChanged);
    QSignalSpy started(&list, &FileList::workStarted);
    list.rebuild({ dir.path() });
    settle(list);
    list.sort(1);
    settle(list);
    list.removeRows({ 0 }, 0);
    QVERIFY(list.state().canUndo);
    QCOMPARE(busy.count(), 4); // the rebuild and the sort began and ended
    QCOMPARE(started.count(), 2);

    HeldReader held;
    list.setFolderReaders(held.reader());
    list.rebuild({ dir.path(), dir.filePath("slow") });
    QVERIFY(list.isBusy());
    QCOMPARE(busy.last(), QVariantList { true });
    QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 1, "the slow folder to be held", 10000);
    // Nothing acts on rows about to be replaced, and nothing is undone half-way.
    QVERIFY(!list.state().canUndo);
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
    QVERIFY(list.state().canUndo);
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

void tst_FileList::subfoldersListedAsQuillmereListDoes_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QByteArray>("lines");
    for (const TreeCase &tree : treeCases())
        QTest::newRow(tree.name) << tree.clicks << tree.lines;
}

void tst_FileList::subfoldersListedAsQuillmereListDoes()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QByteArray, lines);
    TestDir dir, scratch;
    QCOMPARE(makeTree(dir), QString());
    FileList list;
    QStringList failed;
    listWithSubfolders(list, dir.path(), failed);
    settle(list);
    for (const int header : clicks) {
        list.sort(header);
        settle(list);
    }
    // Listed again in that order: the sort keys made while the walk reads.
    list.refresh();
    settle(list);
    QCOMPARE(failed, QStringList());
    const QList<QByteArray> rows = namesOf(*list.model());
    QList<QByteArray> ordered = rows;
    if (clicks.isEmpty())
        std::sort(ordered.begin(), ordered.end());
    QCOMPARE(ordered.join('\n') + '\n', lines);
    // The extension is the file's own: none for a name under a dotted folder.
    const FileListModel &model = *list.model();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QString extension = model.data(model.index(row, 1)).toString();
        QCOMPARE(extension,
            QString::fromUtf8(
                rows[row] == "v1.5/notes" ? QByteArray() : rows[row].split('.').last()));
    }
    // Saved as shown, each path from the folder listed, CR LF.
    const QString target = scratch.filePath(QStringLiteral("list.txt"));
    SaveQueue saves;
    saves.save(list.model()->arrangement(), target);
    QTRY_VERIFY2_WITH_TIMEOUT(!saves.isSaving(), "the save to end", 30000);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), rows.join("\r\n") + "\r\n");
}

void tst_FileList::subfolderWalkStopped()
{
    // A walk held in its sub-folder "slow", as a hung mount would hold it.
    TestDir dir, other;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a/slow/below")));
    QCOMPARE(dir.createFiles({ "top.txt", "a/in.txt", "a/slow/below/deep.txt" }), QString());
    QCOMPARE(other.createFiles({ "other.txt" }), QString());
    struct Hold
    {
        std::mutex mutex;
        std::condition_variable changed;
        int held = 0;
        bool letGo = false;
    };
    const auto hold = std::make_shared<Hold>();
    FolderReaders readers;
    readers.beforeSubfolders = [hold](const QByteArray &path) {
        if (!path.endsWith("/slow"))
            return;
        std::unique_lock lock(hold->mutex);
        ++hold->held;
        // Deaf to the stop, until the test ends.
        hold->changed.wait_for(lock, std::chrono::seconds(60), [&] { return hold->letGo; });
    };
    const auto letGo = qScopeGuard([hold] {
        const std::lock_guard lock(hold->mutex);
        hold->letGo = true;
        hold->changed.notify_all();
    });
    const auto held = [hold] {
        const std::lock_guard lock(hold->mutex);
        return hold->held;
    };
    FileList list;
    list.setFolderReaders(readers);
    std::shared_ptr<const WorkStatus> status;
    connect(&list, &FileList::workStarted, this,
        [&status](const std::shared_ptr<const WorkStatus> &started) { status = started; });
    QList<ListingFailure> failed;
    connect(&list, &FileList::rebuilt, this,
        [&failed](const QList<ListingFailure> &failures) { failed = failures; });
    list.rebuild({ other.path(), ListedFolder(dir.path(), true), other.path() + "/gone" });
    QTRY_VERIFY2_WITH_TIMEOUT(held() == 1, "the walk to be held in the sub-folder", 10000);
    // The progress names the sub-folder being read.
    QVERIFY(status);
    QCOMPARE(status->folder(), dir.filePath(QStringLiteral("a/slow")));
    list.cancel();
    settle(list);
    // Stopped part-way, the folder keeps none of its rows, and is named;
    // so is the folder not begun.
    QCOMPARE(namesOf(*list.model()), QList<QByteArray> { "other.txt" });
    QCOMPARE(failed.size(), 2);
    QCOMPARE(failed[0].folder, dir.path());
    QCOMPARE(failed[0].reason, listingCancelled());
    QCOMPARE(failed[1].reason, listingCancelled());
}

void tst_FileList::unreadableSubfolderNamed()
{
    if (::geteuid() == 0) {
        // Root reads every folder: this test runs again as an unprivileged
        // user, in a child process of its own.
        const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(77);
            ::execl(self.constData(), self.constData(), "unreadableSubfolderNamed", nullptr);
            ::_exit(127);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77)
            QSKIP("cannot become an unprivileged user here");
        QVERIFY2(WEXITSTATUS(status) == 0, "the test failed as an unprivileged user (see above)");
        return;
    }
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("locked/in")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("open")));
    QCOMPARE(dir.createFiles({ "a.txt", "locked/in/x.txt", "open/b.txt" }), QString());
    const QByteArray locked = dir.encodedPath() + "/locked";
    QCOMPARE(::chmod(locked, 0), 0);
    const auto restore = qScopeGuard([&] { ::chmod(locked, 0755); });
    FileList list;
    QStringList failed;
    listWithSubfolders(list, dir.path(), failed);
    settle(list);
    // Named with its reason, in the one warning; the rest is listed.
    QList<QByteArray> rows = namesOf(*list.model());
    std::sort(rows.begin(), rows.end());
    QCOMPARE(rows, (QList<QByteArray> { "a.txt", "open/b.txt" }));
    if (qstrcmp(folderListingMethod(), "qt") == 0)
        QCOMPARE(failed.size(), 1);
    else
        QCOMPARE(failed, QStringList { dir.filePath("locked") + ": " + qt_error_string(EACCES) });
}

QTEST_MAIN(tst_FileList)
#include "tst_filelist.moc"
