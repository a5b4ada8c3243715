// SPDX-License-Identifier: MIT
#include "arranged.h"
#include "core/atomicsave.h"
#include "core/displaytext.h"
#include "core/filelistmodel.h"
#include "core/folderlisting.h"
#include "core/textexport.h"
#include "core/workerpool.h"
#include "heldreader.h"
#include "modaldriver.h"
#include "testdir.h"
#include "widgets/commondialog.h"
#include "window/savesatexit.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

// Drops urls on target as a file manager would offer them; returns whether it took them as a copy.
bool dropUrls(QWidget *target, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
}

} // namespace

// The window's commands: what each button, key and drop does to the two
// lists, the rebuilds and sorts they start, saving, and ending the program.
class tst_MainWindow : public QObject
{
    Q_OBJECT

public:
    // Qt's own dialogs, which the tests can drive, on every platform.
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

public slots:
    // The desktop's handler of file addresses, where a test stands in for it.
    void urlOpened(const QUrl &url) { m_opened << url; }

private slots:
    void init();
    void enterAndEscapeStartNothing();
    void infoShowsHelp();
    void deleteAndCopyKeys();
    void standardKeys_data();
    void standardKeys();
    void contextMenus_data();
    void contextMenus();

    void addFolders();
    void addCancelledChangesNothing();
    void addByTypingInTheDialog();
    void foldersDifferingInCase();
    void removeFolder();
    void subfoldersUndoneAndRedone_data();
    void subfoldersUndoneAndRedone();
    void removeNeedsASelectedFolder();
    void unlistableFolderIsReported();
    void warningNamesFolderThenReason();
    void folderListShowsPathsByDisplayRules();
    void dialogsOpenWhereTheLastFileWas();
    void dropAddsFolders();
    void longWarningsFitTheScreen_data();
    void longWarningsFitTheScreen();

    void removeRows();
    void headerClicksSort();
    void tooManyKeysToSortIsReported();

    void saveWritesTheListAsShown();
    void saveCancelledWritesNothing();
    void saveCancelledShowsNothing();
    void saveFailureIsReported();
    void savesAtExit_data();
    void savesAtExit();
    void closeWaitsForASave_data();
    void closeWaitsForASave();
    void closeWhileADialogHangs_data();
    void closeWhileADialogHangs();

    void progressAndCancel_data();
    void progressAndCancel();
    void addAndRemoveReplaceTheRebuild();
    void commandsWaitForTheList_data();
    void commandsWaitForTheList();
    void sameResultAsListingInPlace();

    void closeEndsTheProgram();

private:
    // A row of progressAndCancel's table.
    void keepsThePlaceWhileRowsComeIn();
    QList<QUrl> m_opened;
};

void tst_MainWindow::enterAndEscapeStartNothing()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a" }), QString());
    Window ui;
    QVERIFY(ui.waitActive());
    ui.add(dir.filePath("a"));
    ui.selectFolder(0);
    ui.selectFile(0);
    for (QWidget *focus :
        { static_cast<QWidget *>(ui.folders()), static_cast<QWidget *>(ui.files()) }) {
        focus->setFocus();
        for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape })
            QTest::keyClick(focus, key);
    }
    QCOMPARE(ui.dialogs.fileDialogs.size(), 1);
    QCOMPARE(ui.dialogs.boxes.size(), 0);
    QCOMPARE(ui.folderList().size(), 1);
    QCOMPARE(ui.rows().size(), 1);

    // A focused button is pressed by Enter as by Space; Escape presses nothing.
    QPushButton *info = ui.control("Command2");
    QTest::keyClick(info, Qt::Key_Escape);
    QTest::keyClick(info, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(ui.dialogs.boxes.size(), 1);
    ui.dialogs.cancel();
    QTest::keyClick(ui.control("CmdAddFolder"), Qt::Key_Return);
    QCOMPARE(ui.dialogs.fileDialogs.size(), 2);
    QVERIFY(ui.window.isVisible());
}

void tst_MainWindow::infoShowsHelp()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a.txt", "b.txt" }), QString());
    Window ui;
    ui.add(dir.filePath("a.txt"));
    ui.selectFile(1);

    ui.control("Command2")->click();
    QCOMPARE(ui.dialogs.boxes.size(), 1);
    const ModalDriver::Box box = ui.dialogs.boxes.first();
    QCOMPARE(box.title, QStringLiteral("Quillmere"));
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QCOMPARE(box.text,
        QStringLiteral("This Program convert list of files into text file.\n"
                       "\n"
                       "How To Use:\n"
                       "1. Add folder to collect list of files (chose one file inside the "
                       "folder)\n"
                       "2. Modify your folder selection with add/remove button\n"
                       "3. Modify your list of files with remove button\n"
                       "4. Save File List into TXT format\n"
                       "\n"
                       "Created by: quillmere@example.org\n"));
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
    QCOMPARE(ui.rows().size(), 2);
    QCOMPARE(ui.files()->selectedRow(), 1);
}

void tst_MainWindow::deleteAndCopyKeys()
{
    TestDir first, second;
    QCOMPARE(first.createFiles({ "a.txt", "b.txt", "c.txt" }), QString());
    QCOMPARE(second.createFiles({ "d.txt" }), QString());
    Window ui;
    QVERIFY(ui.waitActive());
    ui.add(first.filePath("a.txt"));
    ui.add(second.filePath("d.txt"));
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending

    // Delete in a list does what its "Remove" does (the keys themselves are
    // the lists' own, tested with them).
    ui.activate();
    FileListView *files = ui.files();
    files->setFocus();
    files->setCurrentIndex(files->model()->index(1, 1)); // b.txt, the Extension cell
    QTest::keyClick(files, Qt::Key_Delete);
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a.txt", "c.txt", "d.txt" }));
    QCOMPARE(files->selectedRow(), 1); // as "Remove" leaves it

    // The key gives the button's command, and nothing while it is disabled,
    // when the button is disabled too.
    ui.command("CmdDelList")->setEnabled(false);
    QVERIFY(!ui.control("CmdDelList")->isEnabled());
    QTest::keyClick(files, Qt::Key_Delete);
    QCOMPARE(ui.rows().size(), 3);
    ui.command("CmdDelList")->setEnabled(true);

    FolderListWidget *folders = ui.folders();
    folders->setFocus();
    ui.selectFolder(0);
    QTest::keyClick(folders, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), first.path());
    QTest::keyClick(folders, Qt::Key_Delete);
    ui.settle();
    QCOMPARE(ui.folderList(), QStringList { second.path() });
    QCOMPARE(ui.rows(), QList<QByteArray> { "d.txt" }); // rebuilt, as after "Remove"

    // No other key starts a command.
    for (QWidget *list : { static_cast<QWidget *>(folders), static_cast<QWidget *>(files) }) {
        for (const Qt::Key key : { Qt::Key_Backspace, Qt::Key_Insert, Qt::Key_Space, Qt::Key_F2 })
            QTest::keyClick(list, key);
    }
    QCOMPARE(ui.folderList().size(), 1);
    QCOMPARE(ui.rows().size(), 1);
    QCOMPARE(ui.dialogs.fileDialogs.size(), 2);
    QCOMPARE(ui.dialogs.boxes.size(), 0);
}

void tst_MainWindow::standardKeys_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("Ctrl+O adds") << QKeySequence(Qt::CTRL | Qt::Key_O) << "CmdAddFolder"
                                 << "Add Folder (Ctrl+O)";
    QTest::newRow("Ctrl+S saves") << QKeySequence(Qt::CTRL | Qt::Key_S) << "CmdSaveTXT"
                                  << "Save List to TXT File (Ctrl+S)";
    QTest::newRow("F1 informs") << QKeySequence(Qt::Key_F1) << "Command2"
                                << "Info (F1)";
    QTest::newRow("Ctrl+Q closes") << QKeySequence(Qt::CTRL | Qt::Key_Q) << "Command1"
                                   << "Close (Ctrl+Q, Ctrl+W)";
    QTest::newRow("Ctrl+W closes") << QKeySequence(Qt::CTRL | Qt::Key_W) << "Command1"
                                   << "Close (Ctrl+Q, Ctrl+W)";
}

void tst_MainWindow::standardKeys()
{
    QFETCH(QKeySequence, key);
    QFETCH(QString, button);
    QFETCH(QString, toolTip);
    Window ui;
    QVERIFY(ui.waitActive());
    QPushButton *pressed = ui.control(qPrintable(button));
    QCOMPARE(pressed->toolTip(), toolTip);
    QAction *command = ui.command(qPrintable(button));
    QVERIFY(command);
    // From either list, the key gives the button's command, and only that one.
    QList<QAction *> commands = ui.window.findChildren<QAction *>();
    std::vector<std::unique_ptr<QSignalSpy>> given;
    for (QAction *any : commands)
        given.push_back(std::make_unique<QSignalSpy>(any, &QAction::triggered));
    for (QAbstractItemView *list : ui.lists()) {
        ui.activate(); // again, after a dialog
        list->setFocus();
        QTest::keySequence(list, key);
    }
    for (size_t i = 0; i < given.size(); ++i)
        QCOMPARE(given[i]->count(), commands[qsizetype(i)] == command ? 2 : 0);
    // Nothing given while the command is disabled, which disables its button too.
    command->setEnabled(false);
    QVERIFY(!pressed->isEnabled());
    ui.activate();
    QTest::keySequence(ui.files(), key);
    QCOMPARE(given[size_t(commands.indexOf(command))]->count(), 2);
    QVERIFY(ui.window.isVisible());
}

