// SPDX-License-Identifier: MIT
#include "widgets/commondialog.h"

#include "core/workerpool.h"
#include "widgets/inputblocker.h"
#include "widgets/portaldialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QListView>
#include <QMimeDatabase>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QWindow>
#include <QtConcurrent>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_LINUX
#include <csignal>

#include <sys/prctl.h>
#endif

namespace {

// The thread that deletes the folder models of closed dialogs, one after
// another. It runs no event loop: whatever a model's reading thread still
// sends it, or a timer of the model asks for, is never handled and goes with
// the model. Never deleted nor waited for: a model's deletion waits for its
// reading thread, which may be stuck in a read of a hung drive, and the
// program must still end.
class Disposal : public QThread
{
public:
    static Disposal &instance()
    {
        static Disposal *const disposal = [] {
            auto *thread = new Disposal;
            thread->setObjectName(QStringLiteral("Dialog disposal"));
            thread->start(QThread::LowPriority);
            return thread;
        }();
        return *disposal;
    }

    int pending() const { return m_pending.load(); }

    // Counted from the moment a model is handed over until it is freed.
    void expect() { ++m_pending; }

    // object must have been moved to this thread.
    void dispose(QObject *object)
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(object);
        m_wake.notify_one();
    }

protected:
    void run() override
    {
        for (;;) {
            QObject *object;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_queue.empty(); });
                object = m_queue.front();
                m_queue.pop_front();
            }
            delete object;
#ifdef __GLIBC__
            // A model's nodes are scattered through the heap: give the pages back.
            ::malloc_trim(0);
#endif
            --m_pending;
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QObject *> m_queue;
    std::atomic<int> m_pending = 0;
};

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

// Deletes a closed dialog but not its folder models, which are returned:
// one holds a node per file it has seen (a million files are over a
// gigabyte), and its deletion waits for the thread that reads the folder,
// which may be stuck on a hung drive. Qt's settings are left as its own
// dialog leaves them.
QList<QFileSystemModel *> deleteAllButModels(QFileDialog *dialog)
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

// Frees a closed dialog at once, and with it everything it read of the
// folders it showed, without making the window wait: its folder models are
// deleted on a thread of their own.
void dispose(QFileDialog *dialog)
{
    for (QFileSystemModel *model : deleteAllButModels(dialog)) {
        // From now on nothing the model is sent is handled: it is done.
        Disposal::instance().expect();
        model->moveToThread(&Disposal::instance());
        // It may still have a sort due at once on a timer of this thread,
        // which must fire before the timer is deleted with the model.
        QTimer::singleShot(10, [model] { Disposal::instance().dispose(model); });
    }
}

// Qt's dialog asks for the icon and the type of each file it lists, on the
// window's thread, and finds both by matching the file's name against every
// pattern of the MIME database: half the time of listing a large folder. Here
// files of one suffix share one answer, looked up once by that suffix.
class FileTypes : public QFileIconProvider
{
public:
    // Never deleted: a dialog's folder model, which keeps a pointer to it, is
    // deleted on a thread of its own, perhaps only when the program ends.
    static FileTypes *instance()
    {
        static FileTypes *const types = new FileTypes;
        return types;
    }

    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override
    {
        return info.isFile() ? kind(info).icon : QFileIconProvider::icon(info);
    }
    QString type(const QFileInfo &info) const override
    {
        return info.isFile() ? kind(info).type : QFileIconProvider::type(info);
    }

private:
    struct Kind
    {
        QIcon icon;
        QString type;
    };

    const Kind &kind(const QFileInfo &info) const
    {
        const QString suffix = info.suffix();
        auto known = m_kinds.constFind(suffix);
        if (known == m_kinds.cend()) {
            // A name without a suffix is not guessed from its contents.
            const QMimeType mime = suffix.isEmpty()
                ? m_mimes.mimeTypeForName(QStringLiteral("application/octet-stream"))
                : m_mimes.mimeTypeForFile(
                    QStringLiteral("a.") + suffix, QMimeDatabase::MatchExtension);
            const QIcon fallback = QFileIconProvider::icon(File);
            known = m_kinds.insert(suffix,
                { QIcon::fromTheme(
                      mime.iconName(), QIcon::fromTheme(mime.genericIconName(), fallback)),
                    mime.comment() });
        }
        return *known;
    }

