// SPDX-License-Identifier: MIT
#include "widgets/folderlistwidget.h"

#include "core/filelistmodel.h"
#include "core/paths.h"
#include "widgets/listcues.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>

FolderListWidget::FolderListWidget(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    auto *entry = new QListWidgetItem(FileListModel::displayText(path.toUtf8()));
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

void FolderListWidget::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Delete)) {
        emit removeKeyPressed();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        // The selected folder, not Qt's current item, which may be unselected.
        const QList<QListWidgetItem *> selected = selectedItems();
        if (!selected.isEmpty())
            QGuiApplication::clipboard()->setText(selected.first()->text());
        event->accept();
        return;
    }
    if (ListCues::selectFirstRowOnDown(this, event))
        return;
    QListWidget::keyPressEvent(event);
}

void FolderListWidget::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    ListCues::paintFocusFrame(this);
}

bool FolderListWidget::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        return ListCues::showFullText(this, static_cast<QHelpEvent *>(event));
    return QListWidget::viewportEvent(event);
}

void FolderListWidget::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    viewport()->update();
}

void FolderListWidget::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void FolderListWidget::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListWidget::currentChanged(current, previous);
    viewport()->update(); // the focus frame spans the row, wider than the cell Qt repaints
}
