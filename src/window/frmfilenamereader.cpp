// SPDX-License-Identifier: MIT
#include "window/frmfilenamereader.h"

#include "core/arrangement.h"
#include "core/filelistmodel.h"
#include "core/folderlisting.h"
#include "core/paths.h"
#include "core/textexport.h"
#include "widgets/commandbutton.h"
#include "widgets/commondialog.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "widgets/namedelegate.h"
#include "widgets/workprogress.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSvgRenderer>
#include <QTimer>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace {

const QString MessageTitle = QStringLiteral("Quillmere");

// Positions and sizes are design data in twips; 15 twips make one pixel at 96 dpi.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// The window's own font, fixed like its rectangles: a desktop font of another
// size would cut the captions of the narrow buttons.
QFont dialogFont()
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

QFont verdana(bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif); // the nearest sans font where Verdana is missing
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

// Contrast ratio of two colours as WCAG defines it, from 1 to 21.
double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &colour) {
        auto linear = [](float c) {
            return c <= 0.04045f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = colour.toRgb();
        return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
            + 0.0722 * linear(rgb.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The bands are the platform's grey-text colour with white captions, where
// that grey is dark enough for white text to be read; many palettes make it
// too light (Qt's own: 1.9:1), and then the standard scheme's mid grey serves.
void paintBand(QLabel *label, const QPalette &windowPalette)
{
    const QColor white(Qt::white);
    QColor band = windowPalette.color(QPalette::Disabled, QPalette::WindowText);
    if (contrast(band, white) < 4.5)
        band = QColor(0x6d, 0x6d, 0x6d);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, band);
    palette.setColor(QPalette::WindowText, white);
    label->setPalette(palette);
}

QLabel *headingBand(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setFont(verdana(true));
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    paintBand(label, parent->palette());
    return label;
}

QPushButton *button(const QString &caption, const QString &accessibleName, QWidget *parent)
{
    auto *button = new CommandButton(caption, parent);
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

// A warning whose text is shown as it is: a folder named "<b>x" must not
// turn the message into markup, as QMessageBox's guess at rich text would.
void warn(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, MessageTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// The rows stay listed, in folder order, when their sort keys pass their limit.
void warnCannotSort(QWidget *parent)
{
    warn(parent,
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

// Assistive technology sees the window as an application's frame, not as a
// pane inside one.
QAccessibleInterface *frameAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("FrmFilenameReader") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

// A dropped folder as "Add" would list it: no trailing separator but the root's.
QString droppedFolder(const QString &path)
{
    if (!QFileInfo(path).isDir())
        return GetFolderOfFile(path);
    QString folder = path;
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

// Only local files and folders can be dropped, and never as a move: the file
// manager must not delete what it dragged here.
bool acceptableDrop(const QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!data || !data->hasUrls() || data->urls().isEmpty()
        || !(event->possibleActions() & Qt::CopyAction))
        return false;
    const QList<QUrl> urls = data->urls();
    return std::all_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
}

} // namespace

FrmFilenameReader::FrmFilenameReader(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmFilenameReader"));
    setWindowTitle(QStringLiteral("Tessaly"));
    setWindowIcon(renderedIcon());
    setFixedSize(twips(0, 0, 5790, 6225).size());
    setFont(dialogFont()); // before the controls, which take it from the window
    setAcceptDrops(true);
    static const bool accessible = (QAccessible::installFactory(frameAccessible), true);
    Q_UNUSED(accessible);

    // Created in reading order, so that each button is drawn over the band beside it.
    Label1 = headingBand(QStringLiteral(" List of Folder:"), this);
    CmdAddFolder = button(QStringLiteral("Add"), QStringLiteral("Add folder"), this);
    CmdDelFolder = button(QStringLiteral("Remove"), QStringLiteral("Remove folder"), this);
    ListFolder = new FolderListWidget(this);
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

    // Each band names its list, for screen readers too.
    Label1->setBuddy(ListFolder);
    Label2->setBuddy(LvFiles);
    ListFolder->setAccessibleName(Label1->text().trimmed());
    LvFiles->setAccessibleName(Label2->text().trimmed());

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

    m_reader = listFolder;
    m_progress = new WorkProgress(LvFiles);
    connect(m_progress, &WorkProgress::cancelClicked, this, &FrmFilenameReader::cancelClicked);
    // Quick work shows nothing; work that lasts shows what it does, a few times a second.
    m_progressDelay = new QTimer(this);
    m_progressDelay->setSingleShot(true);
    m_progressDelay->setInterval(300);
    connect(m_progressDelay, &QTimer::timeout, this, &FrmFilenameReader::showProgress);
    m_progressUpdate = new QTimer(this);
    m_progressUpdate->setInterval(250);
    connect(m_progressUpdate, &QTimer::timeout, this, &FrmFilenameReader::showProgress);
    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &FrmFilenameReader::cancelClicked);

    // Keys for commands go through the buttons, so they do what the buttons do when they do it.
    connect(static_cast<FolderListWidget *>(ListFolder), &FolderListWidget::removeKeyPressed,
        CmdDelFolder, &QPushButton::click);
    connect(LvFiles, &FileListView::removeKeyPressed, CmdDelList, &QPushButton::click);
}

FrmFilenameReader::~FrmFilenameReader()
{
    // The worker ends on its own; nothing waits for it.
    stopWork();
}

QString FrmFilenameReader::folderPath(const QListWidgetItem *item)
{
    // An entry added by its text alone is its own path.
    const QVariant path = item->data(Qt::UserRole);
    return path.isValid() ? path.toString() : item->text();
}

bool FrmFilenameReader::addFolder(const QString &folder)
{
    for (int i = 0; i < ListFolder->count(); ++i) {
        if (folderPath(ListFolder->item(i)) == folder)
            return false;
    }
    // Shown by the file list's rules, so that a line feed in a name cannot
    // make one folder look like two; the path itself stays the entry's value.
    auto *item = new QListWidgetItem(FileListModel::displayText(folder.toUtf8()));
    item->setData(Qt::UserRole, folder);
    ListFolder->addItem(item);
    return true;
}

void FrmFilenameReader::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        paintBand(Label1, palette());
        paintBand(Label2, palette());
    }
}

void FrmFilenameReader::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void FrmFilenameReader::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptableDrop(event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void FrmFilenameReader::dropEvent(QDropEvent *event)
{
    if (!acceptableDrop(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    for (const QUrl &url : event->mimeData()->urls())
        addFolder(droppedFolder(url.toLocalFile()));
    PopulateListViewWithFiles(ListFolder);
}

void FrmFilenameReader::CmdAddFolder_Click()
{
    CommonDialog1->setFilter(QString());
    CommonDialog1->ShowOpen();
    const QString chosen = CommonDialog1->FileName();
    // Nothing chosen changes nothing: a rebuild would bring back rows the user removed.
    if (chosen.isEmpty())
        return;

    addFolder(GetFolderOfFile(chosen));
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
    QStringList folders;
    for (int i = 0; i < FolderList->count(); ++i)
        folders << folderPath(FolderList->item(i));

    // The last request wins; the one it replaces ends without a word.
    stopWork();
    m_status = std::make_shared<WorkStatus>();
    m_rebuild = new QFutureWatcher<Rebuilt>(this);
    connect(m_rebuild, &QFutureWatcherBase::finished, this, &FrmFilenameReader::rebuildFinished);
    m_rebuild->setFuture(rebuildInBackground(folders, m_reader, LvFiles->files()->sortState(),
        m_status, LvFiles->files()->arrangement().keyLimit));
    startWork(m_rebuild);
}

void FrmFilenameReader::rebuildFinished()
{
    Rebuilt rebuilt = m_rebuild->future().takeResult();
    endWork();
    const bool sorted = rebuilt.files.state == LvFiles->files()->sortState();
    LvFiles->setArrangement(std::move(rebuilt.files));
    if (!sorted)
        warnCannotSort(this);

    if (rebuilt.failures.isEmpty())
        return;
    QStringList failures;
    for (const ListingFailure &failure : std::as_const(rebuilt.failures))
        failures << tr("%1\n%2").arg(shownPath(failure.folder), failure.reason);
    warn(this,
        tr("These folders could not be listed; their files are left out "
           "of the list:\n\n%1")
            .arg(failures.join(QStringLiteral("\n\n"))));
}

void FrmFilenameReader::CmdDelList_Click()
{
    // Rows are not removed from a list about to be replaced or reordered.
    if (isBusy())
        return;
    const int selected = LvFiles->selectedRow();
    if (selected < 0)
        return;
    LvFiles->removeRow(selected);
}

void FrmFilenameReader::LvFiles_ColumnClick(int ColumnHeader)
{
    if (isBusy())
        return;
    const SortState to = headerClicked(LvFiles->files()->sortState(), ColumnHeader);
    m_status = std::make_shared<WorkStatus>();
    m_sort = new QFutureWatcher<FileArrangement>(this);
    connect(m_sort, &QFutureWatcherBase::finished, this, &FrmFilenameReader::sortFinished);
    m_sort->setFuture(sortInBackground(LvFiles->files()->arrangement(), to, m_status));
    startWork(m_sort);
}

void FrmFilenameReader::sortFinished()
{
    QFuture<FileArrangement> sorted = m_sort->future();
    endWork();
    if (sorted.resultCount() == 0)
        return;
    FileArrangement files = sorted.takeResult();
    const bool tooLarge = !files.state.sorted;
    LvFiles->setArrangement(std::move(files));
    if (tooLarge)
        warnCannotSort(this);
}

void FrmFilenameReader::startWork(QFutureWatcherBase *watcher)
{
    m_work = watcher;
    if (m_progress->isVisible())
        showProgress(); // a replaced rebuild's progress goes on for the new one
    else if (!m_progressDelay->isActive())
        m_progressDelay->start();
}

void FrmFilenameReader::stopWork()
{
    if (!m_work)
        return;
    m_status->requestStop();
    m_work->disconnect(this);
    m_work->cancel(); // its result, if it ever comes, is dropped
    m_work->deleteLater();
    m_work = nullptr;
    m_rebuild = nullptr;
    m_sort = nullptr;
}

void FrmFilenameReader::endWork()
{
    if (m_work)
        m_work->deleteLater();
    m_work = nullptr;
    m_rebuild = nullptr;
    m_sort = nullptr;
    m_progressDelay->stop();
    m_progressUpdate->stop();
    m_progress->finish();
    m_escape->setEnabled(false);
    CmdSaveTXT->setEnabled(true);
    CmdDelList->setEnabled(true);
    LvFiles->header()->setSectionsClickable(true);
}

void FrmFilenameReader::cancelClicked()
{
    if (!m_work)
        return;
    if (m_sort) {
        // Nothing of a sort is kept: the rows stay in their present order.
        stopWork();
        endWork();
        return;
    }
    // The rebuild stops before its next read and hands over what it read in full.
    m_status->requestStop();
    showProgress();
}

void FrmFilenameReader::showProgress()
{
    if (!m_work)
        return;
    QString text;
    if (m_status->stopRequested()) {
        text = tr("Cancelling...");
    } else if (m_status->phase() == WorkStatus::Sorting) {
        text = tr("Sorting the list...\nPress Esc or Cancel to stop.");
    } else {
        const qsizetype files = m_status->filesFound();
        const QString folder
            = fontMetrics().elidedText(QDir::toNativeSeparators(m_status->folder()),
                Qt::ElideMiddle, LvFiles->viewport()->width() - 40);
        text = tr("Reading %1\n%2 found so far\nPress Esc or Cancel to stop.")
                   .arg(folder,
                       files == 1 ? tr("1 file") : tr("%1 files").arg(QLocale().toString(files)));
    }
    const bool first = !m_progress->isVisible();
    m_progress->showText(text);
    if (!first)
        return;
    // From here on the partial list must not be saved, trimmed or sorted, and
    // shows it: the buttons and headers look unavailable too.
    m_progressUpdate->start();
    m_escape->setEnabled(true);
    CmdSaveTXT->setEnabled(false);
    CmdDelList->setEnabled(false);
    LvFiles->header()->setSectionsClickable(false);
}

void FrmFilenameReader::CmdSaveTXT_Click()
{
    if (isBusy())
        return;
    CommonDialog1->setFilter(QStringLiteral("Text File (*.txt)|*.txt"));
    CommonDialog1->ShowSave();
    const QString target = CommonDialog1->FileName();
    if (target.isEmpty())
        return;

    saveList(target);
}

void FrmFilenameReader::saveList(const QString &target)
{
    // Written by a worker from a copy of the order, so the window goes on
    // painting while a long list is written and flushed to the disk.
    ++m_saves;
    using Outcome = std::pair<SaveResult, QString>;
    auto *saving = new QFutureWatcher<Outcome>(this);
    connect(saving, &QFutureWatcherBase::finished, this, [this, saving, target] {
        saving->deleteLater();
        --m_saves;
        const auto [result, reason] = saving->result();
        if (result == SaveResult::Failed)
            warn(this,
                tr("The list could not be saved to\n%1\n\n%2").arg(shownPath(target), reason));
        else if (result == SaveResult::Unconfirmed)
            warn(this, shownPath(target) + QStringLiteral("\n\n") + unconfirmedSaveMessage(reason));
    });
    saving->setFuture(
        QtConcurrent::run(workerPool(), [files = LvFiles->files()->arrangement(), target] {
            QString reason;
            const SaveResult result = saveText(target, exportText(files), &reason);
            return Outcome(result, reason);
        }));
}

void FrmFilenameReader::finishSaves(int milliseconds)
{
    if (!isSaving())
        return;
    QEventLoop loop;
    QTimer poll;
    const QDeadlineTimer deadline(milliseconds);
    // The loop also delivers each save's end, and with it any warning.
    poll.callOnTimeout(&loop, [&] {
        if (!isSaving() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(10);
    loop.exec();
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
