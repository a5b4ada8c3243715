// SPDX-License-Identifier: MIT
#include "arranged.h"
#include "core/filelistmodel.h"
#include "core/folderlisting.h"
#include "rows.h"
#include "testdir.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "widgets/namedelegate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

namespace {

QStringList pathsOf(const ListedFolders &folders)
{
    QStringList paths;
    for (const ListedFolder &folder : folders)
        paths << folder.path;
    return paths;
}

// The two lists at the window's sizes, with a button to take the focus
// elsewhere; the file list shows the files of the folders given to list().
struct Lists
{
    Lists()
    {
        files->setFiles(&model);
        window.resize(386, 415);
        folders->setGeometry(7, 35, 372, 82);
        folders->setItemDelegate(new NameDelegate(folders));
        files->setGeometry(7, 147, 372, 232);
        elsewhere->setGeometry(7, 385, 100, 22);
        window.show();
        window.activateWindow();
    }

    // Lists every folder into the file list, in order.
    bool list(const QStringList &paths)
    {
        FileRows rows;
        for (const QString &path : paths) {
            if (!listFolder(path, rows, nullptr))
                return false;
        }
        return showRows(model, std::move(rows));
    }
    void sortByName() { showSorted(model, sortedBy(NameColumn)); }
    QList<QAbstractItemView *> both() const { return { folders, files }; }
    QList<QByteArray> rows() const
    {
        QList<QByteArray> names;
        for (int row = 0; row < files->files()->rowCount(); ++row)
            names << files->files()->name(row).toByteArray();
        return names;
    }

    FileListModel model; // outlives the view
    QWidget window;
    FolderListWidget *folders = new FolderListWidget(&window);
    FileListView *files = new FileListView(&window);
    QPushButton *elsewhere = new QPushButton(QStringLiteral("Elsewhere"), &window);
};

// How the rows change while a type-ahead search runs.
enum RowChange { Rebuild, Sort, RowRemoved, RowPutBack, BulkRemoval, CurrentMoved };

// The tool tip's text as the user reads it, or empty while none shows.
QString shownToolTip(QAbstractItemView *view, const QModelIndex &index)
{
    const QRect cell = view->visualRect(index);
    const QPoint at(std::max(cell.left(), 0) + 5, cell.center().y());
    QHelpEvent event(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event);
    if (!QToolTip::isVisible())
        return QString();
    QTextDocument document;
    document.setHtml(QToolTip::text());
    return document.toPlainText();
}

} // namespace

// The folder list and the file list as controls of their own: what they
// hold, their keys, and the cues that show focus, cut-off text and direction.
class tst_ListWidgets : public QObject
{
    Q_OBJECT

private slots:
    void folderListKeepsExactPaths();
    void focusShowsInLists();
    void keysMoveByRows_data();
    void keysMoveByRows();
    void rowsComingInKeepTheView_data();
    void rowsComingInKeepTheView();
    void deleteAndCopyKeys();
    void cutOffTextShowsInToolTips();
    void eachNameInItsOwnDirection();
    void sortArrowShowsWhole();
    void typeAheadSelectsAsItemViewsDo_data();
    void typeAheadSelectsAsItemViewsDo();
    void typeAheadAnswerForOtherRowsNotApplied_data();
    void typeAheadAnswerForOtherRowsNotApplied();
};

