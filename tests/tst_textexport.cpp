// SPDX-License-Identifier: MIT
#include "arranged.h"
#include "core/filelistmodel.h"
#include "core/folderlisting.h"
#include "core/textexport.h"
#include "testdir.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <csignal>

#include <acl/libacl.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A sync that fails as a disk that lost the data would, once it made sure it
// was given a file or a folder as asked.
int failingSync(int fd, bool folder)
{
    struct stat st;
    errno = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) == folder ? EIO : EBADF;
    return -1;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Makes a file unwritable even for root (the immutable flag), or by its mode
// for everybody else; undone when it goes out of scope.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString &path)
        : m_path(QFile::encodeName(path))
    {
        if (::geteuid() != 0) {
            m_done = ::chmod(m_path, 0444) == 0;
            return;
        }
        m_done = setImmutable(true);
    }
    ~ReadOnlyFile()
    {
        if (m_done)
            ::geteuid() != 0 ? void(::chmod(m_path, 0644)) : void(setImmutable(false));
    }
    bool isReadOnly() const { return m_done; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(m_path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    QByteArray m_path;
    bool m_done = false;
};

// What a save must keep of a file: owner, group, mode and every extended
// attribute, the ACL among them.
QStringList attributesOf(const QByteArray &path)
{
    struct stat st = {};
    ::stat(path, &st);
    QStringList kept { QString::asprintf("%u:%u %04o", st.st_uid, st.st_gid, st.st_mode & 07777) };
    char names[4096], value[4096];
    const ssize_t size = ::listxattr(path, names, sizeof names);
    for (const QByteArray &name : QByteArray(names, qMax<ssize_t>(size, 0)).split('\0'))
        kept << name + '='
                + QByteArray(value, qMax<ssize_t>(::getxattr(path, name, value, 4096), 0));
    kept.sort();
    return kept;
}

} // namespace

class tst_TextExport : public QObject
{
    Q_OBJECT

private slots:
    void bytesOfTheList();
    void followsDisplayedOrder();
    void namesRoundTripFromDisk();
    void replacesExistingFileWhole();
    void failureKeepsExistingFile_data();
    void failureKeepsExistingFile();
    void keepsOwnerGroupAndMode_data();
    void keepsOwnerGroupAndMode();
    void failedSyncs();
    void failedRenameIsNotSuccess();
    void writeErrorIsNotSuccess();
    void fullDiskIsNotSuccess();
};

