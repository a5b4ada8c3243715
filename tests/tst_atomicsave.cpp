// SPDX-License-Identifier: MIT
#include "core/atomicsave.h"
#include "core/savegiveup.h"
#include "testdir.h"

#include <QDir>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <optional>
#include <tuple>

#include <acl/libacl.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
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

// A removal that is refused, as in an append-only folder, even to root.
int refusedRemoval(int, const char *, int)
{
    errno = EPERM;
    return -1;
}

// The first write moves the folder swapped aside and puts a link to the
// decoy in its place: a folder swapped for a link mid-save.
QByteArray swapped, aside, decoy;
std::ptrdiff_t swappingWrite(int fd, const void *data, size_t size)
{
    if (!swapped.isEmpty() && ::rename(swapped, aside) == 0 && ::symlink(decoy, swapped) == 0)
        swapped.clear();
    return ::write(fd, data, size);
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

// A save as a user without root's rights over modes, as any other user
// saves: in a child process that has become user 65534 where this is root.
// The error, or "skip: " and why it could not be done here.
std::pair<SaveResult, QString> saveUnprivileged(const QString &target, const QByteArray &text)
{
    QString error;
    if (::geteuid() != 0) {
        const SaveResult result = saveText(target, text, &error);
        return { result, error };
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return { SaveResult::Failed, "skip: no pipe: " + qt_error_string(errno) };
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        QByteArray said = "skip: cannot become an unprivileged user here";
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0) {
            const SaveResult result = saveText(target, text, &error);
            said = QByteArray::number(int(result)) + ' ' + error.toUtf8();
        }
        ::_exit(::write(pipeFds[1], said.constData(), size_t(said.size())) == said.size() ? 0 : 3);
    }
    ::close(pipeFds[1]);
    QByteArray said;
    char buffer[1024];
    for (ssize_t n; child > 0 && (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0)
        return { SaveResult::Failed, QStringLiteral("skip: the child failed") };
    if (said.startsWith("skip: "))
        return { SaveResult::Failed, QString::fromUtf8(said) };
    const qsizetype space = said.indexOf(' ');
    return { SaveResult(said.left(space).toInt()), QString::fromUtf8(said.mid(space + 1)) };
}

// The process's umask, which cannot be read without setting it.
mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

class tst_AtomicSave : public QObject
{
    Q_OBJECT

private slots:
    void makesANewFile();
    void replacesExistingFileWhole();
    void failureKeepsExistingFile_data();
    void failureKeepsExistingFile();
    void failedRenameIsNotSuccess();
    void keepsOwnerGroupAndMode_data();
    void keepsOwnerGroupAndMode();
    void keepsWhatItCanOfAWriteOnlyFile();
    void failedSyncs();
    void writeErrorIsNotSuccess();
    void fullDiskIsNotSuccess();
    void writesAllOfIt_data();
    void writesAllOfIt();
    void privateUntilItsModeIsSet_data();
    void privateUntilItsModeIsSet();
    void temporaryLeftBehindIsNamed();
    void givingUp_data();
    void givingUp();
};

void tst_AtomicSave::makesANewFile()
{
    // Even of an empty list, with the mode a new file gets from the umask.
    TestDir dir;
    const QString empty = dir.filePath("empty.txt");
    QString error;
    QCOMPARE(saveText(empty, QByteArray(), &error), SaveResult::Saved);
    QVERIFY(QFileInfo(empty).isFile());
    QCOMPARE(QFileInfo(empty).size(), 0);
    QVERIFY(attributesOf(QFile::encodeName(empty))[0].endsWith(
        QString::number(0666 & ~currentUmask(), 8)));
}

void tst_AtomicSave::replacesExistingFileWhole()
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

void tst_AtomicSave::failureKeepsExistingFile_data()
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
    // A loop of links names no file; the links are left as they were.
    QTest::newRow("a loop of links") << "link loop" << ELOOP;
    QTest::newRow("a folder through a loop of links") << "folder loop" << ELOOP;
    // The temporary file goes beside the target: the folder is named.
    QTest::newRow("a folder that cannot be written") << "closed folder" << EACCES;
    QTest::newRow("a new file in a folder that cannot be written") << "closed, new" << EACCES;
    // Nothing goes into the link's target; the message says where the folder went.
    QTest::newRow("a folder swapped for a link mid-save") << "swapped" << 0;
    QTest::newRow("a folder swapped mid-save, its temporary file kept") << "swapped, kept" << EPERM;
}

