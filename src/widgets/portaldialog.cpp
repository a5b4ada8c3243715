// SPDX-License-Identifier: MIT
#include "widgets/portaldialog.h"

#include "widgets/inputblocker.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>
#include <QWidget>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString chooser = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString request = QStringLiteral("org.freedesktop.portal.Request");

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

} // namespace

bool PortalDialog::shouldTry()
{
    const QByteArray way = qgetenv("QUILLMERE_FILE_DIALOG");
    if (way == "qt")
        return false;
    if (way == "portal")
        return true;
    // Without a real display there is no desktop for the portal to show a dialog on.
    const QString platform = QGuiApplication::platformName();
    return !portalFailed && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal");
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

PortalDialog::Answer PortalDialog::openFile()
{
    return ask(
        QStringLiteral("OpenFile"), tr("Open"), { { QStringLiteral("multiple"), false } }, true);
}

PortalDialog::Answer PortalDialog::saveFile(const QStringList &nameFilters)
{
    QVariantMap options;
    const Filters filters = portalFilters(nameFilters);
    if (!filters.isEmpty()) {
        options.insert(QStringLiteral("filters"), QVariant::fromValue(filters));
        options.insert(QStringLiteral("current_filter"), QVariant::fromValue(filters.constFirst()));
    }
    return ask(QStringLiteral("SaveFile"), tr("Save As"), options, false);
}

QString PortalDialog::requestPath(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    sender.remove(0, sender.startsWith(u':') ? 1 : 0).replace(u'.', u'_');
    return objectPath + QStringLiteral("/request/") + sender + u'/' + token;
}

PortalDialog::Answer PortalDialog::fromResponse(
    uint response, const QVariantMap &results, bool mustExist)
{
    const Answer cancelled { Cancelled, {} };
    if (response != 0)
        return cancelled;
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
    if (mustExist && !QFileInfo(path).isFile())
        return cancelled;
    return { Chosen, path };
}

QString PortalDialog::parentWindow() const
{
    // An X11 window by its id; elsewhere (Wayland) the portal needs a handle
    // exported through the compositor, and the dialog is then merely unparented.
    QWidget *window = m_parent ? m_parent->window() : nullptr;
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return QString();
    return QStringLiteral("x11:") + QString::number(window->winId(), 16);
}

void PortalDialog::listen(const QString &path, bool on)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (on)
        bus.connect(QString(), path, request, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap)));
    else
        bus.disconnect(QString(), path, request, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap)));
}

void PortalDialog::response(uint response, const QVariantMap &results)
{
    m_answer = fromResponse(response, results, m_mustExist);
    if (m_loop)
        m_loop->quit();
}

PortalDialog::Answer PortalDialog::ask(
    const QString &method, const QString &title, QVariantMap options, bool mustExist)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        portalFailed = true;
        return {};
    }
    static int requests = 0;
    const QString token = QStringLiteral("quillmere%1").arg(++requests);
    options.insert(QStringLiteral("handle_token"), token);
    options.insert(QStringLiteral("modal"), true);
    // Listening before asking: the answer may come before the call's reply.
    QString handle = requestPath(bus.baseService(), token);
    listen(handle, true);

    QDBusMessage call = QDBusMessage::createMethodCall(service, objectPath, chooser, method);
    call << parentWindow() << title << options;
    QDBusPendingCallWatcher taken(bus.asyncCall(call, m_replyTimeout));
    QDBusServiceWatcher vanished(service, bus, QDBusServiceWatcher::WatchForUnregistration);

    QEventLoop loop;
    m_loop = &loop;
    m_mustExist = mustExist;
    m_answer = {};
    // Whether the portal may have made the request, and may show its dialog.
    bool mayShow = false;
    connect(&taken, &QDBusPendingCallWatcher::finished, &loop, [&] {
        const QDBusPendingReply<QDBusObjectPath> reply = taken;
        if (reply.isError()) {
            mayShow = reply.error().type() == QDBusError::NoReply;
            loop.quit();
            return;
        }
        mayShow = true;
        // Portals before version 0.9 make a path of their own.
        const QString given = reply.value().path();
        if (given != handle) {
            listen(handle, false);
            handle = given;
            listen(handle, true);
        }
    });
    connect(&vanished, &QDBusServiceWatcher::serviceUnregistered, &loop, &QEventLoop::quit);
    {
        const InputBlocker blocker(m_parent ? m_parent->window() : nullptr);
        loop.exec();
    }
    m_loop = nullptr;
    listen(handle, false);
    if (m_answer.outcome == Unavailable) {
        portalFailed = true;
        // A portal that answers late must not show its dialog over Qt's.
        if (mayShow)
            bus.send(
                QDBusMessage::createMethodCall(service, handle, request, QStringLiteral("Close")));
    }
    return m_answer;
}
