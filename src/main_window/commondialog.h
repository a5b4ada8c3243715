#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

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
};
