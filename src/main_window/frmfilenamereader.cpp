#include "main_window/frmfilenamereader.h"

#include "export/textexport.h"
#include "lists/filelistmodel.h"
#include "lists/filelistview.h"
#include "lists/filerows.h"
#include "lists/folderlisting.h"
#include "lists/namedelegate.h"
#include "lists/paths.h"
#include "main_window/commondialog.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

namespace {

const QString MessageTitle = QStringLiteral("Quillmere");

// Positions and sizes are design data in twips; 15 twips make one pixel at 96 dpi.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QFont verdana(bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif); // the nearest sans font where Verdana is missing
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QLabel *headingBand(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setFont(verdana(true));
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Disabled, QPalette::WindowText));
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

QPushButton *button(const QString &caption, const QString &accessibleName, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setAccessibleName(accessibleName);
    button->setAutoDefault(false);
    return button;
}

// A path in a message, by the same rules as the names in the lists, so that
// it cannot break its line or turn the text round.
QString shownPath(const QString &path)
{
    return FileListModel::displayText(QDir::toNativeSeparators(path).toUtf8());
}

// The rows stay listed, in folder order, when their sort keys pass their limit.
void warnCannotSort(QWidget *parent)
{
    QMessageBox::warning(parent, MessageTitle,
        QObject::tr("The list cannot be sorted; its files stay in the order of their "
                    "folders.\n\n%1")
            .arg(FileRows::limitReason()));
}

