// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// The one file dialog of the window, for both opening and saving: set a
// filter, show it modally, then read the chosen path, which is empty when the
// user chose nothing. It opens in the folder of the file last chosen in this run.
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

private:
    void show(bool save);

    QString m_filter;
    QString m_fileName;
    QString m_folder;
    // The dialog last shown, deleted only when the next one is made: deleting
    // a file dialog waits for the thread that reads its folder, which on a
    // slow drive would stall the window just as it should repaint.
    QFileDialog *m_retired = nullptr;
};
