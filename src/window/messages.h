// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QMessageBox>
#include <QString>

class QWidget;

// The window's message boxes. Their text is always shown as it is: a folder
// named "<b>x" must not turn a message into markup, as QMessageBox's guess at
// rich text would.
namespace Messages {

// Shows a modal box with the program's title and an OK button; returns when it is closed.
void show(QWidget *parent, QMessageBox::Icon icon, const QString &text);
void warn(QWidget *parent, const QString &text);

// A path in a message, by the same rules as the names in the lists, so that
// it cannot break its line or turn the text round.
QString shownPath(const QString &path);
// The same for a path known only as bytes, such as one that is not UTF-8.
QString shownPathBytes(QByteArrayView path);

// The rows stay listed, in folder order, when their sort keys pass their limit.
void warnCannotSort(QWidget *parent);

// What "Info" shows, and showing it.
QString infoText();
void showInfo(QWidget *parent);

} // namespace Messages
