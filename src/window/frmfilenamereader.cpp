// SPDX-License-Identifier: MIT
#include "window/frmfilenamereader.h"

#include "core/filelistmodel.h"
#include "core/paths.h"
#include "list/filelist.h"
#include "list/savequeue.h"
#include "widgets/commandbutton.h"
#include "widgets/commondialog.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "widgets/inputblocker.h"
#include "widgets/listingnotice.h"
#include "widgets/namedelegate.h"
#include "widgets/visiblefocus.h"
#include "widgets/workprogress.h"
#include "window/closingsaves.h"
#include "window/messages.h"
#include "window/windowlook.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMimeData>

using namespace WindowLook;

FrmFilenameReader::FrmFilenameReader(QWidget *parent)
    : QWidget(parent)
    , m_files(new FileList(this))
    , m_saves(new SaveQueue(this))
    , m_closing(new ClosingSaves(this, m_saves))
    , m_commands(this, m_files)
{
    setObjectName(QStringLiteral("FrmFilenameReader"));
    setWindowTitle(QStringLiteral("Tessaly"));
    setWindowIcon(renderedIcon());
    setFixedSize(twips(0, 0, 5790, 6225).size());
    setFont(dialogFont()); // before the controls, which take it from the window
    setAcceptDrops(true);
    installFrameAccessibility();
    keepFixedSize(this);
    createControls();
    layOut();
    connectWork();
    connectCommands();
}

void FrmFilenameReader::createControls()
{
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
    LvFiles->setFiles(m_files->model());
    m_commands.sortHeader = LvFiles->header();
    m_commands.follow(m_files->state());
    CmdSaveTXT = commandButton(tr("Save List to TXT File"), QString(), this);
    CmdSaveTXT->setFont(verdana(false));
    Command2 = commandButton(tr("Info"), QString(), this);
    Command1 = commandButton(tr("Close"), QString(), this);
    Command1->setFont(verdana(false));
    CommonDialog1 = new CommonDialog(this);
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    m_progress = new WorkProgress(LvFiles);
    m_notice = new ListingNotice(LvFiles, Label2, m_commands.includeAllSubfolders);

    // Each band names its list, for screen readers too.
    Label1->setBuddy(ListFolder);
    Label2->setBuddy(LvFiles);
    ListFolder->setAccessibleName(Label1->text().trimmed());
    LvFiles->setAccessibleName(Label2->text().trimmed());
}

void FrmFilenameReader::layOut()
{
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
    // Focus order of the design; the labels take no focus.
    QWidget *const focusOrder[] = { ListFolder, CmdAddFolder, CmdDelFolder, CmdSaveTXT, CmdDelList,
        Command1, LvFiles, Command2 };
    for (size_t i = 0; i + 1 < std::size(focusOrder); ++i)
        setTabOrder(focusOrder[i], focusOrder[i + 1]);
    ListFolder->setFocus();
    VisibleFocus::install(this);
}

void FrmFilenameReader::connectWork()
{
    connect(m_progress, &WorkProgress::cancelClicked, this, [this] {
        m_files->cancel();
        m_progress->refresh();
    });
    connect(m_files, &FileList::workStarted, m_progress, &WorkProgress::start);
    connect(m_files, &FileList::busyChanged, this, [this](bool busy) {
        if (!busy)
            m_progress->finish();
    });
    connect(m_files, &FileList::rebuilt, this, [this](const QList<ListingFailure> &failures) {
        m_notice->listed(LvFiles->model()->rowCount());
        Messages::warnListingFailures(this, failures);
    });
    connect(m_files, &FileList::listedNothing, this,
        [this](EmptyListing why) { m_notice->listedNothing(why, ListFolder->count()); });
    connect(m_files, &FileList::cannotSort, this, [this] { Messages::warnCannotSort(this); });
    // Undo and Redo bring folders back, or take them away.
    connect(m_files, &FileList::foldersChanged, ListFolder, &FolderListWidget::setFolders);
    connect(ListFolder, &FolderListWidget::openFailed, this,
        [this](const QString &folder) { Messages::warnCannotOpenFolder(this, folder); });
    // A pick in the portal's dialog after Qt's was shown instead, as if just made.
    connect(CommonDialog1, &CommonDialog::pickedLate, this,
        [this](DialogKind kind, const QString &path) {
            if (kind == DialogKind::SaveFile && m_commands.save->isEnabled())
                saveList(path);
            else if (kind != DialogKind::SaveFile)
                addFolder(kind == DialogKind::Folder ? path : GetFolderOfFile(path));
        });
}

FrmFilenameReader::~FrmFilenameReader() = default;

