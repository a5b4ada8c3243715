// SPDX-License-Identifier: MIT
#include "window/windowlook.h"

#include "widgets/commandbutton.h"

#include <QAccessibleWidget>
#include <QColor>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

namespace WindowLook {

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// A desktop font of another size would cut the captions of the narrow buttons.
QFont dialogFont()
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

QFont verdana(bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif); // the nearest sans font where Verdana is missing
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &colour) {
        auto linear = [](float c) {
            return c <= 0.04045f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = colour.toRgb();
        return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
            + 0.0722 * linear(rgb.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The bands are the platform's grey-text colour with white captions, where
// that grey is dark enough for white text to be read; many palettes make it
// too light (Qt's own: 1.9:1), and then the standard scheme's mid grey serves.
void paintBand(QLabel *label, const QPalette &windowPalette)
{
    const QColor white(Qt::white);
    QColor band = windowPalette.color(QPalette::Disabled, QPalette::WindowText);
    if (contrast(band, white) < 4.5)
        band = QColor(0x6d, 0x6d, 0x6d);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, band);
    palette.setColor(QPalette::WindowText, white);
    label->setPalette(palette);
}

QLabel *headingBand(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setFont(verdana(true));
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    paintBand(label, parent->palette());
    return label;
}

CommandButton *commandButton(const QString &caption, const QString &accessibleName, QWidget *parent)
{
    auto *button = new CommandButton(caption, parent);
    button->setAccessibleName(accessibleName);
    button->setAutoDefault(false);
    return button;
}

QIcon renderedIcon()
{
    QIcon icon;
    // Title bars take 16 to 32 px; task switchers and docks up to 256, and
    // twice that on 2x screens, which Qt scales down from the largest. The
    // sizes are those installed (cmake/Install.cmake), and each is drawn as
    // data/rendericons.cpp draws it: from its own pixel grid where it has one.
    for (const int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        const QString drawn = QStringLiteral(":/quillmere-%1.svg").arg(size);
        QSvgRenderer artwork(QFile::exists(drawn) ? drawn : QStringLiteral(":/quillmere.svg"));
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        artwork.render(&painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

namespace {

QAccessibleInterface *frameAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("FrmFilenameReader") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void installFrameAccessibility()
{
    // Qt keeps every factory installed; one is enough for any number of windows.
    static const bool installed = (QAccessible::installFactory(frameAccessible), true);
    Q_UNUSED(installed);
}

void keepFixedSize(QWidget *window)
{
    struct Keeper : QObject
    {
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            auto *window = static_cast<QWidget *>(parent());
            QWindow *handle = window->windowHandle();
            constexpr Qt::WindowStates unsized = Qt::WindowMaximized | Qt::WindowFullScreen;
            if (watched == window && event->type() == QEvent::Show && handle && !watching
                && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
                // A Wayland compositor that grants a maximize ends the client
                // whose next frame has any other size (weston does), and Qt
                // has asked by the time it says so: the window takes that size
                // until the compositor has put it back.
                watching = true;
                handle->installEventFilter(this);
                connect(handle, &QWindow::windowStateChanged, this,
                    [this, window](Qt::WindowState state) {
                        if (state != Qt::WindowMaximized || fixed.isValid())
                            return;
                        fixed = window->maximumSize();
                        window->setMinimumSize(0, 0);
                        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
                    });
            }
            if (event->type() != QEvent::WindowStateChange)
                return false;
            if (watched == handle) {
                // The compositor's own word, not the state asked for.
                if (event->spontaneous() && fixed.isValid() && !(handle->windowStates() & unsized))
                    window->setFixedSize(std::exchange(fixed, QSize()));
            } else if (window->windowState() & unsized) {
                QMetaObject::invokeMethod(
                    window,
                    [window, unsized] { window->setWindowState(window->windowState() & ~unsized); },
                    Qt::QueuedConnection);
            }
            return false;
        }
        bool watching = false;
        QSize fixed; // while a maximize on Wayland is under way
    };
    window->installEventFilter(new Keeper(window));
}

} // namespace WindowLook
