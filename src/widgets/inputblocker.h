// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

// Blocks input to its window, as a modal dialog does, without showing
// anything: for a dialog shown by another process.
class InputBlocker
{
public:
    explicit InputBlocker(QWidget *window)
    {
        if (!window)
            return;
        m_blocker = new QWidget(window, Qt::Dialog);
        m_blocker->setAttribute(Qt::WA_DontShowOnScreen);
        m_blocker->setWindowModality(Qt::WindowModal);
        m_blocker->show();
    }
    ~InputBlocker() { delete m_blocker; }
    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

private:
    QPointer<QWidget> m_blocker;
};
