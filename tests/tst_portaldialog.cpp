// SPDX-License-Identifier: MIT
#include "widgets/portaldialog.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <csignal>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// A file chooser portal that answers as it is told, on a bus of the test's own.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")

public:
    enum Behaviour { Respond, Silent, Fail, Vanish };
    Behaviour behaviour = Respond;
    uint response = 0;
    QVariantMap results;
    QString method;
    QVariantMap options;
    QDBusConnection bus { QString() };

public slots:
    QDBusObjectPath OpenFile(
        const QString &, const QString &, const QVariantMap &options, const QDBusMessage &message)
    {
        return take(QStringLiteral("OpenFile"), options, message);
    }
    QDBusObjectPath SaveFile(
        const QString &, const QString &, const QVariantMap &options, const QDBusMessage &message)
    {
        return take(QStringLiteral("SaveFile"), options, message);
    }

private:
    QDBusObjectPath take(
        const QString &called, const QVariantMap &given, const QDBusMessage &message)
    {
        method = called;
        options = given;
        const QString handle = PortalDialog::requestPath(
            message.service(), given.value(QStringLiteral("handle_token")).toString());
        switch (behaviour) {
        case Silent:
            message.setDelayedReply(true);
            break;
        case Fail:
            bus.send(message.createErrorReply(QDBusError::Failed, QStringLiteral("broken")));
            message.setDelayedReply(true);
            break;
        case Vanish:
            message.setDelayedReply(true);
            QTimer::singleShot(50, this, [this] {
                bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
            });
            break;
        case Respond:
            QTimer::singleShot(20, this, [this, handle] {
                QDBusMessage signal = QDBusMessage::createSignal(handle,
                    QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
                signal << response << results;
                bus.send(signal);
            });
            break;
        }
        return QDBusObjectPath(handle);
    }
};

// A dbus-daemon of the test's own, started before the application, which
// may reach for the session bus as it starts, and ended by its pid. It has no
// service directory: nothing of the machine's is started on it.
class PrivateBus
{
public:
    PrivateBus()
    {
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (!m_dir.isValid() || !config.open(QIODevice::WriteOnly))
            return;
        config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                    "<auth>EXTERNAL</auth><policy context=\"default\">"
                                    "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                    "<allow own=\"*\"/></policy>"
                                    "</busconfig>")
                         .arg(m_dir.path())
                         .toUtf8());
        config.close();
        const QByteArray option = "--config-file=" + QFile::encodeName(config.fileName());
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], 1);
            ::execlp("dbus-daemon", "dbus-daemon", option.constData(), "--nofork", "--nopidfile",
                "--print-address=1", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        // The address is one line; 20 s for a busy machine.
        char c;
        pollfd ready { out[0], POLLIN, 0 };
        while (
            m_pid > 0 && ::poll(&ready, 1, 20000) == 1 && ::read(out[0], &c, 1) == 1 && c != '\n')
            address += c;
        ::close(out[0]);
        if (!address.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }
    ~PrivateBus()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    QByteArray address;

private:
    QTemporaryDir m_dir;
    pid_t m_pid = -1;
};

class tst_PortalDialog : public QObject
{
    Q_OBJECT

public:
    explicit tst_PortalDialog(const QByteArray &address)
        : m_address(QString::fromUtf8(address))
    { }

private slots:
    void initTestCase();
    void answers_data();
    void answers();

private:
    QTemporaryDir m_dir;
    QString m_address;
};

void tst_PortalDialog::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (m_address.isEmpty())
        QSKIP("dbus-daemon could not be started");
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "a connection to the test's own bus");
}

