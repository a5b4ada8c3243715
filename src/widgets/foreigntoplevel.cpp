// SPDX-License-Identifier: MIT
#include "widgets/foreigntoplevel.h"

#ifdef QUILLMERE_WAYLAND
#include "core/retryoninterrupt.h"
#include "xdg-foreign-unstable-v2-client-protocol.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <functional>

#include <poll.h>
#include <wayland-client.h>

struct ForeignToplevel::Wayland
{
    wl_display *display = nullptr;
    wl_event_queue *queue = nullptr;
    // The display as a proxy on queue, so that the registry and all made
    // from it answer there.
    wl_display *onQueue = nullptr;
    wl_registry *registry = nullptr;
    wl_callback *listed = nullptr; // answered once every global has been announced
    wl_callback *taken = nullptr; // answered once set_parent_of has been handled
    zxdg_exporter_v2 *exporter = nullptr;
    zxdg_exported_v2 *exported = nullptr;
    zxdg_importer_v2 *importer = nullptr;
    zxdg_imported_v2 *imported = nullptr;
    wl_surface *surface = nullptr;
    QByteArray parentHandle; // to import
    QString handle; // exported
    bool globalsListed = false;
    bool parented = false;
    bool refused = false; // the imported toplevel was destroyed by the compositor

    ~Wayland()
    {
        if (exported)
            zxdg_exported_v2_destroy(exported);
        if (exporter)
            zxdg_exporter_v2_destroy(exporter);
        if (imported)
            zxdg_imported_v2_destroy(imported);
        if (importer)
            zxdg_importer_v2_destroy(importer);
        if (listed)
            wl_callback_destroy(listed);
        if (taken)
            wl_callback_destroy(taken);
        if (registry)
            wl_registry_destroy(registry);
        if (onQueue)
            wl_proxy_wrapper_destroy(onQueue);
        if (queue)
            wl_event_queue_destroy(queue);
        if (display)
            wl_display_flush(display);
    }

    // Reads the display until done() holds or limit milliseconds have passed.
    bool waitFor(const std::function<bool()> &done, int limit)
    {
        const QDeadlineTimer deadline(limit);
        for (;;) {
            if (wl_display_dispatch_queue_pending(display, queue) < 0)
                return false;
            if (done())
                return true;
            // Events already read for this queue, by Qt's reading: dispatched first.
            if (wl_display_prepare_read_queue(display, queue) != 0)
                continue;
            wl_display_flush(display);
            pollfd readable { wl_display_get_fd(display), POLLIN, 0 };
            const int polled = retryOnInterrupt(
                [&] { return ::poll(&readable, 1, int(deadline.remainingTime())); });
            if (polled <= 0) {
                wl_display_cancel_read(display);
                wl_display_dispatch_queue_pending(display, queue);
                return done();
            }
            if (wl_display_read_events(display) < 0)
                return false;
        }
    }

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
        uint32_t /*version*/)
    {
        auto *self = static_cast<Wayland *>(data);
        if (self->surface && !self->parentHandle.isNull() && !self->importer
            && std::strcmp(interface, zxdg_importer_v2_interface.name) == 0) {
            self->importer = static_cast<zxdg_importer_v2 *>(
                wl_registry_bind(registry, name, &zxdg_importer_v2_interface, 1));
            self->imported
                = zxdg_importer_v2_import_toplevel(self->importer, self->parentHandle.constData());
            static const zxdg_imported_v2_listener importedListener { &Wayland::importedGone };
            zxdg_imported_v2_add_listener(self->imported, &importedListener, self);
            zxdg_imported_v2_set_parent_of(self->imported, self->surface);
            self->taken = wl_display_sync(self->onQueue);
            static const wl_callback_listener takenListener { &Wayland::parentTaken };
            wl_callback_add_listener(self->taken, &takenListener, self);
        } else if (self->surface && self->parentHandle.isNull() && !self->exporter
            && std::strcmp(interface, zxdg_exporter_v2_interface.name) == 0) {
            self->exporter = static_cast<zxdg_exporter_v2 *>(
                wl_registry_bind(registry, name, &zxdg_exporter_v2_interface, 1));
            self->exported = zxdg_exporter_v2_export_toplevel(self->exporter, self->surface);
            static const zxdg_exported_v2_listener exportedListener { &Wayland::handleGiven };
            zxdg_exported_v2_add_listener(self->exported, &exportedListener, self);
        }
    }
    static void globalRemoved(void *, wl_registry *, uint32_t) { }
    static void globalsDone(void *data, wl_callback *callback, uint32_t)
    {
        auto *self = static_cast<Wayland *>(data);
        wl_callback_destroy(callback);
        self->listed = nullptr;
        self->globalsListed = true;
    }
    static void handleGiven(void *data, zxdg_exported_v2 *, const char *handle)
    {
        static_cast<Wayland *>(data)->handle = QString::fromUtf8(handle);
    }
    static void importedGone(void *data, zxdg_imported_v2 *)
    {
        static_cast<Wayland *>(data)->refused = true;
    }
    static void parentTaken(void *data, wl_callback *callback, uint32_t)
    {
        auto *self = static_cast<Wayland *>(data);
        wl_callback_destroy(callback);
        self->taken = nullptr;
        self->parented = !self->refused;
    }

    // Lists the compositor's globals on a queue of this object's own, where
    // global() binds what it needs as they are announced.
    bool start(QWindow *window)
    {
        if (!window || QGuiApplication::platformName() != QLatin1String("wayland"))
            return false;
        QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
        if (!native)
            return false;
        display = static_cast<wl_display *>(
            native->nativeResourceForIntegration(QByteArrayLiteral("wl_display")));
        surface = static_cast<wl_surface *>(
            native->nativeResourceForWindow(QByteArrayLiteral("surface"), window));
        if (!display || !surface)
            return false;
        queue = wl_display_create_queue(display);
        onQueue = static_cast<wl_display *>(wl_proxy_create_wrapper(display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(onQueue), queue);
        registry = wl_display_get_registry(onQueue);
        static const wl_registry_listener registryListener { &Wayland::global,
            &Wayland::globalRemoved };
        wl_registry_add_listener(registry, &registryListener, this);
        listed = wl_display_sync(onQueue);
        static const wl_callback_listener listedListener { &Wayland::globalsDone };
        wl_callback_add_listener(listed, &listedListener, this);
        wl_display_flush(display);
        return true;
    }
};

