// SPDX-License-Identifier: MIT
#include "widgets/folderlistwidget.h"

#include "core/displaytext.h"
#include "core/filelistmodel.h"
#include "core/paths.h"
#include "widgets/listcues.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QUrl>

FolderListWidget::FolderListWidget(QWidget *parent)
    : CueingList(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_copyPath = addCopyAction(tr("&Copy Path"));
    connect(model(), &QAbstractItemModel::rowsInserted, this,
        [this](const QModelIndex &, int first, int last) { countPaths(first, last, +1); });
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex &, int first, int last) { countPaths(first, last, -1); });
    connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_paths.clear(); });
}

FolderListWidget::~FolderListWidget()
{
    // QListWidget empties its model after this object's members are gone.
    model()->disconnect(this);
}

namespace {
// Where an entry keeps its path and whether its sub-folders are listed; its
// text is only what is shown.
constexpr int PathRole = Qt::UserRole;
constexpr int SubfoldersRole = Qt::UserRole + 1;
constexpr int UniformSizesFrom = 2000;
} // namespace

bool FolderListWidget::addFolder(const QString &given, bool subfolders)
{
    // The dialog, a drop and an argument all come in here.
    const QString path = cleanFolderPath(given);
    if (m_paths.contains(path))
        return false;
    auto *entry = new QListWidgetItem;
    entry->setData(PathRole, path);
    setSubfolders(entry, subfolders);
    addItem(entry);
    return true;
}

void FolderListWidget::setSubfolders(QListWidgetItem *entry, bool subfolders)
{
    const QString shown = displayPath(entry->data(PathRole).toString());
    entry->setData(SubfoldersRole, subfolders);
    //: After a folder's path in the folder list, when the files of all its
    //: sub-folders are listed too.
    entry->setText(subfolders ? tr("%1 (with sub-folders)").arg(shown) : shown);
}

void FolderListWidget::setCommands(const Commands &commands)
{
    m_commands = commands;
    if (commands.includeSubfolders) {
        connect(commands.includeSubfolders, &QAction::triggered, this, [this](bool include) {
            if (includeSubfolders(include))
                emit entriesEdited();
        });
    }
    if (commands.useParent) {
        connect(commands.useParent, &QAction::triggered, this, [this] {
            if (useParentFolder())
                emit entriesEdited();
        });
    }
}

int FolderListWidget::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool FolderListWidget::includeSubfolders(bool include)
{
    QListWidgetItem *entry = item(selectedRow());
    if (!entry || entry->data(SubfoldersRole).toBool() == include)
        return false;
    setSubfolders(entry, include);
    return true;
}

bool FolderListWidget::useParentFolder()
{
    const int row = selectedRow();
    const QString path = folderPath(row), parent = GetFolderOfFile(path);
    if (row < 0 || parent.isEmpty() || parent == path)
        return false;
    for (int other = 0; other < count(); ++other) {
        if (folderPath(other) == parent) {
            setSubfolders(item(other), true);
            delete takeItem(row);
            setCurrentRow(other > row ? other - 1 : other);
            return true;
        }
    }
    // In the entry's place; the paths counted follow the model's signals.
    delete takeItem(row);
    auto *entry = new QListWidgetItem;
    entry->setData(PathRole, parent);
    setSubfolders(entry, true);
    insertItem(row, entry);
    setCurrentRow(row);
    return true;
}

void FolderListWidget::countPaths(int first, int last, int change)
{
    // Each layout asks every entry for its size, which lays out its text: a
    // second for 25,000 folders, after every change. Past a few thousand,
    // every entry is taken to be as wide as the last; a longer one is then
    // cut short, and its tool tip shows it whole.
    setUniformItemSizes(count() - (change < 0 ? last - first + 1 : 0) > UniformSizesFrom);
    for (int row = first; row <= last; ++row) {
        const QString path = folderPath(row);
        int &entries = m_paths[path];
        entries += change;
        if (entries <= 0)
            m_paths.remove(path);
    }
}

QString FolderListWidget::folderPath(int row) const
{
    const QListWidgetItem *entry = item(row);
    return entry ? entry->data(PathRole).toString() : QString();
}

ListedFolders FolderListWidget::folders() const
{
    ListedFolders folders;
    folders.reserve(count());
    for (int row = 0; row < count(); ++row)
        folders.append({ folderPath(row), item(row)->data(SubfoldersRole).toBool() });
    return folders;
}

void FolderListWidget::setFolders(const ListedFolders &folders)
{
    if (this->folders() == folders)
        return;
    clear();
    for (const ListedFolder &folder : folders)
        addFolder(folder.path, folder.subfolders);
}

QString FolderListWidget::copiedText() const
{
    // The selected folder, not Qt's current item, which may be unselected.
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? QString()
                              : QDir::toNativeSeparators(folderPath(selected.first().row()));
}

void FolderListWidget::fillMenu(QMenu *menu, const QModelIndex &index)
{
    if (index.isValid()) {
        if (m_commands.remove)
            menu->addAction(m_commands.remove);
        menu->addAction(m_copyPath);
        const QString path = folderPath(index.row());
        ListCues::addCommand(menu, tr("&Open in File Manager"), {}, [this, path] {
            if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
                emit openFailed(path);
        });
        if (m_commands.includeSubfolders || m_commands.useParent)
            menu->addSeparator();
        if (QAction *include = m_commands.includeSubfolders) {
            include->setChecked(item(index.row())->data(SubfoldersRole).toBool());
            menu->addAction(include);
        }
        if (QAction *parent = m_commands.useParent) {
            const QString up = GetFolderOfFile(path);
            parent->setEnabled(!up.isEmpty() && up != path);
            menu->addAction(parent);
        }
    }
    // What acts on the list as a whole, on a row or not.
    QList<QAction *> whole;
    if (m_commands.chooseFolder)
        whole << m_commands.chooseFolder;
    if (m_commands.readAgain && count() > 0)
        whole << m_commands.readAgain;
    if (!whole.isEmpty() && !menu->isEmpty())
        menu->addSeparator();
    menu->addActions(whole);
}
