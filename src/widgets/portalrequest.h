// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class QDBusPendingCallWatcher;

// One request to the file chooser portal, from the call to its answer: the
// method call, the Request object the portal makes for it, and that
// object's Response, which may come long after the call's reply. The reply
// is awaited as long as the portal takes: a portal whose backend hangs
// replies after it has given up on the backend, and the request it names
// then must still be closed.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    // Calls method of the file chooser on bus with arguments, whose last is
    // the options with handle_token set to token.
    PortalRequest(const QDBusConnection &bus, const QString &method, const QVariantList &arguments,
        const QString &token, QObject *parent);
    ~PortalRequest() override;

    // Whether the portal replied with its Request object: it may show a dialog.
    bool isTaken() const { return m_taken; }

    // Closes the request (Request.Close), so that its dialog goes or never
    // shows: now, and once more when the portal replies, if it has not yet;
    // after the reply, again until the portal says it is closed.
    void withdraw();

    // The Request object the portal makes for token, by the portal's rule:
    // the caller's unique bus name without ':' and with '_' for '.'.
    static QString requestPath(const QString &uniqueName, const QString &token);

signals:
    // The portal replied: it took the request.
    void taken();
    // The call failed (not for want of a reply): no dialog comes.
    void failed();
    void responded(uint response, const QVariantMap &results);

private slots:
    void response(uint response, const QVariantMap &results);

private:
    void replied();
    void listen(bool on);
    void close();

    QDBusConnection m_bus;
    QString m_handle;
    QDBusPendingCallWatcher *m_call;
    bool m_taken = false;
    bool m_withdrawn = false;
    bool m_answered = false;
    int m_closeTries = 0;
};
