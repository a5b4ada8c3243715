// SPDX-License-Identifier: MIT
#include "widgets/portaldialog.h"

#include "widgets/dialogwait.h"
#include "widgets/foreigntoplevel.h"
#include "widgets/portalrequest.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>
#include <utility>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");

// Set once a portal was unavailable: the rest of the run uses Qt's dialog.
bool portalFailed = false;

// The portal's filter: a name and its patterns, each (0 = glob, pattern).
struct FilterPattern
{
    uint kind = 0;
    QString pattern;
};
struct Filter
{
    QString name;
    QList<FilterPattern> patterns;
};
using Filters = QList<Filter>;

QDBusArgument &operator<<(QDBusArgument &arg, const FilterPattern &pattern)
{
    arg.beginStructure();
    arg << pattern.kind << pattern.pattern;
    arg.endStructure();
    return arg;
}
const QDBusArgument &operator>>(const QDBusArgument &arg, FilterPattern &pattern)
{
    arg.beginStructure();
    arg >> pattern.kind >> pattern.pattern;
    arg.endStructure();
    return arg;
}
QDBusArgument &operator<<(QDBusArgument &arg, const Filter &filter)
{
    arg.beginStructure();
    arg << filter.name << filter.patterns;
    arg.endStructure();
    return arg;
}
const QDBusArgument &operator>>(const QDBusArgument &arg, Filter &filter)
{
    arg.beginStructure();
    arg >> filter.name >> filter.patterns;
    arg.endStructure();
    return arg;
}

} // namespace

Q_DECLARE_METATYPE(FilterPattern)
Q_DECLARE_METATYPE(Filter)