void tst_AtomicSave::failureKeepsExistingFile()
{
    QFETCH(QString, what);
    QFETCH(int, reason);
    TestDir out;
    QString target = out.filePath("list.txt");
    const QByteArray old("old contents\r\n");
    QVERIFY(writeFile(target, old));
    std::unique_ptr<ReadOnlyFile> readOnly;
    SaveHooks hooks;
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
    } else if (what.startsWith("swapped")) {
        QVERIFY(QDir(out.path()).mkpath("in") && QDir(out.path()).mkpath("decoy"));
        target = out.filePath("in/list.txt");
        QVERIFY(writeFile(target, old));
        swapped = QFile::encodeName(out.filePath("in"));
        aside = QFile::encodeName(out.filePath("moved"));
        decoy = QFile::encodeName(out.filePath("decoy"));
        hooks.write = swappingWrite;
        hooks.remove = what.endsWith("kept") ? refusedRemoval : nullptr;
    } else if (what == "link loop" || what == "folder loop") {
        QCOMPARE(::symlink("back", out.encodedPath() + "/loop"), 0);
        QCOMPARE(::symlink("loop", out.encodedPath() + "/back"), 0);
        target = out.filePath(what == "link loop" ? "loop" : "loop/list.txt");
    }
    // Its file may be written, by anybody; the folder by nobody but root.
    const bool closed = what.startsWith("closed");
    if (closed) {
        QCOMPARE(::chmod(QFile::encodeName(target), 0666), 0);
        QCOMPARE(::chmod(out.encodedPath(), 0555), 0);
        if (what == "closed, new")
            target = out.filePath("new.txt");
    }
    auto reopen = qScopeGuard([&] { ::chmod(out.encodedPath(), 0700); });

    QString error;
    SaveResult result = SaveResult::Saved;
    if (closed)
        std::tie(result, error) = saveUnprivileged(target, "new\r\n");
    else
        result = saveText(target, "new\r\n", &error, hooks);
    if (error.startsWith("skip: "))
        QSKIP(qPrintable(error));
    QCOMPARE(result, SaveResult::Failed);
    if (closed) {
        // The folder as the file's path names it, or as the system does once it exists.
        const QString folder = what == "closed, new" ? QFileInfo(target).absolutePath()
                                                     : QFileInfo(out.path()).canonicalFilePath();
        QCOMPARE(error, "The folder " + folder + " cannot be written: " + qt_error_string(reason));
    } else if (what.startsWith("swapped")) {
        const QString real = QFileInfo(out.path()).canonicalFilePath(),
                      left = QDir(aside).entryList(QDir::Files | QDir::Hidden).last();
        QCOMPARE(error,
            "The folder " + real + "/in was moved to " + real + "/moved during the save"
                + (reason ? "; the temporary file " + real + "/moved/" + left
                            + " could not be removed: " + qt_error_string(reason)
                          : QString()));
        QCOMPARE(contents(out.filePath("moved/list.txt")), old);
        QCOMPARE(QDir(decoy).entryList(
                     QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList());
        QCOMPARE(QDir(aside).entryList(QDir::Files | QDir::Hidden).size(), reason ? 2 : 1);
    } else {
        QCOMPARE(
            error, reason ? qt_error_string(reason) : QStringLiteral("It is not a regular file."));
    }
    QCOMPARE(contents(out.filePath("list.txt")), old);
    if (what == "folder")
        QVERIFY(QFileInfo(target).isDir());
    struct stat st;
    if (what == "device")
        QVERIFY(::lstat(special, &st) == 0 && S_ISCHR(st.st_mode));
    if (what == "fifo")
        QVERIFY(::lstat(special, &st) == 0 && S_ISFIFO(st.st_mode));
    if (what.endsWith("loop")) {
        QCOMPARE(QFileInfo(out.filePath("loop")).symLinkTarget(), out.filePath("back"));
        QCOMPARE(QFileInfo(out.filePath("back")).symLinkTarget(), out.filePath("loop"));
    }
    readOnly.reset();
    // No temporary file is left behind.
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "list.txt" });
    if (what.endsWith("loop"))
        QCOMPARE(
            QDir(out.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            (QStringList { "back", "list.txt", "loop" }));
}

