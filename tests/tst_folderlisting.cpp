// SPDX-License-Identifier: MIT
#include "core/filerows.h"
#include "core/folderlisting.h"
#include "core/folderwalk.h"
#include "testdir.h"

#include <QDir>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <climits>

#include <dirent.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
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

// What the walk of root and its sub-folders lists, each file by its path
// from root, sorted, and what it says of the folders it could not list.
struct Walked
{
    QList<QByteArray> files;
    QStringList said; // "PATH: reason", or "PATH: the same folder as PATH"
};

Walked walk(const QByteArray &root, const std::function<void(FolderWalk &)> &setUp = {})
{
    FolderWalk tree;
    Walked walked;
    tree.failed = [&walked](const QByteArray &path, const QString &reason) {
        walked.said << QString::fromUtf8(path) + QStringLiteral(": ") + reason;
    };
    tree.looped = [&walked](const QByteArray &path, const QByteArray &same) {
        walked.said << QString::fromUtf8(path + ": the same folder as " + same);
    };
    if (setUp)
        setUp(tree);
    FileRows rows;
    QString error;
    if (!tree.walk(root, rows, true, ListingOptions(), &error))
        walked.said << QString::fromUtf8(root) + QStringLiteral(": ") + error;
    for (qsizetype row = 0; row < rows.size(); ++row)
        walked.files << rows.name(row).toByteArray();
    std::sort(walked.files.begin(), walked.files.end());
    return walked;
}

