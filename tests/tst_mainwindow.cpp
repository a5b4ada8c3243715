// SPDX-License-Identifier: MIT
#include "core/filelistmodel.h"
#include "core/folderlisting.h"
#include "core/textexport.h"
#include "heldreader.h"
#include "modaldriver.h"
#include "testdir.h"
#include "widgets/filelistview.h"
#include "widgets/namedelegate.h"
#include "window/frmfilenamereader.h"

#include <QAccessible>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <cmath>

namespace {

// The window under test, shown, with its controls found by their names.
struct Window
{
    Window()
    {
        window.show();
        window.activateWindow();
    }

    template<typename T = QPushButton> T *control(const char *name) const
    {
        return window.findChild<T *>(QLatin1StringView(name));
    }
    QListWidget *folders() const { return control<QListWidget>("ListFolder"); }
    FileListView *files() const { return control<FileListView>("LvFiles"); }
    QList<QAbstractItemView *> lists() const { return { folders(), files() }; }

    QStringList folderList() const
    {
        QStringList list;
        for (int i = 0; i < folders()->count(); ++i)
            list << folders()->item(i)->text();
        return list;
    }
    QList<QByteArray> rows() const
    {
        QList<QByteArray> names;
        const FileListModel *model = files()->files();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->name(row).toByteArray();
        return names;
    }
    QList<QByteArray> sortedRows() const
    {
        QList<QByteArray> names = rows();
        std::sort(names.begin(), names.end());
        return names;
    }
    void selectFolder(int row) const
    {
        folders()->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    void selectFile(int row) const { files()->setCurrentIndex(files()->model()->index(row, 0)); }
    // Whether exactly one message box came, a warning that names path and the system's reason.
    bool warnedOnce(const QString &path, int error) const
    {
        if (dialogs.boxes.size() != 1) {
            qWarning() << dialogs.boxes.size() << "message boxes";
            return false;
        }
        const ModalDriver::Box &box = dialogs.boxes.first();
        const bool named = box.text.contains(path) && box.text.contains(qt_error_string(error));
        if (!named)
            qWarning() << box.text;
        return named && box.title == QStringLiteral("Quillmere")
            && box.icon == QMessageBox::Warning;
    }
    // Waits for the rebuild or sort to end, a generous while on a busy disk.
    void settle() const
    {
        QTRY_VERIFY2_WITH_TIMEOUT(!window.isBusy(), "the rebuild or sort to end", 30000);
    }
    // "Add", choosing path in the file dialog, and the rebuild that follows.
    void add(const QString &path)
    {
        dialogs.choose(path);
        control("CmdAddFolder")->click();
        settle();
    }
    void clickHeader(int section, bool wait = true) const
    {
        QHeaderView *header = files()->header();
        const QPoint at(header->sectionViewportPosition(section) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        if (wait)
            settle();
    }
    // "Save List to TXT File" to path, waiting until it is written or refused.
    void save(const QString &path)
    {
        dialogs.type(path);
        control("CmdSaveTXT")->click();
        QTRY_VERIFY2_WITH_TIMEOUT(!window.isSaving(), "the save to end", 30000);
    }

    ModalDriver dialogs;
    FrmFilenameReader window;
};

// WCAG contrast ratio, from 1 to 21.
double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &colour) { // all three channels are equal in these greys
        const double c = colour.redF();
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Sets the application's font or palette for one test and puts it back after.
struct AppFont
{
    explicit AppFont(const QFont &font) { QApplication::setFont(font); }
    ~AppFont() { QApplication::setFont(saved); }
    const QFont saved = QApplication::font();
};
struct AppPalette
{
    explicit AppPalette(const QPalette &palette) { QApplication::setPalette(palette); }
    ~AppPalette() { QApplication::setPalette(saved); }
    const QPalette saved = QApplication::palette();
};

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

class tst_MainWindow : public QObject
{
    Q_OBJECT

public:
    // Qt's own dialogs, which the tests can drive, on every platform.
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void layoutMatchesDesign_data();
    void layoutMatchesDesign();
    void windowLooksAsDesigned();
    void focusOrder();
    void enterAndEscapeStartNothing();
    void infoShowsHelp();
    void bandsAreReadable();
    void captionsFitAtLargeFonts();
    void listsAreNamedForAssistiveTechnology();
    void focusShowsInLists();
    void keysMoveByRows();
    void deleteAndCopyKeys();
    void cutOffTextShowsInToolTips();

    void addFolders();
    void addCancelledChangesNothing();
    void addByTypingInTheDialog();
    void foldersDifferingInCase();
    void removeFolder();
    void removeNeedsASelectedFolder();
    void unlistableFolderIsReported();
    void warningNamesFolderThenReason();
    void folderListShowsPathsByDisplayRules();
    void dialogsOpenWhereTheLastFileWas();
    void dropAddsFolders();

    void removeRows();
    void headerClicksSort();
    void tooManyKeysToSortIsReported();
    void eachNameInItsOwnDirection();

    void saveWritesTheListAsShown();
    void saveCancelledWritesNothing();
    void saveCancelledShowsNothing();
    void saveFailureIsReported();
    void savesFinishBeforeExit();

    void progressAndCancel_data();
    void progressAndCancel();
    void addAndRemoveReplaceTheRebuild();
    void commandsWaitForTheList();
    void sameResultAsListingInPlace();

    void closeEndsTheProgram();
};

// clang-format off
void tst_MainWindow::layoutMatchesDesign_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Label1") << "Label1" << " List of Folder:" << QRect(105, 165, 3900, 330);
    QTest::newRow("CmdAddFolder") << "CmdAddFolder" << "Add" << QRect(3990, 165, 855, 330);
    QTest::newRow("CmdDelFolder") << "CmdDelFolder" << "Remove" << QRect(4830, 165, 855, 330);
    QTest::newRow("ListFolder") << "ListFolder" << "" << QRect(105, 525, 5580, 1230);
    QTest::newRow("Label2") << "Label2" << " List of files in selected folders:"
                            << QRect(105, 1875, 3900, 330);
    QTest::newRow("CmdDelList") << "CmdDelList" << "Remove" << QRect(3990, 1875, 1695, 330);
    QTest::newRow("LvFiles") << "LvFiles" << "" << QRect(105, 2205, 5580, 3480);
    QTest::newRow("CmdSaveTXT") << "CmdSaveTXT" << "Save List to TXT File"
                                << QRect(105, 5775, 2640, 330);
    QTest::newRow("Command2") << "Command2" << "Info" << QRect(2835, 5775, 1275, 330);
    QTest::newRow("Command1") << "Command1" << "Close" << QRect(4200, 5775, 1380, 330);
}
// clang-format on

void tst_MainWindow::layoutMatchesDesign()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    Window ui;
    auto *widget = ui.window.findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
        QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
}

void tst_MainWindow::windowLooksAsDesigned()
{
    Window ui;
    QCOMPARE(ui.window.windowTitle(), QStringLiteral("Tessaly"));
    QCOMPARE(ui.window.size(), QSize(386, 415));
    QCOMPARE(ui.window.minimumSize(), ui.window.maximumSize());
    QVERIFY(!ui.window.windowIcon().isNull());
    QVERIFY(ui.window.windowIcon().availableSizes().contains(QSize(16, 16)));

    for (const char *name : { "Label1", "Label2" }) {
        const QFont font = ui.control<QLabel>(name)->font();
        QCOMPARE(font.family(), QStringLiteral("Verdana"));
        QCOMPARE(font.pointSizeF(), 8.25);
        QVERIFY(font.bold());
        QCOMPARE(
            ui.control<QLabel>(name)->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(ui.control<QLabel>(name)->autoFillBackground());
    }
    for (const char *name : { "CmdSaveTXT", "Command1" }) {
        const QFont font = ui.control(name)->font();
        QCOMPARE(font.family(), QStringLiteral("Verdana"));
        QCOMPARE(font.pointSizeF(), 8.25);
        QVERIFY(!font.bold());
    }
    QCOMPARE(ui.control("CmdAddFolder")->font(), ui.window.font());

    // Buttons are drawn over the heading bands they overlap.
    QCOMPARE(ui.window.childAt(266, 12), ui.control("CmdAddFolder"));
    QCOMPARE(ui.window.childAt(266, 126), ui.control("CmdDelList"));
    // The two "Remove" buttons are told apart by assistive technology.
    QVERIFY(
        ui.control("CmdDelFolder")->accessibleName() != ui.control("CmdDelList")->accessibleName());

    const QHeaderView *header = ui.files()->header();
    QCOMPARE(header->count(), 2);
    QCOMPARE(header->sectionSize(0), 267);
    QCOMPARE(header->sectionSize(1), 96);
    QCOMPARE(ui.files()->model()->headerData(0, Qt::Horizontal).toString(), "File Name");
    QCOMPARE(ui.files()->model()->headerData(1, Qt::Horizontal).toString(), "Extension");
    QCOMPARE(ui.files()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(ui.folderList(), QStringList());
    QCOMPARE(ui.rows(), QList<QByteArray>());
}

void tst_MainWindow::focusOrder()
{
    Window ui;
    QVERIFY(QTest::qWaitForWindowActive(&ui.window));
    QCOMPARE(QApplication::focusWidget(), ui.folders());
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited,
        (QStringList { "CmdAddFolder", "CmdDelFolder", "CmdSaveTXT", "CmdDelList", "Command1",
            "LvFiles", "Command2", "ListFolder" }));
}

void tst_MainWindow::enterAndEscapeStartNothing()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a" }), QString());
    Window ui;
    QVERIFY(QTest::qWaitForWindowActive(&ui.window));
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

void tst_MainWindow::bandsAreReadable()
{
    auto bands = [](const Window &ui) { // white captions checked in windowLooksAsDesigned
        return QList<QColor> { ui.control<QLabel>("Label1")->palette().color(QPalette::Window),
            ui.control<QLabel>("Label2")->palette().color(QPalette::Window) };
    };
    {
        // Qt's own palette makes grey text too light for white on it.
        Window ui;
        for (const QColor &band : bands(ui))
            QVERIFY2(contrast(band, Qt::white) >= 4.5, qPrintable(band.name()));
    }
    QPalette darkGrey = QApplication::palette();
    darkGrey.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x50, 0x50, 0x50));
    QPalette dark = darkGrey;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    {
        // Where the platform's grey is dark enough it is the band.
        AppPalette palette(darkGrey);
        Window ui;
        QCOMPARE(bands(ui), (QList<QColor> { QColor(0x50, 0x50, 0x50), QColor(0x50, 0x50, 0x50) }));

        // A dark scheme chosen while the window is open: its grey (3.9:1) is passed over.
        QApplication::setPalette(dark);
        for (const QColor &band : bands(ui))
            QVERIFY2(contrast(band, Qt::white) >= 4.5, qPrintable(band.name()));
    }
}

