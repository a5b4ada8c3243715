#pragma once

#include <QWidget>

class CommonDialog;
class FileListView;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The program's one window: the folder list, the file list derived from it,
// and the commands that add and remove folders and rows, sort, save, inform
// and close. Its layout is fixed design data, in twips like the rest of it.
class FrmFilenameReader : public QWidget
{
    Q_OBJECT

public:
    explicit FrmFilenameReader(QWidget *parent = nullptr);

    // Empties the file list and lists every file of every folder in FolderList,
    // folders in list order. Folders that cannot be listed are left out and
    // named, with the system's reason, in one warning afterwards.
    void PopulateListViewWithFiles(const QListWidget *FolderList);

    // The text that "Info" shows.
    static QString infoText();

    // The exact path of a folder list entry; the entry shows it by the file
    // list's display rules.
    static QString folderPath(const QListWidgetItem *item);

protected:
    void changeEvent(QEvent *event) override;
    // Dropped folders, and the folders of dropped files, are added as "Add" adds them.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void CmdAddFolder_Click();
    void CmdDelFolder_Click();
    void CmdDelList_Click();
    void LvFiles_ColumnClick(int ColumnHeader);
    void CmdSaveTXT_Click();
    void Command1_Click();
    void Command2_Click();

private:
    // Appends folder unless an entry is exactly that path; returns whether it did.
    bool addFolder(const QString &folder);

    QLabel *Label1;
    QPushButton *CmdAddFolder;
    QPushButton *CmdDelFolder;
    QListWidget *ListFolder;
    QLabel *Label2;
    QPushButton *CmdDelList;
    FileListView *LvFiles;
    QPushButton *CmdSaveTXT;
    QPushButton *Command2;
    QPushButton *Command1;
    CommonDialog *CommonDialog1;
};
