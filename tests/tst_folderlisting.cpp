// SPDX-License-Identifier: MIT
#include "core/filerows.h"
#include "core/folderlisting.h"
#include "testdir.h"

#include <QDir>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <dirent.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace {

QSet<QByteArray> names(const FileRows &rows)
{
    QSet<QByteArray> set;
    for (qsizetype i = 0; i < rows.size(); ++i)
        set.insert(rows.name(i).toByteArray());
    return set;
}

// QDirIterator has neither the folder's bytes nor errno: names that are not
// UTF-8 are lost and failures come with reasons of its own.
bool qtListing()
{
    return qstrcmp(folderListingMethod(), "qt") == 0;
}

} // namespace

class tst_FolderListing : public QObject
{
    Q_OBJECT

private slots:
    void buildChoosesTheListing();
    void listsPlainFilesOnly();
    void keepsNamesAsBytes();
    void typeNotReportedIsLookedUp();
    void folderBeyondOneReadBuffer();
    void appendsAfterEarlierFolders();
    void stopsBeforeTheNextRead();
    void failureLeavesRowsAlone_data();
    void failureLeavesRowsAlone();
    void unreadableFolder();
    void limitsFailTheListing();
};

void tst_FolderListing::buildChoosesTheListing()
{
    const QByteArray chosen = QUILLMERE_LISTING_CHOSEN;
#if defined(__linux__) && defined(__GLIBC__)
    QCOMPARE(QByteArray(folderListingMethod()), chosen == "auto" ? "getdents64" : chosen);
#else
    if (chosen != "auto")
        QCOMPARE(QByteArray(folderListingMethod()), chosen);
#endif
}

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
    // A link counts only when it leads to a plain file, not to anything that is not a folder.
    QCOMPARE(::symlink("fifo", base + "link-to-fifo"), 0);
    QCOMPARE(::symlink("socket", base + "link-to-socket"), 0);
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

    // What quillmere-list -r -a --exclude asks: hidden files, the sub-folder
    // but not the link to it, and a name filter.
    QList<QByteArray> subfolders;
    ListingOptions options;
    options.hidden = true;
    options.subfolders = &subfolders;
    options.keep = [](QByteArrayView name) { return name != "README"; };
    FileRows more;
    QVERIFY(listFolderBytes(dir.encodedPath(), more, &error, options));
    QCOMPARE(names(more),
        (QSet<QByteArray> { "a.txt", "archive.", ".hidden", ".profile", "link-to-file" }));
    QCOMPARE(subfolders, QList<QByteArray> { "sub" });

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
    if (qtListing()) {
        QVERIFY(names(rows).contains(withNewline) && names(rows).contains(utf8));
        QSKIP("QDirIterator cannot keep a name that is not valid UTF-8");
    }
    QCOMPARE(names(rows), (QSet<QByteArray> { Latin1Cafe, withNewline, utf8 }));
}

void tst_FolderListing::typeNotReportedIsLookedUp()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "file", ".hidden" }), QString());
    const QByteArray base = dir.encodedPath() + '/';
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QCOMPARE(::mkfifo(base + "fifo", 0644), 0);
    QCOMPARE(::symlink("file", base + "link"), 0);
    const int fd = ::open(dir.encodedPath(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    const std::pair<const char *, bool> expected[] = { { "file", true }, { "link", true },
        { "sub", false }, { "fifo", false }, { "missing", false }, { ".hidden", false } };
    for (const auto &[name, listed] : expected)
        QVERIFY2(isListedFile(fd, name, DT_UNKNOWN) == listed, name);
    ::close(fd);
}

void tst_FolderListing::folderBeyondOneReadBuffer()
{
    // Far more entries than one read of the folder returns.
    TestDir dir;
    QList<QByteArray> made;
    for (int i = 0; i < 20000; ++i)
        made << "file-" + QByteArray::number(i) + ".txt";
    QCOMPARE(dir.createFiles(made), QString());
    FileRows rows;
    QVERIFY(listFolder(dir.path(), rows, nullptr));
    QCOMPARE(rows.size(), made.size());
    QCOMPARE(names(rows), QSet<QByteArray>(made.begin(), made.end()));
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

void tst_FolderListing::stopsBeforeTheNextRead()
{
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a", "b", "c" }), QString());
    FileRows rows;
    rows.append("earlier");
    QList<qsizetype> asked;
    QString reason;
    // The stop comes before the third read, which would end the small folder.
    const bool listed = listFolder(dir.path(), rows, &reason, [&asked](qsizetype found) {
        asked << found;
        return asked.size() < 3;
    });
    QVERIFY(!listed);
    QCOMPARE(reason, listingCancelled());
    // Asked at the opening and before each read: getdents64's first read
    // takes the whole folder, the other ways one entry.
    const qsizetype afterFirstRead = qstrcmp(folderListingMethod(), "getdents64") == 0 ? 4 : 2;
    QCOMPARE(asked, (QList<qsizetype> { 1, 1, afterFirstRead }));
    QCOMPARE(rows.size(), 1);
}

void tst_FolderListing::failureLeavesRowsAlone_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("reason");
    QTest::newRow("vanished") << "vanished" << ENOENT;
    QTest::newRow("a file, not a folder") << "file" << ENOTDIR;
    QTest::newRow("empty path") << "empty" << ENOENT;
}

void tst_FolderListing::failureLeavesRowsAlone()
{
    QFETCH(QString, what);
    QFETCH(int, reason);
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
    QCOMPARE(rows.size(), 2);
    if (qtListing())
        QSKIP("QDirIterator gives no system reason");
    QCOMPARE(error, qt_error_string(reason));
}

void tst_FolderListing::unreadableFolder()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir("locked"));
    const QByteArray locked = dir.encodedPath() + "/locked";
    QCOMPARE(::chmod(locked, 0), 0);
    auto restore = qScopeGuard([&] { ::chmod(locked, 0755); });
    const auto list = [&] {
        FileRows rows;
        QString error;
        return listFolder(dir.filePath("locked"), rows, &error) || rows.size() != 0
            ? QStringLiteral("listed")
            : error;
    };
    if (::geteuid() != 0) {
        const QString result = list();
        QVERIFY(result != QStringLiteral("listed") && !result.isEmpty());
        if (qtListing())
            QSKIP("QDirIterator gives no system reason");
        QCOMPARE(result, qt_error_string(EACCES));
        return;
    }

    // Root reads every folder: list it as an unprivileged user, in a child process.
    QCOMPARE(::chmod(dir.encodedPath(), 0755), 0);
    int pipeFds[2];
    QCOMPARE(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const QByteArray result = list().toUtf8();
        ::_exit(::write(pipeFds[1], result.constData(), size_t(result.size())) == result.size()
                ? 0
                : 3);
    }
    ::close(pipeFds[1]);
    QByteArray result;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        QSKIP("cannot become an unprivileged user here");
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(result != "listed" && !result.isEmpty());
    if (qtListing())
        QSKIP("QDirIterator gives no system reason");
    QCOMPARE(QString::fromUtf8(result), qt_error_string(EACCES));
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

    // The longest name a row takes, and not a byte more.
    FileRows longNames;
    QVERIFY(longNames.append(QByteArray(FileRows::MaxNameLength, 'n')));
    QVERIFY(!longNames.append(QByteArray(FileRows::MaxNameLength + 1, 'n')));
    QCOMPARE(longNames.size(), 1);
    QCOMPARE(longNames.name(0).size(), FileRows::MaxNameLength);
}

QTEST_GUILESS_MAIN(tst_FolderListing)
#include "tst_folderlisting.moc"
