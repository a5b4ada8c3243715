// SPDX-License-Identifier: MIT
#include "window/messages.h"

#include "core/displaytext.h"
#include "core/filerows.h"

#include <QCoreApplication>

namespace Messages {

void show(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QStringLiteral("Quillmere"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void warn(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, text);
}

QString shownPath(const QString &path)
{
    return displayPath(path);
}

QString shownPathBytes(QByteArrayView path)
{
    return displayPath(path);
}

void warnCannotSort(QWidget *parent)
{
    warn(parent,
        QCoreApplication::translate("Messages",
            "The list cannot be sorted; its files stay in the order of their folders.\n\n%1")
            .arg(FileRows::limitReason()));
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
