// SPDX-License-Identifier: MIT
#include "widgets/folderlistwidget.h"

#include "core/displaytext.h"
#include "core/filelistmodel.h"
#include "core/paths.h"
#include "widgets/listcues.h"

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
// Where an entry keeps its path; its text is only what is shown.
constexpr int PathRole = Qt::UserRole;
constexpr int UniformSizesFrom = 2000;
} // namespace

bool FolderListWidget::addFolder(const QString &given)
{
    // The dialog, a drop and an argument all come in here.
    const QString path = cleanFolderPath(given);
    if (m_paths.contains(path))
        return false;
    auto *entry = new QListWidgetItem(displayPath(path));
    entry->setData(PathRole, path);
    addItem(entry);
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

QStringList FolderListWidget::folders() const
{
    QStringList paths;
    paths.reserve(count());
    for (int row = 0; row < count(); ++row)
        paths << folderPath(row);
    return paths;
}

void FolderListWidget::setFolders(const QStringList &paths)
{
    if (folders() == paths)
        return;
    clear();
    for (const QString &path : paths)
        addFolder(path);
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
        if (m_remove)
            menu->addAction(m_remove);
        menu->addAction(m_copyPath);
        ListCues::addCommand(
            menu, tr("&Open in File Manager"), {}, [this, path = folderPath(index.row())] {
                if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
                    emit openFailed(path);
            });
    }
    if (m_readAgain && count() > 0) {
        if (!menu->isEmpty())
            menu->addSeparator();
        menu->addAction(m_readAgain);
    }
}
