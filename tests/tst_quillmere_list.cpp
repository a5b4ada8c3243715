#include "export/textexport.h"
#include "lists/filelistmodel.h"
#include "lists/filelistview.h"
#include "main_window/frmfilenamereader.h"
#include "testdir.h"

#include <QDeadlineTimer>
#include <QListWidget>
#include <QTest>
#include <QThread>

#include <csignal>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char **environ;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct Result
{
    int status = -1; // exit status, or -1 when ended by a signal
    int signal = 0;
    QByteArray out, err;
};

// Runs quillmere-list as a process. Arguments are bytes: QProcess would pass
// them as UTF-8 and lose a folder name that is not. Standard output goes to
// outFd when given, else to a file in scratch.
Result run(const QList<QByteArray> &args, const TestDir &scratch, int outFd = -1,
    bool ignorePipeSignal = false)
{
    const QByteArray outPath = scratch.encodedPath() + "/out",
                     errPath = scratch.encodedPath() + "/err";
    QList<QByteArray> argv { QUILLMERE_LIST };
    argv += args;
    std::vector<char *> pointers;
    for (QByteArray &a : argv)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, outPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    if (!ignorePipeSignal) // an ignored signal stays ignored across exec
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const auto previous = std::signal(SIGPIPE, ignorePipeSignal ? SIG_IGN : SIG_DFL);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, pointers.data(), environ);
    std::signal(SIGPIPE, previous);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);

    Result result;
    if (spawned != 0) {
        qWarning("cannot start %s: %s", QUILLMERE_LIST, strerror(spawned));
        return result;
    }
    int status = 0;
    QDeadlineTimer deadline(60000);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (deadline.hasExpired()) {
            qWarning("quillmere-list did not end within 60 s; killed");
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return result;
        }
        QThread::msleep(5);
    }
    if (WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.out = outFd >= 0 ? QByteArray() : readAll(QFile::decodeName(outPath));
    result.err = readAll(QFile::decodeName(errPath));
    return result;
}

// Standard output of a run that must succeed quietly.
QByteArray listed(const QList<QByteArray> &args, const TestDir &scratch)
{
    const Result r = run(args, scratch);
    if (r.status != 0 || !r.err.isEmpty())
        qWarning() << "status" << r.status << "signal" << r.signal << r.err;
    return r.status == 0 && r.err.isEmpty() ? r.out : QByteArray("(failed)");
}

} // namespace

class tst_QuillmereList : public QObject
{
    Q_OBJECT

private slots:
    void listsFoldersAsGiven();
    void sortsAsTheWindow_data();
    void sortsAsTheWindow();
    void unlistableFolder();
    void badUsage_data();
    void badUsage();
    void outputFile();
    void closedPipe();
};

void tst_QuillmereList::listsFoldersAsGiven()
{
    TestDir scratch, a, b, empty;
    QCOMPARE(a.createFiles({ "a.txt", "README", Latin1Cafe, "line\nfeed", ".hidden" }), QString());
    const QByteArray aPath = a.encodedPath(), bPath = b.encodedPath();
    QVERIFY(QDir(a.path()).mkdir("sub"));
    QCOMPARE(::symlink("a.txt", aPath + "/link"), 0);
    QCOMPARE(::mkfifo(aPath + "/fifo", 0600), 0);
    // A folder whose own name is not UTF-8 cannot come from the window's dialog.
    const QByteArray oddFolder = bPath + "/d\xff";
    QCOMPARE(::mkdir(oddFolder, 0700), 0);
    QCOMPARE(b.createFiles({ "d\xff/inside.txt" }), QString());

    const QByteArray fromA = listed({ aPath }, scratch);
    QList<QByteArray> names;
    for (qsizetype from = 0, end; (end = fromA.indexOf("\r\n", from)) >= 0; from = end + 2)
        names << fromA.mid(from, end - from);
    std::sort(names.begin(), names.end());
    QCOMPARE(names, (QList<QByteArray> { "README", "a.txt", Latin1Cafe, "line\nfeed", "link" }));
    QVERIFY(fromA.endsWith("\r\n"));
    QCOMPARE(listed({ oddFolder }, scratch), QByteArray("inside.txt\r\n"));
    // Folders in the order given, a repeated one once; an empty folder adds nothing.
    QCOMPARE(listed({ oddFolder, aPath, empty.encodedPath(), oddFolder, aPath }, scratch),
        "inside.txt\r\n" + fromA);
    QCOMPARE(listed({ empty.encodedPath() }, scratch), QByteArray());
    QCOMPARE(listed({ "--line-end", "lf", oddFolder }, scratch), QByteArray("inside.txt\n"));

    // The same files and bytes as the window's save, in the same order.
    FrmFilenameReader window;
    auto *folders = window.findChild<QListWidget *>(QStringLiteral("ListFolder"));
    auto *files = window.findChild<FileListView *>(QStringLiteral("LvFiles"))->files();
    folders->addItem(a.path());
    window.PopulateListViewWithFiles(folders);
    QTRY_COMPARE_WITH_TIMEOUT(files->rowCount(), 5, 30000);
    QCOMPARE(fromA, exportText(*files));
}

