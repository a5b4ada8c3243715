// SPDX-License-Identifier: MIT
#pragma once

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>

// A command button that Enter presses while it has the focus, as Space does.
// It is never the window's default button, so Enter elsewhere presses nothing.
class CommandButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

    // Makes the button one way to give command, which its keys and menus
    // share: a click triggers it, and the button is enabled and tells its
    // tool tip as the command does; the caption stays the button's own.
    void setCommand(QAction *command)
    {
        connect(this, &QPushButton::clicked, command, &QAction::trigger);
        const auto follow = [this, command] {
            setEnabled(command->isEnabled());
            setToolTip(command->toolTip());
        };
        connect(command, &QAction::changed, this, follow);
        follow();
    }

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
