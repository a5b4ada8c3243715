// SPDX-License-Identifier: MIT
#include "window.h"

#include "core/filelistmodel.h"
#include "core/textexport.h"
#include "list/filelist.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "window/frmfilenamereader.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace bench {

Window::Window(const QString &folder, bool subfolders)
    : m_folder(folder)
    , m_subfolders(subfolders)
{
    open();
}

Window::~Window() = default;

void Window::open()
{
    m_window = std::make_unique<FrmFilenameReader>();
    m_files = m_window->fileList();
    m_folders = m_window->findChild<FolderListWidget *>(QStringLiteral("ListFolder"));
    m_view = m_window->findChild<FileListView *>(QStringLiteral("LvFiles"));
    if (!m_folders || !m_view) {
        std::fprintf(stderr, "The window has no ListFolder or LvFiles.\n");
        std::exit(2);
    }
    m_folders->addFolder(m_folder, m_subfolders);
    if (m_shown)
        show();
}

const FileListModel &Window::files() const
{
    return *m_files->model();
}

void Window::rebuild()
{
    m_window->PopulateListViewWithFiles(m_folders);
    waitFor([this] { return m_files->isBusy(); });
}

void Window::startRebuild()
{
    m_window->PopulateListViewWithFiles(m_folders);
}

bool Window::isBusy() const
{
    return m_files->isBusy();
}

void Window::click(int column)
{
    emit m_view->columnClick(column);
    waitFor([this] { return m_files->isBusy(); });
}

void Window::save(const QString &path)
{
    m_window->saveList(path);
    waitFor([this] { return m_window->saves()->isSaving(); });
}

void Window::removeExtension(const QByteArray &extension, bool keep)
{
    m_files->removeExtension(extension, keep);
    waitFor([this] { return m_files->isBusy(); });
}

void Window::undo()
{
    for (QAction *action : m_window->actions()) {
        if (action->shortcut() == QKeySequence::Undo)
            action->trigger();
    }
    waitFor([this] { return m_files->isBusy(); });
}

void Window::copyAllNames()
{
    QEventLoop loop;
    QObject::connect(
        QGuiApplication::clipboard(), &QClipboard::dataChanged, &loop, &QEventLoop::quit);
    m_files->copyAll(ListText::Names);
    loop.exec();
}

void Window::unsort()
{
    // Sorting cannot be switched off but in a new window; listed, so that
    // what follows replaces rows as in the window before.
    m_window.reset();
    open();
    rebuild();
}

void Window::clear()
{
    m_files->rebuild({});
    waitFor([this] { return m_files->isBusy(); });
    // The folder list follows the file list's folders: the folder goes back
    // in it, unlisted, for the next rebuild.
    m_folders->addFolder(m_folder, m_subfolders);
}

void Window::sortByName()
{
    if (!files().isSorted() || files().sortColumn() != NameColumn)
        click(1);
}

void Window::show()
{
    m_shown = true;
    m_window->show();
    QCoreApplication::processEvents();
    paint();
}

void Window::paint()
{
    QCoreApplication::processEvents();
    m_view->repaint();
}

void Window::waitFor(const std::function<bool()> &busy)
{
    // A failure shows a message box, which nobody here would answer.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            std::fprintf(stderr, "quillmere_bench: the window reported: %s\n",
                qPrintable(box->property("text").toString()));
            std::exit(1);
        }
    });
    watch.start(100);
    while (busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace bench