void tst_AtomicSave::failedRenameIsNotSuccess()
{
    // As in an append-only folder: the rename is refused, and so is the
    // removal of the temporary file, which the message then names.
    TestDir out;
    const QString target = out.filePath("list.txt");
    QVERIFY(writeFile(target, "old\r\n"));
    static std::unique_ptr<ReadOnlyFile> folder;
    static QString folderPath;
    folderPath = out.path();
    SaveHooks hooks;
    hooks.rename = [](int fromFolder, const char *from, int toFolder, const char *to) {
        folder = std::make_unique<ReadOnlyFile>(folderPath);
        return ::renameat(fromFolder, from, toFolder, to);
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

void tst_AtomicSave::keepsOwnerGroupAndMode_data()
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

void tst_AtomicSave::keepsOwnerGroupAndMode()
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

void tst_AtomicSave::keepsWhatItCanOfAWriteOnlyFile()
{
    // A file its user may write but not read, saved by that user (not root):
    // the list replaces it, with the owner, group, mode and ACL of the old
    // file. Its user attribute cannot be read to keep it.
    TestDir out;
    const QString target = out.filePath("list.txt");
    const QByteArray path = QFile::encodeName(target),
                     link = QFile::encodeName(out.filePath("link.txt"));
    QVERIFY(writeFile(target, "old\r\n"));
    QVERIFY(::geteuid() != 0
        || (::chown(path, 65534, 65534) == 0 && ::chmod(out.encodedPath(), 0777) == 0));
    if (::setxattr(path, "user.origin", "scan", 4, 0) != 0)
        QSKIP(qPrintable("no user attributes here: " + qt_error_string(errno)));
    acl_t entries = ::acl_from_text("u::w,u:65534:r,g::-,m::r,o::-");
    const bool set = entries && ::acl_set_file(path, ACL_TYPE_ACCESS, entries) == 0;
    ::acl_free(entries);
    if (!set)
        QSKIP(qPrintable("no ACL here: " + qt_error_string(errno)));
    // The old file stays under another name, to hold the new one against.
    QCOMPARE(::link(path, link), 0);

    const auto [result, error] = saveUnprivileged(target, "new\r\n");
    if (error.startsWith("skip: "))
        QSKIP(qPrintable(error));
    QCOMPARE(result, SaveResult::NotAllKept);
    QCOMPARE(error,
        "The list was saved, but the extended attribute user.origin could not be kept: "
            + qt_error_string(EACCES));
    const auto kept = [](const QByteArray &file) {
        QStringList attributes = attributesOf(file);
        // Not kept, and to all but root the old one reads as empty.
        attributes.removeIf([](const QString &entry) { return entry.startsWith("user."); });
        return attributes;
    };
    QCOMPARE(kept(path), kept(link));
    QVERIFY(::chmod(path, 0600) == 0);
    QCOMPARE(contents(target), QByteArray("new\r\n"));
}

void tst_AtomicSave::failedSyncs()
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

void tst_AtomicSave::writeErrorIsNotSuccess()
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

void tst_AtomicSave::fullDiskIsNotSuccess()
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

namespace {

// A write that a signal interrupts before it wrote anything, once.
int interruptions = 0;
std::ptrdiff_t interruptedOnce(int fd, const void *data, size_t size)
{
    if (interruptions++ == 0) {
        errno = EINTR;
        return -1;
    }
    return ::write(fd, data, size);
}

// A write that takes one byte at a time, as a pipe or a full disk may.
std::ptrdiff_t oneByte(int fd, const void *data, size_t size)
{
    return ::write(fd, data, std::min<size_t>(size, 1));
}

} // namespace

void tst_AtomicSave::writesAllOfIt_data()
{
    QTest::addColumn<bool>("interrupted"); // else one byte a write
    QTest::newRow("interrupted before a byte is written") << true;
    QTest::newRow("one byte a write") << false;
}

void tst_AtomicSave::writesAllOfIt()
{
    QFETCH(bool, interrupted);
    TestDir out;
    const QString target = out.filePath("list.txt");
    QVERIFY(writeFile(target, "old\r\n"));
    SaveHooks hooks;
    hooks.write = interrupted ? interruptedOnce : oneByte;
    interruptions = 0;
    const QByteArray text("a.txt\r\nb\r\n");
    QString error;
    QVERIFY2(saveText(target, text, &error, hooks) == SaveResult::Saved, qPrintable(error));
    QCOMPARE(contents(target), text);
    if (interrupted)
        QCOMPARE(interruptions, 2);
}

namespace {

// The new file's mode while its data is written.
mode_t modeWhileWritten = 0;
std::ptrdiff_t watchedWrite(int fd, const void *data, size_t size)
{
    struct stat st;
    modeWhileWritten = ::fstat(fd, &st) == 0 ? st.st_mode & 07777 : 07777;
    return ::write(fd, data, size);
}

} // namespace

void tst_AtomicSave::privateUntilItsModeIsSet_data()
{
    QTest::addColumn<bool>("replacing");
    QTest::newRow("a new file") << false;
    QTest::newRow("replacing a file") << true;
}

void tst_AtomicSave::privateUntilItsModeIsSet()
{
    // A new file has the mode the umask gives it from the start; a file that
    // replaces another is readable by this user alone until it has the old
    // file's mode, which may allow others less than the umask would.
    QFETCH(bool, replacing);
    TestDir out;
    const QString target = out.filePath("list.txt");
    const mode_t old = 0640, fresh = 0666 & ~currentUmask();
    if (replacing)
        QVERIFY(writeFile(target, "old\r\n") && ::chmod(QFile::encodeName(target), old) == 0);
    SaveHooks hooks;
    hooks.write = watchedWrite;
    modeWhileWritten = 0;
    QString error;
    QVERIFY2(saveText(target, "new\r\n", &error, hooks) == SaveResult::Saved, qPrintable(error));
    const auto octal = [](mode_t mode) { return QString::number(mode, 8); };
    QCOMPARE(octal(modeWhileWritten), octal(replacing ? 0600 : fresh));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(target), &st), 0);
    QCOMPARE(octal(st.st_mode & 07777), octal(replacing ? old : fresh));
}

