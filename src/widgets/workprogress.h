// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/rowspanel.h"

#include <memory>

class QAbstractScrollArea;
class QLabel;
class QPushButton;
class QShortcut;
class QTimer;
class WorkStatus;

// A panel drawn over a list's rows while long work runs on them: what is
// happening and a button to stop it. It covers the rows only, so no control
// of the window moves or changes; the list's accessible description carries
// the same text for screen readers. Quick work shows nothing: the panel
// appears only once work has lasted 0.3 s, then reads the work's status four
// times a second. While it shows, Esc anywhere in the list's window stops
// the work as its Cancel button does.
class WorkProgress : public RowsPanel
{
    Q_OBJECT

public:
    explicit WorkProgress(QAbstractScrollArea *list);

    // Follows the work that status describes. Work that replaces work still
    // on show goes on showing at once; otherwise the delay starts, unless it
    // is already running for the work this replaces.
    void start(std::shared_ptr<const WorkStatus> status);
    // Shows the status as it is now, at once (after a stop was asked, say).
    void refresh();
    // Hides the panel, takes its text off the list, and stops following the work.
    void finish();

    // What the panel says for a status; folder paths are shown by the lists'
    // display rules and cut in the middle to fit the list's width.
    QString textFor(const WorkStatus &status) const;

signals:
    // Cancel was clicked, or Esc pressed while the panel shows.
    void cancelClicked();
    // The panel has just appeared: from now on the work is shown as running.
    void shown();

private:
    void showText(const QString &text);

    QLabel *m_text;
    QPushButton *m_cancel;
    QTimer *m_delay;
    QTimer *m_update;
    QShortcut *m_escape;
    std::shared_ptr<const WorkStatus> m_status;
};