void tst_QuillmereList::sortsAsTheWindow_data()
{
    QTest::addColumn<QList<QByteArray>>("options");
    QTest::addColumn<QList<int>>(
        "clicks"); // the window's header clicks, 1 "File Name", 2 "Extension"
    QTest::newRow("name") << QList<QByteArray> { "--sort", "name" } << QList<int> { 1, 1 };
    QTest::newRow("name, reversed")
        << QList<QByteArray> { "--sort=name", "--reverse" } << QList<int> { 1 };
    QTest::newRow("extension") << QList<QByteArray> { "--sort", "extension" }
                               << QList<int> { 1, 2 };
    QTest::newRow("extension, reversed")
        << QList<QByteArray> { "--reverse", "--sort", "extension" } << QList<int> { 1, 2, 2 };
}

void tst_QuillmereList::sortsAsTheWindow()
{
    QFETCH(const QList<QByteArray>, options);
    QFETCH(const QList<int>, clicks);
    TestDir scratch, a, b;
    // Ties everywhere: names equal but for case, the same name in both
    // folders, extensions equal but for case; numbers compared as numbers.
    QCOMPARE(a.createFiles({ "file10.txt", "File2.TXT", "file2.txt", "b.md", "a.MD", "README",
                 "archive.", "x.tar.gz", Latin1Cafe, "line\nfeed.txt", "Zeta.Md" }),
        QString());
    QCOMPARE(b.createFiles({ "file2.txt", "c.TXT", "readme", "10.md" }), QString());

    FrmFilenameReader window;
    auto *folders = window.findChild<QListWidget *>(QStringLiteral("ListFolder"));
    auto *view = window.findChild<FileListView *>(QStringLiteral("LvFiles"));
    folders->addItems({ a.path(), b.path() });
    window.PopulateListViewWithFiles(folders);
    QTRY_COMPARE_WITH_TIMEOUT(view->files()->rowCount(), 15, 30000);
    for (const int column : clicks) {
        const Qt::SortOrder before = view->files()->sortOrder();
        emit view->columnClick(column);
        QTRY_VERIFY2_WITH_TIMEOUT(
            view->files()->sortKey() == column - 1 && view->files()->sortOrder() != before,
            "the window's sort after a header click", 30000);
    }
    QCOMPARE(listed(options + QList<QByteArray> { a.encodedPath(), b.encodedPath() }, scratch),
        exportText(*view->files()));
}

void tst_QuillmereList::unlistableFolder()
{
    TestDir scratch, a, b;
    QCOMPARE(a.createFiles({ "a.txt" }), QString());
    QCOMPARE(b.createFiles({ "b.txt" }), QString());
    const QByteArray gone = scratch.encodedPath() + "/gone";
    const Result r = run({ a.encodedPath(), gone, b.encodedPath() }, scratch);
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QByteArray("a.txt\r\nb.txt\r\n"));
    QCOMPARE(r.err,
        "quillmere-list: cannot list " + gone + ": " + qt_error_string(ENOENT).toUtf8() + '\n');
}

void tst_QuillmereList::badUsage_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::newRow("no folder") << QList<QByteArray> { "--sort", "name" };
    QTest::newRow("unknown option") << QList<QByteArray> { "--bogus", "." };
    QTest::newRow("unknown sort key") << QList<QByteArray> { "--sort", "size", "." };
    QTest::newRow("unknown line end") << QList<QByteArray> { "--line-end", "cr", "." };
    QTest::newRow("reverse unsorted") << QList<QByteArray> { "--reverse", "." };
    QTest::newRow("output without file") << QList<QByteArray> { ".", "-o" };
}

void tst_QuillmereList::badUsage()
{
    QFETCH(const QList<QByteArray>, args);
    TestDir scratch;
    const Result r = run(args, scratch);
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY2(
        r.err.startsWith("quillmere-list: ") && r.err.contains("\nUsage: quillmere-list "), r.err);
}

void tst_QuillmereList::outputFile()
{
    TestDir scratch, a;
    QCOMPARE(a.createFiles({ "a.txt", "b" }), QString());
    const QString target = scratch.filePath("list.txt");
    QCOMPARE(scratch.createFiles({ "list.txt" }, QByteArray(4096, 'x')), QString());
    const QByteArray expected = listed({ a.encodedPath() }, scratch);
    QCOMPARE(expected.size(), 10);

    Result r = run({ "-o", QFile::encodeName(target), a.encodedPath() }, scratch);
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(readAll(target), expected); // replaced as a whole, nothing of the longer file left

    // A folder is refused, and so is a folder that does not exist; nothing is touched.
    QVERIFY(QDir(scratch.path()).mkdir("folder"));
    for (const QString &refused : { scratch.filePath("folder"), scratch.filePath("no/list.txt") }) {
        r = run({ "--output=" + QFile::encodeName(refused), a.encodedPath() }, scratch);
        QCOMPARE(r.status, 2);
        QVERIFY2(
            r.err.startsWith("quillmere-list: cannot write " + QFile::encodeName(refused)), r.err);
    }
    QVERIFY(QFileInfo(scratch.filePath("folder")).isDir());
    QCOMPARE(QDir(scratch.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
        (QStringList { "err", "folder", "list.txt", "out" }));
}

void tst_QuillmereList::closedPipe()
{
    TestDir scratch, a;
    QCOMPARE(a.createFiles({ "a.txt" }), QString());
    // Whether the signal ends it or the write fails with EPIPE, it ends the same, quietly.
    for (const bool ignored : { false, true }) {
        int fds[2];
        QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
        ::close(fds[0]); // the reader has gone before the first write
        const Result r = run({ a.encodedPath() }, scratch, fds[1], ignored);
        ::close(fds[1]);
        QCOMPARE(r.signal, SIGPIPE);
        QCOMPARE(r.err, QByteArray());
    }
}

QTEST_MAIN(tst_QuillmereList)
#include "tst_quillmere_list.moc"