ForeignToplevel::ForeignToplevel(std::unique_ptr<Wayland> wayland)
    : m_wayland(std::move(wayland))
{ }

ForeignToplevel::~ForeignToplevel() = default;

std::unique_ptr<ForeignToplevel> ForeignToplevel::exportWindow(QWindow *window)
{
    auto wayland = std::make_unique<Wayland>();
    if (!wayland->start(window))
        return nullptr;
    return std::unique_ptr<ForeignToplevel>(new ForeignToplevel(std::move(wayland)));
}

QString ForeignToplevel::handle(int limit)
{
    Wayland &w = *m_wayland;
    // The handle comes after the list of globals; without an exporter in it, none comes.
    w.waitFor([&w] { return !w.handle.isEmpty() || (w.globalsListed && !w.exported); }, limit);
    return w.handle;
}

std::unique_ptr<ForeignToplevel> ForeignToplevel::parentTo(
    QWindow *child, const QString &handle, int limit)
{
    auto wayland = std::make_unique<Wayland>();
    wayland->parentHandle = handle.toUtf8();
    if (handle.isEmpty() || !wayland->start(child))
        return nullptr;
    Wayland &w = *wayland;
    w.waitFor([&w] { return w.parented || w.refused || (w.globalsListed && !w.imported); }, limit);
    if (!w.parented)
        return nullptr;
    return std::unique_ptr<ForeignToplevel>(new ForeignToplevel(std::move(wayland)));
}

#else

struct ForeignToplevel::Wayland
{ };

ForeignToplevel::ForeignToplevel(std::unique_ptr<Wayland> wayland)
    : m_wayland(std::move(wayland))
{ }

ForeignToplevel::~ForeignToplevel() = default;

std::unique_ptr<ForeignToplevel> ForeignToplevel::exportWindow(QWindow *)
{
    return nullptr;
}

QString ForeignToplevel::handle(int)
{
    return QString();
}

std::unique_ptr<ForeignToplevel> ForeignToplevel::parentTo(QWindow *, const QString &, int)
{
    return nullptr;
}

#endif