void tst_MainWindow::captionsFitAtLargeFonts()
{
    QMap<QString, QRect> designed;
    {
        Window ui;
        for (QWidget *widget : ui.window.findChildren<QWidget *>())
            designed.insert(widget->objectName(), widget->geometry());
    }
    for (const int points : { 11, 14 }) {
        AppFont large(QFont(QApplication::font().family(), points));
        Window ui;
        for (QPushButton *button : ui.window.findChildren<QPushButton *>()) {
            QCOMPARE(button->geometry(), designed.value(button->objectName()));
            QCOMPARE(button->font().pointSizeF(), 8.25);
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room
                = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const int needed = button->fontMetrics().horizontalAdvance(button->text());
            QVERIFY2(needed <= room.width(), qPrintable(button->objectName()));
        }
        for (QAbstractItemView *list : ui.lists())
            QCOMPARE(list->font().pointSizeF(), 8.25);
    }
}

void tst_MainWindow::listsAreNamedForAssistiveTechnology()
{
    Window ui;
    QCOMPARE(ui.control<QLabel>("Label1")->buddy(), ui.folders());
    QCOMPARE(ui.control<QLabel>("Label2")->buddy(), ui.files());
    QCOMPARE(QAccessible::queryAccessibleInterface(ui.folders())->text(QAccessible::Name),
        QStringLiteral("List of Folder:"));
    QCOMPARE(QAccessible::queryAccessibleInterface(ui.files())->text(QAccessible::Name),
        QStringLiteral("List of files in selected folders:"));
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&ui.window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Tessaly"));
}

