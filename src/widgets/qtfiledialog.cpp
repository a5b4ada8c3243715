// SPDX-License-Identifier: MIT
#include "widgets/qtfiledialog.h"

#include "widgets/filetypes.h"
#include "widgets/modeldisposal.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QSettings>
#include <QTreeView>
#include <QUrl>

namespace {

// Qt's settings file is shared by every Qt program: it is left as Qt's own
// dialog leaves it on closing, with the folders visited (never an empty
// entry) and the last folder shown.
void keepSharedSettings(const QStringList &history, const QString &shown)
{
    QStringList urls;
    for (const QString &path : history) {
        if (!path.isEmpty())
            urls << QUrl::fromLocalFile(path).toString();
    }
    QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    settings.setValue(QStringLiteral("FileDialog/history"), urls);
    settings.setValue(
        QStringLiteral("FileDialog/lastVisited"), QUrl::fromLocalFile(shown).toString());
}

// Qt's dialog first opens in the folder that the last of its kind showed (in
// this process, or else in any Qt program, from Qt's settings), and only then
// in the folder it is given, still reading the first one on the window's
// thread: a folder of a million files there stalls it for minutes. Each
// dialog here is told where to open, so that is the last folder Qt finds: in
// its settings, written before a dialog is made, and in this process, cleared
// as a dialog closes.
void startFolderInSettings(const QString &folder)
{
    QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    settings.setValue(QStringLiteral("FileDialog/lastVisited"),
        QUrl::fromLocalFile(folder.isEmpty() ? QDir::currentPath() : folder).toString());
}

// No completion of typed names: the completer goes through every name of the
// folder typed, on the dialog's thread, for each key and for each batch of
// names that the folder model reads. Qt's dialog gives the completer its
// folder model again each time it shows, so it is taken away after that too.
class NoCompletion : public QObject
{
public:
    explicit NoCompletion(QFileDialog *dialog)
        : QObject(dialog)
    {
        dialog->installEventFilter(this);
        takeModel(dialog);
    }

    static void takeModel(QFileDialog *dialog)
    {
        for (QCompleter *completer : dialog->findChildren<QCompleter *>())
            completer->setModel(nullptr);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            QMetaObject::invokeMethod(
                this, [dialog = parent()] { takeModel(static_cast<QFileDialog *>(dialog)); },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QFileDialog *QtFileDialog::make(QWidget *parent, DialogKind kind, const QString &folder,
    const QString &selected, const QStringList &nameFilters)
{
    startFolderInSettings(folder);
    auto *dialog = new QFileDialog(parent,
        kind == DialogKind::Folder ? QCoreApplication::translate("PortalDialog", "Choose Folder")
                                   : QString(),
        folder);
    dialog->setIconProvider(FileTypes::instance());
    // Every row is one line of the same height: without saying so, the view
    // measures each row up to the one a typed name selects, a million of them.
    for (QTreeView *view : dialog->findChildren<QTreeView *>())
        view->setUniformRowHeights(true);
    for (QListView *view : dialog->findChildren<QListView *>())
        view->setUniformItemSizes(true);
    new NoCompletion(dialog);
    const bool save = kind == DialogKind::SaveFile;
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (kind == DialogKind::Folder) {
        // Folders only: the folder chosen is never read, however many files it holds.
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
    // Qt asks before an existing file is replaced: a silent overwrite loses
    // a list the user cannot get back. No extension is added to a typed name.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!nameFilters.isEmpty())
        dialog->setNameFilters(nameFilters);
    if (!selected.isEmpty())
        dialog->selectFile(selected);
    return dialog;
}

QString QtFileDialog::answer(QFileDialog *dialog)
{
    const bool accepted = dialog->exec() == QDialog::Accepted;
    // Its name completer may still be reading a slow folder: it must not
    // pop up over the window once the dialog is gone.
    for (QCompleter *completer : dialog->findChildren<QCompleter *>()) {
        completer->popup()->hide();
        completer->setModel(nullptr);
    }
    const QStringList chosen = accepted ? dialog->selectedFiles() : QStringList();
    return chosen.isEmpty() ? QString() : chosen.constFirst();
}

QList<QFileSystemModel *> QtFileDialog::deleteAllButModels(QFileDialog *dialog)
{
    const QList<QFileSystemModel *> models = dialog->findChildren<QFileSystemModel *>();
    const QStringList history = dialog->history();
    const QString shown = dialog->directory().absolutePath();
    // Qt's own last folder of this process; see startFolderInSettings(). This
    // also adds an empty entry to the history, which is put right below.
    if (!models.isEmpty())
        dialog->setDirectory(QString());
    for (QFileSystemModel *model : models) {
        // Its file system watcher was made on this thread and must go here.
        model->setOption(QFileSystemModel::DontWatchForChanges);
        model->setParent(nullptr);
    }
    // The views, the completer and the side bar let go of the model here.
    delete dialog;
    keepSharedSettings(history, shown);
    return models;
}

QString QtFileDialog::choose(QWidget *parent, DialogKind kind, const QString &folder,
    const QString &selected, const QStringList &nameFilters)
{
    QFileDialog *dialog = make(parent, kind, folder, selected, nameFilters);
    const QString chosen = answer(dialog);
    for (QFileSystemModel *model : deleteAllButModels(dialog))
        ModelDisposal::dispose(model);
    return chosen;
}