void tst_MainWindow::contextMenus_data()
{
    // Two folders with an empty one between, sorted by name: a.txt (@1),
    // a.txt (@2), b.TXT, c.jpg, README. "|" stands for a separator, " -" ends
    // an item that is disabled.
    QTest::addColumn<bool>("inFolders");
    QTest::addColumn<int>("row"); // the row it opens on; -1 none
    QTest::addColumn<int>("how"); // 0 right click, 1 the Menu key, 2 Shift+F10
    QTest::addColumn<bool>("busy"); // while a third folder is listed
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("clipboard"); // "@1", "@2" the folders; null: as it was
    QTest::addColumn<int>("left"); // the entries left in that list
    // Open in File Manager: "handled" by the desktop, or "none" there to open it.
    QTest::addColumn<QString>("opened");
    // The listing is a step to undo; nothing is undone yet, and the history waits while busy.
    const QStringList undo { "|", "&Undo\tCtrl+Z", "Re&do\tCtrl+Shift+Z -" };
    const QStringList undoBusy { "|", "&Undo\tCtrl+Z -", "Re&do\tCtrl+Shift+Z -" };
    const auto onRow = [&](const QString &extension, bool busy = false) {
        const QString off = busy ? QStringLiteral(" -") : QString();
        return QStringList { "&Remove\tDel" + off, "Remove &All " + extension + off,
            "&Keep Only " + extension + off, "&Copy Name\tCtrl+C", "Copy All &Names",
            "Copy All &Paths" }
        + (busy ? undoBusy : undo);
    };
    const QStringList txt = onRow(".TXT Files");
    const QStringList none = onRow("Files Without Extension");
    const QStringList folder { "&Remove\tDel", "&Copy Path\tCtrl+C", "&Open in File Manager", "|",
        "Include &Sub-folders", "Use &Parent Folder", "|", "Choose &Folder…\tCtrl+Shift+O",
        "Read Folders &Again\tF5" };
    const QString same;
    QTest::newRow("right click: copy its name") << false << 2 << 0 << false << txt << "&Copy Name"
                                                << "b.TXT" << 5 << "";
    QTest::newRow("Shift+F10: keep its extension")
        << false << 2 << 2 << false << txt << "&Keep Only .TXT Files" << same << 3 << "";
    QTest::newRow("Menu key: remove rows without extension")
        << false << 4 << 1 << false << none << "Remove &All Files Without Extension" << same << 4
        << "";
    QTest::newRow("right click: remove")
        << false << 0 << 0 << false << onRow(".txt Files") << "&Remove" << same << 4 << "";
    QTest::newRow("no row: copy all names")
        << false << -1 << 0 << false << QStringList { "Copy All &Names", "Copy All &Paths" } + undo
        << "Copy All &Names"
        << "a.txt\na.txt\nb.TXT\nc.jpg\nREADME\n"
        << 5 << "";
    QTest::newRow("Menu key, none selected: copy all paths")
        << false << -1 << 1 << false << QStringList { "Copy All &Names", "Copy All &Paths" } + undo
        << "Copy All &Paths"
        << "@1/a.txt\n@2/a.txt\n@1/b.TXT\n@2/c.jpg\n@1/README\n"
        << 5 << "";
    // The rows about to be replaced: nothing takes them out meanwhile; the
    // listing then adds the third folder's file.
    QTest::newRow("busy: remove is disabled")
        << false << 3 << 0 << true << onRow(".jpg Files", true) << "&Remove" << same << 6 << "";
    QTest::newRow("busy: copy its name")
        << false << 2 << 1 << true << onRow(".TXT Files", true) << "&Copy Name"
        << "b.TXT" << 6 << "";
    QTest::newRow("folder: copy path") << true << 2 << 0 << false << folder << "&Copy Path\tCtrl+C"
                                       << "@2" << 3 << "";
    QTest::newRow("folder, Menu key: remove")
        << true << 0 << 1 << false << folder << "&Remove\tDel" << same << 2 << "";
    QTest::newRow("folder, busy: remove starts the listing again")
        << true << 3 << 0 << true << folder << "&Remove\tDel" << same << 3 << "";
    QTest::newRow("folder: open in the file manager")
        << true << 1 << 0 << false << folder << "&Open in File Manager" << same << 3 << "handled";
    QTest::newRow("folder: open, no file manager")
        << true << 1 << 0 << false << folder << "&Open in File Manager" << same << 3 << "none";
    QTest::newRow("folder: include its sub-folders")
        << true << 0 << 0 << false << folder << "Include &Sub-folders" << same << 3 << "";
    QTest::newRow("folder, no row: read them again")
        << true << -1 << 0 << false
        << QStringList { "Choose &Folder…\tCtrl+Shift+O", "Read Folders &Again\tF5" }
        << "Read Folders &Again" << same << 3 << "";
}

void tst_MainWindow::contextMenus()
{
    QFETCH(bool, inFolders);
    QFETCH(int, row);
    QFETCH(int, how);
    QFETCH(bool, busy);
    QFETCH(QStringList, items);
    QFETCH(QString, chosen);
    QFETCH(QString, clipboard);
    QFETCH(int, left);
    QFETCH(QString, opened);
    TestDir first, empty, second, third;
    QCOMPARE(first.createFiles({ "a.txt", "b.TXT", "README" }), QString());
    QCOMPARE(second.createFiles({ "a.txt", "c.jpg" }), QString());
    QVERIFY(QDir(third.path()).mkdir(QStringLiteral("slow")));
    QCOMPARE(third.createFiles({ "slow/d.doc" }), QString());
    HeldReader held;
    Window ui;
    QVERIFY(ui.waitActive());
    ui.list()->setFolderReaders(held.reader());
    ui.window.addPaths({ first.encodedPath(), empty.encodedPath(), second.encodedPath() });
    ui.settle();
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending
    if (busy) {
        const auto before = ui.list()->model()->arrangement().rows;
        ui.window.addPaths({ third.encodedPath() + "/slow" });
        QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 1, "the third folder to be held", 10000);
        // The rows read before it, shown while it is held.
        QTRY_VERIFY2_WITH_TIMEOUT(
            ui.list()->model()->arrangement().rows != before && ui.list()->model()->rowCount() == 5,
            "the first folders' rows to be shown again", 10000);
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("as it was"));

    // A right click selects its row first; the keys open on the selected row.
    QAbstractItemView *list = inFolders ? ui.lists().first() : ui.lists().last();
    list->setFocus();
    list->clearSelection();
    const QModelIndex index = list->model()->index(row, 0);
    if (how == 0) {
        const QPoint at = row >= 0 ? list->visualRect(index).center()
                                   : list->viewport()->rect().bottomLeft() + QPoint(5, -5);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &click);
    } else {
        if (row >= 0)
            list->setCurrentIndex(index);
        QTest::keyClick(list, how == 1 ? Qt::Key_Menu : Qt::Key_F10,
            how == 1 ? Qt::NoModifier : Qt::ShiftModifier);
    }
    auto *menu = list->findChild<QMenu *>(QStringLiteral("ContextMenu"));
    QCOMPARE(menu != nullptr, !items.isEmpty());
    if (menu) {
        QVERIFY(menu->isVisible());
        QStringList shown;
        QAction *choice = nullptr;
        for (QAction *action : menu->actions()) {
            const QKeySequence key = action->shortcut();
            shown << (action->isSeparator()
                    ? QStringLiteral("|")
                    : action->text() + (key.isEmpty() ? QString() : u'\t' + key.toString())
                        + (action->isEnabled() ? QString() : QStringLiteral(" -")));
            if (action->text() == chosen || shown.last() == chosen)
                choice = action;
        }
        QCOMPARE(shown, items);
        QVERIFY(choice);
        if (opened == "handled")
            QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "urlOpened");
        // Nothing to open it with: on X11 and Wayland Qt would start
        // xdg-open or a browser found on the PATH (offscreen has no way at all).
        const QTemporaryDir nowhere;
        const QByteArray path = qgetenv("PATH");
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        if (opened == "none") {
            qputenv("PATH", QFile::encodeName(nowhere.path()));
            qunsetenv("BROWSER");
            qunsetenv("DEFAULT_BROWSER");
        }
        choice->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        menu->close();
    }
    held.letGo();
    ui.settle();
    if (!opened.isEmpty()) {
        const QString folder = ui.folderList()[row];
        QCOMPARE(m_opened,
            opened == "handled" ? QList<QUrl> { QUrl::fromLocalFile(folder) } : QList<QUrl>());
        m_opened.clear();
        // Where nothing opens it, the user is told, the folder named.
        QCOMPARE(ui.dialogs.boxes.size(), opened == "none" ? 1 : 0);
        if (opened == "none")
            QVERIFY(ui.dialogs.boxes.first().text.contains("\n" + folder + "\n"));
        return;
    }
    clipboard.replace(QStringLiteral("@1"), first.path())
        .replace(QStringLiteral("@2"), second.path());
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(),
        clipboard.isNull() ? QStringLiteral("as it was") : clipboard, 10000);
    QCOMPARE(inFolders ? ui.folderList().size() : ui.rows().size(), left);
    QCOMPARE(ui.dialogs.boxes.size(), 0);
}