void tst_MainWindow::focusShowsInLists()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a", "b" }), QString());
    Window ui;
    QVERIFY(QTest::qWaitForWindowActive(&ui.window));
    QVERIFY(
        dropUrls(&ui.window, { QUrl::fromLocalFile(dir.path()) })); // no dialog to take the focus
    ui.selectFolder(0);
    ui.selectFile(1);
    QWidget *elsewhere = ui.control("Command2");
    for (QAbstractItemView *list : ui.lists()) {
        list->setFocus();
        QTRY_VERIFY2(list->hasFocus(), "the list to take the focus");
        const QImage focused = list->viewport()->grab().toImage();
        elsewhere->setFocus();
        QTRY_VERIFY2(!list->hasFocus(), "the list to lose the focus");
        QVERIFY2(list->viewport()->grab().toImage() != focused,
            qPrintable(list->objectName() + " looks the same with and without the focus"));
    }
}

void tst_MainWindow::keysMoveByRows()
{
    TestDir dir, other;
    QList<QByteArray> names;
    for (int i = 0; i < 60; ++i)
        names << QByteArray::number(100 + i) + ".txt";
    QCOMPARE(dir.createFiles(names), QString());
    QCOMPARE(other.createFiles({ "x" }), QString());
    Window ui;
    QVERIFY(QTest::qWaitForWindowActive(&ui.window));
    ui.add(dir.filePath("100.txt"));
    ui.add(other.filePath("x"));

    // The first Down selects the first row, though the view made it current on focus.
    for (QAbstractItemView *list : ui.lists()) {
        list->clearSelection();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list->selectionModel()->selectedRows().first().row(), 0);
    }

    FileListView *files = ui.files();
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