    QMimeDatabase m_mimes;
    mutable QHash<QString, Kind> m_kinds;
};

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

// Whether folder has at least `entries` entries; stops counting there, so
// a folder of a million files costs no more than one of `entries`.
bool hasAtLeast(const QString &folder, int entries)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    int count = 0;
    while (count < entries && it.hasNext()) {
        it.next();
        ++count;
    }
    return count >= entries;
}

// Qt's dialog, set up to open in folder with selected chosen in it.
QFileDialog *makeDialog(QWidget *parent, bool save, const QString &folder, const QString &selected,
    const QString &filter)
{
    startFolderInSettings(folder);
    auto *dialog = new QFileDialog(parent, QString(), folder);
    dialog->setIconProvider(FileTypes::instance());
    // Every row is one line of the same height: without saying so, the view
    // measures each row up to the one a typed name selects, a million of them.
    for (QTreeView *view : dialog->findChildren<QTreeView *>())
        view->setUniformRowHeights(true);
    for (QListView *view : dialog->findChildren<QListView *>())
        view->setUniformItemSizes(true);
    // No completion of typed names: the completer goes through every name of
    // the folder typed, on the window's thread, 13 s at 300,000 files.
    for (QCompleter *completer : dialog->findChildren<QCompleter *>())
        completer->setModel(nullptr);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt asks before an existing file is replaced: a silent overwrite loses
    // a list the user cannot get back. No extension is added to a typed name.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    const QStringList filters = CommonDialog::nameFilters(filter);
    if (!filters.isEmpty())
        dialog->setNameFilters(filters);
    if (!selected.isEmpty())
        dialog->selectFile(selected);
    return dialog;
}

// Shows the dialog until it is answered; the path chosen, or empty.
QString answer(QFileDialog *dialog)
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

// In the dialog's own process: over the window whose X11 id and frame
// ("x,y,width,height") it was given, as a dialog of that window would be.
void placeOver(QFileDialog *dialog, const QString &windowId, const QString &frame)
{
    bool known = false;
    const WId id = windowId.toULongLong(&known, 16);
    if (known && id != 0 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        dialog->winId(); // its own native window, to be made transient
        // Lives as long as this process, which ends with the dialog.
        if (QWindow *window = QWindow::fromWinId(id))
            dialog->windowHandle()->setTransientParent(window);
    }
    const QStringList sides = frame.split(u',');
    if (sides.size() != 4)
        return;
    const QRect over(sides[0].toInt(), sides[1].toInt(), sides[2].toInt(), sides[3].toInt());
    dialog->adjustSize();
    QRect placed(QPoint(), dialog->size());
    placed.moveCenter(over.center());
    if (const QScreen *screen = QGuiApplication::screenAt(over.center())) {
        const QRect room = screen->availableGeometry();
        placed.moveLeft(qBound(room.left(), placed.left(), room.right() - placed.width() + 1));
        placed.moveTop(qBound(room.top(), placed.top(), room.bottom() - placed.height() + 1));
    }
    dialog->move(placed.topLeft());
}

// Set once the dialog's own process failed: the rest of the run shows it here.
bool processFailed = false;

QString &programSetting()
{
    static QString program;
    return program;
}

} // namespace

CommonDialog::CommonDialog(QWidget *parent)
    : QObject(parent)
{ }

int CommonDialog::modelsBeingFreed()
{
    return Disposal::instance().pending();
}

QStringList CommonDialog::nameFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        // Qt reads the patterns from the trailing parentheses; add them only when missing.
        const QString shown = u'(' + pattern + u')';
        filters << (description.endsWith(shown) ? description : description + u' ' + shown);
    }
    return filters;
}

void CommonDialog::ShowOpen()
{
    show(false);
}

void CommonDialog::ShowSave()
{
    show(true);
}

