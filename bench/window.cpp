// SPDX-License-Identifier: MIT
#include "window.h"

#include "core/filelistmodel.h"
#include "core/textexport.h"
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

Window::Window(const QString &folder)
    : m_window(std::make_unique<FrmFilenameReader>())
    , m_folders(m_window->findChild<FolderListWidget *>(QStringLiteral("ListFolder")))
    , m_view(m_window->findChild<FileListView *>(QStringLiteral("LvFiles")))
{
    if (!m_folders || !m_view) {
        std::fprintf(stderr, "The window has no ListFolder or LvFiles.\n");
        std::exit(2);
    }
    m_folders->addFolder(folder);
}

Window::~Window() = default;

const FileListModel &Window::files() const
{
    return *m_view->files();
}

void Window::rebuild()
{
    m_window->PopulateListViewWithFiles(m_folders);
    waitFor(&FrmFilenameReader::isBusy);
}

void Window::click(int column)
{
    emit m_view->columnClick(column);
    waitFor(&FrmFilenameReader::isBusy);
}

void Window::save(const QString &path)
{
    m_window->saveList(path);
    waitFor(&FrmFilenameReader::isSaving);
}

void Window::removeExtension(const QByteArray &extension, bool keep)
{
    if (keep)
        emit m_view->keepExtensionRequested(extension);
    else
        emit m_view->removeExtensionRequested(extension);
    waitFor(&FrmFilenameReader::isBusy);
}

void Window::undo()
{
    for (QAction *action : m_window->actions()) {
        if (action->shortcut() == QKeySequence::Undo)
            action->trigger();
    }
    waitFor(&FrmFilenameReader::isBusy);
}

void Window::copyAllNames()
{
    QEventLoop loop;
    QObject::connect(
        QGuiApplication::clipboard(), &QClipboard::dataChanged, &loop, &QEventLoop::quit);
    m_view->copyAll(ListText::Names);
    loop.exec();
}

void Window::unsort()
{
    m_view->setSorted(false);
    m_view->setSortColumn(FileListModel::NameColumn);
    m_view->setSortOrder(Qt::AscendingOrder);
}

void Window::sortByName()
{
    if (!m_view->isSorted() || m_view->sortColumn() != FileListModel::NameColumn)
        click(1);
}

void Window::show()
{
    m_window->show();
    QCoreApplication::processEvents();
    paint();
}

void Window::paint()
{
    QCoreApplication::processEvents();
    m_view->repaint();
}

void Window::waitFor(bool (FrmFilenameReader::*busy)() const)
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
    while ((m_window.get()->*busy)())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace bench
