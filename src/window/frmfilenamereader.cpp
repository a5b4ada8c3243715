// SPDX-License-Identifier: MIT
#include "window/frmfilenamereader.h"

#include "core/arrangement.h"
#include "core/filelistmodel.h"
#include "core/folderlisting.h"
#include "core/paths.h"
#include "core/textexport.h"
#include "core/workerpool.h"
#include "widgets/commondialog.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "widgets/namedelegate.h"
#include "widgets/workprogress.h"
#include "window/messages.h"
#include "window/windowlook.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDropEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QUndoStack>
#include <QtConcurrent/QtConcurrentRun>

using namespace WindowLook;

FrmFilenameReader::FrmFilenameReader(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmFilenameReader"));
    setWindowTitle(QStringLiteral("Tessaly"));
    setWindowIcon(renderedIcon());
    setFixedSize(twips(0, 0, 5790, 6225).size());
    setFont(dialogFont()); // before the controls, which take it from the window
    setAcceptDrops(true);
    installFrameAccessibility();

    // Created in reading order, so that each button is drawn over the band beside it.
    Label1 = headingBand(tr(" List of Folder:"), this);
    //: The two buttons beside the band have room for about 9 narrow letters; the
    //: accessible name carries the long form.
    CmdAddFolder = commandButton(tr("Add"), tr("Add folder"), this);
    //: As narrow as Add.
    CmdDelFolder = commandButton(tr("Remove"), tr("Remove folder"), this);
    ListFolder = new FolderListWidget(this);
    ListFolder->setItemDelegate(new NameDelegate(ListFolder));
    Label2 = headingBand(tr(" List of files in selected folders:"), this);
    CmdDelList = commandButton(tr("Remove", "file"), tr("Remove file"), this);
    LvFiles = new FileListView(this);
    CmdSaveTXT = commandButton(tr("Save List to TXT File"), QString(), this);
    CmdSaveTXT->setFont(verdana(false));
    Command2 = commandButton(tr("Info"), QString(), this);
    Command1 = commandButton(tr("Close"), QString(), this);
    Command1->setFont(verdana(false));
    CommonDialog1 = new CommonDialog(this);

    // Each band names its list, for screen readers too.
    Label1->setBuddy(ListFolder);
    Label2->setBuddy(LvFiles);
    ListFolder->setAccessibleName(Label1->text().trimmed());
    LvFiles->setAccessibleName(Label2->text().trimmed());

    const struct
    {
        QWidget *widget;
        const char *name;
        QRect rectangle;
    } design[] = {
        { Label1, "Label1", twips(105, 165, 3900, 330) },
        { CmdAddFolder, "CmdAddFolder", twips(3990, 165, 855, 330) },
        { CmdDelFolder, "CmdDelFolder", twips(4830, 165, 855, 330) },
        { ListFolder, "ListFolder", twips(105, 525, 5580, 1230) },
        { Label2, "Label2", twips(105, 1875, 3900, 330) },
        { CmdDelList, "CmdDelList", twips(3990, 1875, 1695, 330) },
        { LvFiles, "LvFiles", twips(105, 2205, 5580, 3480) },
        { CmdSaveTXT, "CmdSaveTXT", twips(105, 5775, 2640, 330) },
        { Command2, "Command2", twips(2835, 5775, 1275, 330) },
        { Command1, "Command1", twips(4200, 5775, 1380, 330) },
    };
    for (const auto &[widget, name, rectangle] : design) {
        widget->setObjectName(QLatin1StringView(name));
        widget->setGeometry(rectangle);
    }
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));

    // Focus order of the design; the labels take no focus.
    QWidget *const focusOrder[] = { ListFolder, CmdAddFolder, CmdDelFolder, CmdSaveTXT, CmdDelList,
        Command1, LvFiles, Command2 };
    for (size_t i = 0; i + 1 < std::size(focusOrder); ++i)
        setTabOrder(focusOrder[i], focusOrder[i + 1]);
    ListFolder->setFocus();

    connect(CmdAddFolder, &QPushButton::clicked, this, &FrmFilenameReader::CmdAddFolder_Click);
    connect(CmdDelFolder, &QPushButton::clicked, this, &FrmFilenameReader::CmdDelFolder_Click);
    connect(CmdDelList, &QPushButton::clicked, this, &FrmFilenameReader::CmdDelList_Click);
    connect(LvFiles, &FileListView::columnClick, this, &FrmFilenameReader::LvFiles_ColumnClick);
    connect(CmdSaveTXT, &QPushButton::clicked, this, &FrmFilenameReader::CmdSaveTXT_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmFilenameReader::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmFilenameReader::Command2_Click);

    m_list = new ListWork(LvFiles->files(), this);
    m_progress = new WorkProgress(LvFiles);
    connect(m_list, &ListWork::started, this, [this] { m_progress->start(m_list->status()); });
    connect(m_list, &ListWork::ended, this, &FrmFilenameReader::workEnded);
    connect(m_list, &ListWork::rebuilt, this, &FrmFilenameReader::rebuilt);
    connect(m_list, &ListWork::cannotSort, this, [this] { Messages::warnCannotSort(this); });
    connect(m_list, &ListWork::removed, this, &FrmFilenameReader::removed);
    connect(m_progress, &WorkProgress::cancelClicked, this, [this] {
        m_list->cancel();
        m_progress->refresh();
    });
    // From the moment the progress shows, the partial list must not be saved,
    // trimmed or sorted, and shows it: the buttons and headers look unavailable too.
    connect(m_progress, &WorkProgress::shown, this, [this] { enableListCommands(false); });

    // Keys for commands go through the buttons, so they do what the buttons do when they do it.
    connect(ListFolder, &FolderListWidget::removeRequested, CmdDelFolder, &QPushButton::click);
    connect(LvFiles, &FileListView::removeRequested, CmdDelList, &QPushButton::click);
    connect(LvFiles, &FileListView::removeExtensionRequested, this,
        &FrmFilenameReader::removeFilesWithExtension);
    connect(LvFiles, &FileListView::keepExtensionRequested, this,
        &FrmFilenameReader::keepFilesWithExtension);

    // Removals can be undone until the next rebuild brings every row back.
    m_history = new QUndoStack(this);
    m_undo = new QAction(tr("&Undo"), this);
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = new QAction(tr("Re&do"), this);
    m_redo->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    for (QAction *action : { m_undo, m_redo }) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(m_undo, &QAction::triggered, this, &FrmFilenameReader::undo);
    connect(m_redo, &QAction::triggered, this, &FrmFilenameReader::redo);
    connect(m_history, &QUndoStack::indexChanged, this, &FrmFilenameReader::updateHistoryActions);
    updateHistoryActions();
    LvFiles->setUndoActions(m_undo, m_redo);
    addShortcuts();
}

