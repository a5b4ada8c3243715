// SPDX-License-Identifier: MIT
#include "window/sessionsignals.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

#include <poll.h>

// The signals that end a session, raised to this process, as events on the loop.
class tst_SessionSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalsBecomeEvents_data();
    void signalsBecomeEvents();
};

namespace {

bool readable(int descriptor)
{
    pollfd wait { descriptor, POLLIN, 0 };
    return ::poll(&wait, 1, 0) == 1 && (wait.revents & POLLIN);
}

} // namespace

void tst_SessionSignals::signalsBecomeEvents_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("raised"); // how often, before the loop runs
    QTest::addColumn<bool>("ignored"); // when the object is made, as nohup leaves SIGHUP
    QTest::newRow("SIGTERM") << SIGTERM << 1 << false;
    QTest::newRow("SIGHUP") << SIGHUP << 1 << false;
    QTest::newRow("SIGINT") << SIGINT << 1 << false;
    QTest::newRow("twice, one event each") << SIGTERM << 2 << false;
    // Raised while ignored, it would end the test if it were caught and let go.
    QTest::newRow("SIGHUP ignored stays ignored") << SIGHUP << 1 << true;
    QTest::newRow("SIGINT ignored stays ignored") << SIGINT << 1 << true;
}

void tst_SessionSignals::signalsBecomeEvents()
{
    QFETCH(int, signal);
    QFETCH(int, raised);
    QFETCH(bool, ignored);
    const auto before = std::signal(signal, ignored ? SIG_IGN : SIG_DFL);
    {
        SessionSignals session;
        QSignalSpy received(&session, &SessionSignals::received);
        QVERIFY(session.descriptor() >= 0);
        QVERIFY(!readable(session.descriptor()));
        for (int i = 0; i < raised; ++i)
            QCOMPARE(std::raise(signal), 0);
        // Pending until the loop reads it, for a wait where none runs.
        QCOMPARE(readable(session.descriptor()), !ignored);
        if (!ignored) {
            QTRY_VERIFY2_WITH_TIMEOUT(received.size() >= raised,
                "the raised signals to arrive as events on the loop", 10000);
        }
        // Each once, and nothing more once the pipe is read.
        QTest::qWait(0);
        QCOMPARE(received.size(), ignored ? 0 : raised);
        for (const QList<QVariant> &event : received)
            QCOMPARE(event.first().toInt(), signal);
        QVERIFY(!readable(session.descriptor()));
    }
    // Each signal is handled again as it was before.
    const auto after = std::signal(signal, before);
    QVERIFY(after == (ignored ? SIG_IGN : SIG_DFL));
}

QTEST_GUILESS_MAIN(tst_SessionSignals)
#include "tst_sessionsignals.moc"
