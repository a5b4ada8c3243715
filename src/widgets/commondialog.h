// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/dialogprocess.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

// The one file dialog of the window, for both opening and saving: set a
// filter, show it modally, then read the chosen path, which is empty when the
// user chose nothing. It opens in the folder of the file last chosen in this
// run, or, when that folder is large, in its parent with the folder selected:
// Qt's dialog reads every entry of the folder it opens in, for long in one of
// a million files. The first one opens in the home folder. Through the
// desktop's file chooser portal (see PortalDialog) where there is one, else
// through Qt's own dialog (QtFileDialog), in a process of its own where one
// is set (dialogProgram(), DialogProcess): Qt's dialog sorts the folder it
// lists on the thread it runs on, for long in a folder of a million files,
// and the window must go on answering.
//
// Each dialog is made for one showing and is gone when ShowOpen or ShowSave
// returns; what it read of the file system in this process is freed on a
// thread of its own (ModelDisposal).
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
    QString FileName() const { return m_fileName; }

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

private:
    void show(bool save);
    void take(const QString &chosen);
    // Where the next dialog opens, and the entry of it that is selected.
    QString startFolder(QString *selected) const;

    QString m_filter;
    QString m_fileName;
    QString m_folder;
    int m_largeFolder = DefaultLargeFolder;
    // Whether m_folder is large, counted in the background when it was chosen.
    QFuture<bool> m_folderIsLarge;
};
