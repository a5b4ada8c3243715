// SPDX-License-Identifier: MIT
#include "widgets/inputblocker.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

const char CommandProperty[] = "_quillmere_passage_command";
const char ButtonProperty[] = "_quillmere_passage_button";

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ToolTip:
    case QEvent::WhatsThis:
        return true;
    default:
        return false;
    }
}

bool isMouse(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
        || type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

} // namespace

InputBlocker::InputBlocker(QWidget *window)
    : m_window(window)
{
    if (!window)
        return;
    m_command = window->property(CommandProperty).value<QObject *>();
    m_button = qobject_cast<QWidget *>(window->property(ButtonProperty).value<QObject *>());
    qApp->installEventFilter(this);
}

InputBlocker::~InputBlocker()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void InputBlocker::setPassage(QWidget *window, QAction *command, QWidget *button)
{
    window->setProperty(CommandProperty, QVariant::fromValue<QObject *>(command));
    window->setProperty(ButtonProperty, QVariant::fromValue<QObject *>(button));
}

bool InputBlocker::onPassage(const QWidget *widget) const
{
    return m_button && widget && (widget == m_button || m_button->isAncestorOf(widget));
}

bool InputBlocker::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_window)
        return false;
    const QEvent::Type type = event->type();
    // A command's keys come to the command itself: only the passage's pass.
    if (type == QEvent::Shortcut) {
        if (watched == m_command)
            return false;
        for (QObject *owner = watched; owner; owner = owner->parent()) {
            if (owner == m_window)
                return true;
        }
        return false;
    }
    if (!isInput(type))
        return false;
    // The window's own native window gets the input first: stopped there, a
    // click moves no focus. The mouse goes on to the widget under it.
    if (watched->isWindowType()) {
        if (watched != m_window->windowHandle())
            return false;
        if (!isMouse(type))
            return true;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool passes
            = m_pressOnPassage || onPassage(m_window->childAt(mouse->position().toPoint()));
        if (type == QEvent::MouseButtonPress)
            m_pressOnPassage = passes;
        else if (type == QEvent::MouseButtonRelease)
            m_pressOnPassage = false;
        return !passes;
    }
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    return !((isMouse(type) || type == QEvent::ToolTip) && onPassage(widget));
}