void tst_AtomicSave::temporaryLeftBehindIsNamed()
{
    // The data could not be synced, and the temporary file not removed.
    TestDir out;
    const QString target = out.filePath("list.txt");
    QVERIFY(writeFile(target, "old\r\n"));
    SaveHooks hooks;
    hooks.file = [](int fd) { return failingSync(fd, false); };
    hooks.remove = refusedRemoval;
    QString error;
    QCOMPARE(saveText(target, "new\r\n", &error, hooks), SaveResult::Failed);
    QCOMPARE(contents(target), QByteArray("old\r\n"));
    const QStringList left = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left.size(), 2);
    QCOMPARE(error,
        qt_error_string(EIO) + "; the temporary file " + QFileInfo(out.path()).canonicalFilePath()
            + '/' + left.last() + " could not be removed: " + qt_error_string(EPERM));
}

namespace {

// The save given up from one of its hooks, as the window gives it up from
// its own thread while the save's worker is held there.
SaveGiveUp *saving = nullptr;
std::optional<SaveGiveUp::Outcome> givenUp;
QString leftBehind;
void giveUpOnce()
{
    if (!givenUp)
        givenUp = saving->giveUp(&leftBehind);
}

} // namespace

void tst_AtomicSave::givingUp_data()
{
    QTest::addColumn<QString>("when"); // before the save, while written, at the rename
    QTest::addColumn<bool>("removable"); // the temporary file
    QTest::addColumn<int>("outcome");
    QTest::newRow("before the save") << "before" << true << int(SaveGiveUp::GivenUp);
    QTest::newRow("while written") << "written" << true << int(SaveGiveUp::GivenUp);
    QTest::newRow("while written, the temporary file not removable")
        << "written" << false << int(SaveGiveUp::LeftBehind);
    QTest::newRow("at the rename") << "rename" << true << int(SaveGiveUp::TooLate);
}

void tst_AtomicSave::givingUp()
{
    QFETCH(QString, when);
    QFETCH(bool, removable);
    QFETCH(int, outcome);
    TestDir out;
    const QString target = out.filePath("list.txt");
    QVERIFY(writeFile(target, "old\r\n"));
    SaveHooks hooks;
    if (!removable)
        hooks.remove = refusedRemoval;
    if (when == "written") {
        hooks.write = [](int fd, const void *data, size_t size) -> std::ptrdiff_t {
            giveUpOnce();
            return ::write(fd, data, size);
        };
    } else if (when == "rename") {
        hooks.rename = [](int fromFolder, const char *from, int toFolder, const char *to) {
            giveUpOnce();
            return ::renameat(fromFolder, from, toFolder, to);
        };
    }
    SaveGiveUp giveUp(hooks);
    saving = &giveUp;
    givenUp.reset();
    leftBehind.clear();
    if (when == "before")
        giveUpOnce();

    QString error;
    const SaveResult result = saveText(target, "new\r\n", &error, hooks, &giveUp);
    QVERIFY2(givenUp, "the save did not come to the hook");
    QCOMPARE(int(*givenUp), outcome);
    const QStringList beside = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    if (outcome == SaveGiveUp::TooLate) {
        QCOMPARE(result, SaveResult::Saved);
        QCOMPARE(contents(target), QByteArray("new\r\n"));
        QCOMPARE(beside, QStringList { "list.txt" });
        return;
    }
    QCOMPARE(result, SaveResult::Failed);
    QCOMPARE(error, QStringLiteral("The save was given up."));
    QCOMPARE(contents(target), QByteArray("old\r\n"));
    if (outcome == SaveGiveUp::GivenUp) {
        QCOMPARE(beside, QStringList { "list.txt" });
        QCOMPARE(leftBehind, QString());
    } else {
        QCOMPARE(beside.size(), 2);
        QCOMPARE(leftBehind,
            QFileInfo(out.path()).canonicalFilePath() + '/' + beside.last() + ": "
                + qt_error_string(EPERM));
    }
}

QTEST_GUILESS_MAIN(tst_AtomicSave)
#include "tst_atomicsave.moc"
