// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class QDBusMessage;
class QDBusPendingCallWatcher;

// One request to the file chooser portal, from the call to its answer: the
// portal's unique bus name looked up, the method call made to that name, the
// Request object the portal makes for it, and that object's Response, which
// may come long after the call's reply. Only the portal answers: the request
// path ends in a token no other program can guess, and a Response is taken
// only from the connection that owns the portal's name, so that another
// program on the bus can neither pick a file for the window nor end its wait.
// The reply is awaited as long as the portal takes: a portal whose backend
// hangs replies after it has given up on the backend, and the request it
// names then must still be closed. A request dropped before its answer is
// closed at the portal, so that no dialog of it is left behind.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    // Calls method of the file chooser on bus with the parent window, the
    // title and options, to which a handle_token of its own is added.
    PortalRequest(const QDBusConnection &bus, const QString &method, const QString &parentWindow,
        const QString &title, QVariantMap options, QObject *parent);
    ~PortalRequest() override;

    // Whether the portal replied with its Request object: it may show a dialog.
    bool isTaken() const { return m_taken; }
    // Whether it failed because the portal is older than options ask for: a
    // folder chooser ("directory") needs its version 3.
    bool isUnsupported() const { return m_unsupported; }
    // Milliseconds since the method call went out; -1 before.
    qint64 elapsed() const { return m_sent.isValid() ? m_sent.elapsed() : -1; }

    // Closes the request (Request.Close), so that its dialog goes or never
    // shows: now, and once more when the portal replies, if it has not yet;
    // after the reply, again until the portal says it is closed.
    void withdraw();

    // The Request object the portal makes for token, by the portal's rule:
    // the caller's unique bus name without ':' and with '_' for '.'.
    static QString requestPath(const QString &uniqueName, const QString &token);
    // A handle_token of 128 random bits, as a path element.
    static QString randomToken();

signals:
    // The portal replied: it took the request.
    void taken();
    // The portal is not on the bus, or the call failed (not for want of a
    // reply): no dialog comes.
    void failed();
    void responded(uint response, const QVariantMap &results);

private slots:
    void response(uint response, const QVariantMap &results, const QDBusMessage &message);

private:
    void call(const QString &method, const QVariantList &arguments);
    // Calls once the portal has said that its version is at least `version`.
    void callFrom(uint version, const QString &method, const QVariantList &arguments);
    void fail();
    void replied();
    void listen(bool on);
    void close();

    QDBusConnection m_bus;
    QString m_portal; // the portal's unique name, once looked up
    QString m_handle;
    QDBusPendingCallWatcher *m_call = nullptr;
    QElapsedTimer m_sent;
    bool m_listening = false;
    bool m_taken = false;
    bool m_withdrawn = false;
    bool m_answered = false;
    bool m_failed = false;
    bool m_unsupported = false;
    int m_closeTries = 0;
};