void tst_TextExport::bytesOfTheList()
{
    FileListModel files;
    QCOMPARE(exportText(files), QByteArray());
    FileRows rows;
    for (const char *name : { "a.txt", "b", "c.doc" })
        rows.append(name);
    showRows(files, std::move(rows));
    QCOMPARE(exportText(files).toHex(' '),
        QByteArray("61 2e 74 78 74 0d 0a 62 0d 0a 63 2e 64 6f 63 0d 0a"));

    TestDir dir;
    const QString empty = dir.filePath("empty.txt");
    QString error;
    QCOMPARE(saveText(empty, QByteArray(), &error), SaveResult::Saved);
    QVERIFY(QFileInfo(empty).isFile());
    QCOMPARE(QFileInfo(empty).size(), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QVERIFY(attributesOf(QFile::encodeName(empty))[0].endsWith(QString::number(0666 & ~mask, 8)));
}

void tst_TextExport::followsDisplayedOrder()
{
    FileListModel files;
    FileRows rows;
    for (const char *name : { "b.txt", "a.doc", "c.txt", "d" })
        rows.append(name);
    showRows(files, std::move(rows));
    files.removeRow(2);
    showSorted(files, sortedBy(ExtensionColumn, Qt::DescendingOrder));
    QCOMPARE(exportText(files), QByteArray("b.txt\r\na.doc\r\nd\r\n"));

    // Copy All Names of a list long enough to be made in parts: in order
    // across the parts' borders, each line once.
    FileRows many;
    for (int i = 0; i < 100'000; ++i)
        many.append(QByteArray::number(i));
    showRows(files, std::move(many), sortedBy(ExtensionColumn));
    const QStringList lines = listText(files.arrangement(), ListText::Names).split(u'\n');
    QCOMPARE(lines.size(), 100'001);
    for (int i = 0; i < 100'000; ++i)
        QCOMPARE(lines[i], QString::number(i));
}

void tst_TextExport::namesRoundTripFromDisk()
{
    TestDir source;
    const QByteArray utf8("naïve 名前.txt");
    QCOMPARE(source.createFiles({ Latin1Cafe, utf8 }), QString());
    FileRows rows;
    QVERIFY(listFolder(source.path(), rows, nullptr));
    if (qstrcmp(folderListingMethod(), "qt") == 0)
        QSKIP("QDirIterator cannot keep a name that is not valid UTF-8");
    FileListModel files;
    showRows(files, std::move(rows), sortedBy(NameColumn));

    TestDir out;
    const QString target = out.filePath("list.txt");
    QString error;
    QVERIFY2(saveText(target, exportText(files), &error) == SaveResult::Saved, qPrintable(error));
    QCOMPARE(contents(target), Latin1Cafe + "\r\n" + utf8 + "\r\n");
}

void tst_TextExport::replacesExistingFileWhole()
{
    TestDir out;
    const QString target = out.filePath("list.txt");
    QVERIFY(writeFile(target, QByteArray(4096, 'x')));
    QString error;
    QVERIFY2(saveText(target, "a\r\n", &error) == SaveResult::Saved, qPrintable(error));
    QCOMPARE(contents(target), QByteArray("a\r\n"));
    // Nothing is left beside it.
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "list.txt" });
    // A symbolic link is followed, to a file still to be made too: the link stays.
    for (const QString name : { "list.txt", "made.txt" }) {
        const QString link = out.filePath(name + ".link");
        QCOMPARE(::symlink(QFile::encodeName(name), QFile::encodeName(link)), 0);
        QCOMPARE(saveText(link, "b\r\n", &error), SaveResult::Saved);
        QVERIFY(contents(out.filePath(name)) == "b\r\n" && QFileInfo(link).isSymLink());
    }
}

void tst_TextExport::failureKeepsExistingFile_data()
{
    // The system's reason for each, or 0 where the reason is our own.
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("reason");
    QTest::newRow("missing folder") << "missing" << ENOENT;
    QTest::newRow("onto a folder") << "folder" << EISDIR;
    // Root cannot write to an immutable file; others, to a file without write permission.
    QTest::newRow("read-only file") << "read-only" << (::geteuid() == 0 ? EPERM : EACCES);
    QTest::newRow("a device") << "device" << 0;
    QTest::newRow("a FIFO") << "fifo" << 0;
}

void tst_TextExport::failureKeepsExistingFile()
{
    QFETCH(QString, what);
    QFETCH(int, reason);
    TestDir out;
    QString target = out.filePath("list.txt");
    const QByteArray old("old contents\r\n");
    QVERIFY(writeFile(target, old));
    std::unique_ptr<ReadOnlyFile> readOnly;
    int fifoReader = -1;
    auto closeReader = qScopeGuard([&] { fifoReader >= 0 && ::close(fifoReader); });
    // Never a real device: a regressed save must not be able to replace one.
    const QByteArray special = out.encodedPath() + "/special";
    if (what == "missing") {
        target = out.filePath("missing/list.txt");
    } else if (what == "folder") {
        target = out.filePath("sub");
        QVERIFY(QDir(out.path()).mkdir("sub"));
    } else if (what == "read-only") {
        readOnly = std::make_unique<ReadOnlyFile>(target);
        if (!readOnly->isReadOnly())
            QSKIP("this file system cannot make a file read-only for this user");
    } else if (what == "device") {
        target = out.filePath("special");
        if (::mknod(special, S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("a device node cannot be made here (needs root)");
    } else if (what == "fifo") {
        target = out.filePath("special");
        QCOMPARE(::mkfifo(special, 0666), 0);
        // A reader, so that a save that opened the FIFO would not block the test.
        fifoReader = ::open(special, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(fifoReader >= 0);
    }

    QString error;
    QCOMPARE(saveText(target, "new\r\n", &error), SaveResult::Failed);
    QCOMPARE(error, reason ? qt_error_string(reason) : QStringLiteral("It is not a regular file."));
    QCOMPARE(contents(out.filePath("list.txt")), old);
    if (what == "folder")
        QVERIFY(QFileInfo(target).isDir());
    struct stat st;
    if (what == "device")
        QVERIFY(::lstat(special, &st) == 0 && S_ISCHR(st.st_mode));
    if (what == "fifo")
        QVERIFY(::lstat(special, &st) == 0 && S_ISFIFO(st.st_mode));
    readOnly.reset();
    // No temporary file is left behind.
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "list.txt" });
}

void tst_TextExport::failedRenameIsNotSuccess()
{
    // As in an append-only folder: the rename is refused, and so is the
    // removal of the temporary file, which the message then names.
    TestDir out;
    const QString target = out.filePath("list.txt");
    QVERIFY(writeFile(target, "old\r\n"));
    static std::unique_ptr<ReadOnlyFile> folder;
    SaveHooks hooks;
    hooks.rename = [](const char *from, const char *to) {
        folder = std::make_unique<ReadOnlyFile>(QFileInfo(QFile::decodeName(to)).path());
        return ::rename(from, to);
    };
    QString error;
    const SaveResult result = saveText(target, "new\r\n", &error, hooks);
    QVERIFY2(folder, "the save did not come to the rename");
    const bool locked = folder->isReadOnly();
    folder.reset();
    ::chmod(out.encodedPath(), 0700); // given back 0644, as a file
    if (!locked)
        QSKIP("this file system cannot make a folder read-only for this user");
    QCOMPARE(result, SaveResult::Failed);
    QCOMPARE(contents(target), QByteArray("old\r\n"));
    const QStringList left = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    const QString reason = qt_error_string(::geteuid() == 0 ? EPERM : EACCES);
    QCOMPARE(error,
        reason + "; the temporary file " + QFileInfo(out.path()).canonicalFilePath() + '/'
            + left.last() + " could not be removed: " + reason);
}

void tst_TextExport::keepsOwnerGroupAndMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("acl"); // as setfacl writes it, or none
    QTest::addColumn<bool>("attribute"); // a user.* extended attribute
    for (const int mode : { 0600, 0400, 0444, 0555, 0000, 04755, 02755, 01644 })
        QTest::addRow("mode %04o", mode) << mode << QByteArray() << false;
    // The user's entry asks for write, the mask takes it away: neither may widen.
    QTest::newRow("ACL") << 0640 << QByteArray("u::rw,u:65534:rw,g::r,m::r,o::-") << false;
    QTest::newRow("user attribute") << 0600 << QByteArray() << true;
}

void tst_TextExport::keepsOwnerGroupAndMode()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, acl);
    QFETCH(bool, attribute);
    // The rows of a mode give the file to another user and group.
    const bool otherOwner = acl.isEmpty() && !attribute;
    if (otherOwner && ::geteuid() != 0)
        QSKIP("only root can give a file to another user");
    TestDir out;
    const QString target = out.filePath("list.txt");
    const QByteArray path = QFile::encodeName(target);
    QVERIFY(writeFile(target, "old\r\n"));
    QVERIFY(!otherOwner || ::chown(path, 65534, 65534) == 0);
    QCOMPARE(::chmod(path, mode_t(mode)), 0);
    if (!acl.isEmpty()) {
        acl_t entries = ::acl_from_text(acl);
        const bool set = entries && ::acl_set_file(path, ACL_TYPE_ACCESS, entries) == 0;
        ::acl_free(entries);
        if (!set)
            QSKIP(qPrintable("no ACL here: " + qt_error_string(errno)));
    }
    if (attribute && ::setxattr(path, "user.origin", "scan", 4, 0) != 0)
        QSKIP(qPrintable("no user attributes here: " + qt_error_string(errno)));
    QCOMPARE(::link(path, QFile::encodeName(out.filePath("link.txt"))), 0);
    const QStringList before = attributesOf(path);

    QString error;
    QVERIFY2(saveText(target, "new\r\n", &error) == SaveResult::Saved, qPrintable(error));
    QCOMPARE(attributesOf(path), before);
    QCOMPARE(contents(target), QByteArray("new\r\n"));
    // The file was replaced, not rewritten: another link keeps the old contents.
    QCOMPARE(contents(out.filePath("link.txt")), QByteArray("old\r\n"));
}