void tst_ListWidgets::folderListKeepsExactPaths()
{
    FolderListWidget folders;
    QVERIFY(folders.addFolder(QStringLiteral("/data/two\nlines")));
    // The exact path is what is compared: one shown alike, or differing in case, is another.
    QVERIFY(!folders.addFolder(QStringLiteral("/data/two\nlines")));
    QVERIFY(folders.addFolder(QStringLiteral("/data/two<U+000A>lines")));
    QVERIFY(folders.addFolder(QStringLiteral("/data/Data")));
    QVERIFY(folders.addFolder(QStringLiteral("/data/data")));
    QCOMPARE(folders.count(), 4);
    QCOMPARE(pathsOf(folders.folders()),
        (QStringList { "/data/two\nlines", "/data/two<U+000A>lines", "/data/Data", "/data/data" }));
    QCOMPARE(folders.folderPath(0), QStringLiteral("/data/two\nlines"));
    QCOMPARE(folders.item(0)->text(), QStringLiteral("/data/two<U+000A>lines"));
    QCOMPARE(folders.folderPath(4), QString());
    delete folders.takeItem(0);
    QCOMPARE(folders.folderPath(0), QStringLiteral("/data/two<U+000A>lines"));

    // However an entry leaves, its path may come back, once, at the end.
    QVERIFY(folders.addFolder(QStringLiteral("/data/two\nlines")));
    QVERIFY(!folders.addFolder(QStringLiteral("/data/two\nlines")));
    delete folders.item(1);
    QVERIFY(folders.addFolder(QStringLiteral("/data/Data")));
    QCOMPARE(pathsOf(folders.folders()),
        (QStringList { "/data/two<U+000A>lines", "/data/data", "/data/two\nlines", "/data/Data" }));
    folders.clear();
    QVERIFY(folders.addFolder(QStringLiteral("/data/data")));
    QVERIFY(!folders.addFolder(QStringLiteral("/data/data")));
    // A trailing separator names the same folder, kept without it.
    QVERIFY(!folders.addFolder(QStringLiteral("/data/data/")));
    QVERIFY(folders.addFolder(QStringLiteral("/")));
    QCOMPARE(pathsOf(folders.folders()), (QStringList { "/data/data", "/" }));
}

void tst_ListWidgets::focusShowsInLists()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a", "b" }), QString());
    Lists lists;
    QVERIFY(QTest::qWaitForWindowActive(&lists.window));
    lists.folders->addFolder(dir.path());
    QVERIFY(lists.list({ dir.path() }));
    lists.folders->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    lists.files->setCurrentIndex(lists.files->model()->index(1, 0));
    for (QAbstractItemView *list : lists.both()) {
        list->setFocus();
        QTRY_VERIFY2(list->hasFocus(), "the list to take the focus");
        const QImage focused = list->viewport()->grab().toImage();
        lists.elsewhere->setFocus();
        QTRY_VERIFY2(!list->hasFocus(), "the list to lose the focus");
        QVERIFY2(list->viewport()->grab().toImage() != focused,
            qPrintable(list->metaObject()->className()
                + QStringLiteral(" looks the same with and without the focus")));
    }
}

void tst_ListWidgets::keysMoveByRows_data()
{
    // Keys that move and select as in a table of the same rows, each with
    // its modifiers; Home and End are the file list's own, below.
    QTest::addColumn<QList<int>>("keys");
    const int shift = int(Qt::ShiftModifier), control = int(Qt::ControlModifier);
    QTest::newRow("down, page down, up") << QList<int> { Qt::Key_Down, Qt::Key_Down,
        Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_Up };
    QTest::newRow("shift extends, page up ends") << QList<int> { Qt::Key_PageDown,
        shift | Qt::Key_Down, shift | Qt::Key_PageDown, shift | Qt::Key_Up, Qt::Key_PageUp };
    QTest::newRow("control moves the current row alone, space picks it")
        << QList<int> { Qt::Key_Down, control | Qt::Key_Down, control | Qt::Key_Down,
               control | Qt::Key_Space, control | Qt::Key_PageDown, control | Qt::Key_Space };
    QTest::newRow("left and right stay within the row") << QList<int> { Qt::Key_Down, Qt::Key_Right,
        Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Left };
    QTest::newRow("all, then to the end and back") << QList<int> { control | Qt::Key_A,
        control | Qt::Key_End, shift | Qt::Key_PageUp, control | Qt::Key_Home, Qt::Key_PageDown };
}

