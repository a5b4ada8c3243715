// SPDX-License-Identifier: MIT
#include "widgets/visiblefocus.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace {

class Keeper : public QObject
{
public:
    explicit Keeper(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        keep();
        window->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
            if (now && now->window() == m_window)
                keep(now);
        });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        // Qt takes the attribute back as the window is activated or clicked.
        switch (event->type()) {
        case QEvent::WindowActivate:
        case QEvent::Show:
            keep(m_window->focusWidget());
            break;
        default:
            break;
        }
        return false;
    }

private:
    void keep(QWidget *focused = nullptr)
    {
        if (m_window->testAttribute(Qt::WA_KeyboardFocusChange))
            return;
        m_window->setAttribute(Qt::WA_KeyboardFocusChange);
        if (focused)
            focused->update();
    }

    QPointer<QWidget> m_window;
};

} // namespace

void VisibleFocus::install(QWidget *window)
{
    new Keeper(window);
}
