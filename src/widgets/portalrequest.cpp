// SPDX-License-Identifier: MIT
#include "widgets/portalrequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

#include <climits>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString chooser = QStringLiteral("org.freedesktop.portal.FileChooser");
const QString request = QStringLiteral("org.freedesktop.portal.Request");

} // namespace

PortalRequest::PortalRequest(const QDBusConnection &bus, const QString &method,
    const QVariantList &arguments, const QString &token, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
    , m_handle(requestPath(bus.baseService(), token))
{
    // Listening before asking: the answer may come before the call's reply.
    listen(true);
    QDBusMessage call = QDBusMessage::createMethodCall(service, objectPath, chooser, method);
    call.setArguments(arguments);
    // No time limit of its own (INT_MAX is libdbus's "none"): the caller
    // decides how long to wait, and a late reply still names what to close.
    m_call = new QDBusPendingCallWatcher(m_bus.asyncCall(call, INT_MAX), this);
    connect(m_call, &QDBusPendingCallWatcher::finished, this, &PortalRequest::replied);
}

PortalRequest::~PortalRequest()
{
    listen(false);
}

QString PortalRequest::requestPath(const QString &uniqueName, const QString &token)
{
    QString sender = uniqueName;
    sender.remove(0, sender.startsWith(u':') ? 1 : 0).replace(u'.', u'_');
    return objectPath + QStringLiteral("/request/") + sender + u'/' + token;
}

void PortalRequest::listen(bool on)
{
    if (on)
        m_bus.connect(QString(), m_handle, request, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap)));
    else
        m_bus.disconnect(QString(), m_handle, request, QStringLiteral("Response"), this,
            SLOT(response(uint, QVariantMap)));
}

void PortalRequest::replied()
{
    const QDBusPendingReply<QDBusObjectPath> reply = *m_call;
    if (reply.isError()) {
        emit failed();
        return;
    }
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
    close();
}

void PortalRequest::close()
{
    auto *call = new QDBusPendingCallWatcher(m_bus.asyncCall(QDBusMessage::createMethodCall(service,
                                                 m_handle, request, QStringLiteral("Close"))),
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

void PortalRequest::response(uint response, const QVariantMap &results)
{
    m_answered = true;
    emit responded(response, results);
}