void tst_ListWidgets::keysMoveByRows()
{
    QFETCH(QList<int>, keys);
    TestDir dir, other;
    QList<QByteArray> names;
    for (int i = 0; i < 60; ++i)
        names << QByteArray::number(100 + i) + ".txt";
    QCOMPARE(dir.createFiles(names), QString());
    QCOMPARE(other.createFiles({ "x" }), QString());
    Lists lists;
    QVERIFY(QTest::qWaitForWindowActive(&lists.window));
    lists.folders->addFolder(dir.path());
    lists.folders->addFolder(other.path());
    QVERIFY(lists.list({ dir.path(), other.path() }));

    // The first Down selects the first row, though the view made it current on focus.
    for (QAbstractItemView *list : lists.both()) {
        list->clearSelection();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list->selectionModel()->selectedRows().first().row(), 0);
    }

    // A table of the same rows, rows and size, as the keys' reference.
    FileListView *files = lists.files;
    QTRY_VERIFY2(files->verticalScrollBar()->isVisible(), "the file list to be laid out");
    QTableView table(&lists.window);
    table.setModel(&lists.model);
    table.setGeometry(files->geometry());
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setShowGrid(false);
    table.verticalHeader()->hide();
    table.verticalHeader()->setMinimumSectionSize(1);
    table.verticalHeader()->setDefaultSectionSize(files->rowHeight());
    for (int column : { 0, 1 })
        table.horizontalHeader()->resizeSection(column, files->header()->sectionSize(column));
    table.setHorizontalScrollMode(files->horizontalScrollMode());
    table.setItemDelegate(files->itemDelegate());
    table.show();
    for (QAbstractItemView *view : QList<QAbstractItemView *> { files, &table }) {
        view->setCurrentIndex(lists.model.index(0, 0));
        view->setFocus();
        for (const int key : keys)
            QTest::keyClick(view, Qt::Key(key & ~Qt::KeyboardModifierMask),
                Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
    }
    QCOMPARE(files->currentIndex(), table.currentIndex());
    QCOMPARE(files->selectionModel()->selection(), table.selectionModel()->selection());
    QCOMPARE(files->verticalScrollBar()->value(), table.verticalScrollBar()->value());
    QCOMPARE(files->visualRect(files->currentIndex()), table.visualRect(table.currentIndex()));
    // And its rows look as the table draws them, pixel for pixel (the focus
    // elsewhere, whose frame is the file list's own).
    lists.elsewhere->setFocus();
    QTRY_VERIFY2(!files->hasFocus() && !table.hasFocus(), "the focus to leave the lists");
    QCOMPARE(files->viewport()->grab().toImage(), table.viewport()->grab().toImage());

    const int last = files->model()->rowCount() - 1;
    QCOMPARE(last, 60);
    files->setCurrentIndex(files->model()->index(10, 1)); // the Extension cell
    QTest::keyClick(files, Qt::Key_End);
    QCOMPARE(files->selectedRow(), last);
    QCOMPARE(files->currentIndex().column(), 1);
    QTest::keyClick(files, Qt::Key_Home);
    QCOMPARE(files->selectedRow(), 0);
    QTest::keyClick(files, Qt::Key_PageDown);
    QVERIFY2(files->selectedRow() > 5 && files->selectedRow() < last, "a page down, in rows");
}

void tst_ListWidgets::rowsComingInKeepTheView_data()
{
    // Sorted or in listing order as they come, and the row picked, as rows
    // below the top row (-1 none): the row picked stays where it is while it
    // is in view, else the row at the top does.
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<int>("picked");
    QTest::newRow("sorted, a row picked in view") << true << 9;
    QTest::newRow("sorted, none picked") << true << -1;
    QTest::newRow("sorted, the row picked scrolled away") << true << 60;
    QTest::newRow("in listing order, a row picked") << false << 9;
}