void tst_MainWindow::addFolders()
{
    TestDir first, second;
    QCOMPARE(first.createFiles({ "a.txt", "README", "report.final.doc" }), QString());
    QCOMPARE(second.createFiles({ "x.y" }), QString());
    Window ui;

    ui.add(first.filePath("a.txt"));
    QCOMPARE(ui.dialogs.fileDialogs.size(), 1);
    QCOMPARE(ui.dialogs.fileDialogs.first().mode, QFileDialog::AcceptOpen);
    QCOMPARE(ui.folderList(), QStringList { first.path() });
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { "README", "a.txt", "report.final.doc" }));
    const FileListModel *model = ui.files()->files();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString name = model->data(model->index(row, 0)).toString();
        const QString extension = model->data(model->index(row, 1)).toString();
        QCOMPARE(extension, name == "README" ? "" : name == "a.txt" ? "txt" : "doc");
    }

    // Another file of a listed folder adds nothing, but refreshes the list.
    QCOMPARE(first.createFiles({ "new.txt" }), QString());
    ui.add(first.filePath("README"));
    QCOMPARE(ui.folderList(), QStringList { first.path() });
    QCOMPARE(ui.rows().size(), 4);

    ui.add(second.filePath("x.y"));
    QCOMPARE(ui.folderList(), (QStringList { first.path(), second.path() }));
    QCOMPARE(ui.rows().size(), 5);
    QCOMPARE(ui.rows().last(), QByteArray("x.y")); // folders are listed in list order

    // Choose Folder adds the folder itself, from a dialog of folders only,
    // though it holds no file: one step that Undo takes back.
    TestDir empty;
    ui.activate();
    ui.dialogs.choose(empty.path());
    QTest::keyClick(&ui.window, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    ui.settle();
    QCOMPARE(ui.dialogs.fileDialogs.last().fileMode, QFileDialog::Directory);
    QCOMPARE(ui.folderList(), (QStringList { first.path(), second.path(), empty.path() }));
    QCOMPARE(ui.rows().size(), 5);
    ui.activate();
    QTest::keyClick(&ui.window, Qt::Key_Z, Qt::ControlModifier);
    ui.settle();
    QCOMPARE(ui.folderList(), (QStringList { first.path(), second.path() }));
    QVERIFY(ui.dialogs.allAnswered());
    QCOMPARE(ui.dialogs.boxes.size(), 0);
}

void tst_MainWindow::addCancelledChangesNothing()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a", "b", "c" }), QString());
    Window ui;
    ui.add(dir.filePath("a"));
    ui.selectFile(0);
    ui.control("CmdDelList")->click();
    QCOMPARE(ui.rows().size(), 2);

    // A cancel must not rebuild: the removed row stays removed.
    ui.dialogs.cancel();
    ui.control("CmdAddFolder")->click();
    QVERIFY(!ui.list()->isBusy());
    QCOMPARE(ui.dialogs.fileDialogs.size(), 2);
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
    QCOMPARE(ui.rows().size(), 2);
}

void tst_MainWindow::addByTypingInTheDialog()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "typed.txt", Latin1Cafe }), QString());
    Window ui;
    ui.dialogs.type(dir.filePath("typed.txt"));
    ui.control("CmdAddFolder")->click();
    ui.settle();
    QVERIFY(ui.dialogs.allAnswered());
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { Latin1Cafe, "typed.txt" }));
}

void tst_MainWindow::foldersDifferingInCase()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkpath("Data") && QDir(dir.path()).mkpath("data"));
    QCOMPARE(dir.createFiles({ "Data/one", "data/two" }), QString());
    Window ui;
    ui.add(dir.filePath("Data/one"));
    ui.add(dir.filePath("data/two"));
    QCOMPARE(ui.folderList(), (QStringList { dir.filePath("Data"), dir.filePath("data") }));
    QCOMPARE(ui.rows(), (QList<QByteArray> { "one", "two" }));
}

void tst_MainWindow::removeFolder()
{
    TestDir first, second;
    QCOMPARE(first.createFiles({ "1", "2" }), QString());
    QCOMPARE(second.createFiles({ "3" }), QString());
    Window ui;
    auto *remove = ui.control("CmdDelFolder");

    remove->click(); // an empty list: nothing happens
    QCOMPARE(ui.folderList(), QStringList());

    ui.add(first.filePath("1"));
    ui.add(second.filePath("3"));
    QCOMPARE(ui.rows().size(), 3);

    // Nothing selected: no removal and no rebuild, so a file that appeared since stays unseen.
    QCOMPARE(first.createFiles({ "late" }), QString());
    ui.folders()->clearSelection();
    remove->click();
    QVERIFY(!ui.list()->isBusy());
    QCOMPARE(ui.folderList().size(), 2);
    QCOMPARE(ui.rows().size(), 3);

    ui.selectFolder(0);
    remove->click();
    ui.settle();
    QCOMPARE(ui.folderList(), QStringList { second.path() });
    QCOMPARE(ui.rows(), QList<QByteArray> { "3" });

    ui.selectFolder(0);
    remove->click();
    ui.settle();
    QCOMPARE(ui.folderList(), QStringList());
    QCOMPARE(ui.rows(), QList<QByteArray>());
    QCOMPARE(ui.dialogs.boxes.size(), 0);

    // Undo brings the folders back with the rows they had, without reading
    // them again; Redo takes them away again.
    ui.activate();
    QTest::keySequence(ui.files(), QKeySequence::Undo);
    QTest::keySequence(ui.files(), QKeySequence::Undo);
    ui.settle();
    QCOMPARE(ui.folderList(), (QStringList { first.path(), second.path() }));
    QCOMPARE(ui.rows().size(), 3);
    QTest::keySequence(ui.files(), QKeySequence::Redo);
    ui.settle();
    QCOMPARE(ui.folderList(), QStringList { second.path() });
    QCOMPARE(ui.rows(), QList<QByteArray> { "3" });
}

void tst_MainWindow::subfoldersUndoneAndRedone_data()
{
    // The folders added (paths from the camera's folder, "" itself), the
    // entry chosen, the folder list's command, and the entries after it.
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("after");
    const QString with = QStringLiteral("@ (with sub-folders)");
    QTest::newRow("include sub-folders of a folder of sub-folders")
        << QStringList { "" } << 0 << "Include &Sub-folders" << QStringList { with };
    QTest::newRow("the empty list's offer")
        << QStringList { "" } << -1 << "Include Sub-folders" << QStringList { with };
    QTest::newRow("a file's folder picked, its parent used")
        << QStringList { "2026-05" } << 0 << "Use &Parent Folder" << QStringList { with };
    QTest::newRow("parent listed already")
        << QStringList { "", "2026-05" } << 1 << "Use &Parent Folder" << QStringList { with };
}

void tst_MainWindow::subfoldersUndoneAndRedone()
{
    QFETCH(QStringList, added);
    QFETCH(int, entry);
    QFETCH(QString, command);
    QFETCH(QStringList, after);
    // A camera's folder: photos in dated sub-folders, one of them dotted.
    TestDir dir, scratch;
    for (const char *folder : { "cam/2026-05", "cam/2026-06", "cam/2026.07" })
        QVERIFY(QDir(dir.path()).mkpath(QLatin1StringView(folder)));
    QCOMPARE(dir.createFiles({ "cam/2026-05/IMG_2.jpg", "cam/2026-05/IMG_10.jpg",
                 "cam/2026-06/IMG_1.JPG", "cam/2026.07/raw" }),
        QString());
    const QString camera = dir.filePath(QStringLiteral("cam"));
    Window ui;
    QList<QByteArray> paths;
    for (const QString &folder : added)
        paths << QFile::encodeName(folder.isEmpty() ? camera : camera + '/' + folder);
    ui.window.addPaths(paths);
    ui.settle();
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending
    const QStringList before = ui.folderList();
    const QList<QByteArray> rowsBefore = ui.rows();
    // A folder of sub-folders alone lists nothing, and the list says why.
    const auto *notice = ui.window.findChild<QWidget *>(QStringLiteral("ListingNotice"));
    if (rowsBefore.isEmpty()) {
        QTRY_VERIFY2_WITH_TIMEOUT(notice->isVisible(), "the empty list to say why", 10000);
        QVERIFY(notice->findChild<QPushButton *>()->isVisible());
    }

    QAction *chosen = nullptr;
    for (QAction *action : ui.window.findChildren<QAction *>()) {
        if (action->text() == command)
            chosen = action;
    }
    QVERIFY(chosen);
    if (entry < 0) { // the offer over the empty list
        QTest::mouseClick(notice->findChild<QPushButton *>(), Qt::LeftButton);
    } else {
        ui.selectFolder(entry);
        chosen->trigger();
    }
    ui.settle();
    QCOMPARE(ui.folderList(), after.replaceInStrings(QStringLiteral("@"), camera));
    // Every file of the folder and its sub-folders, folder by folder, named
    // from the folder listed; the extension is the file's own.
    const QList<QByteArray> all { "2026-05/IMG_2.jpg", "2026-05/IMG_10.jpg", "2026-06/IMG_1.JPG",
        "2026.07/raw" };
    QCOMPARE(ui.rows(), all);
    const FileListModel *model = ui.files()->files();
    QCOMPARE(model->data(model->index(3, 1)).toString(), QString());
    const QString target = scratch.filePath(QStringLiteral("list.txt"));
    ui.save(target);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), all.join("\r\n") + "\r\n");

    // One step: undone, the entries and rows as they were; redone, as listed.
    ui.activate();
    QTest::keySequence(ui.files(), QKeySequence::Undo);
    ui.settle();
    QCOMPARE(ui.folderList(), before);
    QCOMPARE(ui.rows(), rowsBefore);
    QTest::keySequence(ui.files(), QKeySequence::Redo);
    ui.settle();
    QCOMPARE(ui.folderList(), after);
    QCOMPARE(ui.rows(), all);
    if (!chosen->isCheckable())
        return;
    // Left out again: the folder's own files alone, none here.
    ui.selectFolder(0);
    chosen->trigger();
    ui.settle();
    QCOMPARE(ui.folderList(), QStringList { camera });
    QCOMPARE(ui.rows(), QList<QByteArray>());
}

