// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>

class CommandButton;
class QColor;
class QIcon;
class QLabel;
class QPalette;
class QPushButton;
class QString;
class QWidget;

// How the window looks: its design units, fonts, heading bands, buttons and
// icon, and what assistive technology takes it for.
namespace WindowLook {

// Positions and sizes are design data in twips; 15 twips make one pixel at 96 dpi.
QRect twips(int left, int top, int width, int height);

// The window's own font, fixed like its rectangles.
QFont dialogFont();
// The design's Verdana, 8.25 points, or the nearest sans font where it is missing.
QFont verdana(bool bold);

// Contrast ratio of two colours as WCAG defines it, from 1 to 21.
double contrast(const QColor &a, const QColor &b);

// A heading band: a bold caption, white on a grey that keeps it readable
// under windowPalette. Call again when the palette changes.
void paintBand(QLabel *label, const QPalette &windowPalette);
QLabel *headingBand(const QString &caption, QWidget *parent);

// A command button that is never the window's default; accessibleName tells
// it apart from a button of the same caption.
CommandButton *commandButton(
    const QString &caption, const QString &accessibleName, QWidget *parent);

// The program's icon, drawn from its artwork at the sizes from a title bar's
// 16 px to a task switcher's 256 px.
QIcon renderedIcon();

// Makes assistive technology see every FrmFilenameReader as an application's
// frame, not as a pane inside one. Safe to call more than once.
void installFrameAccessibility();

// Decorations Qt draws itself (on Wayland) offer Maximize even to a window of
// fixed size; the window is put back to its designed state at once (on
// Wayland, once the compositor has granted the maximize, at the size it gave).
void keepFixedSize(QWidget *window);

} // namespace WindowLook
