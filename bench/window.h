// SPDX-License-Identifier: MIT
#pragma once

// The program's own window, driven as the user would drive it, each step
// waited for as the user waits: until the list shows its result.

#include <QString>

#include <functional>
#include <memory>

class FileList;
class FileListModel;
class FileListView;
class FrmFilenameReader;
class FolderListWidget;

namespace bench {

class Window
{
public:
    // The window listing folder; with subfolders, its sub-folders too.
    explicit Window(const QString &folder, bool subfolders = false);
    ~Window();

    FileListView *view() const { return m_view; }
    const FileListModel &files() const;

    // PopulateListViewWithFiles, until the new rows are in the model.
    void rebuild();
    // PopulateListViewWithFiles, at once; the rows come while the event loop runs.
    void startRebuild();
    bool isBusy() const;
    // A header click, through the view's columnClick signal, until sorted.
    void click(int column);
    // What Save does after its dialog, until the file is written.
    void save(const QString &path);
    // The file list's menu: "Remove All .EXT Files", or with keep "Keep Only
    // .EXT Files", until the rows are taken out.
    void removeExtension(const QByteArray &extension, bool keep);
    // Ctrl+Z, until the rows are back.
    void undo();
    // The file list's "Copy All Names", until the clipboard holds them.
    void copyAllNames();

    // A new window, unsorted, with the folder listed; shown if this one was.
    void unsort();
    // The list without rows, so that the next rebuild lists and sorts the
    // folder afresh rather than finding the rows it shows (which it would
    // share, sorting nothing).
    void clear();
    void sortByName();

    void show();
    // What the next frame costs: pending layout and the painting of the list.
    void paint();

private:
    void open();
    // Runs the window's event loop, as the program does, until work ends.
    void waitFor(const std::function<bool()> &busy);

    QString m_folder;
    bool m_subfolders;
    bool m_shown = false;
    std::unique_ptr<FrmFilenameReader> m_window;
    FileList *m_files;
    FolderListWidget *m_folders;
    FileListView *m_view;
};

} // namespace bench
