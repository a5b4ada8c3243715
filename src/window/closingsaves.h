// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

class QMessageBox;
class QWidget;
class SaveQueue;

// Close while saves run: the window stays until they have ended, saying
// so in a box that offers Quit Without Saving, then the program ends; a
// save that fails keeps the window, so that the list can still be saved
// elsewhere. Every save's end is said in the window as it comes.
class ClosingSaves : public QObject
{
    Q_OBJECT

public:
    ClosingSaves(QWidget *window, SaveQueue *saves);

    // Close: ends the program now when no save runs, or once they end.
    void close();

private:
    void quitWithoutSaving();

    QWidget *m_window;
    SaveQueue *m_saves;
    // Shown after Close while a save runs; closes itself when the saves end.
    QPointer<QMessageBox> m_waiting;
};