void FrmFilenameReader::connectCommands()
{
    const struct
    {
        CommandButton *button;
        QAction *command;
        void (FrmFilenameReader::*handler)();
    } buttons[] = {
        { CmdAddFolder, m_commands.addFolder, &FrmFilenameReader::CmdAddFolder_Click },
        { CmdDelFolder, m_commands.removeFolder, &FrmFilenameReader::CmdDelFolder_Click },
        { CmdDelList, m_commands.removeFile, &FrmFilenameReader::CmdDelList_Click },
        { CmdSaveTXT, m_commands.save, &FrmFilenameReader::CmdSaveTXT_Click },
        { Command2, m_commands.info, &FrmFilenameReader::Command2_Click },
        { Command1, m_commands.close, &FrmFilenameReader::Command1_Click },
    };
    for (const auto &[button, command, handler] : buttons) {
        button->setCommand(command);
        connect(command, &QAction::triggered, this, handler);
    }
    InputBlocker::setPassage(this, m_commands.close, Command1); // even while a dialog hangs
    connect(m_commands.chooseFolder, &QAction::triggered, this, &FrmFilenameReader::chooseFolder);
    connect(m_commands.includeAllSubfolders, &QAction::triggered, this,
        &FrmFilenameReader::includeSubfolders);
    connect(LvFiles, &FileListView::columnClick, this, &FrmFilenameReader::LvFiles_ColumnClick);
    connect(LvFiles, &FileListView::extensionOffered, this,
        [this](const QByteArray &extension, const QMenu *menu) {
            m_commands.offerExtension(extension, menu);
        });
    // Delete removes in the list that has the focus.
    ListFolder->addAction(m_commands.removeFolder);
    ListFolder->setCommands({ m_commands.removeFolder, m_commands.chooseFolder,
        m_commands.readAgain, m_commands.includeSubfolders, m_commands.useParent });
    connect(ListFolder, &FolderListWidget::entriesEdited, this,
        [this] { PopulateListViewWithFiles(ListFolder); });
    LvFiles->addAction(m_commands.removeFile);
    LvFiles->setCommands(
        { m_commands.removeFile, m_commands.removeExtension, m_commands.keepExtension,
            m_commands.copyAllNames, m_commands.copyAllPaths, m_commands.undo, m_commands.redo });
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
    DropRules::takeDrop(event);
}

void FrmFilenameReader::dropEvent(QDropEvent *event)
{
    if (!DropRules::takeDrop(event))
        return;
    const QList<DropRules::Dropped> drop = DropRules::examine(event->mimeData()->urls());
    addDropped(drop, DropRules::refusalWarning(drop));
}

void FrmFilenameReader::addPaths(const QList<QByteArray> &paths)
{
    const QList<DropRules::Dropped> given = DropRules::examinePaths(paths);
    addDropped(given, DropRules::refusalWarning(given, DropRules::CommandLine));
}

void FrmFilenameReader::addDropped(
    const QList<DropRules::Dropped> &drop, const Messages::Warning &warning)
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
    if (!chosen.isEmpty())
        addFolder(GetFolderOfFile(chosen));
}

void FrmFilenameReader::chooseFolder()
{
    CommonDialog1->setFilter(QString());
    CommonDialog1->ShowFolder();
    addFolder(CommonDialog1->FileName());
}

void FrmFilenameReader::addFolder(const QString &folder)
{
    // Nothing chosen changes nothing: a rebuild would bring back rows the user removed.
    if (!folder.isEmpty()) {
        ListFolder->addFolder(folder);
        PopulateListViewWithFiles(ListFolder);
    }
}

void FrmFilenameReader::includeSubfolders()
{
    ListedFolders folders = ListFolder->folders();
    for (ListedFolder &folder : folders)
        folder.subfolders = true;
    ListFolder->setFolders(folders);
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
    m_files->rebuild(FolderList->folders());
}

void FrmFilenameReader::CmdDelList_Click()
{
    m_files->removeRows(LvFiles->selectedPositions(), LvFiles->currentIndex().row());
}

void FrmFilenameReader::LvFiles_ColumnClick(int ColumnHeader)
{
    m_files->sort(ColumnHeader);
}

void FrmFilenameReader::CmdSaveTXT_Click()
{
    CommonDialog1->setFilter(tr("Text File (*.txt)") + QStringLiteral("|*.txt"));
    CommonDialog1->ShowSave();
    const QString target = CommonDialog1->FileName();
    if (target.isEmpty())
        return;
    saveList(target);
}

void FrmFilenameReader::saveList(const QString &target)
{
    m_saves->save(m_files->model()->arrangement(), target);
}

void FrmFilenameReader::closeEvent(QCloseEvent *event)
{
    if (!m_saves->isSaving()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    Command1_Click();
}

void FrmFilenameReader::Command1_Click()
{
    CommonDialog::abandonDialogs();
    m_closing->close();
}

void FrmFilenameReader::Command2_Click()
{
    Messages::showInfo(this);
}