void tst_ListWidgets::rowsComingInKeepTheView()
{
    QFETCH(bool, sorted);
    QFETCH(int, picked);
    // A listing going on: every second name now, the rest later.
    QList<QByteArray> first;
    for (int i = 0; i < 400; i += 2)
        first << "file " + QByteArray::number(1000 + i) + ".txt";
    for (int i = 1; i < 400; i += 2)
        first << "file " + QByteArray::number(1000 + i) + ".txt"; // listed later
    Lists lists;
    QVERIFY(QTest::qWaitForWindowExposed(&lists.window));
    const SortState state = sorted ? sortedBy(NameColumn) : SortState {};
    showRows(lists.model, rowsOf(first.mid(0, 200)), state);
    FileListView *files = lists.files;
    QScrollBar *bar = files->verticalScrollBar();
    QTRY_VERIFY2_WITH_TIMEOUT(bar->maximum() > 0, "the rows to be laid out", 10000);
    bar->setValue(bar->maximum() / 2);
    const int top = files->rowAt(0);
    const QByteArray topName = lists.model.name(top).toByteArray();
    QByteArray pickedName;
    if (picked >= 0) {
        files->setCurrentIndex(files->model()->index(top + picked, 0));
        pickedName = lists.model.name(top + picked).toByteArray();
        if (picked > 20)
            bar->setValue(bar->value() - 10);
    }
    const auto placeOf = [&](const QByteArray &name) {
        const int row = int(lists.rows().indexOf(name));
        return files->visualRect(files->model()->index(row, 0)).top();
    };
    const bool inView = picked >= 0 && picked < 20;
    const QByteArray kept = inView ? pickedName : lists.model.name(files->rowAt(0)).toByteArray();
    const int place = placeOf(kept);

    FileArrangement more;
    arrangeRows(more, rowsOf(first), state);
    lists.model.extendArrangement(std::move(more));
    QCOMPARE(lists.model.rowCount(), 400);
    QTRY_VERIFY2_WITH_TIMEOUT(bar->maximum() > 300, "the rows added to be laid out", 10000);
    QCOMPARE(placeOf(kept), place);
    if (!sorted)
        QCOMPARE(lists.model.name(files->rowAt(0)).toByteArray(), topName);
    QCOMPARE(files->selectionModel()->selectedRows().size(), picked >= 0 ? 1 : 0);
    if (picked >= 0)
        QCOMPARE(lists.model.name(files->selectedRow()).toByteArray(), pickedName);
}

void tst_ListWidgets::deleteAndCopyKeys()
{
    TestDir first, second;
    QCOMPARE(first.createFiles({ "a.txt", "b.txt", "c.txt" }), QString());
    QCOMPARE(second.createFiles({ "d.txt" }), QString());
    Lists lists;
    QVERIFY(QTest::qWaitForWindowActive(&lists.window));
    lists.folders->addFolder(first.path());
    lists.folders->addFolder(second.path());
    QVERIFY(lists.list({ first.path(), second.path() }));
    lists.sortByName();

    // Copy takes the selected row's name as shown; Delete is left to the
    // window's command, which the window adds to each list.
    const auto removeCommand = [](QWidget *list) {
        auto *remove = new QAction(list);
        remove->setShortcut(QKeySequence::Delete);
        remove->setShortcutContext(Qt::WidgetShortcut);
        list->addAction(remove);
        return remove;
    };
    FileListView *files = lists.files;
    QSignalSpy removeFile(removeCommand(files), &QAction::triggered);
    files->setFocus();
    files->setCurrentIndex(files->model()->index(1, 1)); // b.txt, the Extension cell
    QTest::keyClick(files, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("b.txt"));
    QTest::keyClick(files, Qt::Key_Delete);
    QCOMPARE(removeFile.count(), 1);
    QCOMPARE(lists.rows().size(), 4);

    FolderListWidget *folders = lists.folders;
    QSignalSpy removeFolder(removeCommand(folders), &QAction::triggered);
    folders->setFocus();
    folders->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(folders, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), first.path());
    QTest::keyClick(folders, Qt::Key_Delete);
    QCOMPARE(removeFolder.count(), 1);
    QCOMPARE(folders->count(), 2);

    // No other key stands for a command or changes a list.
    for (QWidget *list : { static_cast<QWidget *>(folders), static_cast<QWidget *>(files) }) {
        for (const Qt::Key key : { Qt::Key_Backspace, Qt::Key_Insert, Qt::Key_Space, Qt::Key_F2 })
            QTest::keyClick(list, key);
    }
    QCOMPARE(removeFile.count(), 1);
    QCOMPARE(removeFolder.count(), 1);
    QCOMPARE(pathsOf(folders->folders()), (QStringList { first.path(), second.path() }));
    QCOMPARE(lists.rows().size(), 4);
}