void tst_MainWindow::deleteAndCopyKeys()
{
    TestDir first, second;
    QCOMPARE(first.createFiles({ "a.txt", "b.txt", "c.txt" }), QString());
    QCOMPARE(second.createFiles({ "d.txt" }), QString());
    Window ui;
    QVERIFY(QTest::qWaitForWindowActive(&ui.window));
    ui.add(first.filePath("a.txt"));
    ui.add(second.filePath("d.txt"));
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending

    FileListView *files = ui.files();
    files->setFocus();
    files->setCurrentIndex(files->model()->index(1, 1)); // b.txt, the Extension cell
    QTest::keyClick(files, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("b.txt"));
    QTest::keyClick(files, Qt::Key_Delete);
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a.txt", "c.txt", "d.txt" }));
    QCOMPARE(files->selectedRow(), 1); // as "Remove" leaves it

    // The key does what the button does, and nothing while the button is disabled.
    ui.control("CmdDelList")->setEnabled(false);
    QTest::keyClick(files, Qt::Key_Delete);
    QCOMPARE(ui.rows().size(), 3);
    ui.control("CmdDelList")->setEnabled(true);

    QListWidget *folders = ui.folders();
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

void tst_MainWindow::cutOffTextShowsInToolTips()
{
    TestDir dir;
    const QByteArray longName = QByteArray(70, 'n') + "<b>bold&amp;.txt";
    QCOMPARE(dir.createFiles({ "short.txt", longName }), QString());
    const QString deep = dir.filePath(QString(90, u'f'));
    QVERIFY(QDir().mkpath(deep));
    QCOMPARE(dir.createFiles({ QFile::encodeName(QString(90, u'f')) + "/x" }), QString());
    Window ui;
    QVERIFY(QTest::qWaitForWindowActive(&ui.window));
    ui.add(dir.filePath("short.txt"));
    ui.add(deep + "/x");
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending: n..., short.txt, x

    FileListView *files = ui.files();
    const QAbstractItemModel *model = files->model();
    QCOMPARE(shownToolTip(files, model->index(1, 0)), QString()); // short.txt fits
    QTRY_VERIFY2(!QToolTip::isVisible(), "no tool tip");
    QCOMPARE(shownToolTip(files, model->index(0, 0)), QString::fromUtf8(longName));

    QListWidget *folders = ui.folders();
    QToolTip::hideText();
    QTRY_VERIFY2(!QToolTip::isVisible(), "the tool tip to go");
    QCOMPARE(shownToolTip(folders, folders->model()->index(0, 0)), QString());
    QCOMPARE(shownToolTip(folders, folders->model()->index(1, 0)), deep);
    QToolTip::hideText();
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
    QVERIFY(!ui.window.isBusy());
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
    QVERIFY(!ui.window.isBusy());
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
    QCOMPARE(FrmFilenameReader::folderPath(item), dir.filePath("two\nlines"));
    QCOMPARE(item->text(), dir.filePath(QStringLiteral("two\u240Alines")));
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
    QCOMPARE(opened.mid(1), (QStringList { first.path(), second.path(), out.path() }));
}

void tst_MainWindow::dropAddsFolders()
{
    TestDir first, second, third;
    QCOMPARE(first.createFiles({ "a" }), QString());
    QCOMPARE(second.createFiles({ "b" }), QString());
    QCOMPARE(third.createFiles({ "c" }), QString());
    auto doomed = std::make_unique<TestDir>();
    const QString doomedPath = doomed->path();
    Window ui;
    ui.add(first.filePath("a"));

    // A folder, a file, and a folder already listed (with a trailing slash); the
    // listing afterwards warns once, so the list is rebuilt once.
    const QList<QUrl> urls { QUrl::fromLocalFile(second.path()),
        QUrl::fromLocalFile(doomed->filePath("gone.txt")), QUrl::fromLocalFile(third.filePath("c")),
        QUrl::fromLocalFile(first.path() + u'/'), QUrl::fromLocalFile(second.path()) };
    doomed.reset();
    QVERIFY2(dropUrls(&ui.window, urls), "the drop to be taken as a copy");
    ui.settle();
    QCOMPARE(
        ui.folderList(), (QStringList { first.path(), second.path(), doomedPath, third.path() }));
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { "a", "b", "c" }));
    QVERIFY(ui.warnedOnce(doomedPath, ENOENT));

    // What is not a local file is refused, silently, with the local ones beside it.
    QVERIFY(!dropUrls(&ui.window,
        { QUrl(QStringLiteral("https://example.org/a.txt")), QUrl::fromLocalFile(third.path()) }));
    QCOMPARE(ui.folderList().size(), 4);
    QCOMPARE(ui.dialogs.boxes.size(), 1);
}

