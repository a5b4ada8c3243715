// SPDX-License-Identifier: MIT
#include "core/translations.h"
#include "core/workstatus.h"
#include "widgets/workprogress.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The progress panel over a list, on its own: it shows only work that lasts,
// says what the work's status says, and reports Cancel and Esc.
class tst_WorkProgress : public QObject
{
    Q_OBJECT

private slots:
    // As the program does: English counts come from their plural forms.
    void initTestCase() { installTranslations(); }
    void progressAndCancel_data();
    void progressAndCancel();
    void replacedWorkGoesOnShowing();
    void folderShownByDisplayRules_data();
    void folderShownByDisplayRules();
};

void tst_WorkProgress::progressAndCancel_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Esc") << true;
    QTest::newRow("Cancel") << false;
}

void tst_WorkProgress::progressAndCancel()
{
    QFETCH(bool, byEscape);
    QWidget window;
    window.resize(386, 300);
    auto *list = new QListWidget(&window);
    list->setGeometry(7, 7, 372, 232);
    auto *elsewhere = new QPushButton(QStringLiteral("Elsewhere"), &window);
    elsewhere->setGeometry(7, 250, 100, 22);
    WorkProgress progress(list);
    QSignalSpy shown(&progress, &WorkProgress::shown);
    QSignalSpy cancelled(&progress, &WorkProgress::cancelClicked);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const QString folder = QStringLiteral("/data/slow");
    auto status = std::make_shared<WorkStatus>();
    status->startFolder(folder);
    status->setFilesFound(2);
    progress.start(status);
    QVERIFY(!progress.isVisible()); // quick work shows nothing
    // Esc means nothing while nothing shows.
    QTest::keyClick(elsewhere, Qt::Key_Escape);
    QCOMPARE(cancelled.count(), 0);
    QTRY_VERIFY2_WITH_TIMEOUT(progress.isVisible(), "the progress to show", 10000);
    QCOMPARE(shown.count(), 1);

    // Drawn over the rows, saying where the listing is.
    QCOMPARE(progress.parentWidget(), list);
    QVERIFY(list->viewport()->geometry().contains(progress.geometry()));
    auto *label = progress.findChild<QLabel *>(QStringLiteral("WorkProgressText"));
    QVERIFY(label);
    QVERIFY2(label->text().contains(QDir::toNativeSeparators(folder))
            && label->text().contains(QStringLiteral("2 files")),
        qPrintable(label->text()));
    QCOMPARE(list->accessibleDescription(), label->text());
    // It reads the status again while it shows.
    status->setFilesFound(1);
    QTRY_VERIFY2_WITH_TIMEOUT(label->text().contains(QStringLiteral("\n1 file found")),
        "the panel to follow the status", 10000);
    status->startSorting();
    QTRY_COMPARE_WITH_TIMEOUT(
        label->text(), QStringLiteral("Sorting the list...\nPress Esc or Cancel to stop."), 10000);

    if (byEscape)
        QTest::keyClick(elsewhere, Qt::Key_Escape);
    else
        progress.findChild<QPushButton *>(QStringLiteral("WorkProgressCancel"))->click();
    QCOMPARE(cancelled.count(), 1);
    status->requestStop();
    progress.refresh();
    QCOMPARE(label->text(), QStringLiteral("Cancelling..."));
    QCOMPARE(shown.count(), 1);

    progress.finish();
    QVERIFY(!progress.isVisible());
    QCOMPARE(list->accessibleDescription(), QString());
    QTest::keyClick(elsewhere, Qt::Key_Escape);
    QCOMPARE(cancelled.count(), 1);
    progress.refresh(); // nothing to follow any more
    QVERIFY(!progress.isVisible());
}

void tst_WorkProgress::replacedWorkGoesOnShowing()
{
    QListWidget list;
    list.resize(372, 232);
    WorkProgress progress(&list);
    list.show();
    auto first = std::make_shared<WorkStatus>();
    first->startFolder(QStringLiteral("first"));
    progress.start(first);
    QTRY_VERIFY2_WITH_TIMEOUT(progress.isVisible(), "the progress to show", 10000);

    // Work that replaces work on show is shown at once, with its own status.
    auto second = std::make_shared<WorkStatus>();
    second->startFolder(QStringLiteral("second"));
    progress.start(second);
    auto *label = progress.findChild<QLabel *>(QStringLiteral("WorkProgressText"));
    QVERIFY2(
        label->text().startsWith(QStringLiteral("Reading second\n")), qPrintable(label->text()));
    progress.finish();
}

void tst_WorkProgress::folderShownByDisplayRules_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("shown");
    // Would show as "rloexe.txt" and turn the lines after it round.
    QTest::newRow("right-to-left override")
        << QStringLiteral("/data/rlo\u202Etxt.exe") << QStringLiteral("/data/rlo<U+202E>txt.exe");
    // Would split the line in two, the second passing for another line of the panel.
    QTest::newRow("line feed") << QStringLiteral("/data/a\n2 files found so far")
                               << QStringLiteral("/data/a<U+000A>2 files found so far");
}

void tst_WorkProgress::folderShownByDisplayRules()
{
    QFETCH(QString, folder);
    QFETCH(QString, shown);
    QListWidget list;
    list.resize(372, 232);
    WorkProgress progress(&list);
    list.show();
    auto status = std::make_shared<WorkStatus>();
    status->startFolder(folder);
    status->setFilesFound(3);
    progress.start(status);
    QTRY_VERIFY2_WITH_TIMEOUT(progress.isVisible(), "the progress to show", 10000);

    const QString expected = QStringLiteral("Reading %1\n3 files found so far\n"
                                            "Press Esc or Cancel to stop.")
                                 .arg(shown);
    QCOMPARE(progress.textFor(*status), expected);
    QCOMPARE(progress.findChild<QLabel *>(QStringLiteral("WorkProgressText"))->text(), expected);
    QCOMPARE(list.accessibleDescription(), expected);
    progress.finish();
}

QTEST_MAIN(tst_WorkProgress)
#include "tst_workprogress.moc"
