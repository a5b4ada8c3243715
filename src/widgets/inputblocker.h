// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// Blocks input to its window, as a modal dialog does, without showing
// anything: for a dialog shown by another process. One command gets
// through, the one the window names with setPassage() (its close): by its
// keys and by a click on its button; the window manager's close reaches the
// window too, as it is no input. So a dialog that hangs in another process
// never keeps the user from closing the window.
class InputBlocker : public QObject
{
public:
    explicit InputBlocker(QWidget *window);
    ~InputBlocker() override;
    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

    // The command that reaches window while its input is blocked, and the
    // button that gives it.
    static void setPassage(QWidget *window, QAction *command, QWidget *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool onPassage(const QWidget *widget) const;

    QPointer<QWidget> m_window;
    QPointer<QObject> m_command;
    QPointer<QWidget> m_button;
    // A press on the passage's button, whose release goes there wherever it is.
    bool m_pressOnPassage = false;
};
