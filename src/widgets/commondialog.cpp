// SPDX-License-Identifier: MIT
#include "widgets/commondialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>

CommonDialog::CommonDialog(QWidget *parent)
    : QObject(parent)
{ }

QStringList CommonDialog::nameFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        // Qt reads the patterns from the trailing parentheses; add them only when missing.
        const QString shown = u'(' + pattern + u')';
        filters << (description.endsWith(shown) ? description : description + u' ' + shown);
    }
    return filters;
}

void CommonDialog::ShowOpen()
{
    show(false);
}

void CommonDialog::ShowSave()
{
    show(true);
}

void CommonDialog::show(bool save)
{
    delete m_retired;
    m_retired = new QFileDialog(static_cast<QWidget *>(parent()), QString(), m_folder);
    QFileDialog &dialog = *m_retired;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The user is never asked before a file is replaced, and no extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
    const QStringList filters = nameFilters(m_filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);

    m_fileName.clear();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // Its name completer may still be reading a slow folder: it must not
    // pop up over the window once the dialog is gone.
    for (QCompleter *completer : dialog.findChildren<QCompleter *>()) {
        completer->popup()->hide();
        completer->setModel(nullptr);
    }
    if (!accepted || dialog.selectedFiles().isEmpty())
        return;
    m_fileName = dialog.selectedFiles().constFirst();
    // The chosen file's own folder: the dialog's directory stays where it
    // was shown when the user typed a path elsewhere.
    m_folder = QFileInfo(m_fileName).absolutePath();
}
