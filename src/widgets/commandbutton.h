// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyEvent>
#include <QPushButton>

// A command button that Enter presses while it has the focus, as Space does.
// It is never the window's default button, so Enter elsewhere presses nothing.
class CommandButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && !(event->modifiers() & ~Qt::KeypadModifier) && !event->isAutoRepeat()) {
            click();
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};