void FrmFilenameReader::addShortcuts()
{
    // The standard keys press the buttons, so that they do what the buttons
    // do, when they do it; the buttons' tool tips name them.
    const struct
    {
        QPushButton *button;
        QString tip;
        QList<QKeySequence> keys;
    } shortcuts[] = {
        { CmdAddFolder, tr("Add Folder"), { QKeySequence(Qt::CTRL | Qt::Key_O) } },
        { CmdSaveTXT, tr("Save List to TXT File"), { QKeySequence(Qt::CTRL | Qt::Key_S) } },
        { Command2, tr("Info"), { QKeySequence(Qt::Key_F1) } },
        { Command1, tr("Close"),
            { QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_W) } },
    };
    for (const auto &[button, tip, keys] : shortcuts) {
        QStringList named;
        for (const QKeySequence &key : keys) {
            auto *shortcut = new QShortcut(key, this);
            connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
            named << key.toString(QKeySequence::NativeText);
        }
        //: A button's tool tip: what it does, then its keys, e.g. "Add Folder (Ctrl+O)".
        button->setToolTip(tr("%1 (%2)").arg(tip, named.join(tr(", "))));
    }
    CmdDelFolder->setToolTip(
        tr("Remove Folder (%1)")
            .arg(QKeySequence(QKeySequence::Delete).toString(QKeySequence::NativeText)));
    CmdDelList->setToolTip(
        tr("Remove File (%1)")
            .arg(QKeySequence(QKeySequence::Delete).toString(QKeySequence::NativeText)));
}

FrmFilenameReader::~FrmFilenameReader()
{
    // Gone before QWidget's destructor: clearing itself, the history tells
    // this window, which by then would no longer be one.
    delete m_history;
    m_history = nullptr;
}

void FrmFilenameReader::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        paintBand(Label1, palette());
        paintBand(Label2, palette());
    }
}