void tst_MainWindow::removeNeedsASelectedFolder()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a" }), QString());
    Window ui;
    ui.add(dir.filePath("a"));
    ui.selectFolder(0);
    ui.folders()->clearSelection(); // still the current folder, but not selected
    QCOMPARE(ui.folders()->currentRow(), 0);
    ui.control("CmdDelFolder")->click();
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
}

void tst_MainWindow::unlistableFolderIsReported()
{
    TestDir kept;
    QCOMPARE(kept.createFiles({ "kept.txt" }), QString());
    auto doomed = std::make_unique<TestDir>();
    QCOMPARE(doomed->createFiles({ "gone.txt" }), QString());
    const QString doomedPath = doomed->path();
    Window ui;
    ui.add(doomed->filePath("gone.txt"));
    ui.add(kept.filePath("kept.txt"));
    QCOMPARE(ui.rows().size(), 2);

    doomed.reset(); // the folder vanishes while it is listed
    ui.add(kept.filePath("kept.txt"));

    QVERIFY(ui.warnedOnce(doomedPath, ENOENT));
    // The other folder is listed, and the failed one stays for the user to remove.
    QCOMPARE(ui.rows(), QList<QByteArray> { "kept.txt" });
    QCOMPARE(ui.folderList(), (QStringList { doomedPath, kept.path() }));
}

void tst_MainWindow::warningNamesFolderThenReason()
{
    TestDir dir;
    // A name that reads as markup, which the warning must show as it is.
    const QString gone = dir.filePath("<b>gone");
    QVERIFY(QDir(dir.path()).mkdir("<b>gone"));
    QCOMPARE(dir.createFiles({ "<b>gone/a", "kept" }), QString());
    Window ui;
    ui.add(dir.filePath("<b>gone/a"));
    QVERIFY(QDir(gone).removeRecursively());
    ui.add(dir.filePath("kept"));
    QCOMPARE(ui.dialogs.boxes.size(), 1);
    QVERIFY2(ui.dialogs.boxes.first().text.endsWith(gone + u'\n' + qt_error_string(ENOENT)),
        qPrintable(ui.dialogs.boxes.first().text));
    QCOMPARE(ui.dialogs.boxes.first().format, Qt::PlainText);
}

void tst_MainWindow::folderListShowsPathsByDisplayRules()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkpath("two\nlines"));
    QCOMPARE(dir.createFiles({ "two\nlines/f" }), QString());
    Window ui;
    const QList<QUrl> twice(2, QUrl::fromLocalFile(dir.filePath("two\nlines")));
    QVERIFY(dropUrls(&ui.window, twice)); // the exact path is what is compared
    ui.settle();
    QCOMPARE(ui.folders()->count(), 1);
    const QListWidgetItem *item = ui.folders()->item(0);
    QCOMPARE(ui.folders()->folderPath(0), dir.filePath("two\nlines"));
    QCOMPARE(item->text(), dir.filePath(QStringLiteral("two<U+000A>lines")));
    QCOMPARE(ui.rows(), QList<QByteArray> { "f" }); // listed by its real path
}

void tst_MainWindow::dialogsOpenWhereTheLastFileWas()
{
    TestDir first, second, out;
    QCOMPARE(first.createFiles({ "a" }), QString());
    QCOMPARE(second.createFiles({ "b" }), QString());
    Window ui;
    ui.add(first.filePath("a"));
    // Typed while the dialog shows the first folder.
    ui.dialogs.type(second.filePath("b"));
    ui.control("CmdAddFolder")->click();
    ui.settle();
    ui.dialogs.type(out.filePath("list.txt"));
    ui.control("CmdSaveTXT")->click();
    ui.dialogs.cancel();
    ui.control("CmdAddFolder")->click();
    QVERIFY(ui.dialogs.allAnswered());
    QStringList opened;
    for (const ModalDriver::FileDialog &dialog : ui.dialogs.fileDialogs)
        opened << dialog.directory;
    // The first in the home folder, whatever the working folder holds.
    QCOMPARE(opened, (QStringList { QDir::homePath(), first.path(), second.path(), out.path() }));
}

void tst_MainWindow::dropAddsFolders()
{
    TestDir first, second, third, other;
    QCOMPARE(first.createFiles({ "a" }), QString());
    QCOMPARE(second.createFiles({ "b" }), QString());
    QCOMPARE(third.createFiles({ "c" }), QString());
    QVERIFY(::mkdir(other.encodedPath() + "/bad\xff", 0755) == 0);
    QCOMPARE(other.createFiles({ "bad\xff/d" }), QString());
    Window ui;
    ui.add(first.filePath("a"));

    // A folder, a file, and a folder already listed (spelt with "/./" and a
    // trailing slash) are added; a missing file, a folder whose name is not
    // text, a share of another computer and a url that is no file are named
    // in one warning, none standing for its folder.
    const QUrl notText
        = QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(other.path(), "/") + "/bad%FF");
    const QList<QUrl> urls { QUrl::fromLocalFile(second.path()),
        QUrl::fromLocalFile(other.filePath("gone.txt")), QUrl::fromLocalFile(third.filePath("c")),
        notText, QUrl::fromLocalFile(first.path() + "/./"), QUrl::fromLocalFile(second.path()),
        QUrl(QStringLiteral("file://otherhost/share/x")), QUrl(QStringLiteral("smb://server/s")) };
    QVERIFY2(dropUrls(&ui.window, urls), "the drop to be taken as a copy");
    ui.settle();
    QCOMPARE(ui.folderList(), (QStringList { first.path(), second.path(), third.path() }));
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { "a", "b", "c" }));
    QTRY_VERIFY2_WITH_TIMEOUT(
        ui.warnedOnce(other.filePath("gone.txt"), ENOENT), "the drop's one warning", 10000);
    const QString warning = ui.dialogs.boxes.first().text;
    QVERIFY2(warning.contains(other.path() + QStringLiteral("/bad\uFFFD\n"))
            && warning.contains("quillmere-list") && warning.contains("file://otherhost/share/x\n")
            && warning.contains("smb://server/s\n"),
        qPrintable(warning));

    // A drop that names no folder changes nothing: the removed row stays removed.
    ui.selectFile(0);
    ui.control("CmdDelList")->click();
    QVERIFY(dropUrls(&ui.window, { QUrl::fromLocalFile(other.filePath("gone")) }));
    QTRY_COMPARE_WITH_TIMEOUT(ui.dialogs.boxes.size(), 2, 10000);
    QVERIFY(!ui.list()->isBusy());
    QCOMPARE(ui.rows().size(), 2);
}

void tst_MainWindow::longWarningsFitTheScreen_data()
{
    // What is refused: "dropped" shares, missing paths "given" on the command
    // line, or folders given that cannot be "listed".
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("count");
    QTest::newRow("5 dropped, all named") << "dropped" << 5;
    QTest::newRow("30 dropped") << "dropped" << 30;
    QTest::newRow("2,500 given") << "given" << 2500;
    QTest::newRow("30 not listed") << "listed" << 30;
}

