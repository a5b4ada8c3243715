// SPDX-License-Identifier: MIT
#include "widgets/commondialog.h"
#include "widgets/portaldialog.h"
#include "widgets/portalrequest.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPointer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <csignal>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// The Request object a fake portal makes: notes whether it was closed. The
// first `refused` Close calls fail, as when the portal's backend, held up,
// has not made its own object for the request yet.
class FakeRequest : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    bool closed = false;
    int refused = 0;
    QDBusConnection *bus = nullptr;

public slots:
    void Close(const QDBusMessage &message)
    {
        if (refused > 0) {
            --refused;
            message.setDelayedReply(true);
            bus->send(
                message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("not yet")));
            return;
        }
        closed = true;
    }
};

// A file chooser portal that answers as it is told, on a bus of the test's
// own. Late: it replies after LateReply ms, as a portal whose backend hangs
// does, and answers at once after that. LateHeldUp: it replies as late and
// never answers, and the first Close of the request fails, as when the
// backend, held up, has not made its own object for it yet.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")
    Q_PROPERTY(uint version MEMBER version)

public:
    // Old: a portal before version 3, which has no folder chooser.
    enum Behaviour { Respond, Silent, Fail, Vanish, Late, LateHeldUp, Old };
    static constexpr int LateReply = 1500;
    Behaviour behaviour = Respond;
    uint version = 3;
    // How long its user takes to answer, in ms.
    int answerAfter = 20;
    // Another program on the bus, which knows the request's path, answers
    // first: pick names that file, on the bus and to the window directly.
    QString forged;
    QString address;
    uint response = 0;
    QVariantMap results;
    QString method;
    QString parentWindow;
    QVariantMap options;
    int calls = 0;
    QString handle;
    FakeRequest request;
    QDBusConnection bus { QString() };

public slots:
    QDBusObjectPath OpenFile(const QString &parent, const QString &, const QVariantMap &options,
        const QDBusMessage &message)
    {
        parentWindow = parent;
        return take(QStringLiteral("OpenFile"), options, message);
    }
    QDBusObjectPath SaveFile(const QString &parent, const QString &, const QVariantMap &options,
        const QDBusMessage &message)
    {
        parentWindow = parent;
        return take(QStringLiteral("SaveFile"), options, message);
    }

private:
    void makeRequest()
    {
        bus.unregisterObject(handle);
        request.closed = false;
        request.bus = &bus;
        bus.registerObject(handle, &request, QDBusConnection::ExportAllSlots);
    }
    void respond()
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            handle, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        signal << response << results;
        bus.send(signal);
    }
    void forge(const QString &window)
    {
        QDBusConnection forger = QDBusConnection::connectToBus(address, QStringLiteral("forger"));
        const QVariantMap picked { { QStringLiteral("uris"),
            QStringList { QUrl::fromLocalFile(forged).toString() } } };
        QDBusMessage broadcast = QDBusMessage::createSignal(
            handle, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        QDBusMessage direct = QDBusMessage::createTargetedSignal(window, handle,
            QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        for (QDBusMessage *signal : { &broadcast, &direct }) {
            *signal << 0u << picked;
            forger.send(*signal);
        }
        QDBusConnection::disconnectFromBus(forger.name());
    }
    QDBusObjectPath take(
        const QString &called, const QVariantMap &given, const QDBusMessage &message)
    {
        method = called;
        options = given;
        ++calls;
        handle = PortalRequest::requestPath(
            message.service(), given.value(QStringLiteral("handle_token")).toString());
        switch (behaviour) {
        case Silent:
            makeRequest();
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
        case Late:
            message.setDelayedReply(true);
            QTimer::singleShot(LateReply, this, [this, message] {
                makeRequest();
                bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(handle))));
                QTimer::singleShot(20, this, [this] { respond(); });
            });
            break;
        case LateHeldUp:
            message.setDelayedReply(true);
            QTimer::singleShot(LateReply, this, [this, message] {
                makeRequest();
                request.refused = 1;
                bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(handle))));
            });
            break;
        case Old:
        case Respond:
            makeRequest();
            if (!forged.isEmpty())
                forge(message.service());
            QTimer::singleShot(answerAfter, this, [this] { respond(); });
            break;
        }
        return QDBusObjectPath(handle);
    }
};