QIcon renderedIcon()
{
    QSvgRenderer artwork(QStringLiteral(":/quillmere.svg"));
    QIcon icon;
    for (const int size : { 16, 32 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        artwork.render(&painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

FrmFilenameReader::FrmFilenameReader(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmFilenameReader"));
    setWindowTitle(QStringLiteral("Tessaly"));
    setWindowIcon(renderedIcon());
    setFixedSize(twips(0, 0, 5790, 6225).size());

    // Created in reading order, so that each button is drawn over the band beside it.
    Label1 = headingBand(QStringLiteral(" List of Folder:"), this);
    CmdAddFolder = button(QStringLiteral("Add"), QStringLiteral("Add folder"), this);
    CmdDelFolder = button(QStringLiteral("Remove"), QStringLiteral("Remove folder"), this);
    ListFolder = new QListWidget(this);
    ListFolder->setItemDelegate(new NameDelegate(ListFolder));
    Label2 = headingBand(QStringLiteral(" List of files in selected folders:"), this);
    CmdDelList = button(QStringLiteral("Remove"), QStringLiteral("Remove file"), this);
    LvFiles = new FileListView(this);
    CmdSaveTXT = button(QStringLiteral("Save List to TXT File"), QString(), this);
    CmdSaveTXT->setFont(verdana(false));
    Command2 = button(QStringLiteral("Info"), QString(), this);
    Command1 = button(QStringLiteral("Close"), QString(), this);
    Command1->setFont(verdana(false));
    CommonDialog1 = new CommonDialog(this);

    ListFolder->setAccessibleName(QStringLiteral("List of folders"));
    LvFiles->setAccessibleName(QStringLiteral("List of files in selected folders"));

    const struct
    {
        QWidget *widget;
        const char *name;
        QRect rectangle;
    } design[] = {
        { Label1, "Label1", twips(105, 165, 3900, 330) },
        { CmdAddFolder, "CmdAddFolder", twips(3990, 165, 855, 330) },
        { CmdDelFolder, "CmdDelFolder", twips(4830, 165, 855, 330) },
        { ListFolder, "ListFolder", twips(105, 525, 5580, 1230) },
        { Label2, "Label2", twips(105, 1875, 3900, 330) },
        { CmdDelList, "CmdDelList", twips(3990, 1875, 1695, 330) },
        { LvFiles, "LvFiles", twips(105, 2205, 5580, 3480) },
        { CmdSaveTXT, "CmdSaveTXT", twips(105, 5775, 2640, 330) },
        { Command2, "Command2", twips(2835, 5775, 1275, 330) },
        { Command1, "Command1", twips(4200, 5775, 1380, 330) },
    };
    for (const auto &[widget, name, rectangle] : design) {
        widget->setObjectName(QLatin1StringView(name));
        widget->setGeometry(rectangle);
    }
    CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));

    // Focus order of the design; the labels take no focus.
    QWidget *const focusOrder[] = { ListFolder, CmdAddFolder, CmdDelFolder, CmdSaveTXT, CmdDelList,
        Command1, LvFiles, Command2 };
    for (size_t i = 0; i + 1 < std::size(focusOrder); ++i)
        setTabOrder(focusOrder[i], focusOrder[i + 1]);
    ListFolder->setFocus();

    connect(CmdAddFolder, &QPushButton::clicked, this, &FrmFilenameReader::CmdAddFolder_Click);
    connect(CmdDelFolder, &QPushButton::clicked, this, &FrmFilenameReader::CmdDelFolder_Click);
    connect(CmdDelList, &QPushButton::clicked, this, &FrmFilenameReader::CmdDelList_Click);
    connect(LvFiles, &FileListView::columnClick, this, &FrmFilenameReader::LvFiles_ColumnClick);
    connect(CmdSaveTXT, &QPushButton::clicked, this, &FrmFilenameReader::CmdSaveTXT_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmFilenameReader::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmFilenameReader::Command2_Click);
}

void FrmFilenameReader::CmdAddFolder_Click()
{
    CommonDialog1->setFilter(QString());
    CommonDialog1->ShowOpen();
    const QString chosen = CommonDialog1->FileName();
    // Nothing chosen changes nothing: a rebuild would bring back rows the user removed.
    if (chosen.isEmpty())
        return;

    const QString folder = GetFolderOfFile(chosen);
    bool found = false;
    for (int i = 0; i < ListFolder->count() && !found; ++i)
        found = ListFolder->item(i)->text() == folder;
    if (!found)
        ListFolder->addItem(folder);
    PopulateListViewWithFiles(ListFolder);
}

void FrmFilenameReader::CmdDelFolder_Click()
{
    const int selected = ListFolder->currentRow();
    if (ListFolder->count() < 1 || selected < 0 || !ListFolder->item(selected)->isSelected())
        return;
    delete ListFolder->takeItem(selected);
    PopulateListViewWithFiles(ListFolder);
}

void FrmFilenameReader::PopulateListViewWithFiles(const QListWidget *FolderList)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    FileRows rows;
    QStringList failures;
    for (int i = 0; i < FolderList->count(); ++i) {
        const QString folder = FolderList->item(i)->text();
        QString reason;
        if (!listFolder(folder, rows, &reason))
            failures << tr("%1\n%2").arg(shownPath(folder), reason);
    }
    const bool sorted = LvFiles->files()->setRows(std::move(rows));
    QGuiApplication::restoreOverrideCursor();
    if (!sorted)
        warnCannotSort(this);

    if (!failures.isEmpty())
        QMessageBox::warning(this, MessageTitle,
            tr("These folders could not be listed; their files are left out "
               "of the list:\n\n%1")
                .arg(failures.join(QStringLiteral("\n\n"))));
}

void FrmFilenameReader::CmdDelList_Click()
{
    const int selected = LvFiles->selectedRow();
    if (selected < 0)
        return;
    LvFiles->removeRow(selected);
}

void FrmFilenameReader::LvFiles_ColumnClick(int ColumnHeader)
{
    bool sorted = LvFiles->setSorted(true);
    sorted &= LvFiles->setSortOrder(
        LvFiles->sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
    sorted &= LvFiles->setSortKey(ColumnHeader - 1);
    if (!sorted)
        warnCannotSort(this);
}

void FrmFilenameReader::CmdSaveTXT_Click()
{
    CommonDialog1->setFilter(QStringLiteral("Text File (*.txt)|*.txt"));
    CommonDialog1->ShowSave();
    const QString target = CommonDialog1->FileName();
    if (target.isEmpty())
        return;

    QString reason;
    if (!saveText(target, exportText(*LvFiles->files()), &reason))
        QMessageBox::warning(this, MessageTitle,
            tr("The list could not be saved to\n%1\n\n%2").arg(shownPath(target), reason));
}

void FrmFilenameReader::Command1_Click()
{
    QApplication::quit();
}

QString FrmFilenameReader::infoText()
{
    const char *const lines[] = {
        "This Program convert list of files into text file.",
        "",
        "How To Use:",
        "1. Add folder to collect list of files (chose one file inside the folder)",
        "2. Modify your folder selection with add/remove button",
        "3. Modify your list of files with remove button",
        "4. Save File List into TXT format",
        "",
        "Created by: quillmere@example.org",
    };
    QString text;
    for (const char *line : lines)
        text += QLatin1StringView(line) + u'\n';
    return text;
}

void FrmFilenameReader::Command2_Click()
{
    QMessageBox box(QMessageBox::Information, MessageTitle, infoText(), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