void tst_ListWidgets::cutOffTextShowsInToolTips()
{
    TestDir dir;
    const QByteArray longName = QByteArray(70, 'n') + "<b>bold&amp;.txt";
    const QByteArray longest = QByteArray(250, 'm') + ".txt"; // wider than the screen
    QCOMPARE(dir.createFiles({ "short.txt", longName, longest }), QString());
    const QString deep = dir.filePath(QString(90, u'f'));
    QVERIFY(QDir().mkpath(deep));
    QCOMPARE(dir.createFiles({ QFile::encodeName(QString(90, u'f')) + "/x" }), QString());
    Lists lists;
    QVERIFY(QTest::qWaitForWindowActive(&lists.window));
    lists.folders->addFolder(dir.path());
    lists.folders->addFolder(deep);
    QVERIFY(lists.list({ dir.path(), deep }));
    lists.sortByName(); // m..., n..., short.txt, x

    FileListView *files = lists.files;
    const QAbstractItemModel *model = files->model();
    QCOMPARE(shownToolTip(files, model->index(2, 0)), QString()); // short.txt fits
    QTRY_VERIFY2(!QToolTip::isVisible(), "no tool tip");
    QCOMPARE(shownToolTip(files, model->index(1, 0)).remove(u'\n'), QString::fromUtf8(longName));
    // Broken into lines within the screen, so that its end shows too.
    QCOMPARE(shownToolTip(files, model->index(0, 0)).remove(u'\n'), QString::fromUtf8(longest));
    const QWidgetList tips = QApplication::topLevelWidgets();
    const auto tip = std::find_if(tips.begin(), tips.end(),
        [](const QWidget *widget) { return widget->inherits("QTipLabel") && widget->isVisible(); });
    QVERIFY(tip != tips.end());
    QVERIFY2((*tip)->width() <= files->screen()->availableGeometry().width(),
        qPrintable(QString::number((*tip)->width())));

    FolderListWidget *folders = lists.folders;
    QToolTip::hideText();
    QTRY_VERIFY2(!QToolTip::isVisible(), "the tool tip to go");
    QCOMPARE(shownToolTip(folders, folders->model()->index(0, 0)), QString());
    QCOMPARE(shownToolTip(folders, folders->model()->index(1, 0)), deep);
    QToolTip::hideText();
}

void tst_ListWidgets::eachNameInItsOwnDirection()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "שלום.txt", "abc.txt" }), QString());
    Lists lists;
    QVERIFY(lists.list({ dir.path() }));
    auto *delegate = dynamic_cast<NameDelegate *>(lists.files->itemDelegate());
    QVERIFY(delegate);
    auto laidOut = [&](const QByteArray &name) {
        const int row = lists.rows().indexOf(name);
        QStyleOptionViewItem option;
        option.initFrom(lists.files);
        delegate->initStyleOption(&option, lists.files->model()->index(row, 0));
        return std::pair(option.direction, option.displayAlignment & Qt::AlignHorizontal_Mask);
    };
    const auto left = Qt::AlignLeft | Qt::AlignAbsolute;
    QCOMPARE(laidOut("שלום.txt"), std::pair(Qt::RightToLeft, left));
    QCOMPARE(laidOut("abc.txt"), std::pair(Qt::LeftToRight, left));
    // In a right-to-left window names line up on the right, and keep their own direction.
    lists.window.setLayoutDirection(Qt::RightToLeft);
    const auto right = Qt::AlignRight | Qt::AlignAbsolute;
    QCOMPARE(laidOut("שלום.txt"), std::pair(Qt::RightToLeft, right));
    QCOMPARE(laidOut("abc.txt"), std::pair(Qt::LeftToRight, right));
}