void tst_TextExport::failedSyncs()
{
    // The new file's data could not be written: the old list stays, nothing
    // is left beside it. The folder's sync fails after the rename: the new
    // list is in place, and the save says that it may not be on the disk.
    SaveHooks fileFails, folderFails;
    fileFails.file = [](int fd) { return failingSync(fd, false); };
    folderFails.folder = [](int fd) { return failingSync(fd, true); };
    const QByteArray old("old\r\n"), fresh("new\r\n");
    for (const bool exists : { true, false }) {
        TestDir out;
        const QString target = out.filePath("list.txt");
        if (exists)
            QVERIFY(writeFile(target, old));
        QString error;
        QCOMPARE(saveText(target, fresh, &error, fileFails), SaveResult::Failed);
        QCOMPARE(error, qt_error_string(EIO));
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            exists ? QStringList { "list.txt" } : QStringList());
        if (exists)
            QCOMPARE(contents(target), old);

        error.clear();
        QCOMPARE(saveText(target, fresh, &error, folderFails), SaveResult::Unconfirmed);
        QCOMPARE(error, unconfirmedSaveMessage(qt_error_string(EIO)));
        QCOMPARE(contents(target), fresh);
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList { "list.txt" });
    }
}

void tst_TextExport::writeErrorIsNotSuccess()
{
    // A write that fails part-way, as on a full disk: the file size limit makes
    // the system refuse the bytes past 4 KiB.
    TestDir out;
    const QString target = out.filePath("list.txt");
    const QByteArray old("old\r\n");
    QVERIFY(writeFile(target, old));

    rlimit before {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = saveText(target, QByteArray(1 << 20, 'n'), &error) != SaveResult::Failed;
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!saved);
    QCOMPARE(error, qt_error_string(EFBIG));
    QCOMPARE(contents(target), old);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "list.txt" });
}

void tst_TextExport::fullDiskIsNotSuccess()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir("tiny"));
    const QByteArray mountPoint = dir.encodedPath() + "/tiny";
    if (::mount("tmpfs", mountPoint, "tmpfs", 0, "size=16k") != 0)
        QSKIP("a small file system cannot be mounted here (needs root)");
    auto unmount = qScopeGuard([&] { ::umount2(mountPoint, MNT_DETACH); });

    const QString target = dir.filePath("tiny/list.txt");
    const QByteArray old("old\r\n");
    QVERIFY(writeFile(target, old));
    QString error;
    QCOMPARE(saveText(target, QByteArray(1 << 20, 'n'), &error), SaveResult::Failed);
    QCOMPARE(error, qt_error_string(ENOSPC));
    QCOMPARE(contents(target), old);
    QCOMPARE(QDir(dir.filePath("tiny")).entryList(QDir::Files | QDir::Hidden),
        QStringList { "list.txt" });
}

QTEST_GUILESS_MAIN(tst_TextExport)
#include "tst_textexport.moc"