void tst_MainWindow::removeRows()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a", "b", "c", "d" }), QString());
    Window ui;
    auto *remove = ui.control("CmdDelList");
    remove->click(); // no rows: nothing happens

    ui.add(dir.filePath("a"));
    ui.clickHeader(0);
    ui.clickHeader(0); // by name, ascending
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "b", "c", "d" }));

    ui.files()->clearSelection();
    remove->click(); // none selected: nothing happens
    QCOMPARE(ui.rows().size(), 4);

    // The row that moves up is selected, so that repeated clicks trim a run.
    ui.selectFile(1);
    remove->click();
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "c", "d" }));
    QCOMPARE(ui.files()->selectedRow(), 1);
    remove->click();
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "d" }));
    remove->click();
    QCOMPARE(ui.rows(), QList<QByteArray> { "a" });
    QCOMPARE(ui.files()->selectedRow(), 0); // the new last row
    remove->click(); // the last row goes too
    QCOMPARE(ui.rows(), QList<QByteArray>());
    remove->click();

    // A rebuild brings every removed row back, in its sorted place.
    ui.add(dir.filePath("a"));
    QCOMPARE(ui.rows(), (QList<QByteArray> { "a", "b", "c", "d" }));
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
    QVERIFY(ui.window.isBusy());
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