// The descriptors this process has open, among the first few thousand.
int openDescriptors()
{
    int count = 0;
    for (int fd = 0; fd < 4096; ++fd)
        count += ::fcntl(fd, F_GETFD) != -1;
    return count;
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
    void listsAnOpenFolder();
    void walkNeverFollowsASwappedFolder_data();
    void walkNeverFollowsASwappedFolder();
    void walkGoesBackUpTheSameFolders_data();
    void walkGoesBackUpTheSameFolders();
    void walkDeeperThanPathMax();
    void walkNamesABindMountLoop();
    void walkStoppedKeepsNoRow();
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

void tst_FolderListing::listsAnOpenFolder()
{
    if (!listsOpenFolders())
        QSKIP("QDirIterator lists by path alone (the Windows way)");
    TestDir dir;
    QCOMPARE(dir.createFiles({ "a.txt", Latin1Cafe, ".hidden" }), QString());
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QCOMPARE(::symlink("sub", dir.encodedPath() + "/link-to-folder"), 0);
    const int fd = ::open(dir.encodedPath(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    auto closeFd = qScopeGuard([fd] { ::close(fd); });
    QList<QByteArray> subfolders;
    ListingOptions options;
    options.subfolders = &subfolders;
    FileRows rows;
    QString error;
    QVERIFY2(listFolderAt(fd, rows, &error, options), qPrintable(error));
    QCOMPARE(names(rows), (QSet<QByteArray> { "a.txt", Latin1Cafe }));
    QCOMPARE(subfolders, QList<QByteArray> { "sub" });
    // The descriptor stays open: it is the caller's.
    QVERIFY(::fcntl(fd, F_GETFD) >= 0);
    // Asked before the first read too.
    QVERIFY(!listFolderAt(fd, rows, &error, ListingOptions(), [](qsizetype) { return false; }));
    QCOMPARE(error, listingCancelled());
    QCOMPARE(rows.size(), 2);

    // A descriptor that is not a folder's fails with the system's reason, the rows left alone.
    const int file = ::open(dir.encodedPath() + "/a.txt", O_RDONLY | O_CLOEXEC);
    QVERIFY(file >= 0);
    const bool listed = listFolderAt(file, rows, &error, options);
    ::close(file);
    QVERIFY(!listed);
    QCOMPARE(error, qt_error_string(ENOTDIR));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(subfolders, QList<QByteArray> { "sub" });
}

void tst_FolderListing::walkNeverFollowsASwappedFolder_data()
{
    // What takes the sub-folder's place once its parent has been read, and
    // the system's reason the walk then gives for the sub-folder.
    QTest::addColumn<QString>("swap");
    QTest::addColumn<int>("reason");
    QTest::newRow("a link to a folder") << "folder link" << ENOTDIR;
    QTest::newRow("a link to a file") << "file link" << ENOTDIR;
    QTest::newRow("a plain file") << "file" << ENOTDIR;
    QTest::newRow("nothing") << "nothing" << ENOENT;
}

void tst_FolderListing::walkNeverFollowsASwappedFolder()
{
    QFETCH(QString, swap);
    QFETCH(int, reason);
    if (!listsOpenFolders())
        QSKIP("QDirIterator walks by paths (the Windows way): a link swapped in is followed");
    TestDir scratch, root;
    QVERIFY(QDir(root.path()).mkpath("sub/deeper"));
    QVERIFY(QDir(scratch.path()).mkdir("elsewhere"));
    QCOMPARE(root.createFiles({ "a.txt", "sub/in.txt", "sub/deeper/x.txt" }), QString());
    QCOMPARE(scratch.createFiles({ "elsewhere/secret.txt" }), QString());
    const QByteArray sub = root.encodedPath() + "/sub",
                     elsewhere = scratch.encodedPath() + "/elsewhere";

    // Between the read of the root and the opening of its sub-folder.
    bool swapped = false;
    const Walked walked = walk(root.encodedPath(), [&](FolderWalk &tree) {
        tree.beforeSubfolders = [&](const QByteArray &path) {
            if (path != root.encodedPath() || swapped
                || ::rename(sub, scratch.encodedPath() + "/away") != 0)
                return;
            if (swap == "folder link") {
                swapped = ::symlink(elsewhere, sub) == 0;
            } else if (swap == "file link") {
                swapped = ::symlink(elsewhere + "/secret.txt", sub) == 0;
            } else if (swap == "file") {
                const int fd = ::open(sub, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
                swapped = fd >= 0 && ::close(fd) == 0;
            } else {
                swapped = true;
            }
        };
    });
    QVERIFY2(swapped, "the walk did not come to the hook, or the swap failed");
    QCOMPARE(walked.files, QList<QByteArray> { "a.txt" });
    QCOMPARE(walked.said, QStringList { QString::fromUtf8(sub) + ": " + qt_error_string(reason) });
}

void tst_FolderListing::walkGoesBackUpTheSameFolders_data()
{
    // What happens to the folders above while the walk is down in a/F/c, the
    // descriptors of all but one folder on the way closed: a's other
    // sub-folders are still listed where a is the same folder, wherever it is now.
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("lost"); // a's other sub-folders are named, not listed
    QTest::newRow("nothing") << "nothing" << false;
    QTest::newRow("its parent renamed") << "renamed" << false;
    QTest::newRow("moved out of its parent") << "moved" << false;
    QTest::newRow("moved out, its parent replaced") << "replaced" << true;
}

void tst_FolderListing::walkGoesBackUpTheSameFolders()
{
    QFETCH(QString, change);
    QFETCH(bool, lost);
    if (!listsOpenFolders() && change != "nothing")
        QSKIP("QDirIterator walks by paths (the Windows way): a folder moved is lost");
    TestDir dir;
    const QByteArray root = dir.encodedPath();
    QVERIFY(QDir(dir.path()).mkpath("a/s1") && QDir(dir.path()).mkpath("a/s2")
        && QDir(dir.path()).mkpath("a/s3"));
    QCOMPARE(dir.createFiles({ "a/s1/in.txt", "a/s2/in.txt", "a/s3/in.txt" }), QString());
    // The sub-folder of a that the walk enters first, in the order the system reads them.
    QList<QByteArray> order;
    ListingOptions options;
    options.subfolders = &order;
    FileRows ignored;
    QVERIFY(listFolderBytes(root + "/a", ignored, nullptr, options));
    QCOMPARE(order.size(), 3);
    const QByteArray first = order.takeFirst();
    QVERIFY(QDir(dir.path()).mkpath(QString::fromUtf8("a/" + first + "/c/d")));
    QCOMPARE(dir.createFiles({ "a/" + first + "/c/d/deep.txt" }), QString());

    bool changed = false;
    const Walked walked = walk(root, [&](FolderWalk &tree) {
        tree.heldFolders = 1;
        tree.beforeSubfolders = [&](const QByteArray &path) {
            if (!path.endsWith("/c"))
                return;
            changed = change == "nothing"
                || (change == "renamed" && ::rename(root + "/a", root + "/renamed") == 0)
                || (change == "moved" && ::rename(root + "/a/" + first, root + "/moved") == 0)
                || (change == "replaced" && ::rename(root + "/a", root + "/old") == 0
                    && ::mkdir(root + "/a", 0700) == 0
                    && ::rename(root + "/old/" + first, root + "/moved") == 0);
        };
    });
    QVERIFY2(changed, "the walk did not come to the hook, or the change failed");
    QList<QByteArray> files { "a/" + first + "/c/d/deep.txt", "a/" + first + "/in.txt" };
    QStringList said;
    for (const QByteArray &other : std::as_const(order)) {
        if (lost)
            said << QString::fromUtf8(root + "/a/" + other)
                    + ": Its folder was moved or replaced while it was listed.";
        else
            files << "a/" + other + "/in.txt";
    }
    std::sort(files.begin(), files.end());
    QCOMPARE(walked.files, files);
    QCOMPARE(walked.said, said);
}

void tst_FolderListing::walkDeeperThanPathMax()
{
    if (!listsOpenFolders())
        QSKIP(
            "QDirIterator walks by paths, which the system takes up to PATH_MAX (the Windows way)");
    TestDir dir;
    auto flatten = qScopeGuard([&] { flattenTree(dir.encodedPath()); });
    const QByteArray deep = makeDeepFolders(dir.encodedPath(), "folder", PATH_MAX + 100, "end.txt");
    QVERIFY(!deep.isEmpty());
    QCOMPARE(dir.createFiles({ "top.txt" }), QString());

    // Hundreds of folders deep, and few descriptors open at any time.
    const int before = openDescriptors();
    int most = 0;
    qsizetype held = 0;
    const Walked walked = walk(dir.encodedPath(), [&](FolderWalk &tree) {
        held = tree.heldFolders;
        tree.beforeSubfolders
            = [&](const QByteArray &) { most = std::max(most, openDescriptors()); };
    });
    QCOMPARE(walked.said, QStringList());
    QCOMPARE(walked.files, (QList<QByteArray> { deep, "top.txt" }));
    QVERIFY(deep.count('/') > held);
    // The root's, those held, and the one being read.
    QVERIFY2(most - before <= held + 2,
        qPrintable(QStringLiteral("%1 descriptors open, %2 before").arg(most).arg(before)));
}

void tst_FolderListing::walkNamesABindMountLoop()
{
    if (!listsOpenFolders())
        QSKIP("QDirIterator walks by paths (the Windows way) and cannot tell a folder met again");
    TestDir dir;
    const QByteArray root = dir.encodedPath();
    QVERIFY(QDir(dir.path()).mkpath("sub/loop"));
    QCOMPARE(dir.createFiles({ "top.txt", "sub/in.txt" }), QString());

    // The mount is made in a mount namespace of a child's own, which ends with it.
    int pipeFds[2];
    QCOMPARE(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        const auto say = [&](const QByteArray &text) {
            ::_exit(
                ::write(pipeFds[1], text.constData(), size_t(text.size())) == text.size() ? 0 : 3);
        };
        // A mount namespace of its own, which only root may make.
        if (::unshare(CLONE_NEWNS) != 0)
            say("skip: no mount namespace of its own: " + qt_error_string(errno).toUtf8());
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount(
                   root.constData(), (root + "/sub/loop").constData(), nullptr, MS_BIND, nullptr)
                != 0)
            say("skip: no bind mount here: " + qt_error_string(errno).toUtf8());
        const Walked walked = walk(root);
        say(QByteArrayList(walked.files).join('\n') + "\n--\n" + walked.said.join('\n').toUtf8());
    }
    ::close(pipeFds[1]);
    QByteArray result;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    if (result.startsWith("skip: "))
        QSKIP(result.constData());
    // Named once, as find names it, and not entered.
    QCOMPARE(result, "sub/in.txt\ntop.txt\n--\n" + root + "/sub/loop: the same folder as " + root);
}

void tst_FolderListing::walkStoppedKeepsNoRow()
{
    TestDir dir;
    const QByteArray root = dir.encodedPath();
    QVERIFY(QDir(dir.path()).mkpath("a/stop/below"));
    QCOMPARE(dir.createFiles({ "top.txt", "a/in.txt", "a/stop/x.txt", "a/stop/below/y.txt" }),
        QString());
    FileRows rows;
    QVERIFY(rows.append("listed before"));
    FolderWalk walk;
    QList<QByteArray> entered;
    walk.entering = [&entered](const QByteArray &path) { entered << path; };
    const int before = openDescriptors();
    QString error;
    // Asked to stop once the walk has gone down into a/stop, with folders open above it.
    const bool listed = walk.walk(root, rows, true, ListingOptions(), &error,
        [&entered, &root](qsizetype) { return !entered.contains(root + "/a/stop"); });
    QVERIFY(!listed);
    QCOMPARE(error, listingCancelled());
    QCOMPARE(rows.size(), 1);
    QCOMPARE(entered, (QList<QByteArray> { root, root + "/a", root + "/a/stop" }));
    QCOMPARE(openDescriptors(), before);
}

QTEST_GUILESS_MAIN(tst_FolderListing)
#include "tst_folderlisting.moc"