QString CommonDialog::startFolder(QString *selected) const
{
    selected->clear();
    // The first dialog of a run opens in the home folder, as desktop
    // programs' do: the working folder may hold a million files.
    if (m_folder.isEmpty())
        return QDir::homePath();
    // A count not finished yet, as on a hung drive, says nothing.
    if (!m_folderIsLarge.isValid() || !m_folderIsLarge.isFinished() || !m_folderIsLarge.result())
        return m_folder;
    const QFileInfo folder(m_folder);
    if (folder.isRoot())
        return m_folder;
    *selected = folder.fileName();
    return folder.absolutePath();
}

QString CommonDialog::dialogProgram()
{
    return processFailed ? QString() : programSetting();
}

void CommonDialog::setDialogProgram(const QString &program)
{
    programSetting() = program;
    processFailed = false;
}

void CommonDialog::show(bool save)
{
    m_fileName.clear();
    if (PortalDialog::shouldTry()) {
        PortalDialog portal(static_cast<QWidget *>(parent()));
        const PortalDialog::Answer answer
            = save ? portal.saveFile(nameFilters(m_filter)) : portal.openFile();
        if (answer.outcome != PortalDialog::Unavailable) {
            m_fileName = answer.path;
            return;
        }
    }
    QString selected;
    const QString folder = startFolder(&selected);
    if (!dialogProgram().isEmpty()) {
        if (const std::optional<QString> chosen = showInProcessOfItsOwn(save, folder, selected)) {
            take(*chosen);
            return;
        }
        processFailed = true;
    }
    QFileDialog *dialog
        = makeDialog(static_cast<QWidget *>(parent()), save, folder, selected, m_filter);
    const QString chosen = answer(dialog);
    dispose(dialog);
    take(chosen);
}

void CommonDialog::take(const QString &chosen)
{
    m_fileName = chosen;
    if (chosen.isEmpty())
        return;
    // The chosen file's own folder: the dialog's directory stays where it
    // was shown when the user typed a path elsewhere.
    m_folder = QFileInfo(m_fileName).absolutePath();
    m_folderIsLarge = QtConcurrent::run(workerPool(), hasAtLeast, m_folder, m_largeFolder);
}

std::optional<QString> CommonDialog::showInProcessOfItsOwn(
    bool save, const QString &folder, const QString &selected) const
{
    QWidget *window = static_cast<QWidget *>(parent())->window();
    QString windowId;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        windowId = QString::number(window->winId(), 16);
    const QRect over = window->frameGeometry();
    const QString frame = QStringLiteral("%1,%2,%3,%4")
                              .arg(over.x())
                              .arg(over.y())
                              .arg(over.width())
                              .arg(over.height());

    QProcess process;
    process.setProgram(dialogProgram());
    process.setArguments(
        { QLatin1String(ProcessOption), save ? QStringLiteral("save") : QStringLiteral("open"),
            folder, selected, m_filter, windowId, frame });
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // A dialog left over from a window that is gone would answer no one.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start();
    {
        const InputBlocker blocker(window);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
    }
    if (process.error() == QProcess::FailedToStart || process.state() != QProcess::NotRunning
        || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QFile::decodeName(process.readAllStandardOutput());
}

void CommonDialog::runProcess(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    if (arguments.size() != 6 || (arguments[0] != u"open" && arguments[0] != u"save")) {
        std::fputs("the file dialog's process was given the wrong arguments\n", stderr);
        std::_Exit(2);
    }
    QFileDialog *dialog
        = makeDialog(nullptr, arguments[0] == u"save", arguments[1], arguments[2], arguments[3]);
    placeOver(dialog, arguments[4], arguments[5]);
    const QByteArray chosen = QFile::encodeName(answer(dialog));
    // The models are left to the process's end.
    deleteAllButModels(dialog);
    const bool written
        = std::fwrite(chosen.constData(), 1, chosen.size(), stdout) == size_t(chosen.size())
        && std::fflush(stdout) == 0;
    if (!written)
        std::perror("the file dialog's answer");
    std::fflush(nullptr);
    std::_Exit(written ? 0 : 1);
}