void tst_MainWindow::eachNameInItsOwnDirection()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "שלום.txt", "abc.txt" }), QString());
    Window ui;
    ui.add(dir.filePath("abc.txt"));
    QVERIFY(dynamic_cast<NameDelegate *>(ui.folders()->itemDelegate()));
    auto *delegate = dynamic_cast<NameDelegate *>(ui.files()->itemDelegate());
    QVERIFY(delegate);
    auto laidOut = [&](const QByteArray &name) {
        const int row = ui.rows().indexOf(name);
        QStyleOptionViewItem option;
        option.initFrom(ui.files());
        delegate->initStyleOption(&option, ui.files()->model()->index(row, 0));
        return std::pair(option.direction, option.displayAlignment & Qt::AlignHorizontal_Mask);
    };
    const auto left = Qt::AlignLeft | Qt::AlignAbsolute;
    QCOMPARE(laidOut("שלום.txt"), std::pair(Qt::RightToLeft, left));
    QCOMPARE(laidOut("abc.txt"), std::pair(Qt::LeftToRight, left));
    // In a right-to-left window names line up on the right, and keep their own direction.
    ui.window.setLayoutDirection(Qt::RightToLeft);
    const auto right = Qt::AlignRight | Qt::AlignAbsolute;
    QCOMPARE(laidOut("שלום.txt"), std::pair(Qt::RightToLeft, right));
    QCOMPARE(laidOut("abc.txt"), std::pair(Qt::LeftToRight, right));
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
    QCOMPARE(ui.dialogs.boxes.size(), 0);
}

void tst_MainWindow::savesFinishBeforeExit()
{
    TestDir dir, out;
    QCOMPARE(dir.createFiles({ "a.txt" }), QString());
    Window ui;
    ui.add(dir.filePath("a.txt"));
    // What main() does after Close: neither save is dropped, and the failed
    // one is still reported.
    ui.window.saveList(out.filePath("list.txt"));
    ui.window.saveList(out.filePath("missing/list.txt"));
    ui.window.finishSaves(30000);
    QVERIFY2(!ui.window.isSaving(), "the saves to end within 30 s");
    QFile saved(out.filePath("list.txt"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("a.txt\r\n"));
    QVERIFY(ui.warnedOnce(out.filePath("missing/list.txt"), ENOENT));
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

// A folder "slow" that HeldReader holds, and two it reads at once.
struct SlowAndFast
{
    SlowAndFast()
    {
        for (const char *folder : { "slow", "fast", "other" })
            QDir(dir.path()).mkpath(QLatin1StringView(folder));
        made = dir.createFiles({ "slow/s.txt", "fast/a.txt", "fast/b.doc", "other/o" });
    }
    QString path(const char *folder) const { return dir.filePath(QLatin1StringView(folder)); }
    QString file(const char *name) const { return dir.filePath(QLatin1StringView(name)); }

    TestDir dir;
    QString made;
};

// Lists "fast" in full, then adds "slow", whose read the held reader holds.
void addFastThenSlow(Window &ui, const SlowAndFast &folders, HeldReader &held)
{
    ui.window.setFolderReader(held.reader());
    ui.add(folders.file("fast/a.txt"));
    ui.dialogs.choose(folders.file("slow/s.txt"));
    ui.control("CmdAddFolder")->click();
}

} // namespace

void tst_MainWindow::progressAndCancel_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Esc") << true;
    QTest::newRow("Cancel") << false;
}