void tst_PortalDialog::answers_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<uint>("response");
    QTest::addColumn<QStringList>("uris"); // "@" is the test's folder
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("path");

    const int respond = FakePortal::Respond;
    const QStringList picked { QStringLiteral("@/picked%20one.txt") };
    QTest::newRow("open, picked") << false << true << respond << 0u << picked
                                  << int(PortalDialog::Chosen) << "@/picked one.txt";
    QTest::newRow("save, a new file")
        << true << true << respond << 0u << QStringList { QStringLiteral("@/new.txt") }
        << int(PortalDialog::Chosen) << "@/new.txt";
    QTest::newRow("cancelled") << false << true << respond << 1u << picked
                               << int(PortalDialog::Cancelled) << "";
    QTest::newRow("ended otherwise")
        << true << true << respond << 2u << picked << int(PortalDialog::Cancelled) << "";
    QTest::newRow("no uri") << false << true << respond << 0u << QStringList()
                            << int(PortalDialog::Cancelled) << "";
    QTest::newRow("two uris") << false << true << respond << 0u << (picked + picked)
                              << int(PortalDialog::Cancelled) << "";
    QTest::newRow("not a file: uri")
        << false << true << respond << 0u << QStringList { QStringLiteral("sftp://host/a.txt") }
        << int(PortalDialog::Cancelled) << "";
    QTest::newRow("another computer's file")
        << true << true << respond << 0u << QStringList { QStringLiteral("file://host/a.txt") }
        << int(PortalDialog::Cancelled) << "";
    QTest::newRow("not UTF-8") << true << true << respond << 0u
                               << QStringList { QStringLiteral("@/caf%E9.txt") }
                               << int(PortalDialog::Cancelled) << "";
    QTest::newRow("open, vanished")
        << false << true << respond << 0u << QStringList { QStringLiteral("@/gone.txt") }
        << int(PortalDialog::Cancelled) << "";
    QTest::newRow("no answer") << false << true << int(FakePortal::Silent) << 0u << picked
                               << int(PortalDialog::Unavailable) << "";
    QTest::newRow("error") << true << true << int(FakePortal::Fail) << 0u << picked
                           << int(PortalDialog::Unavailable) << "";
    QTest::newRow("leaves the bus") << false << true << int(FakePortal::Vanish) << 0u << picked
                                    << int(PortalDialog::Unavailable) << "";
    QTest::newRow("no portal") << true << false << respond << 0u << picked
                               << int(PortalDialog::Unavailable) << "";
}

void tst_PortalDialog::answers()
{
    QFETCH(bool, save);
    QFETCH(bool, present);
    QFETCH(int, behaviour);
    QFETCH(uint, response);
    QFETCH(QStringList, uris);
    QFETCH(int, outcome);
    QFETCH(QString, path);

    QFile picked(m_dir.filePath(QStringLiteral("picked one.txt")));
    QVERIFY(picked.open(QIODevice::WriteOnly));
    picked.close();
    const QString folder = QUrl::fromLocalFile(m_dir.path()).toString(QUrl::FullyEncoded);
    for (QString &uri : uris)
        uri.replace(u'@', folder);
    path.replace(u'@', m_dir.path());

    // A connection of its own, as another process would have.
    FakePortal portal;
    portal.bus
        = QDBusConnection::connectToBus(m_address, QString::fromLatin1(QTest::currentDataTag()));
    // Off the bus whatever the outcome, so that the next row can take the name.
    const auto leave = qScopeGuard([&] {
        portal.bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        QDBusConnection::disconnectFromBus(portal.bus.name());
    });
    portal.behaviour = FakePortal::Behaviour(behaviour);
    portal.response = response;
    if (!uris.isEmpty())
        portal.results.insert(QStringLiteral("uris"), uris);
    if (present) {
        QVERIFY(portal.bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"),
            &portal, QDBusConnection::ExportAllSlots));
        QVERIFY(portal.bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }

    QWidget window;
    window.show();
    PortalDialog dialog(&window);
    dialog.setReplyTimeout(1000);
    const PortalDialog::Answer answer
        = save ? dialog.saveFile({ QStringLiteral("Text File (*.txt)") }) : dialog.openFile();
    QCOMPARE(int(answer.outcome), outcome);
    QCOMPARE(answer.path, path);

    if (present) {
        QCOMPARE(portal.method, save ? "SaveFile" : "OpenFile");
        QCOMPARE(portal.options.value(QStringLiteral("modal")).toBool(), true);
        // Save offers the one filter; Open any file.
        const QVariant filters = portal.options.value(QStringLiteral("filters"));
        QCOMPARE(filters.isValid(), save);
        if (save)
            QCOMPARE(qvariant_cast<QDBusArgument>(filters).currentSignature(), "a(sa(us))");
    }
}

int main(int argc, char *argv[])
{
    const PrivateBus bus;
    QApplication app(argc, argv);
    tst_PortalDialog test(bus.address);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_portaldialog.moc"