void tst_ListWidgets::sortArrowShowsWhole()
{
    Lists lists;
    QHeaderView *header = lists.files->horizontalHeader();
    const auto columnsEnd
        = [&] { return header->sectionViewportPosition(1) + header->sectionSize(1); };
    QCOMPARE(header->sectionSize(1), 96); // as designed while every row fits
    QVERIFY(columnsEnd() <= lists.files->viewport()->width());

    // Enough rows for a scroll bar, which narrows the rows' width.
    FileRows rows;
    for (int i = 0; i < 100; ++i)
        rows.append(QByteArray::number(i) + ".txt");
    showRows(lists.model, std::move(rows));
    QTRY_VERIFY2(lists.files->verticalScrollBar()->isVisible(), "awaited the scroll bar");
    QTRY_VERIFY2(columnsEnd() <= lists.files->viewport()->width(),
        "awaited \"Extension\" to end within the list, where its arrow is drawn");
    QVERIFY(header->sectionSize(1) >= 48);
}

void tst_ListWidgets::typeAheadSelectsAsItemViewsDo_data()
{
    // The current row at first (-1 for none) and its cell's column in the
    // file list (Qt's view searches the current cell's column, and is given
    // "File Name"), and the keys, each string typed within the keyboard
    // interval, a pause before each string.
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("typed");
    QTest::newRow("a letter") << 0 << 0 << QStringList { "a" };
    QTest::newRow("letters together") << 9 << 0 << QStringList { "ap", "ba" };
    QTest::newRow("a letter repeated") << 11 << 0 << QStringList { "aa", "aaa", "bb" };
    QTest::newRow("a letter after pauses")
        << 0 << 0 << QStringList { "a", "a", "a", "b", "b", "b" };
    QTest::newRow("no current row") << -1 << 0 << QStringList { "a", "b" };
    QTest::newRow("wraps round") << 10 << 0 << QStringList { "b", "k" };
    QTest::newRow("case folded") << 0 << 0 << QStringList { "É", "éc", "\u212A", "ÉCOLE." };
    QTest::newRow("not UTF-8, as shown") << 0 << 0 << QStringList { "\uFFFD", "\uFFFDt", "ét" };
    QTest::newRow("escapes, as shown") << 0 << 0 << QStringList { "<", "<", "<", "<u+000a>l", " " };
    QTest::newRow("found nowhere") << 1 << 0 << QStringList { "q", "aq", "zzz", "bx" };
    QTest::newRow("by name from the Extension cell") << 0 << 1 << QStringList { "p", "a", "j" };
}

void tst_ListWidgets::typeAheadSelectsAsItemViewsDo()
{
    QFETCH(int, current);
    QFETCH(int, column);
    QFETCH(QStringList, typed);
    Lists lists;
    showRows(lists.model,
        rowsOf({ "Apple.txt", "banana", "apricot.pdf", "\xe9t\xe9.txt", "\nlines", "<U+0041>x",
            "École.doc", "école.txt", "avocado", "Kelvin", "Banana.jpg", "aardvark", "AAA.txt" }));
    // Qt's own search, in a plain view of the same rows.
    QTableView qts;
    qts.setSelectionMode(lists.files->selectionMode());
    qts.setSelectionBehavior(QAbstractItemView::SelectRows);
    qts.setModel(&lists.model);
    const QList<QAbstractItemView *> views = { lists.files, &qts };
    const QItemSelection more(lists.model.index(3, 0), lists.model.index(5, 1));
    for (QAbstractItemView *view : views) {
        view->setCurrentIndex(current < 0 ? QModelIndex() : lists.model.index(current, 0));
        // Rows selected besides, which a row found replaces.
        view->selectionModel()->select(more, QItemSelectionModel::Select);
    }
    lists.files->setCurrentIndex(lists.model.index(current, column));
    lists.files->selectionModel()->select(more, QItemSelectionModel::Select);

    const int interval = QApplication::keyboardInputInterval();
    const auto restore
        = qScopeGuard([interval] { QApplication::setKeyboardInputInterval(interval); });
    QElapsedTimer sinceKey;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QString &keys = typed[i];
        // Keys typed 1 ms apart or more, past an interval of 0, start over.
        QApplication::setKeyboardInputInterval(0);
        QTRY_VERIFY2(!sinceKey.isValid() || sinceKey.elapsed() > 0, "awaited a millisecond");
        for (qsizetype k = 0; k < keys.size(); ++k) {
            if (k == 1)
                QApplication::setKeyboardInputInterval(3600 * 1000);
            for (QAbstractItemView *view : views) {
                QTest::sendKeyEvent(QTest::Click, view, Qt::Key(keys[k].toUpper().unicode()),
                    QString(keys[k]), Qt::NoModifier);
            }
            sinceKey.start();
        }
        QTRY_VERIFY2(!lists.files->isSearching(), "awaited the type-ahead search");
        const QString at = "after " + typed.first(i + 1).join(u'|');
        QVERIFY2(lists.files->currentIndex().row() == qts.currentIndex().row(), qPrintable(at));
        std::vector<uint32_t> selected;
        for (const QModelIndex &row : qts.selectionModel()->selectedRows())
            selected.push_back(uint32_t(row.row()));
        std::sort(selected.begin(), selected.end());
        QVERIFY2(lists.files->selectedPositions() == selected, qPrintable(at));
        // The current cell keeps its column.
        if (current >= 0)
            QCOMPARE(lists.files->currentIndex().column(), column);
    }
}