namespace {

// "Text File (*.txt)" shows its name as it is and matches *.txt.
Filters portalFilters(const QStringList &nameFilters)
{
    static const QRegularExpression patterns(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    Filters filters;
    for (const QString &nameFilter : nameFilters) {
        Filter filter { nameFilter, {} };
        const QRegularExpressionMatch match = patterns.match(nameFilter);
        const QString globs = match.hasMatch() ? match.captured(1) : QStringLiteral("*");
        for (const QString &glob : globs.split(u' ', Qt::SkipEmptyParts))
            filter.patterns.append({ 0, glob });
        filters.append(filter);
    }
    return filters;
}

// A path as the portal takes it: its bytes, ended by NUL.
QByteArray pathBytes(const QString &path)
{
    QByteArray bytes = QFile::encodeName(path);
    bytes.append('\0');
    return bytes;
}

} // namespace

bool PortalDialog::shouldTry()
{
    const QByteArray way = qgetenv("QUILLMERE_FILE_DIALOG");
    if (way == "qt" || portalFailed)
        return false;
    if (way == "portal")
        return true;
    // Without a real display there is no desktop for the portal to show a dialog on.
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void PortalDialog::forgetFailure()
{
    portalFailed = false;
}

PortalDialog::PortalDialog(QWidget *parent)
    : QObject(parent)
    , m_parent(parent)
{
    static const bool registered = [] {
        qDBusRegisterMetaType<FilterPattern>();
        qDBusRegisterMetaType<QList<FilterPattern>>();
        qDBusRegisterMetaType<Filter>();
        qDBusRegisterMetaType<Filters>();
        return true;
    }();
    Q_UNUSED(registered);
}

PortalDialog::Answer PortalDialog::openFile(const QString &folder)
{
    return ask(DialogKind::OpenFile, tr("Open"),
        { { QStringLiteral("multiple"), false },
            { QStringLiteral("current_folder"), pathBytes(folder) } });
}

PortalDialog::Answer PortalDialog::chooseFolder(const QString &folder)
{
    return ask(DialogKind::Folder, tr("Choose Folder"),
        { { QStringLiteral("multiple"), false }, { QStringLiteral("directory"), true },
            { QStringLiteral("current_folder"), pathBytes(folder) } });
}

PortalDialog::Answer PortalDialog::saveFile(const QString &folder, const QStringList &nameFilters)
{
    QVariantMap options { { QStringLiteral("current_folder"), pathBytes(folder) } };
    const Filters filters = portalFilters(nameFilters);
    if (!filters.isEmpty()) {
        options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
        options.insert(QStringLiteral("current_filter"), QVariant::fromValue(filters.constFirst()));
    }
    return ask(DialogKind::SaveFile, tr("Save As"), options);
}

PortalDialog::Answer PortalDialog::fromResponse(
    uint response, const QVariantMap &results, DialogKind kind, qint64 elapsed)
{
    const Answer cancelled { Cancelled, {} };
    if (response == 1)
        return cancelled;
    if (response != 0)
        return elapsed >= 0 && elapsed < FailureLimit ? Answer() : cancelled;
    const QVariant urisValue = results.value(QStringLiteral("uris"));
    QStringList uris = urisValue.toStringList();
    if (urisValue.canConvert<QDBusArgument>())
        qvariant_cast<QDBusArgument>(urisValue) >> uris;
    if (uris.size() != 1)
        return cancelled;
    const QUrl url(uris.constFirst(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("file")
        || !(url.host().isEmpty() || url.host() == QLatin1String("localhost")))
        return cancelled;
    // The path's own bytes: QUrl would put U+FFFD for bytes that are not UTF-8,
    // naming a file other than the one picked.
    const QByteArray bytes
        = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = decoder(bytes);
    if (decoder.hasError() || !path.startsWith(u'/') || path.contains(QChar(0)))
        return cancelled;
    const QFileInfo picked(path);
    if ((kind == DialogKind::OpenFile && !picked.isFile())
        || (kind == DialogKind::Folder && !picked.isDir()))
        return cancelled;
    return { Chosen, kind == DialogKind::Folder ? QDir::cleanPath(path) : path };
}

QString PortalDialog::parentWindow(std::unique_ptr<ForeignToplevel> *exported) const
{
    // An X11 window by its id; a Wayland one by the handle the compositor
    // gave for it, which names it only as long as *exported lives. Where
    // neither is to be had, the desktop's dialog opens unparented.
    QWidget *window = m_parent ? m_parent->window() : nullptr;
    if (!window)
        return QString();
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return QStringLiteral("x11:") + QString::number(window->winId(), 16);
    *exported = ForeignToplevel::exportWindow(window->windowHandle());
    const QString handle
        = *exported ? (*exported)->handle(ForeignToplevel::ExportLimit) : QString();
    return handle.isEmpty() ? QString() : QStringLiteral("wayland:") + handle;
}

namespace {

// How a wait for the portal ended.
struct Waited
{
    std::optional<PortalDialog::Answer> answer; // the Response's
    bool ended = false; // failed, or the portal left the bus
    bool abandoned = false; // the window closed
};

// Waits for the request's answer, blocking the window's input but for its
// close, for as long as the user takes once the portal has taken the
// request, and for replyTimeout before that.
Waited await(PortalRequest *request, QWidget *window, DialogKind kind, int replyTimeout)
{
    DialogWait wait(window);
    Waited waited;
    QObject::connect(
        request, &PortalRequest::responded, &wait, [&](uint response, const QVariantMap &results) {
            waited.answer = PortalDialog::fromResponse(response, results, kind, request->elapsed());
            wait.finish();
        });
    const auto end = [&] {
        waited.ended = true;
        wait.finish();
    };
    QObject::connect(request, &PortalRequest::failed, &wait, end);
    QDBusServiceWatcher vanished(
        service, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&vanished, &QDBusServiceWatcher::serviceUnregistered, &wait, end);
    QTimer untaken;
    untaken.setSingleShot(true);
    QObject::connect(&untaken, &QTimer::timeout, &wait, [&] {
        if (!request->isTaken())
            wait.finish();
    });
    untaken.start(replyTimeout);
    // Nothing shows until the portal has taken the request: the cursor says
    // that the window is waiting for it.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    bool busy = true;
    const auto ready = [&busy] {
        if (std::exchange(busy, false))
            QGuiApplication::restoreOverrideCursor();
    };
    QObject::connect(request, &PortalRequest::taken, &wait, ready);
    waited.abandoned = !wait.exec();
    ready();
    QObject::disconnect(request, nullptr, &wait, nullptr);
    return waited;
}

} // namespace

PortalDialog::Answer PortalDialog::ask(DialogKind kind, const QString &title, QVariantMap options)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        portalFailed = true;
        return {};
    }
    options.insert(QStringLiteral("modal"), true);
    std::unique_ptr<ForeignToplevel> exported;
    const QString parent = parentWindow(&exported);
    const QString method
        = kind == DialogKind::SaveFile ? QStringLiteral("SaveFile") : QStringLiteral("OpenFile");
    auto *request = new PortalRequest(bus, method, parent, title, options, this);
    // The handle names the window for as long as the request lives: the
    // dialog of a request given up may show until the portal has closed it.
    if (exported)
        connect(request, &QObject::destroyed, this,
            [held = std::shared_ptr<ForeignToplevel>(std::move(exported))] {});

    const Waited waited
        = await(request, m_parent ? m_parent->window() : nullptr, kind, m_replyTimeout);
    if (waited.abandoned) {
        request->withdraw();
        delete request;
        return { Cancelled, {} };
    }
    if (waited.answer || waited.ended) {
        const bool unsupported = request->isUnsupported();
        delete request;
        if (waited.answer && waited.answer->outcome != Unavailable)
            return *waited.answer;
        // A portal too old for a folder chooser still shows the others.
        portalFailed = portalFailed || !unsupported;
        return {};
    }
    giveUp(request, kind);
    return {};
}

void PortalDialog::giveUp(PortalRequest *request, DialogKind kind)
{
    // Qt's dialog shows instead, and the portal's never does, or goes at
    // once; a pick in it meanwhile is handed on.
    portalFailed = true;
    request->withdraw();
    connect(request, &PortalRequest::responded, this,
        [this, request, kind](uint response, const QVariantMap &results) {
            request->deleteLater();
            const Answer late = fromResponse(response, results, kind, request->elapsed());
            if (late.outcome == Chosen)
                emit pickedLate(kind, late.path);
        });
    connect(request, &PortalRequest::failed, request, &QObject::deleteLater);
}
