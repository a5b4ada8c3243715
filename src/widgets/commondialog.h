// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/dialogkind.h"
#include "widgets/dialogprocess.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>

class PortalDialog;
class QWidget;

// The one file dialog of the window, for opening, saving and choosing a
// folder: set a filter, show it modally, then read the chosen path, which is
// empty when the user chose nothing. It opens in the folder last chosen in
// this run (a file's, or the folder itself), or, when that folder is large,
// in its parent: Qt's dialog reads every entry of the folder it opens in, for
// long in one of a million files. A folder dialog opens in the parent of the
// folder last chosen, with that folder selected, so that a folder of a
// million files is chosen without being read. The first one opens in the
// home folder. Through the
// desktop's file chooser portal (see PortalDialog) where there is one, else
// through Qt's own dialog (QtFileDialog), in a process of its own where one
// is set (dialogProgram(), DialogProcess): Qt's dialog sorts the folder it
// lists on the thread it runs on, for long in a folder of a million files,
// and the window must go on answering.
//
// Each dialog is made for one showing and is gone when ShowOpen or ShowSave
// returns; what it read of the file system in this process is freed on a
// thread of its own (ModelDisposal). A dialog of another process (the
// portal's, or Qt's in its own process) ends, chosen nothing, when
// abandonDialogs() is called, as the window does when it is closed.
class CommonDialog : public QObject
{
    Q_OBJECT

public:
    explicit CommonDialog(QWidget *parent);

    // "" for every file, or pairs of description and pattern, all separated
    // by "|": "Text File (*.txt)|*.txt".
    QString filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }

    // Qt's name filters for a filter string as above.
    static QStringList nameFilters(const QString &filter);

    void ShowOpen();
    void ShowSave();
    // A folder itself, never a file in it: the portal's folder chooser, else
    // Qt's dialog of folders only.
    void ShowFolder();
    QString FileName() const { return m_fileName; }

    // How long the portal may take to take a request; see PortalDialog.
    void setPortalReplyTimeout(int milliseconds);

    // Ends every dialog that another process shows for the window at once,
    // even one that hangs: its process is ended, its portal request closed.
    static void abandonDialogs();

    // How many entries make a folder large enough to open the next dialog in
    // its parent.
    static constexpr int DefaultLargeFolder = 5000;
    int largeFolderEntries() const { return m_largeFolder; }
    void setLargeFolderEntries(int entries) { m_largeFolder = entries; }
    // Whether the entries of the folder last chosen have been counted; until
    // then the next dialog opens in that folder.
    bool hasCountedFolder() const { return m_folderIsLarge.isFinished(); }

    // How many closed dialogs' folder models are still being freed, in this
    // process; what they read of the file system is given back at 0.
    static int modelsBeingFreed();

    // The program that shows Qt's dialog in a process of its own, run with
    // ProcessOption and the dialog's arguments (see runProcess()); empty, as
    // it is until a program that can be run so says so, the dialog is shown
    // in this process. Once that process has failed (not started, crashed),
    // the rest of the run shows the dialog here.
    static QString dialogProgram();
    static void setDialogProgram(const QString &program);
    static constexpr auto &ProcessOption = DialogProcess::Option;

    // In the dialog's process (argv[1] is ProcessOption), with the
    // application object made: shows the dialog, writes the answer to
    // standard output and ends the process (DialogProcess::run()).
    [[noreturn]] static void runProcess(int argc, char *argv[]);

signals:
    // A file or folder picked in the portal's dialog after Qt's had been
    // shown for that request instead (see PortalDialog), while no other
    // dialog is open: kind tells which Show it answers.
    void pickedLate(DialogKind kind, const QString &path);

private:
    void show(DialogKind kind);
    void takeLate(DialogKind kind, const QString &path);
    void take(DialogKind kind, const QString &chosen);
    // Where the next dialog of kind opens, and the entry of it that is selected.
    QString startFolder(DialogKind kind, QString *selected) const;

    PortalDialog *m_portal;
    QString m_filter;
    QString m_fileName;
    QString m_folder;
    int m_largeFolder = DefaultLargeFolder;
    // Whether m_folder is large, counted in the background when it was chosen.
    QFuture<bool> m_folderIsLarge;
};