// Hears the portal's Response on the window's bus, as PortalRequest does.
class ResponseHeard : public QObject
{
    Q_OBJECT

public:
    int count = 0;

public slots:
    void response(uint, const QVariantMap &) { ++count; }
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

// A fake portal on the test's bus for one row, off the bus again at the end;
// "@" in uris is folder, which holds "picked one.txt".
class PortalScene
{
public:
    PortalScene(const QTemporaryDir &folder, const QString &address,
        FakePortal::Behaviour behaviour, uint response, QStringList uris, bool present)
    {
        QFile picked(folder.filePath(QStringLiteral("picked one.txt")));
        if (picked.open(QIODevice::WriteOnly))
            picked.close();
        const QString url = QUrl::fromLocalFile(folder.path()).toString(QUrl::FullyEncoded);
        for (QString &uri : uris)
            uri.replace(u'@', url);
        // A connection of its own, as another process would have.
        portal.bus = QDBusConnection::connectToBus(
            address, QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral("-portal"));
        portal.behaviour = behaviour;
        portal.version = behaviour == FakePortal::Old ? 2 : 3;
        portal.response = response;
        portal.address = address;
        if (!uris.isEmpty())
            portal.results.insert(QStringLiteral("uris"), uris);
        if (present) {
            portal.bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
            portal.bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
        }
    }
    ~PortalScene()
    {
        QDBusConnection::sessionBus().disconnect(QString(), m_heardAt,
            QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), &m_heard,
            SLOT(response(uint, QVariantMap)));
        // Off the bus whatever the outcome, so that the next row can take the name.
        portal.bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        QDBusConnection::disconnectFromBus(portal.bus.name());
    }
    PortalScene(const PortalScene &) = delete;
    PortalScene &operator=(const PortalScene &) = delete;

    // Whether the request's Response has come to this process too; it is
    // listened for from the first call, once the request was made.
    bool heard()
    {
        if (m_heardAt.isEmpty()) {
            m_heardAt = portal.handle;
            QDBusConnection::sessionBus().connect(QString(), m_heardAt,
                QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                &m_heard, SLOT(response(uint, QVariantMap)));
        }
        return m_heard.count > 0;
    }
    bool awaitResponse()
    {
        return QTest::qWaitFor([this] { return heard(); }, 20000)
            || (qWarning("no Response from the late portal within 20 s"), false);
    }

    FakePortal portal;

private:
    ResponseHeard m_heard;
    QString m_heardAt;
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
    void qtDialogInstead_data();
    void qtDialogInstead();

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
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<uint>("response");
    QTest::addColumn<int>("after"); // ms the user takes to answer
    QTest::addColumn<QStringList>("uris"); // "@" is the test's folder
    QTest::addColumn<bool>("forged"); // another program answers first
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("path");
    // The request closed at the portal, so that its dialog never shows over Qt's.
    QTest::addColumn<bool>("closed");
    // A file picked after the request was given up, handed on.
    QTest::addColumn<QString>("late");