void tst_MainWindow::longWarningsFitTheScreen()
{
    QFETCH(QString, what);
    QFETCH(int, count);
    TestDir dir;
    Window ui;
    QVERIFY(ui.waitActive());
    QStringList refused; // as the warning names them, in order
    QList<QUrl> shares;
    QList<QByteArray> paths;
    for (int i = 0; i < count; ++i) {
        // Names that read as markup, which the text and details show as they are.
        const QByteArray name = (what == "dropped" ? "n" : "<b>n") + QByteArray::number(i);
        if (what == "dropped") {
            shares << QUrl(QStringLiteral("smb://server/") + name);
            refused << "smb://server/" + name + "\nIt is not a file";
        } else {
            paths << dir.encodedPath() + '/' + name;
            refused << dir.path() + '/' + name + '\n'
                    + (what == "given" ? qt_error_string(ENOENT) : QStringLiteral("Held up."));
            if (what == "listed")
                QVERIFY(QDir(dir.path()).mkdir(name));
        }
    }
    ui.list()->setFolderReaders(
        FolderReader([](const QString &, FileRows &, QString *error, const BeforeRead &) {
            *error = QStringLiteral("Held up.");
            return false;
        }));
    if (what == "dropped")
        QVERIFY(dropUrls(&ui.window, shares));
    else
        ui.window.addPaths(paths);
    QTRY_COMPARE_WITH_TIMEOUT(ui.dialogs.boxes.size(), 1, 30000);

    // Within the screen, OK button and all; plain text, the first five
    // named, the rest counted, and all of them in the details.
    const ModalDriver::Box box = ui.dialogs.boxes.first();
    // On Wayland the compositor places the box: only its size is known to fit.
    const bool fits = onWayland()
        ? box.frame.width() <= box.screen.width() && box.frame.height() <= box.screen.height()
        : box.screen.contains(box.frame);
    QVERIFY2(fits,
        qPrintable(QStringLiteral("the box at %1,%2 %3x%4 is not within the screen's %5x%6")
                       .arg(box.frame.x())
                       .arg(box.frame.y())
                       .arg(box.frame.width())
                       .arg(box.frame.height())
                       .arg(box.screen.width())
                       .arg(box.screen.height())));
    QCOMPARE(box.format, Qt::PlainText);
    const int named = std::min(count, 5);
    for (int i = 0; i < count; ++i)
        QVERIFY2(box.text.contains(refused.at(i)) == (i < named), qPrintable(refused.at(i)));
    QCOMPARE(
        box.text.endsWith("\n\nand " + QLocale().toString(count - named) + " more"), count > named);
    if (count > named) {
        const QStringList details = box.details.split(QStringLiteral("\n\n"));
        QCOMPARE(details.size(), count);
        for (int i = 0; i < count; ++i)
            QVERIFY2(details.at(i).startsWith(refused.at(i)), qPrintable(details.at(i)));
    } else {
        QCOMPARE(box.details, QString());
    }
}

void tst_MainWindow::removeRows()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a", "b", "c", "d", "e", "f" }), QString());
    Window ui;
    auto *remove = ui.control("CmdDelList");
    remove->click(); // no rows: nothing happens

    ui.add(dir.filePath("a"));
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "b", "c", "d", "e", "f" }));

    ui.files()->clearSelection();
    remove->click(); // none selected: nothing happens
    QCOMPARE(ui.rows().size(), 6);

    // The row that moves up is selected, so that repeated clicks trim a run.
    ui.selectFile(1);
    remove->click();
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "c", "d", "e", "f" }));
    QCOMPARE(ui.files()->selectedRow(), 1);

    // Rows as every file list selects them: a range with Shift, one more
    // with Ctrl; removed in one step.
    ui.activate();
    FileListView *files = ui.files();
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Down, Qt::ShiftModifier); // c, d
    QTest::keyClick(files, Qt::Key_Down, Qt::ControlModifier); // the focus on e only
    QTest::keyClick(files, Qt::Key_Down, Qt::ControlModifier); // f
    QTest::keyClick(files, Qt::Key_Space, Qt::ControlModifier); // f too
    QCOMPARE(files->selectedPositions(), (std::vector<uint32_t> { 1, 2, 4 }));
    // Copy Name takes each selected name, one a line.
    QTest::keySequence(files, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("c\nd\nf"));
    remove->click();
    ui.settle();
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "e" }));

    // Every row selected: the last remaining row stays, the current one.
    QTest::keySequence(files, QKeySequence::SelectAll);
    QCOMPARE(files->selectedPositions(), (std::vector<uint32_t> { 0, 1 }));
    remove->click();
    ui.settle();
    QCOMPARE(ui.rows(), QList<QByteArray> { "e" });
    remove->click(); // the last remaining row stays
    ui.settle();
    QCOMPARE(ui.rows(), QList<QByteArray> { "e" });

    // Undone in their places, last removal first; redone by either key.
    const auto key = [&ui](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        ui.activate(); // shortcuts need the window active
        QTest::keyClick(ui.files(), key, modifiers);
        ui.settle();
    };
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "c", "d", "e", "f" }));
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(ui.rows(), QList<QByteArray> { "e" });

    // A rebuild brings every removed row back, in its sorted place; undone,
    // the rows are as they were before it, removals and all, and the
    // removals before it can be undone again.
    QCOMPARE(dir.createFiles({ "g" }), QString());
    ui.add(dir.filePath("a"));
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "b", "c", "d", "e", "f", "g" }));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ui.rows(), QList<QByteArray> { "e" });
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "e" }));
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(ui.rows().size(), 7);
    // A bulk removal is undone whole.
    ui.list()->removeExtension(QByteArray(), false);
    ui.settle();
    QCOMPARE(ui.rows(), QList<QByteArray>());
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ui.rows().size(), 7);
    // F5 reads the folders again, a step of its own.
    QCOMPARE(dir.createFiles({ "h" }), QString());
    key(Qt::Key_F5, Qt::NoModifier);
    QCOMPARE(ui.rows().size(), 8);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ui.rows().size(), 7);
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
}

void tst_MainWindow::headerClicksSort()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "file10.b", "File2.a", "file1.c", "x.B", "y.A" }), QString());
    Window ui;
    ui.add(dir.filePath("x.B"));
    const QHeaderView *header = ui.files()->header();
    QVERIFY(!header->isSortIndicatorShown());

    ui.clickHeader(0);
    QCOMPARE(ui.rows(), (QList<QByteArray> { "y.A", "x.B", "file10.b", "File2.a", "file1.c" }));
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // The arrow shows the rows' order: it turns only once they are sorted.
    ui.clickHeader(0, false);
    QVERIFY(ui.list()->isBusy());
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    ui.settle();
    QCOMPARE(ui.rows(), (QList<QByteArray> { "file1.c", "File2.a", "file10.b", "x.B", "y.A" }));
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    // The other column both switches the column and turns the direction.
    ui.clickHeader(1);
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    auto extensions = [&ui] {
        QStringList shown;
        const QAbstractItemModel *model = ui.files()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            shown << model->index(row, 1).data().toString().toLower();
        return shown;
    };
    QCOMPARE(extensions(), (QStringList { "c", "b", "b", "a", "a" }));
    QCOMPARE(ui.rows().first(), QByteArray("file1.c"));

    // Sorting stays on: a rebuild yields the same order.
    QCOMPARE(dir.createFiles({ "new.b" }), QString());
    ui.add(dir.filePath("x.B"));
    QCOMPARE(extensions(), (QStringList { "c", "b", "b", "b", "a", "a" }));
}

void tst_MainWindow::tooManyKeysToSortIsReported()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "b", "a" }), QString());
    Window ui;
    ui.add(dir.filePath("a"));
    const QList<QByteArray> listed = ui.rows();
    ui.files()->files()->setSortKeyLimit(1);
    ui.clickHeader(0);
    QCOMPARE(ui.dialogs.boxes.size(), 1);
    QVERIFY(ui.dialogs.boxes.first().text.contains("Too many files to list."));
    QCOMPARE(ui.rows(), listed);
    QVERIFY(!ui.files()->header()->isSortIndicatorShown());
}

void tst_MainWindow::saveWritesTheListAsShown()
{
    TestDir dir, out;
    QCOMPARE(dir.createFiles({ "b", "a.txt", "c.doc", Latin1Cafe }), QString());
    Window ui;
    ui.add(dir.filePath("a.txt"));
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending
    ui.selectFile(2);
    ui.control("CmdDelList")->click(); // c.doc
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a.txt", "b", Latin1Cafe }));

    // A longer existing file is replaced whole.
    const QString target = out.filePath("list.txt");
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100, 'x'));
    }
    ui.save(target);
    QVERIFY(ui.dialogs.allAnswered());
    QCOMPARE(ui.dialogs.fileDialogs.last().mode, QFileDialog::AcceptSave);
    QCOMPARE(ui.dialogs.fileDialogs.last().nameFilters, QStringList { "Text File (*.txt)" });
    QCOMPARE(ui.dialogs.boxes.size(), 0);

    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("a.txt\r\nb\r\n") + Latin1Cafe + "\r\n");

    // The lists are as they were.
    QCOMPARE(ui.rows().size(), 3);
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
}

void tst_MainWindow::saveCancelledWritesNothing()
{
    TestDir out;
    Window ui;
    ui.dialogs.cancel();
    ui.control("CmdSaveTXT")->click();
    QCOMPARE(ui.dialogs.fileDialogs.size(), 1);
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

    // An empty list still creates the named file, empty.
    ui.save(out.filePath("empty.txt"));
    QCOMPARE(QFileInfo(out.filePath("empty.txt")).size(), 0);
    QVERIFY(QFileInfo(out.filePath("empty.txt")).isFile());
}

void tst_MainWindow::saveCancelledShowsNothing()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a" }), QString());
    Window ui;
    ui.add(dir.filePath("a"));
    ui.dialogs.cancel();
    ui.control("CmdSaveTXT")->click();
    QVERIFY(ui.dialogs.allAnswered());
    QVERIFY(!ui.window.saves()->isSaving()); // no save started, not even one bound to fail
    QCOMPARE(ui.dialogs.boxes.size(), 0);
}

