// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// Keeps the keyboard focus drawn in window wherever it is, from the start
// and after a click or a closed dialog, not only after Tab: Qt's styles draw
// a focus frame only while the window says its focus moved by the keyboard
// (Qt::WA_KeyboardFocusChange), which a click or a window's activation
// takes back. Whatever the style, the window's own or the desktop's, then
// shows where Space and typed letters go.
namespace VisibleFocus {

void install(QWidget *window);

} // namespace VisibleFocus
