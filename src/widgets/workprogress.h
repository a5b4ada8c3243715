// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>

class QAbstractScrollArea;
class QLabel;
class QPushButton;

// A panel drawn over a list's rows while long work runs on them: what is
// happening and a button to stop it. It covers the rows only, so no control
// of the window moves or changes; the list's accessible description carries
// the same text for screen readers.
class WorkProgress : public QFrame
{
    Q_OBJECT

public:
    explicit WorkProgress(QAbstractScrollArea *list);

    // Shows the panel, or changes what it says.
    void showText(const QString &text);
    // Hides the panel and takes its text off the list.
    void finish();

signals:
    void cancelClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QAbstractScrollArea *m_list;
    QWidget *m_rows; // the list's viewport; watched also while the list is destroyed
    QLabel *m_text;
    QPushButton *m_cancel;
};
