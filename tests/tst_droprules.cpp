// SPDX-License-Identifier: MIT
#include "testdir.h"
#include "window/droprules.h"

#include <QMimeData>
#include <QTest>

// What a drop adds, without a window: which drags are taken, and the folder
// that each dropped path stands for.
class tst_DropRules : public QObject
{
    Q_OBJECT

private slots:
    void acceptsDrop_data();
    void acceptsDrop();
    void droppedFolder_data();
    void droppedFolder();
};

void tst_DropRules::acceptsDrop_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<Qt::DropActions>("actions");
    QTest::addColumn<bool>("accepted");
    const QUrl folder = QUrl::fromLocalFile(QStringLiteral("/data/folder"));
    const QUrl file = QUrl::fromLocalFile(QStringLiteral("/data/a.txt"));
    const QUrl web(QStringLiteral("https://example.org/a.txt"));
    const Qt::DropActions copyOrMove = Qt::CopyAction | Qt::MoveAction;
    QTest::newRow("a folder") << QList<QUrl> { folder } << copyOrMove << true;
    QTest::newRow("a file and a folder") << QList<QUrl> { file, folder } << copyOrMove << true;
    QTest::newRow("copy only") << QList<QUrl> { file } << Qt::DropActions(Qt::CopyAction) << true;
    // The file manager would delete what it dragged.
    QTest::newRow("move only") << QList<QUrl> { file } << Qt::DropActions(Qt::MoveAction) << false;
    QTest::newRow("link only") << QList<QUrl> { file } << Qt::DropActions(Qt::LinkAction) << false;
    QTest::newRow("nothing") << QList<QUrl>() << copyOrMove << false;
    QTest::newRow("not a local file") << QList<QUrl> { web } << copyOrMove << false;
    // Refused whole, silently, rather than taking part of it.
    QTest::newRow("local beside remote") << QList<QUrl> { folder, web } << copyOrMove << false;
}

void tst_DropRules::acceptsDrop()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(Qt::DropActions, actions);
    QFETCH(bool, accepted);
    QCOMPARE(DropRules::acceptsDrop(urls, actions), accepted);
    QMimeData data;
    data.setUrls(urls);
    QCOMPARE(DropRules::acceptsDrop(&data, actions), accepted);
}

void tst_DropRules::droppedFolder_data()
{
    // Paths under a temporary folder: "@" stands for it.
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<QString>("folder");
    QTest::newRow("a folder") << "@/sub"
                              << "@/sub";
    QTest::newRow("a folder with a trailing slash") << "@/sub/"
                                                    << "@/sub";
    QTest::newRow("a folder with trailing slashes") << "@/sub//"
                                                    << "@/sub";
    QTest::newRow("a file") << "@/sub/a.txt"
                            << "@/sub";
    // A file that went away before the drop still names its folder, for the listing to report.
    QTest::newRow("a missing file") << "@/gone/a.txt"
                                    << "@/gone";
    QTest::newRow("a folder named like a file") << "@/dir.txt"
                                                << "@/dir.txt";
}

void tst_DropRules::droppedFolder()
{
    QFETCH(QString, dropped);
    QFETCH(QString, folder);
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("dir.txt")));
    QCOMPARE(dir.createFiles({ "sub/a.txt" }), QString());
    dropped.replace(u'@', dir.path());
    folder.replace(u'@', dir.path());
    QCOMPARE(DropRules::droppedFolder(dropped), folder);
    QCOMPARE(
        DropRules::droppedFolders({ QUrl::fromLocalFile(dropped), QUrl::fromLocalFile(dropped) }),
        QStringList(2, folder));
}

QTEST_MAIN(tst_DropRules)
#include "tst_droprules.moc"