    const int respond = FakePortal::Respond, late = FakePortal::Late;
    const int open = int(DialogKind::OpenFile), save = int(DialogKind::SaveFile),
              folder = int(DialogKind::Folder);
    const int chosen = PortalDialog::Chosen, cancelled = PortalDialog::Cancelled,
              unavailable = PortalDialog::Unavailable;
    // Sooner than a dialog can be seen, or once it could have been.
    const int atOnce = 20, seen = 4 * PortalDialog::FailureLimit;
    const QStringList picked { QStringLiteral("@/picked%20one.txt") };
    const QStringList itself { QStringLiteral("@") };
    QTest::newRow("open, picked") << open << true << respond << 0u << atOnce << picked << false
                                  << chosen << "@/picked one.txt" << false << "";
    QTest::newRow("save, a new file")
        << save << true << respond << 0u << atOnce << QStringList { QStringLiteral("@/new.txt") }
        << false << chosen << "@/new.txt" << false << "";
    QTest::newRow("folder, chosen") << folder << true << respond << 0u << atOnce << itself << false
                                    << chosen << "@" << false << "";
    QTest::newRow("folder, old portal") << folder << true << int(FakePortal::Old) << 0u << atOnce
                                        << itself << false << unavailable << "" << false << "";
    QTest::newRow("folder, a file") << folder << true << respond << 0u << atOnce << picked << false
                                    << cancelled << "" << false << "";
    QTest::newRow("open, a folder") << open << true << respond << 0u << atOnce << itself << false
                                    << cancelled << "" << false << "";
    QTest::newRow("open, forged first") << open << true << respond << 0u << seen << picked << true
                                        << chosen << "@/picked one.txt" << false << "";
    QTest::newRow("save, forged first")
        << save << true << respond << 0u << seen << QStringList { QStringLiteral("@/new.txt") }
        << true << chosen << "@/new.txt" << false << "";
    QTest::newRow("forged, then cancelled") << save << true << respond << 1u << seen << picked
                                            << true << cancelled << "" << false << "";
    QTest::newRow("cancelled") << open << true << respond << 1u << atOnce << picked << false
                               << cancelled << "" << false << "";
    QTest::newRow("closed by Esc") << save << true << respond << 2u << seen << picked << false
                                   << cancelled << "" << false << "";
    QTest::newRow("ended at once") << save << true << respond << 2u << atOnce << picked << false
                                   << unavailable << "" << false << "";
    QTest::newRow("ended by an unknown response")
        << open << true << respond << 7u << atOnce << picked << false << unavailable << "" << false
        << "";
    QTest::newRow("no uri") << open << true << respond << 0u << atOnce << QStringList() << false
                            << cancelled << "" << false << "";
    QTest::newRow("two uris") << open << true << respond << 0u << atOnce << (picked + picked)
                              << false << cancelled << "" << false << "";
    QTest::newRow("not a file: uri") << open << true << respond << 0u << atOnce
                                     << QStringList { QStringLiteral("sftp://host/a.txt") } << false
                                     << cancelled << "" << false << "";
    QTest::newRow("another computer's file") << save << true << respond << 0u << atOnce
                                             << QStringList { QStringLiteral("file://host/a.txt") }
                                             << false << cancelled << "" << false << "";
    QTest::newRow("not UTF-8") << save << true << respond << 0u << atOnce
                               << QStringList { QStringLiteral("@/caf%E9.txt") } << false
                               << cancelled << "" << false << "";
    QTest::newRow("open, vanished")
        << open << true << respond << 0u << atOnce << QStringList { QStringLiteral("@/gone.txt") }
        << false << cancelled << "" << false << "";
    QTest::newRow("no answer") << open << true << int(FakePortal::Silent) << 0u << atOnce << picked
                               << false << unavailable << "" << true << "";
    QTest::newRow("error") << save << true << int(FakePortal::Fail) << 0u << atOnce << picked
                           << false << unavailable << "" << false << "";
    QTest::newRow("leaves the bus") << open << true << int(FakePortal::Vanish) << 0u << atOnce
                                    << picked << false << unavailable << "" << false << "";
    QTest::newRow("no portal") << save << false << respond << 0u << atOnce << picked << false
                               << unavailable << "" << false << "";
    QTest::newRow("late, picked") << open << true << late << 0u << atOnce << picked << false
                                  << unavailable << "" << true << "@/picked one.txt";
    QTest::newRow("late, saved") << save << true << late << 0u << atOnce
                                 << QStringList { QStringLiteral("@/new.txt") } << false
                                 << unavailable << "" << true << "@/new.txt";
    QTest::newRow("late, cancelled") << open << true << late << 1u << atOnce << picked << false
                                     << unavailable << "" << true << "";
    QTest::newRow("late, closed once the backend can")
        << save << true << int(FakePortal::LateHeldUp) << 0u << atOnce << picked << false
        << unavailable << "" << true << "";
}