namespace {

// A step of a save held, as a slow USB stick holds it, until let go.
QSemaphore stepReached, heldStep;
int heldDataSync(int fd)
{
    stepReached.release();
    heldStep.acquire();
    return ::fdatasync(fd);
}
int heldRename(int fromFolder, const char *from, int toFolder, const char *to)
{
    stepReached.release();
    heldStep.acquire();
    return ::renameat(fromFolder, from, toFolder, to);
}
std::ptrdiff_t heldWrite(int fd, const void *data, size_t size)
{
    stepReached.release();
    heldStep.acquire();
    return ::write(fd, data, size);
}
int refusedRemoval(int, const char *, int)
{
    errno = EPERM;
    return -1;
}

} // namespace

void tst_MainWindow::init()
{
    // A row whose save was given up before it reached its held step leaves
    // that step's release behind; the next row's save must not find it.
    heldStep.tryAcquire(heldStep.available());
    stepReached.tryAcquire(stepReached.available());
}

void tst_MainWindow::savesAtExit_data()
{
    // The step of the save held: "sync", "write" (its removal refused), "rename"; none.
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("target"); // in the test's folder, which holds list.txt
    QTest::addColumn<int>("status");
    // On standard error; "@" is the target, "#" the temporary file left beside it.
    QTest::addColumn<QString>("said");
    QTest::addColumn<QByteArray>("contents"); // of the target in the end; null: none
    // A further signal came while the save is waited for: given up at once.
    QTest::addColumn<bool>("signalled");
    const QByteArray saved("a.txt\r\n"), old("old");
    const QString notSaved(
        "quillmere: The list was not saved to @ The file keeps its old contents.");
    QTest::newRow("ended well in time") << ""
                                        << "list.txt" << 0 << "" << saved << false;
    QTest::newRow("failed in time")
        << ""
        << "missing/list.txt" << 1 << "quillmere: @: " + qt_error_string(ENOENT) << QByteArray()
        << false;
    QTest::newRow("given up while its data is synced")
        << "sync"
        << "list.txt" << 1 << notSaved << old << false;
    QTest::newRow("given up while written, its temporary file left behind")
        << "write"
        << "list.txt" << 1
        << "quillmere: The list was not saved to @ The file keeps its old contents, but this "
           "temporary file could not be removed: #: "
            + qt_error_string(EPERM)
        << old << false;
    // Too late to give it up: the list replaces the file.
    QTest::newRow("given up after the rename began")
        << "rename"
        << "list.txt" << 1
        << "quillmere: The list was saved to @ but the system has not yet confirmed that it is "
           "on the disk."
        << saved << false;
    QTest::newRow("given up at a further signal, long before the deadline")
        << "sync"
        << "list.txt" << 1 << notSaved << old << true;
}

void tst_MainWindow::savesAtExit()
{
    QFETCH(QString, held);
    QFETCH(QString, target);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QByteArray, contents);
    QFETCH(bool, signalled);
    TestDir dir, out;
    QCOMPARE(dir.createFiles({ "a.txt" }), QString());
    QCOMPARE(out.createFiles({ "list.txt" }, "old"), QString());
    Window ui;
    ui.add(dir.filePath("a.txt"));
    SaveHooks hooks;
    if (held == "sync")
        hooks.file = heldDataSync;
    if (held == "rename")
        hooks.rename = heldRename;
    if (held == "write") {
        hooks.write = heldWrite;
        hooks.remove = refusedRemoval;
    }
    ui.window.saves()->setHooks(hooks);
    const QString path = out.filePath(target);
    stepReached.tryAcquire(stepReached.available());
    ui.window.saveList(path);
    if (!held.isEmpty())
        QTRY_VERIFY2_WITH_TIMEOUT(
            stepReached.available() > 0, "the save to reach its held step", 10000);

    // What main() does once the session has ended the program: a save that
    // is held is given up at the deadline, or at once at a further signal
    // (a readable pipe); one that ends is waited for.
    int interrupt[2] = { -1, -1 };
    if (signalled) {
        QVERIFY(::pipe(interrupt) == 0);
        QCOMPARE(::write(interrupt[1], "!", 1), 1);
    }
    char *report = nullptr;
    size_t size = 0;
    std::FILE *stream = ::open_memstream(&report, &size);
    QVERIFY(stream);
    QElapsedTimer waited;
    waited.start();
    const int ended = endSaves(
        *ui.window.saves(), 0, held.isEmpty() || signalled ? 30000 : 100, stream, interrupt[0]);
    const qint64 took = waited.elapsed();
    if (!held.isEmpty())
        heldStep.release();
    for (const int end : interrupt) {
        if (end >= 0)
            ::close(end);
    }
    if (signalled)
        QVERIFY2(took < 10000, "endSaves() to give the save up at the signal, not at its deadline");
    std::fclose(stream);
    const QString written = QString::fromUtf8(report, qsizetype(size)).trimmed();
    std::free(report);
    QCOMPARE(ended, status);
    QVERIFY2(workerPool()->waitForDone(30000), "the save's worker to end");
    // Nothing left beside it, but a temporary file that could not be removed.
    QStringList beside = QDir(out.path()).entryList(QDir::Files);
    QVERIFY(beside.removeOne(QStringLiteral("list.txt")));
    QCOMPARE(beside.size(), said.contains(u'#') ? 1 : 0);
    QCOMPARE(written,
        QString(said)
            .replace(u'@', displayPath(path))
            .replace(
                u'#', beside.isEmpty() ? QString() : displayPath(out.filePath(beside.first()))));
    QFile file(out.filePath("list.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), contents.isNull() ? QByteArray("old") : contents);
    QCOMPARE(ui.dialogs.boxes.size(), 0); // the window no longer says anything
}

void tst_MainWindow::closeWaitsForASave_data()
{
    QTest::addColumn<bool>("quitWithoutSaving");
    QTest::newRow("waits") << false;
    QTest::newRow("quit without saving") << true;
}

void tst_MainWindow::closeWaitsForASave()
{
    QFETCH(bool, quitWithoutSaving);
    TestDir dir, out;
    QCOMPARE(dir.createFiles({ "a.txt" }), QString());
    Window ui;
    ui.add(dir.filePath("a.txt"));
    ui.dialogs.leaveOpen("SaveWaiting");
    ui.window.saves()->setHooks({ heldDataSync, nullptr, nullptr });
    const QString target = out.filePath("list.txt");
    ui.window.saveList(target);
    QString waiting;
    QTimer::singleShot(0, &ui.window, [&] {
        ui.control("Command1")->click();
        if (auto *box = ui.window.findChild<QMessageBox *>("SaveWaiting")) {
            waiting = box->text();
            for (QAbstractButton *button : box->buttons()) {
                if (quitWithoutSaving && box->buttonRole(button) == QMessageBox::DestructiveRole)
                    button->click();
            }
        }
        heldStep.release();
    });
    QTimer::singleShot(60000, &ui.window, [] { QApplication::exit(99); }); // never hang
    QCOMPARE(QApplication::exec(), quitWithoutSaving ? 1 : 0);
    QVERIFY2(waiting.contains(target), qPrintable(waiting));
    if (quitWithoutSaving) {
        // Nothing written, nothing left beside it, and the user told so.
        QTRY_COMPARE_WITH_TIMEOUT(QDir(out.path()).entryList(QDir::Files), QStringList(), 10000);
        QVERIFY(ui.dialogs.boxes.size() == 1
            && ui.dialogs.boxes.first().text.contains("The list was not saved to\n" + target));
    } else {
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("a.txt\r\n"));
    }
    QVERIFY2(workerPool()->waitForDone(30000), "the save to end");
}

void tst_MainWindow::closeWhileADialogHangs_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("saving"); // Close then waits for the save, in its box
    QTest::newRow("Close clicked") << "click" << false;
    QTest::newRow("Ctrl+Q") << "keys" << false;
    QTest::newRow("the window closed") << "close" << false;
    QTest::newRow("Ctrl+Q while a save runs") << "keys" << true;
}