void tst_ListWidgets::typeAheadAnswerForOtherRowsNotApplied_data()
{
    // What changes while "a" is looked for from b.txt, and the row it selects then.
    QTest::addColumn<int>("change");
    QTest::addColumn<QByteArray>("selected");
    QTest::newRow("a rebuild") << int(Rebuild) << QByteArray("a7.txt");
    QTest::newRow("a sort") << int(Sort) << QByteArray("a.txt");
    QTest::newRow("a row removed") << int(RowRemoved) << QByteArray("a.txt");
    QTest::newRow("a row put back") << int(RowPutBack) << QByteArray("a.doc");
    QTest::newRow("rows removed in bulk") << int(BulkRemoval) << QByteArray("a.txt");
    // The current row moved after the key: that move stands.
    QTest::newRow("the current row moved") << int(CurrentMoved) << QByteArray("c.txt");
}

void tst_ListWidgets::typeAheadAnswerForOtherRowsNotApplied()
{
    QFETCH(int, change);
    QFETCH(QByteArray, selected);
    Lists lists;
    FileListModel &model = lists.model;
    showRows(model, rowsOf({ "b.txt", "a.doc", "c.txt", "a.txt", "d.txt" }));
    RemovedRows removed;
    if (change == RowPutBack)
        removed = model.takeRowAt(1);
    FileListView *files = lists.files;
    files->setCurrentIndex(model.index(0, 0));
    QList<QByteArray> madeCurrent;
    connect(files->selectionModel(), &QItemSelectionModel::currentChanged, files,
        [&](const QModelIndex &index) {
            madeCurrent << (index.isValid() ? model.name(index.row()).toByteArray() : "");
        });

    // Changed before the search's answer can come: it comes through the event loop.
    QTest::keyClick(files, Qt::Key_A);
    const int answer = lists.rows().indexOf(change == RowPutBack ? "a.txt" : "a.doc");
    FileArrangement withoutDoc = model.arrangement();
    switch (RowChange(change)) {
    case Rebuild:
        showRows(model, rowsOf({ "c.txt", "x.txt", "a7.txt", "a8.txt" }));
        break;
    case Sort:
        showSorted(model, sortedBy(NameColumn, Qt::DescendingOrder));
        break;
    case RowRemoved:
        model.takeRowAt(answer);
        break;
    case RowPutBack:
        model.putRowsBack(removed);
        break;
    case BulkRemoval:
        takeByExtension(withoutDoc, "doc", false);
        model.setArrangement(std::move(withoutDoc));
        break;
    case CurrentMoved:
        files->setCurrentIndex(model.index(2, 0));
        break;
    }
    const QByteArray wrong = lists.rows().value(answer);
    QTRY_VERIFY2(!files->isSearching(), "awaited the type-ahead search");
    QCOMPARE(lists.rows().value(files->selectedRow()), selected);
    QVERIFY2(!madeCurrent.contains(wrong), "the answer for the rows before was applied");
}

QTEST_MAIN(tst_ListWidgets)
#include "tst_listwidgets.moc"
