// SPDX-License-Identifier: MIT
#pragma once

#include "core/atomicsave.h"
#include "list/savequeue.h"

#include <QByteArrayView>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;
struct ListingFailure;

// The window's message boxes. Their text is always shown as it is: a folder
// named "<b>x" must not turn a message into markup, as QMessageBox's guess at
// rich text would.
namespace Messages {

// Shows a modal box with the program's title and an OK button; returns when
// it is closed. Details, when given, show on request in an area that
// scrolls, a blank line apart; past the first 250 they are added a few
// milliseconds at a time while the box shows, so that a hundred thousand
// do not stall the window (its timer, a child of the box named
// "DetailsFilling", goes once all are there).
void show(
    QWidget *parent, QMessageBox::Icon icon, const QString &text, const QStringList &details = {});
void warn(QWidget *parent, const QString &text);

// A warning that may name many things and still fits the screen: its text
// names the first few and counts the rest, its details name them all.
struct Warning
{
    QString text;
    QStringList details; // empty when the text names all
    bool isNull() const { return text.isNull(); }
};
// How many things a warning's text names at most.
constexpr int NamedInText = 5;
// The warning whose text is intro, its %1 replaced by items, each a blank
// line apart; null when there are none.
Warning listWarning(const QString &intro, const QStringList &items);
void warn(QWidget *parent, const Warning &warning);

// The rows stay listed, in folder order, when their sort keys pass their limit.
void warnCannotSort(QWidget *parent);

// Names the folders a rebuild left out, each with the system's reason.
void warnListingFailures(QWidget *parent, const QList<ListingFailure> &failures);

// Says that no file manager could be found to open folder.
void warnCannotOpenFolder(QWidget *parent, const QString &folder);

// Says what a save that did not end as Saved came to; nothing for one that did.
void warnSaveEnded(
    QWidget *parent, const QString &target, SaveResult result, const QString &reason);

// Shown when the program is to end while saves still run: it names their
// targets, and closes with Cancel or with its "Quit Without Saving" button,
// which it returns in *quit. Window-modal, deleted when closed.
QMessageBox *waitingForSaves(QWidget *parent, const QStringList &targets, QPushButton **quit);

// What is left on the disk of a save given up as the program ends.
QString givenUp(const SaveQueue::GivenUp &save);

// What "Info" shows, and showing it.
QString infoText();
void showInfo(QWidget *parent);

} // namespace Messages