void tst_MainWindow::closeWhileADialogHangs()
{
    QFETCH(QString, how);
    QFETCH(bool, saving);
    TestDir dir, out;
    QCOMPARE(dir.createFiles({ "a.txt" }), QString());
    // Each dialog's process, this program (see main()), notes its pid and stops itself.
    Window ui;
    ui.add(dir.filePath("a.txt"));
    ui.activate(); // for its keys
    const QString pids = dir.filePath("dialogs");
    qputenv("TEST_DIALOG_PIDS", QFile::encodeName(pids));
    CommonDialog::setDialogProgram(QCoreApplication::applicationFilePath());
    const auto restore = qScopeGuard([] {
        CommonDialog::setDialogProgram(QString());
        qunsetenv("TEST_DIALOG_PIDS");
    });
    ui.dialogs.leaveOpen("SaveWaiting");
    const QString target = out.filePath("list.txt");
    if (saving) {
        ui.window.saves()->setHooks({ heldDataSync, nullptr, nullptr });
        ui.window.saveList(target);
    }
    const auto dialogPids = [&pids] {
        QFile file(pids);
        QList<qint64> list;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n'))
                if (!line.isEmpty())
                    list << line.toLongLong();
        }
        return list;
    };
    // Whatever the code under test does, no dialog's process outlives the row.
    const auto endAll = qScopeGuard([&dialogPids] {
        for (const qint64 pid : dialogPids())
            ::kill(pid_t(pid), SIGKILL);
    });

    QString waiting;
    bool hung = false;
    QTimer::singleShot(0, &ui.window, [&] { ui.control("CmdAddFolder")->click(); });
    QTimer act;
    connect(&act, &QTimer::timeout, &ui.window, [&] {
        if (!hung) {
            // The dialog's process names itself just before it stops itself.
            if (dialogPids().isEmpty())
                return;
            hung = true;
            // Nothing else gets through to the window: no second dialog, no removal.
            QTest::keyClick(&ui.window, Qt::Key_O, Qt::ControlModifier);
            QTest::mouseClick(ui.control("CmdAddFolder"), Qt::LeftButton);
            ui.selectFolder(0);
            QTest::keyClick(ui.folders(), Qt::Key_Delete);
            if (how == u"click")
                QTest::mouseClick(ui.control("Command1"), Qt::LeftButton);
            else if (how == u"keys")
                QTest::keyClick(&ui.window, Qt::Key_Q, Qt::ControlModifier);
            else
                ui.window.close();
            return;
        }
        if (auto *box = ui.window.findChild<QMessageBox *>("SaveWaiting");
            box && box->isVisible() && waiting.isEmpty()) {
            waiting = box->text();
            heldStep.release();
        }
    });
    act.start(5);
    QTimer::singleShot(60000, &ui.window, [] { QApplication::exit(99); }); // never hang
    QCOMPARE(QApplication::exec(), 0);
    // The quit closed the window, whose close asked for one more quit: not for the next row.
    QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
    QVERIFY2(hung, "the dialog's process to stop itself");
    QCOMPARE(dialogPids().size(), 1);
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
    QVERIFY2(waiting.contains(target) == saving, qPrintable(waiting));
    // The hung dialog's process is ended, and reaped.
    const qint64 pid = dialogPids().constFirst();
    QTRY_VERIFY2_WITH_TIMEOUT(
        ::kill(pid_t(pid), 0) != 0 && errno == ESRCH, "the dialog's process to be gone", 10000);
    if (saving) {
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("a.txt\r\n"));
        QVERIFY2(workerPool()->waitForDone(30000), "the save to end");
    }
}

void tst_MainWindow::saveFailureIsReported()
{
    TestDir dir, out;
    QCOMPARE(dir.createFiles({ "a.txt" }), QString());
    Window ui;
    ui.add(dir.filePath("a.txt"));

    const QString target = out.filePath("missing/list.txt");
    ui.save(target);
    QVERIFY(ui.dialogs.allAnswered());
    QVERIFY(ui.warnedOnce(target, ENOENT));
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(ui.rows(), QList<QByteArray> { "a.txt" });
    QCOMPARE(ui.folderList(), QStringList { dir.path() });
}

namespace {

// A folder "slow" that HeldReader holds, and two it reads at once; with
// more, "fast" holds that many files more and "slow" ten whose names sort first.
struct SlowAndFast
{
    explicit SlowAndFast(int more = 0)
    {
        for (const char *folder : { "slow", "fast", "other" })
            QDir(dir.path()).mkpath(QLatin1StringView(folder));
        QList<QByteArray> files { "slow/s.txt", "fast/a.txt", "fast/b.doc", "other/o" };
        for (int i = 0; i < more; ++i)
            files << "fast/f" + QByteArray::number(100 + i) + ".txt";
        for (int i = 0; i < (more ? 10 : 0); ++i)
            files << "slow/0" + QByteArray::number(i) + ".txt";
        made = dir.createFiles(files);
    }
    QString path(const char *folder) const { return dir.filePath(QLatin1StringView(folder)); }
    QString file(const char *name) const { return dir.filePath(QLatin1StringView(name)); }

    TestDir dir;
    QString made;
};

// Lists "fast" in full, then adds "slow", whose read the held reader holds;
// before that, between, does what the caller asks.
void addFastThenSlow(Window &ui, const SlowAndFast &folders, HeldReader &held,
    const std::function<void()> &between = {})
{
    ui.list()->setFolderReaders(held.reader());
    ui.add(folders.file("fast/a.txt"));
    if (between)
        between();
    ui.dialogs.choose(folders.file("slow/s.txt"));
    ui.control("CmdAddFolder")->click();
}

} // namespace

void tst_MainWindow::progressAndCancel_data()
{
    QTest::addColumn<bool>("byEscape"); // or Cancel
    QTest::addColumn<bool>("stuck"); // a read that never hears the stop, as on a hung mount
    QTest::addColumn<bool>("readFirst"); // the slow folder's rows read before its last read
    QTest::addColumn<bool>("stopped"); // or let go to its end
    // Sorted by name, a row picked in the view scrolled half-way, while rows
    // that sort first come in.
    QTest::addColumn<bool>("scrolled");
    QTest::newRow("Esc") << true << false << false << true << false;
    QTest::newRow("Cancel") << false << false << false << true << false;
    QTest::newRow("Esc, read stuck") << true << true << false << true << false;
    QTest::newRow("Cancel, rows read first") << false << false << true << true << false;
    QTest::newRow("let go, rows read first") << false << false << true << false << false;
    QTest::newRow("let go, sorted, a row picked and scrolled to")
        << false << false << true << false << true;
}

void tst_MainWindow::progressAndCancel()
{
    QFETCH(bool, byEscape);
    QFETCH(bool, stuck);
    QFETCH(bool, readFirst);
    QFETCH(bool, stopped);
    QFETCH(bool, scrolled);
    if (scrolled) {
        keepsThePlaceWhileRowsComeIn();
        return;
    }
    SlowAndFast folders;
    QCOMPARE(folders.made, QString());
    HeldReader held(stuck, readFirst);
    Window ui;
    addFastThenSlow(ui, folders, held);

    QVERIFY(ui.list()->isBusy());
    auto *progress = ui.control<QWidget>("WorkProgress");
    QVERIFY(!progress->isVisible()); // quick work shows nothing
    QTRY_VERIFY2_WITH_TIMEOUT(progress->isVisible(), "the progress to show", 10000);
    // Over the file list, saying where the listing is (how it says it is the panel's own).
    QCOMPARE(progress->parentWidget(), ui.files());
    const QString text = ui.control<QLabel>("WorkProgressText")->text();
    QVERIFY2(text.contains(QDir::toNativeSeparators(folders.path("slow")))
            && text.contains(readFirst ? QStringLiteral("3 files") : QStringLiteral("2 files")),
        qPrintable(text));
    QVERIFY(!ui.control("CmdSaveTXT")->isEnabled());
    QVERIFY(!ui.control("CmdDelList")->isEnabled());
    QVERIFY(!ui.files()->header()->sectionsClickable());
    // The rows read so far show while the slow folder is held, under the progress.
    QList<QByteArray> readSoFar { "a.txt", "b.doc" };
    if (readFirst)
        readSoFar << "s.txt";
    QTRY_COMPARE_WITH_TIMEOUT(ui.sortedRows(), readSoFar, 10000);
    QVERIFY(progress->isVisible());

    if (!stopped) {
        // The row the user picks while rows come in stays picked once they are all in.
        const int picked = int(ui.rows().indexOf("s.txt"));
        ui.selectFile(picked);
        held.letGo();
        ui.settle();
        QCOMPARE(ui.sortedRows(), readSoFar);
        QCOMPARE(ui.files()->currentIndex().data().toString(), QStringLiteral("s.txt"));
        QCOMPARE(ui.files()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(ui.dialogs.boxes.size(), 0);
        QVERIFY(!progress->isVisible());
        return;
    }
    if (byEscape) {
        // The offscreen platform leaves the closed file dialog the active
        // window; a desktop gives activation back to the window.
        QApplication::setActiveWindow(&ui.window);
        QTRY_VERIFY2_WITH_TIMEOUT(
            QApplication::activeWindow() == &ui.window, "the window to be active again", 10000);
        QTest::keyClick(ui.folders(), Qt::Key_Escape);
    } else
        ui.control("WorkProgressCancel")->click();
    ui.settle();

    // The folder read in full stays; the one cut short is named as not listed.
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { "a.txt", "b.doc" }));
    QCOMPARE(ui.dialogs.boxes.size(), 1);
    const QString warning = ui.dialogs.boxes.first().text;
    QVERIFY2(
        warning.contains(QDir::toNativeSeparators(folders.path("slow")) + "\n" + listingCancelled())
            && !warning.contains(folders.path("fast")),
        qPrintable(warning));
    QVERIFY(!progress->isVisible());
    QVERIFY(ui.control("CmdSaveTXT")->isEnabled());
    QVERIFY(ui.control("CmdDelList")->isEnabled());
    QVERIFY(ui.files()->header()->sectionsClickable());
    QCOMPARE(ui.folderList(), (QStringList { folders.path("fast"), folders.path("slow") }));
}

