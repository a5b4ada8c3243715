// SPDX-License-Identifier: MIT
#include "widgets/portalrequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QRandomGenerator>
#include <QTimer>

#include <climits>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString chooser = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString request = QStringLiteral("org.freedesktop.portal.Request");

} // namespace

PortalRequest::PortalRequest(const QDBusConnection &bus, const QString &method,
    const QString &parentWindow, const QString &title, QVariantMap options, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    const QString token = randomToken();
    m_handle = requestPath(m_bus.baseService(), token);
    options.insert(QStringLiteral("handle_token"), token);
    // The name's owner first: the Response is then taken from that connection
    // alone, and the call goes to it, so that both are the same portal's.
    auto *owner = new QDBusPendingCallWatcher(
        m_bus.asyncCall(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                            QStringLiteral("/org/freedesktop/DBus"),
                            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"))
            << service),
        this);
    connect(owner, &QDBusPendingCallWatcher::finished, this,
        [this, owner, method, arguments = QVariantList { parentWindow, title, options }] {
            owner->deleteLater();
            const QDBusPendingReply<QString> reply = *owner;
            if (reply.isError() || reply.value().isEmpty())
                return fail();
            m_portal = reply.value();
            if (m_withdrawn)
                return;
            if (arguments.constLast().toMap().value(QStringLiteral("directory")).toBool())
                callFrom(3, method, arguments);
            else
                call(method, arguments);
        });
}

PortalRequest::~PortalRequest()
{
    listen(false);
    // Dropped before its answer: its dialog must not stay, or show later.
    if (m_call && !m_answered && !m_withdrawn && !m_failed)
        m_bus.send(
            QDBusMessage::createMethodCall(m_portal, m_handle, request, QStringLiteral("Close")));
}

QString PortalRequest::requestPath(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    sender.remove(0, sender.startsWith(u':') ? 1 : 0).replace(u'.', u'_');
    return objectPath + QStringLiteral("/request/") + sender + u'/' + token;
}

QString PortalRequest::randomToken()
{
    quint64 bits[2];
    QRandomGenerator::system()->fillRange(bits);
    return QStringLiteral("quillmere_%1%2")
        .arg(bits[0], 16, 16, QLatin1Char('0'))
        .arg(bits[1], 16, 16, QLatin1Char('0'));
}

void PortalRequest::fail()
{
    m_failed = true;
    emit failed();
}

void PortalRequest::callFrom(uint version, const QString &method, const QVariantList &arguments)
{
    // An older portal would show a file chooser, ignoring what it does not know.
    QDBusMessage get = QDBusMessage::createMethodCall(m_portal, objectPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << chooser << QStringLiteral("version");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, watcher, version, method, arguments] {
            watcher->deleteLater();
            const QDBusPendingReply<QDBusVariant> reply = *watcher;
            if (reply.isError() || reply.value().variant().toUInt() < version) {
                m_unsupported = !reply.isError();
                return fail();
            }
            if (!m_withdrawn)
                call(method, arguments);
        });
}

void PortalRequest::call(const QString &method, const QVariantList &arguments)
{
    // Listening before asking: the answer may come before the call's reply.
    listen(true);
    QDBusMessage message = QDBusMessage::createMethodCall(m_portal, objectPath, chooser, method);
    message.setArguments(arguments);
    // No time limit of its own (INT_MAX is libdbus's "none"): the caller
    // decides how long to wait, and a late reply still names what to close.
    m_call = new QDBusPendingCallWatcher(m_bus.asyncCall(message, INT_MAX), this);
    m_sent.start();
    connect(m_call, &QDBusPendingCallWatcher::finished, this, &PortalRequest::replied);
}

void PortalRequest::listen(bool on)
{
    if (on == m_listening)
        return;
    m_listening = on;
    // Naming the sender makes the bus route the portal's signals alone here,
    // and Qt drop any other sender's, sent to this connection directly.
    if (on)
        m_bus.connect(m_portal, m_handle, request, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap, QDBusMessage)));
    else
        m_bus.disconnect(m_portal, m_handle, request, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap, QDBusMessage)));
}

void PortalRequest::replied()
{
    const QDBusPendingReply<QDBusObjectPath> reply = *m_call;
    if (reply.isError())
        return fail();
    // Portals before version 0.9 make a path of their own.
    const QString given = reply.value().path();
    if (given != m_handle) {
        listen(false);
        m_handle = given;
        listen(true);
    }
    m_taken = true;
    if (m_withdrawn)
        close();
    emit taken();
}

void PortalRequest::withdraw()
{
    m_withdrawn = true;
    if (m_call)
        close();
}

void PortalRequest::close()
{
    auto *call = new QDBusPendingCallWatcher(
        m_bus.asyncCall(
            QDBusMessage::createMethodCall(m_portal, m_handle, request, QStringLiteral("Close"))),
        this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call] {
        call->deleteLater();
        // A backend that was held up may get the Close before it has made the
        // request's own object, and then shows the dialog: it is asked again,
        // each second for half a minute, until the request is closed.
        if (call->isError() && m_taken && !m_answered && m_closeTries < 30) {
            ++m_closeTries;
            QTimer::singleShot(1000, this, &PortalRequest::close);
        }
    });
}

void PortalRequest::response(uint response, const QVariantMap &results, const QDBusMessage &message)
{
    // Whatever reaches this connection directly, from whomever, is not the portal's word.
    if (message.service() != m_portal || message.path() != m_handle || m_answered)
        return;
    m_answered = true;
    emit responded(response, results);
}
