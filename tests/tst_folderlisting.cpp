#include "lists/filerows.h"
#include "lists/folderlisting.h"
#include "testdir.h"

#include <QDir>
#include <QSet>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace {

QSet<QByteArray> names(const FileRows &rows)
{
    QSet<QByteArray> set;
    for (qsizetype i = 0; i < rows.size(); ++i)
        set.insert(rows.name(i).toByteArray());
    return set;
}

} // namespace

class tst_FolderListing : public QObject
{
    Q_OBJECT

private slots:
    void listsPlainFilesOnly();
    void keepsNamesAsBytes();
    void appendsAfterEarlierFolders();
    void failureLeavesRowsAlone_data();
    void failureLeavesRowsAlone();
    void unreadableFolder();
    void limitsFailTheListing();
};

void tst_FolderListing::listsPlainFilesOnly()
{
    TestDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(dir.createFiles({ "a.txt", "README", "archive.", ".hidden", ".profile" }), QString());
    const QByteArray base = dir.encodedPath() + '/';
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QCOMPARE(dir.createFiles({ "sub/inner.txt" }), QString());
    QCOMPARE(::symlink("a.txt", base + "link-to-file"), 0);
    QCOMPARE(::symlink("sub", base + "link-to-folder"), 0);
    QCOMPARE(::symlink("nowhere", base + "broken-link"), 0);
    // A FIFO must be left out without being opened, or the listing would block.
    QCOMPARE(::mkfifo(base + "fifo", 0644), 0);
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(socketFd >= 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = base + "socket";
    if (size_t(socketPath.size()) < sizeof(address.sun_path)) {
        qstrcpy(address.sun_path, socketPath.constData());
        QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    }
    ::close(socketFd);

    FileRows rows;
    QString error;
    QVERIFY(listFolder(dir.path(), rows, &error));
    QCOMPARE(error, QString());
    QCOMPARE(names(rows), (QSet<QByteArray> { "a.txt", "README", "archive.", "link-to-file" }));
    QCOMPARE(rows.size(), 4);

    // Extensions are kept beside each name.
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.name(i) == "README")
            QCOMPARE(rows.extension(i), QByteArrayView(""));
        if (rows.name(i) == "a.txt")
            QCOMPARE(rows.extension(i), QByteArrayView("txt"));
    }
}

void tst_FolderListing::keepsNamesAsBytes()
{
    TestDir dir;
    QVERIFY(dir.isValid());
    const QByteArray withNewline("two\nlines.txt");
    const QByteArray utf8("Ünïcödé 名前.txt");
    QCOMPARE(dir.createFiles({ Latin1Cafe, withNewline, utf8 }), QString());

    FileRows rows;
    QVERIFY(listFolder(dir.path(), rows, nullptr));
    QCOMPARE(names(rows), (QSet<QByteArray> { Latin1Cafe, withNewline, utf8 }));
}

void tst_FolderListing::appendsAfterEarlierFolders()
{
    TestDir first, second;
    QCOMPARE(first.createFiles({ "1.a", "2.b" }), QString());
    QCOMPARE(second.createFiles({ "3.c" }), QString());
    FileRows rows;
    QVERIFY(listFolder(first.path(), rows, nullptr));
    QVERIFY(listFolder(second.path(), rows, nullptr));
    // The same folder twice gives its files twice.
    QVERIFY(listFolder(second.path(), rows, nullptr));
    QCOMPARE(rows.size(), 4);
    QCOMPARE(names(rows).size(), 3);
    QCOMPARE(rows.name(2), QByteArrayView("3.c"));
    QCOMPARE(rows.name(3), QByteArrayView("3.c"));
}

void tst_FolderListing::failureLeavesRowsAlone_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("vanished") << "vanished";
    QTest::newRow("a file, not a folder") << "file";
    QTest::newRow("empty path") << "empty";
}

void tst_FolderListing::failureLeavesRowsAlone()
{
    QFETCH(QString, what);
    TestDir dir;
    QCOMPARE(dir.createFiles({ "kept.txt", "plain" }), QString());
    QString folder;
    if (what == "vanished") {
        TestDir gone;
        folder = gone.path();
    } else if (what == "file") {
        folder = dir.filePath("plain");
    }

    FileRows rows;
    QVERIFY(listFolder(dir.path(), rows, nullptr));
    QString error;
    QVERIFY(!listFolder(folder, rows, &error));
    QVERIFY2(!error.isEmpty(), "the system's reason is reported");
    QCOMPARE(rows.size(), 2);
}

void tst_FolderListing::unreadableFolder()
{
    if (::geteuid() == 0)
        QSKIP("root reads every folder");
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir("locked"));
    const QByteArray locked = dir.encodedPath() + "/locked";
    QCOMPARE(::chmod(locked, 0), 0);
    FileRows rows;
    QString error;
    QVERIFY(!listFolder(dir.filePath("locked"), rows, &error));
    QCOMPARE(error, qt_error_string(EACCES));
    ::chmod(locked, 0755);
}

void tst_FolderListing::limitsFailTheListing()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a", "b", "c" }), QString());
    // One row and its bytes come from an earlier folder; this folder's rows are taken back.
    for (FileRows rows : { FileRows(3), FileRows(FileRows::MaxRows, 3) }) {
        QVERIFY(rows.append("x"));
        QString error;
        QVERIFY(!listFolder(dir.path(), rows, &error));
        QCOMPARE(error, QStringLiteral("Too many files to list."));
        QCOMPARE(rows.size(), 1);
    }
    FileRows exact(4, 4);
    QVERIFY(exact.append("x"));
    QVERIFY(listFolder(dir.path(), exact, nullptr));
    QVERIFY(!exact.append("y"));
}

QTEST_GUILESS_MAIN(tst_FolderListing)
#include "tst_folderlisting.moc"
