// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>

class QWindow;

// A window's toplevel named to other programs through the Wayland compositor
// (xdg-foreign): the window's process exports it and hands the handle on (to
// the portal as "wayland:HANDLE", to Qt's dialog in a process of its own),
// and that other process makes its dialog a child of it, so that the
// compositor keeps the dialog over the window, as transient-for does on X11.
//
// Off Wayland, in a build without it, or where the compositor offers no
// exporter or importer, there is no handle and nothing is parented. The
// requests go on an event queue of this object's own, which Qt never
// dispatches; a wait for the compositor's answer reads the display beside
// Qt's own reading, for at most the limit given.
class ForeignToplevel
{
public:
    ~ForeignToplevel();
    ForeignToplevel(const ForeignToplevel &) = delete;
    ForeignToplevel &operator=(const ForeignToplevel &) = delete;

    // How long the window waits for its handle: a roundtrip, which takes a
    // millisecond; a compositor slower than this gets an unparented dialog.
    static constexpr int ExportLimit = 250;

    // The window's side: starts exporting window's toplevel, without waiting
    // for the compositor; nullptr off Wayland. The handle names the window
    // for as long as this object lives.
    static std::unique_ptr<ForeignToplevel> exportWindow(QWindow *window);
    // The handle, once the compositor has given it, waiting at most limit
    // milliseconds for that (a roundtrip); empty when it offers no exporter
    // or has not answered in time.
    QString handle(int limit);

    // The other process's side: makes child, shown, a child of the toplevel
    // that handle names, waiting at most limit milliseconds for the
    // compositor to take it. nullptr where it did not (no importer, a handle
    // unknown to it, no answer in time): child is then placed as the
    // compositor places any window. The child stays over that toplevel for
    // as long as the object lives.
    static std::unique_ptr<ForeignToplevel> parentTo(
        QWindow *child, const QString &handle, int limit);

private:
    struct Wayland;
    explicit ForeignToplevel(std::unique_ptr<Wayland> wayland);

    std::unique_ptr<Wayland> m_wayland;
};