void FrmFilenameReader::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void FrmFilenameReader::dragMoveEvent(QDragMoveEvent *event)
{
    if (DropRules::acceptsDrop(event->mimeData(), event->possibleActions())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void FrmFilenameReader::dropEvent(QDropEvent *event)
{
    if (!DropRules::acceptsDrop(event->mimeData(), event->possibleActions())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QList<DropRules::Dropped> drop = DropRules::examine(event->mimeData()->urls());
    addDropped(drop, DropRules::refusalWarning(drop));
}

void FrmFilenameReader::addPaths(const QList<QByteArray> &paths)
{
    const QList<DropRules::Dropped> given = DropRules::examinePaths(paths);
    addDropped(given, DropRules::refusalWarning(given, DropRules::CommandLine));
}

void FrmFilenameReader::addDropped(const QList<DropRules::Dropped> &drop, const QString &warning)
{
    bool named = false;
    for (const DropRules::Dropped &dropped : drop) {
        if (!dropped.isRefused()) {
            ListFolder->addFolder(dropped.folder);
            named = true;
        }
    }
    // As with "Add", a drop that names no folder changes nothing.
    if (named)
        PopulateListViewWithFiles(ListFolder);
    // Shown once the drop has returned: the file manager waits for its end.
    if (!warning.isNull())
        QMetaObject::invokeMethod(
            this, [this, warning] { Messages::warn(this, warning); }, Qt::QueuedConnection);
}

void FrmFilenameReader::CmdAddFolder_Click()
{
    CommonDialog1->setFilter(QString());
    CommonDialog1->ShowOpen();
    const QString chosen = CommonDialog1->FileName();
    // Nothing chosen changes nothing: a rebuild would bring back rows the user removed.
    if (chosen.isEmpty())
        return;

    ListFolder->addFolder(GetFolderOfFile(chosen));
    PopulateListViewWithFiles(ListFolder);
}

void FrmFilenameReader::CmdDelFolder_Click()
{
    const int selected = ListFolder->currentRow();
    if (ListFolder->count() < 1 || selected < 0 || !ListFolder->item(selected)->isSelected())
        return;
    delete ListFolder->takeItem(selected);
    PopulateListViewWithFiles(ListFolder);
}

void FrmFilenameReader::PopulateListViewWithFiles(const FolderListWidget *FolderList)
{
    m_list->rebuild(FolderList->folders());
    updateHistoryActions();
}

void FrmFilenameReader::rebuilt(const QList<ListingFailure> &failures)
{
    // Every row is back: nothing removed before is left to undo.
    m_history->clear();
    if (failures.isEmpty())
        return;
    QStringList shown;
    for (const ListingFailure &failure : failures)
        shown << tr("%1\n%2").arg(Messages::shownPath(failure.folder), failure.reason);
    Messages::warn(this,
        tr("These folders could not be listed; their files are left out "
           "of the list:\n\n%1")
            .arg(shown.join(QStringLiteral("\n\n"))));
}

namespace {

// One removal in the history. The list changes before the command is
// pushed, so its first redo does nothing.
class Removal : public QUndoCommand
{
public:
    Removal(ListWork *list, std::shared_ptr<RemovedRows> removed)
        : m_list(list)
        , m_removed(std::move(removed))
    { }
    void undo() override { m_list->putBack(m_removed); }
    void redo() override
    {
        if (!std::exchange(m_done, false))
            m_list->takeAgain(m_removed);
    }

private:
    ListWork *m_list;
    std::shared_ptr<RemovedRows> m_removed;
    bool m_done = true;
};

} // namespace

void FrmFilenameReader::CmdDelList_Click()
{
    // Rows are not removed from a list about to be replaced or reordered.
    if (isBusy())
        return;
    const int selected = LvFiles->selectedRow();
    if (selected < 0)
        return;
    removed(std::make_shared<RemovedRows>(LvFiles->removeRow(selected)));
}

void FrmFilenameReader::removeFilesWithExtension(const QByteArray &extension)
{
    m_list->removeExtension(extension, false);
    updateHistoryActions();
}

void FrmFilenameReader::keepFilesWithExtension(const QByteArray &extension)
{
    m_list->removeExtension(extension, true);
    updateHistoryActions();
}

void FrmFilenameReader::removed(const std::shared_ptr<RemovedRows> &removed)
{
    m_history->push(new Removal(m_list, removed));
}

void FrmFilenameReader::undo()
{
    // A change still being made is not undone half-way.
    if (!isBusy() && m_history->canUndo())
        m_history->undo();
    updateHistoryActions();
}

void FrmFilenameReader::redo()
{
    if (!isBusy() && m_history->canRedo())
        m_history->redo();
    updateHistoryActions();
}

void FrmFilenameReader::updateHistoryActions()
{
    m_undo->setEnabled(!isBusy() && m_history->canUndo());
    m_redo->setEnabled(!isBusy() && m_history->canRedo());
}

void FrmFilenameReader::LvFiles_ColumnClick(int ColumnHeader)
{
    m_list->sort(ColumnHeader);
}

void FrmFilenameReader::workEnded()
{
    m_progress->finish();
    enableListCommands(true);
    updateHistoryActions();
}

void FrmFilenameReader::enableListCommands(bool enabled)
{
    CmdSaveTXT->setEnabled(enabled);
    CmdDelList->setEnabled(enabled);
    LvFiles->header()->setSectionsClickable(enabled);
}

void FrmFilenameReader::CmdSaveTXT_Click()
{
    if (isBusy())
        return;
    CommonDialog1->setFilter(tr("Text File (*.txt)") + QStringLiteral("|*.txt"));
    CommonDialog1->ShowSave();
    const QString target = CommonDialog1->FileName();
    if (target.isEmpty())
        return;

    saveList(target);
}

void FrmFilenameReader::saveList(const QString &target)
{
    // Written by a worker from a copy of the order, so the window goes on
    // painting while a long list is written and flushed to the disk.
    using Outcome = std::pair<SaveResult, QString>;
    auto *saving = new QFutureWatcher<Outcome>(this);
    const auto giveUp = std::make_shared<SaveGiveUp>();
    m_saves.insert(saving, { target, giveUp });
    connect(saving, &QFutureWatcherBase::finished, this, [this, saving, target] {
        saving->deleteLater();
        if (!m_saves.contains(saving))
            return; // given up, and said so then
        const auto [result, reason] = saving->result();
        if (result == SaveResult::Failed)
            Messages::warn(this,
                tr("The list could not be saved to\n%1\n\n%2")
                    .arg(Messages::shownPath(target), reason));
        else if (result != SaveResult::Saved)
            // Saved, but not all as asked: the reason says what, a sentence a line.
            Messages::warn(this, Messages::shownPath(target) + QStringLiteral("\n\n") + reason);
        saveEnded(saving, result);
    });
    saving->setFuture(QtConcurrent::run(workerPool(),
        [files = LvFiles->files()->arrangement(), target, hooks = m_saveHooks, giveUp] {
            QString reason;
            const SaveResult result
                = saveText(target, exportText(files), &reason, hooks, giveUp.get());
            return Outcome(result, reason);
        }));
}

void FrmFilenameReader::saveEnded(QFutureWatcherBase *saving, SaveResult result)
{
    m_saves.remove(saving);
    if (result == SaveResult::Failed)
        ++m_savesFailed;
    if (!m_waitingForSaves || isSaving())
        return;
    m_waitingForSaves->done(QMessageBox::Ok);
    // After a failure the window stays, so that the list can still be saved elsewhere.
    if (result != SaveResult::Failed)
        QApplication::quit();
}

void FrmFilenameReader::endWhenSaved()
{
    if (!isSaving()) {
        QApplication::quit();
        return;
    }
    if (m_waitingForSaves)
        return;
    QStringList targets;
    for (const RunningSave &save : std::as_const(m_saves))
        targets << Messages::shownPath(save.target);
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Quillmere"),
        tr("The list is still being saved to\n%1\n\nQuillmere closes as soon as the save has "
           "ended. If you quit now, the list is not saved and the file keeps its old contents.")
            .arg(targets.join(u'\n')),
        QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("SaveWaiting"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *quit = box->addButton(tr("&Quit Without Saving"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    m_waitingForSaves = box;
    connect(box, &QDialog::finished, this, [this] { m_waitingForSaves = nullptr; });
    connect(quit, &QPushButton::clicked, this, [this] {
        const QStringList unsaved = giveUpSaves();
        // Said once more where the program can still say it: the list is
        // not saved, or, too late to give up, saved.
        Messages::warn(this, unsaved.join(QStringLiteral("\n\n")));
        QApplication::exit(1);
    });
    box->open();
}

QStringList FrmFilenameReader::giveUpSaves()
{
    QStringList said;
    for (const RunningSave &save : std::as_const(m_saves)) {
        QString leftBehind;
        const QString target = Messages::shownPath(save.target);
        switch (save.giveUp->giveUp(&leftBehind)) {
        case SaveGiveUp::GivenUp:
            said << tr("The list was not saved to\n%1\nThe file keeps its old contents.")
                        .arg(target);
            break;
        case SaveGiveUp::LeftBehind:
            said << tr("The list was not saved to\n%1\nThe file keeps its old contents, but "
                       "this temporary file could not be removed:\n%2")
                        .arg(target, Messages::shownPath(leftBehind));
            break;
        case SaveGiveUp::TooLate:
            said << tr("The list was saved to\n%1\nbut the system has not yet confirmed that it "
                       "is on the disk.")
                        .arg(target);
            break;
        }
    }
    // Not ended well, for the exit status; their ends, if they come, say nothing.
    m_savesFailed += int(m_saves.size());
    m_saves.clear();
    return said;
}

void FrmFilenameReader::finishSaves(int milliseconds)
{
    if (!isSaving())
        return;
    QEventLoop loop;
    QTimer poll;
    const QDeadlineTimer deadline(milliseconds);
    // The loop also delivers each save's end, and with it any warning.
    poll.callOnTimeout(&loop, [&] {
        if (!isSaving() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(10);
    loop.exec();
}

void FrmFilenameReader::closeEvent(QCloseEvent *event)
{
    if (!isSaving()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    endWhenSaved();
}

void FrmFilenameReader::Command1_Click()
{
    endWhenSaved();
}

void FrmFilenameReader::Command2_Click()
{
    Messages::showInfo(this);
}
