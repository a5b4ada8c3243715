// SPDX-License-Identifier: MIT
#pragma once

#include "core/filelistmodel.h"
#include "list/filelist.h"
#include "modaldriver.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "window/frmfilenamereader.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>

#include <algorithm>

// A Wayland client neither learns where its windows are nor activates them
// itself: the compositor places them, and gives focus as it sees fit.
inline bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

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
    FolderListWidget *folders() const { return control<FolderListWidget>("ListFolder"); }
    FileList *list() const { return window.fileList(); }
    // The command a button gives, which its keys and menu items give too: the
    // action whose tool tip the button shows.
    QAction *command(const char *button) const
    {
        for (QAction *action : window.findChildren<QAction *>()) {
            if (action->toolTip() == control(button)->toolTip())
                return action;
        }
        return nullptr;
    }
    // Shown and active. On Wayland a client cannot activate its window, and
    // Qt does not wait for the compositor to: Qt Test's keys, which go to the
    // active window, find it made active inside Qt instead.
    bool waitActive()
    {
        if (!onWayland())
            return QTest::qWaitForWindowActive(&window);
        if (!QTest::qWaitForWindowExposed(&window))
            return false;
        QApplication::setActiveWindow(&window);
        return QTest::qWaitFor([this] { return QApplication::activeWindow() == &window; }, 10000);
    }
    // Keys go to the active window only; the offscreen platform leaves a
    // closed dialog the active one.
    void activate()
    {
        QApplication::setActiveWindow(&window);
        QTRY_VERIFY2_WITH_TIMEOUT(
            QApplication::activeWindow() == &window, "the window to be active again", 10000);
    }
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
        QTRY_VERIFY2_WITH_TIMEOUT(!list()->isBusy(), "the rebuild or sort to end", 30000);
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
        QTRY_VERIFY2_WITH_TIMEOUT(!window.saves()->isSaving(), "the save to end", 30000);
    }

    ModalDriver dialogs;
    FrmFilenameReader window;
};