void tst_MainWindow::keepsThePlaceWhileRowsComeIn()
{
    SlowAndFast folders(80);
    QCOMPARE(folders.made, QString());
    HeldReader held(false, true);
    Window ui;
    FileListView *files = ui.files();
    QByteArray picked;
    int place = 0;
    const auto placeOf = [&] {
        const int row = int(ui.rows().indexOf(picked));
        return files->visualRect(files->model()->index(row, 0)).top();
    };
    addFastThenSlow(ui, folders, held, [&] {
        ui.clickHeader(0);
        ui.clickHeader(0); // by name, ascending
        QScrollBar *bar = files->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        ui.selectFile(files->rowAt(0) + 3);
        picked = ui.rows()[files->rowAt(0) + 3];
        place = placeOf();
    });
    // The slow folder's rows, read before its last read, come in above.
    QTRY_VERIFY2_WITH_TIMEOUT(ui.rows().contains("00.txt"), "the slow folder's first rows", 10000);
    QCOMPARE(placeOf(), place);
    held.letGo();
    ui.settle();
    QCOMPARE(ui.rows().size(), 93);
    QCOMPARE(placeOf(), place);
    QCOMPARE(ui.files()->selectedPositions().size(), size_t(1));
    QCOMPARE(ui.rows()[files->selectedRow()], picked);
}

void tst_MainWindow::addAndRemoveReplaceTheRebuild()
{
    SlowAndFast folders;
    QCOMPARE(folders.made, QString());
    HeldReader held;
    Window ui;
    addFastThenSlow(ui, folders, held);
    QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 1, "the slow folder to be held", 10000);

    // Removing the slow folder starts again without it, and does not wait for the held read.
    ui.selectFolder(1);
    ui.control("CmdDelFolder")->click();
    ui.settle();
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { "a.txt", "b.doc" }));

    // Add during a rebuild: the last one wins, and the one it replaced says nothing.
    ui.dialogs.choose(folders.file("slow/s.txt"));
    ui.control("CmdAddFolder")->click();
    QTRY_VERIFY2_WITH_TIMEOUT(held.held() == 2, "the slow folder to be held again", 10000);
    ui.dialogs.choose(folders.file("other/o"));
    ui.control("CmdAddFolder")->click();
    QVERIFY(ui.list()->isBusy());
    held.letGo();
    ui.settle();
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { "a.txt", "b.doc", "o", "s.txt" }));
    QCOMPARE(ui.dialogs.boxes.size(), 0);
}

void tst_MainWindow::commandsWaitForTheList_data()
{
    // Each command by its button (or none), its key and its item in the file
    // list's menu (or none): whether it can be given while a listing runs, and
    // after.
    QTest::addColumn<QString>("button");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<bool>("whileListing");
    QTest::addColumn<bool>("after");
    const QKeySequence none;
    QTest::newRow("Remove of a file")
        << "CmdDelList" << QKeySequence(QKeySequence::Delete) << "&Remove" << false << true;
    QTest::newRow("Save") << "CmdSaveTXT" << QKeySequence(Qt::CTRL | Qt::Key_S) << "" << false
                          << true;
    QTest::newRow("Remove All") << "" << none << "Remove &All .doc Files" << false << true;
    QTest::newRow("Keep Only") << "" << none << "&Keep Only .doc Files" << false << true;
    QTest::newRow("Undo") << "" << QKeySequence(QKeySequence::Undo) << "&Undo" << false << true;
    QTest::newRow("Add") << "CmdAddFolder" << QKeySequence(Qt::CTRL | Qt::Key_O) << "" << true
                         << true;
    QTest::newRow("Remove of a folder")
        << "CmdDelFolder" << QKeySequence(QKeySequence::Delete) << "" << true << true;
    QTest::newRow("Copy Name") << "" << QKeySequence(QKeySequence::Copy) << "&Copy Name" << true
                               << true;
    QTest::newRow("Info") << "Command2" << QKeySequence(Qt::Key_F1) << "" << true << true;
}

void tst_MainWindow::commandsWaitForTheList()
{
    QFETCH(QString, button);
    QFETCH(QKeySequence, key);
    QFETCH(QString, menuItem);
    QFETCH(bool, whileListing);
    QFETCH(bool, after);
    SlowAndFast folders;
    QCOMPARE(folders.made, QString());
    HeldReader held;
    Window ui;
    addFastThenSlow(ui, folders, held);
    held.letGo();
    ui.settle();
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending
    ui.selectFile(0);
    ui.control("CmdDelList")->click(); // a.txt, something to undo
    HeldReader heldAgain;
    ui.list()->setFolderReaders(heldAgain.reader());
    ui.window.PopulateListViewWithFiles(ui.folders());
    QTRY_VERIFY2_WITH_TIMEOUT(heldAgain.held() == 1, "the slow folder to be held", 10000);

    // The button, the key's command in the list that has the focus, and the
    // menu's item agree, the moment the listing starts.
    QWidget *list = button == "CmdDelFolder" ? static_cast<QWidget *>(ui.folders()) : ui.files();
    auto state = [&] {
        QList<bool> enabled;
        if (!button.isEmpty())
            enabled << ui.control(qPrintable(button))->isEnabled();
        if (!key.isEmpty()) {
            QAction *command = nullptr;
            for (QAction *action : ui.window.findChildren<QAction *>()) {
                const bool reaches = action->shortcutContext() != Qt::WidgetShortcut
                    || action->associatedObjects().contains(list);
                if (reaches && action->shortcuts().contains(key))
                    command = action;
            }
            if (!command)
                return QList<bool> { false, false, false, false };
            enabled << command->isEnabled();
        }
        if (!menuItem.isEmpty()) {
            ui.selectFile(int(ui.rows().indexOf("b.doc")));
            QTest::keyClick(ui.files(), Qt::Key_Menu);
            auto *menu = ui.files()->findChild<QMenu *>(QStringLiteral("ContextMenu"));
            if (!menu)
                return QList<bool> { false, false, false, false };
            for (QAction *action : menu->actions()) {
                if (action->text() == menuItem)
                    enabled << action->isEnabled();
            }
            menu->close();
        }
        return enabled;
    };
    const int ways = int(!button.isEmpty()) + int(!key.isEmpty()) + int(!menuItem.isEmpty());
    QCOMPARE(state(), QList<bool>(ways, whileListing));
    QVERIFY(ui.list()->isBusy());
    // The column headers wait too.
    QVERIFY(!ui.files()->header()->sectionsClickable());

    heldAgain.letGo();
    ui.settle();
    QCOMPARE(state(), QList<bool>(ways, after));
    QVERIFY(ui.files()->header()->sectionsClickable());
}

void tst_MainWindow::sameResultAsListingInPlace()
{
    TestDir first, second, out;
    // Names that tie under the collation, so that stability shows.
    QCOMPARE(first.createFiles({ "b.txt", "B.TXT", "a.doc", "file10", "file2", "File2", "x." }),
        QString());
    QCOMPARE(second.createFiles({ "A.doc", "b.Txt", "z", Latin1Cafe, "file02" }), QString());
    Window ui;
    FileListModel expected;
    auto rebuild = [&] {
        FileRows rows;
        QVERIFY(listFolder(first.path(), rows, nullptr));
        QVERIFY(listFolder(second.path(), rows, nullptr));
        showRows(expected, std::move(rows));
    };
    auto click = [&](int section) {
        ui.clickHeader(section);
        showSorted(expected, headerClicked(expected.sortState(), section + 1));
    };
    auto same = [&] {
        QList<QByteArray> names;
        for (int row = 0; row < expected.rowCount(); ++row)
            names << expected.name(row).toByteArray();
        return ui.rows() == names;
    };

    ui.add(first.filePath("b.txt"));
    ui.add(second.filePath("z"));
    rebuild();
    QVERIFY(same());
    for (const int section : { 1, 0, 0, 1, 1, 0 }) {
        click(section);
        QVERIFY2(same(), qPrintable(QStringLiteral("after a click on column %1").arg(section)));
    }
    ui.add(first.filePath("b.txt")); // a sorted rebuild
    rebuild();
    QVERIFY(same());

    const QString target = out.filePath("list.txt");
    ui.save(target);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), exportText(expected.arrangement()));
}

void tst_MainWindow::closeEndsTheProgram()
{
    TestDir out;
    for (const bool byButton : { true, false }) {
        for (const bool failedSaveBefore : { false, true }) {
            Window ui;
            // A failed save was told in its box: it does not change how Close ends.
            if (failedSaveBefore)
                ui.save(out.filePath("missing/list.txt"));
            QTimer::singleShot(0, &ui.window, [&] {
                if (byButton)
                    ui.control("Command1")->click();
                else
                    ui.window.close();
            });
            // As main() ends it.
            QCOMPARE(endSaves(*ui.window.saves(), QApplication::exec(), 0, stderr), 0);
            QCOMPARE(ui.dialogs.boxes.size(), failedSaveBefore ? 1 : 0);
        }
    }
}

// This test's program as the window's dialog process: a dialog that hangs.
// It adds its pid to the file TEST_DIALOG_PIDS names and stops itself.
int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], CommonDialog::ProcessOption) == 0) {
        QFile pids(qEnvironmentVariable("TEST_DIALOG_PIDS"));
        if (pids.open(QIODevice::Append))
            pids.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
        pids.close();
        ::raise(SIGSTOP);
        std::_Exit(1);
    }
    tst_MainWindow::initMain();
    QApplication app(argc, argv);
    tst_MainWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainwindow.moc"