void tst_MainWindow::progressAndCancel()
{
    QFETCH(bool, byEscape);
    SlowAndFast folders;
    QCOMPARE(folders.made, QString());
    HeldReader held;
    Window ui;
    addFastThenSlow(ui, folders, held);

    QVERIFY(ui.window.isBusy());
    auto *progress = ui.control<QWidget>("WorkProgress");
    QVERIFY(!progress->isVisible()); // quick work shows nothing
    QTRY_VERIFY2_WITH_TIMEOUT(progress->isVisible(), "the progress to show", 10000);
    // Drawn over the rows, saying where the listing is.
    QCOMPARE(progress->parentWidget(), ui.files());
    QVERIFY(ui.files()->viewport()->geometry().contains(progress->geometry()));
    const QString text = ui.control<QLabel>("WorkProgressText")->text();
    QVERIFY2(text.contains(QDir::toNativeSeparators(folders.path("slow")))
            && text.contains(QStringLiteral("2 files")),
        qPrintable(text));
    QCOMPARE(ui.files()->accessibleDescription(), text);
    QVERIFY(!ui.control("CmdSaveTXT")->isEnabled());
    QVERIFY(!ui.control("CmdDelList")->isEnabled());
    QVERIFY(!ui.files()->header()->sectionsClickable());

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
    QCOMPARE(ui.files()->accessibleDescription(), QString());
    QVERIFY(ui.control("CmdSaveTXT")->isEnabled());
    QVERIFY(ui.control("CmdDelList")->isEnabled());
    QVERIFY(ui.files()->header()->sectionsClickable());
    QCOMPARE(ui.folderList(), (QStringList { folders.path("fast"), folders.path("slow") }));
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
    QVERIFY(ui.window.isBusy());
    held.letGo();
    ui.settle();
    QCOMPARE(ui.sortedRows(), (QList<QByteArray> { "a.txt", "b.doc", "o", "s.txt" }));
    QCOMPARE(ui.dialogs.boxes.size(), 0);
}

void tst_MainWindow::commandsWaitForTheList()
{
    SlowAndFast folders;
    QCOMPARE(folders.made, QString());
    HeldReader held;
    Window ui;
    addFastThenSlow(ui, folders, held);
    QVERIFY(ui.window.isBusy());

    // Before the progress shows and while it shows: nothing acts on the partial list, then or
    // later.
    auto tryEverything = [&] {
        ui.selectFile(0);
        ui.control("CmdDelList")->click();
        ui.clickHeader(0, false);
        ui.dialogs.choose(folders.file("never-saved.txt"));
        ui.control("CmdSaveTXT")->click();
    };
    tryEverything();
    QTRY_VERIFY2_WITH_TIMEOUT(
        ui.control<QWidget>("WorkProgress")->isVisible(), "the progress to show", 10000);
    tryEverything();
    // Info works at any time.
    ui.control("Command2")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ui.dialogs.boxes.size(), 1, 10000);
    QCOMPARE(ui.dialogs.boxes.first().icon, QMessageBox::Information);

    held.letGo();
    ui.settle();
    QTest::qWait(50); // a click that was queued would fire now
    QCOMPARE(ui.rows().size(), 3);
    QVERIFY(!ui.files()->isSorted());
    QVERIFY(!ui.files()->header()->isSortIndicatorShown());
    QCOMPARE(ui.dialogs.fileDialogs.size(), 2); // the two Adds
    QCOMPARE(ui.dialogs.boxes.size(), 1);
    QVERIFY(!QFileInfo::exists(folders.file("never-saved.txt")));
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
        expected.setRows(std::move(rows));
    };
    auto click = [&](int section) {
        ui.clickHeader(section);
        expected.setSortState(headerClicked(expected.sortState(), section + 1));
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
    QCOMPARE(saved.readAll(), exportText(expected));
}

void tst_MainWindow::closeEndsTheProgram()
{
    for (const bool byButton : { true, false }) {
        Window ui;
        QTimer::singleShot(0, &ui.window, [&] {
            if (byButton)
                ui.control("Command1")->click();
            else
                ui.window.close();
        });
        QCOMPARE(QApplication::exec(), 0);
    }
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