void tst_PortalDialog::answers()
{
    QFETCH(int, kind);
    QFETCH(bool, present);
    QFETCH(int, behaviour);
    QFETCH(uint, response);
    QFETCH(int, after);
    QFETCH(QStringList, uris);
    QFETCH(bool, forged);
    QFETCH(int, outcome);
    QFETCH(QString, path);
    QFETCH(bool, closed);
    QFETCH(QString, late);

    PortalScene scene(m_dir, m_address, FakePortal::Behaviour(behaviour), response, uris, present);
    path.replace(u'@', m_dir.path());
    late.replace(u'@', m_dir.path());
    FakePortal &portal = scene.portal;
    portal.answerAfter = after;
    // A file that the forger would have the list written over.
    const QString forgedFile = m_dir.filePath(QStringLiteral("forged.txt"));
    if (forged)
        portal.forged = forgedFile;

    QWidget window;
    window.show();
    PortalDialog dialog(&window);
    QSignalSpy pickedLate(&dialog, &PortalDialog::pickedLate);
    dialog.setReplyTimeout(1000);
    const bool saving = kind == int(DialogKind::SaveFile);
    const PortalDialog::Answer answer = saving
        ? dialog.saveFile(m_dir.path(), { QStringLiteral("Text File (*.txt)") })
        : kind == int(DialogKind::Folder) ? dialog.chooseFolder(m_dir.path())
                                          : dialog.openFile(m_dir.path());
    QCOMPARE(int(answer.outcome), outcome);
    QCOMPARE(answer.path, path);
    QVERIFY(!QFile::exists(forgedFile));

    // An old portal is not asked for a folder, which it would take for a file.
    if (behaviour == FakePortal::Old)
        QCOMPARE(portal.calls, 0);
    else if (present) {
        QCOMPARE(portal.method, saving ? "SaveFile" : "OpenFile");
        QCOMPARE(portal.options.value(QStringLiteral("modal")).toBool(), true);
        QCOMPARE(portal.options.value(QStringLiteral("directory")).toBool(),
            kind == int(DialogKind::Folder));
        // Unguessable, and not the same twice.
        const QString token = portal.options.value(QStringLiteral("handle_token")).toString();
        QVERIFY2(
            QRegularExpression(QStringLiteral("^quillmere_[0-9a-f]{32}$")).match(token).hasMatch(),
            qPrintable(token));
        QVERIFY(token != PortalRequest::randomToken());
        // The window named as the platform names it, so that the desktop keeps
        // the dialog over it: by its id on X11, by the handle the compositor
        // exported on Wayland (tst_portaldialog_wayland runs under sway, which
        // exports), not at all offscreen.
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("xcb"))
            QCOMPARE(portal.parentWindow, "x11:" + QString::number(window.winId(), 16));
        else if (platform == QLatin1String("wayland"))
            QVERIFY2(portal.parentWindow.startsWith(QLatin1String("wayland:"))
                    && portal.parentWindow.size() > 8,
                qPrintable(portal.parentWindow));
        else
            QCOMPARE(portal.parentWindow, QString());
        // The dialog starts where Qt's would; no name is suggested.
        QCOMPARE(portal.options.value(QStringLiteral("current_folder")).toByteArray(),
            QFile::encodeName(m_dir.path()) + '\0');
        QVERIFY(!portal.options.contains(QStringLiteral("current_name")));
        // Save offers the one filter; Open any file.
        const QVariant filters = portal.options.value(QStringLiteral("filters"));
        QCOMPARE(filters.isValid(), saving);
        if (saving)
            QCOMPARE(qvariant_cast<QDBusArgument>(filters).currentSignature(), "a(sa(us))");
    }
    // A late request is made, closed then, and answered all the same.
    if (behaviour == FakePortal::Late)
        QVERIFY(scene.awaitResponse());
    if (closed)
        QTRY_VERIFY2_WITH_TIMEOUT(portal.request.closed, "the request to be closed", 20000);
    QCoreApplication::processEvents();
    QCOMPARE(portal.request.closed, closed);
    QCOMPARE(pickedLate.size(), late.isEmpty() ? 0 : 1);
    if (!late.isEmpty())
        QCOMPARE(
            pickedLate.constFirst(), QVariantList({ QVariant::fromValue(DialogKind(kind)), late }));
}

