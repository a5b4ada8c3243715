// SPDX-License-Identifier: MIT
#include "window/messages.h"

#include "core/displaytext.h"
#include "core/filerows.h"
#include "core/listandsort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace Messages {

namespace {

const QString Gap = QStringLiteral("\n\n");
// Items that a box's details take at once, a few milliseconds of work.
constexpr qsizetype DetailsAtOnce = 250;
// The longest a box's details take the window's thread to add more.
constexpr qint64 SliceMilliseconds = 8;

// Items from..from+count of details, a blank line apart, each one paragraph:
// the lines within an item are broken by U+2028, which the details read back
// as line feeds, so that there are half as many paragraphs to lay out.
QString paragraphs(const QStringList &details, qsizetype from, qsizetype count)
{
    QString text;
    for (qsizetype i = from; i < from + count; ++i) {
        if (i > from)
            text += Gap;
        text += QString(details[i]).replace(u'\n', QChar::LineSeparator);
    }
    return text;
}

void showDetails(QMessageBox &box, const QStringList &details)
{
    // Plain text: Qt's details area takes no markup.
    const qsizetype atOnce = std::min(DetailsAtOnce, details.size());
    box.setDetailedText(paragraphs(details, 0, atOnce));
    auto *area = box.findChild<QTextEdit *>();
    if (atOnce == details.size() || !area) {
        if (!area)
            box.setDetailedText(details.join(Gap));
        return;
    }
    area->document()->setUndoRedoEnabled(false);
    auto *filling = new QTimer(&box);
    filling->setObjectName(QStringLiteral("DetailsFilling"));
    QObject::connect(filling, &QTimer::timeout, filling,
        [filling, area, details, next = atOnce, count = qsizetype(100)]() mutable {
            QElapsedTimer slice;
            slice.start();
            count = std::min(count, details.size() - next);
            QTextCursor end(area->document());
            end.movePosition(QTextCursor::End);
            end.insertText(Gap + paragraphs(details, next, count));
            next += count;
            if (next == details.size()) {
                filling->stop();
                filling->deleteLater();
            }
            // About a slice's work each time, however long the area takes to
            // lay out what it is given (longer while it shows).
            const qint64 took = slice.elapsed();
            if (took > SliceMilliseconds)
                count = std::max<qsizetype>(count / 2, 1);
            else if (took < SliceMilliseconds / 2)
                count *= 2;
        });
    filling->start(0);
}

} // namespace

void show(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QStringList &details)
{
    QMessageBox box(icon, QStringLiteral("Quillmere"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    if (!details.isEmpty())
        showDetails(box, details);
    box.exec();
}

void warn(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, text);
}

Warning listWarning(const QString &intro, const QStringList &items)
{
    if (items.size() <= NamedInText)
        return { items.isEmpty() ? QString() : intro.arg(items.join(Gap)), {} };
    const int more = int(std::min<qsizetype>(items.size() - NamedInText, INT_MAX));
    return { intro.arg(QStringList(items.mid(0, NamedInText)).join(Gap) + Gap
                 + QCoreApplication::translate("Messages", "and %Ln more", nullptr, more)),
        items };
}

void warn(QWidget *parent, const Warning &warning)
{
    show(parent, QMessageBox::Warning, warning.text, warning.details);
}

void warnCannotSort(QWidget *parent)
{
    warn(parent,
        QCoreApplication::translate("Messages",
            "The list cannot be sorted; its files stay in the order of their folders.\n\n%1")
            .arg(FileRows::limitReason()));
}

void warnListingFailures(QWidget *parent, const QList<ListingFailure> &failures)
{
    if (failures.isEmpty())
        return;
    QStringList shown;
    for (const ListingFailure &failure : failures) {
        shown << QCoreApplication::translate("Messages", "%1\n%2")
                     .arg(displayPath(failure.folder), failure.reason);
    }
    warn(parent,
        listWarning(QCoreApplication::translate("Messages",
                        "These folders could not be listed; their files are left out of the "
                        "list:\n\n%1"),
            shown));
}

void warnCannotOpenFolder(QWidget *parent, const QString &folder)
{
    warn(parent,
        QCoreApplication::translate("Messages",
            "The folder\n%1\ncould not be opened: no file manager was found to open it.")
            .arg(displayPath(folder)));
}

void warnSaveEnded(QWidget *parent, const QString &target, SaveResult result, const QString &reason)
{
    if (result == SaveResult::Saved)
        return;
    if (result == SaveResult::Failed) {
        warn(parent,
            QCoreApplication::translate("Messages", "The list could not be saved to\n%1\n\n%2")
                .arg(displayPath(target), reason));
        return;
    }
    // Saved, but not all as asked: the reason says what, a sentence a line.
    warn(parent, displayPath(target) + QStringLiteral("\n\n") + reason);
}

QMessageBox *waitingForSaves(QWidget *parent, const QStringList &targets, QPushButton **quit)
{
    QStringList shown;
    for (const QString &target : targets)
        shown << displayPath(target);
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Quillmere"),
        QCoreApplication::translate("Messages",
            "The list is still being saved to\n%1\n\nQuillmere closes as soon as the save has "
            "ended. If you quit now, the list is not saved and the file keeps its old contents.")
            .arg(shown.join(u'\n')),
        QMessageBox::Cancel, parent);
    box->setObjectName(QStringLiteral("SaveWaiting"));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    *quit = box->addButton(QCoreApplication::translate("Messages", "&Quit Without Saving"),
        QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    return box;
}

QString givenUp(const SaveQueue::GivenUp &save)
{
    const QString target = displayPath(save.target);
    switch (save.outcome) {
    case SaveGiveUp::GivenUp:
        return QCoreApplication::translate(
            "Messages", "The list was not saved to\n%1\nThe file keeps its old contents.")
            .arg(target);
    case SaveGiveUp::LeftBehind:
        return QCoreApplication::translate("Messages",
            "The list was not saved to\n%1\nThe file keeps its old contents, but this temporary "
            "file could not be removed:\n%2")
            .arg(target, save.leftBehind);
    case SaveGiveUp::TooLate:
        break;
    }
    return QCoreApplication::translate("Messages",
        "The list was saved to\n%1\nbut the system has not yet confirmed that it is on the "
        "disk.")
        .arg(target);
}

QString infoText()
{
    // One text, so that a translation can order its lines as its language needs.
    return QCoreApplication::translate("Messages",
        "This Program convert list of files into text file.\n"
        "\n"
        "How To Use:\n"
        "1. Add folder to collect list of files (chose one file inside the folder)\n"
        "2. Modify your folder selection with add/remove button\n"
        "3. Modify your list of files with remove button\n"
        "4. Save File List into TXT format\n"
        "\n"
        "Created by: quillmere@example.org\n");
}

void showInfo(QWidget *parent)
{
    show(parent, QMessageBox::Information, infoText());
}

} // namespace Messages