void tst_PortalDialog::qtDialogInstead_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<uint>("response");
    QTest::addColumn<int>("after"); // ms the user takes to answer
    QTest::addColumn<bool>("keepQtDialogOpen"); // until the late answer has come
    QTest::addColumn<bool>("qtDialog"); // shown, and the portal not asked again
    QTest::addColumn<QString>("chosen"); // "@" is the test's folder
    QTest::addColumn<QString>("late");

    const int respond = FakePortal::Respond, late = FakePortal::Late;
    const int atOnce = 20, seen = 4 * PortalDialog::FailureLimit;
    QTest::newRow("picked") << respond << 0u << atOnce << false << false << "@/picked one.txt"
                            << "";
    QTest::newRow("cancelled") << respond << 1u << atOnce << false << false << ""
                               << "";
    QTest::newRow("closed by Esc") << respond << 2u << seen << false << false << ""
                                   << "";
    QTest::newRow("ended at once") << respond << 2u << atOnce << false << true << ""
                                   << "";
    QTest::newRow("error") << int(FakePortal::Fail) << 0u << atOnce << false << true << ""
                           << "";
    QTest::newRow("no answer") << int(FakePortal::Silent) << 0u << atOnce << false << true << ""
                               << "";
    QTest::newRow("leaves the bus")
        << int(FakePortal::Vanish) << 0u << atOnce << false << true << ""
        << "";
    QTest::newRow("late pick, no dialog open") << late << 0u << atOnce << false << true << ""
                                               << "@/picked one.txt";
    QTest::newRow("late pick, Qt's dialog still open") << late << 0u << atOnce << true << true << ""
                                                       << "";
}

void tst_PortalDialog::qtDialogInstead()
{
    QFETCH(int, behaviour);
    QFETCH(uint, response);
    QFETCH(int, after);
    QFETCH(bool, keepQtDialogOpen);
    QFETCH(bool, qtDialog);
    QFETCH(QString, chosen);
    QFETCH(QString, late);
    chosen.replace(u'@', m_dir.path());
    late.replace(u'@', m_dir.path());

    qputenv("QUILLMERE_FILE_DIALOG", "portal");
    const auto restore = qScopeGuard([] { qunsetenv("QUILLMERE_FILE_DIALOG"); });
    PortalDialog::forgetFailure();
    PortalScene scene(m_dir, m_address, FakePortal::Behaviour(behaviour), response,
        { QStringLiteral("@/picked%20one.txt") }, true);
    scene.portal.answerAfter = after;
    QWidget window;
    window.show();
    CommonDialog dialogs(&window);
    dialogs.setPortalReplyTimeout(1000);
    QSignalSpy pickedLate(&dialogs, &CommonDialog::pickedLate);

    // Qt's dialog, in this process, is counted and cancelled; or left open
    // until the portal's late answer has come.
    // The withdrawn request is deleted once this process has taken its
    // answer; the test's own hearing of the Response may come first.
    int qtDialogs = 0;
    QPointer<PortalRequest> withdrawn;
    QTimer cancel;
    connect(&cancel, &QTimer::timeout, &window, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->property("counted").toBool())
            return;
        if (keepQtDialogOpen) {
            if (!withdrawn && !dialog->property("request").toBool()) {
                withdrawn = window.findChild<PortalRequest *>();
                dialog->setProperty("request", true);
            }
            if (!scene.heard() || withdrawn)
                return;
        }
        dialog->setProperty("counted", true);
        ++qtDialogs;
        dialog->reject();
    });
    cancel.start(5);
    dialogs.ShowOpen();
    QCOMPARE(dialogs.FileName(), chosen);
    QCOMPARE(qtDialogs, qtDialog ? 1 : 0);
    if (behaviour == FakePortal::Late) {
        QVERIFY(scene.awaitResponse());
        QCoreApplication::processEvents();
        QCOMPARE(pickedLate.size(), late.isEmpty() ? 0 : 1);
        if (!late.isEmpty())
            QCOMPARE(pickedLate.constFirst(),
                QVariantList({ QVariant::fromValue(DialogKind::OpenFile), late }));
    }

    // Once failed, the rest of the run goes to Qt's dialog at once; else the
    // portal's starts in the folder of the file picked, at first at home.
    dialogs.ShowOpen();
    QCOMPARE(scene.portal.calls, qtDialog ? 1 : 2);
    QCOMPARE(qtDialogs, qtDialog ? 2 : 0);
    if (!qtDialog)
        QCOMPARE(scene.portal.options.value(QStringLiteral("current_folder")).toByteArray(),
            QFile::encodeName(chosen.isEmpty() ? QDir::homePath() : m_dir.path()) + '\0');
}

int main(int argc, char *argv[])
{
    // Qt's own dialog, which the test can cancel, on every platform.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const PrivateBus bus;
    QApplication app(argc, argv);
    tst_PortalDialog test(bus.address);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_portaldialog.moc"
