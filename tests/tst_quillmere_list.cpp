// SPDX-License-Identifier: MIT
#include "core/atomicsave.h"
#include "core/filelistmodel.h"
#include "core/textexport.h"
#include "list/filelist.h"
#include "testdir.h"
#include "treecases.h"
#include "widgets/filelistview.h"
#include "widgets/folderlistwidget.h"
#include "window/frmfilenamereader.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <cctype>
#include <climits>
#include <clocale>
#include <csignal>
#include <optional>
#include <thread>

#include <linux/capability.h>
#include <pty.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>

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

// Runs quillmere-list as a process, or the window's program for args that
// start with "WINDOW". Arguments are bytes: QProcess would pass
// them as UTF-8 and lose a folder name that is not. Standard output goes to
// outFd when given, is closed for ClosedOutput, else goes to a file in
// scratch. Unprivileged, root runs it without the rights that override file
// modes and owners, as any other user runs it; status 125 when that cannot be
// done here.
constexpr int ClosedOutput = -2;
Result run(QList<QByteArray> args, const TestDir &scratch, int outFd = -1, bool ignorePipe = false,
    bool unprivileged = false)
{
    const QByteArray outPath = scratch.encodedPath() + "/out",
                     errPath = scratch.encodedPath() + "/err";
    args.value(0) == "WINDOW" ? void(args[0] = QUILLMERE_WINDOW) : args.prepend(QUILLMERE_LIST);
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) { // only async-signal-safe calls until exec
        const int out = outFd >= 0 ? outFd : ::open(outPath, O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(::open(errPath, O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        outFd == ClosedOutput ? ::close(1) : ::dup2(out, 1);
        ::signal(SIGPIPE, ignorePipe ? SIG_IGN : SIG_DFL);
        for (const int cap : { CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER, CAP_CHOWN })
            if (unprivileged && ::geteuid() == 0 && ::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0)
                ::_exit(125);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    Result result;
    int status = 0;
    QDeadlineTimer deadline(60000);
    while (pid > 0 && ::waitpid(pid, &status, WNOHANG) == 0) {
        if (deadline.hasExpired()) {
            qWarning("quillmere-list did not end within 60 s; killed");
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return result;
        }
        QThread::msleep(5);
    }
    if (pid > 0 && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    else if (pid > 0 && WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.out = outFd != -1 ? QByteArray() : readAll(QFile::decodeName(outPath));
    result.err = readAll(QFile::decodeName(errPath));
    return result;
}

// Variables of the environment the runs inherit, set from "NAME=value" (an
// empty value unsets NAME) while it lives: the language of the messages.
class Environment
{
public:
    explicit Environment(const QList<QByteArray> &settings)
    {
        for (const QByteArray &setting : settings) {
            const QByteArray name = setting.left(setting.indexOf('=')),
                             value = setting.mid(name.size() + 1);
            m_before.append({ name,
                qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt });
            value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
        }
    }
    ~Environment()
    {
        for (auto it = m_before.crbegin(); it != m_before.crend(); ++it)
            it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
    }
    Environment(const Environment &) = delete;
    Environment &operator=(const Environment &) = delete;

private:
    QList<std::pair<QByteArray, std::optional<QByteArray>>> m_before;
};

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
    void subfoldersAndFilters_data();
    void subfoldersAndFilters();
    void terminalOrPipe_data();
    void terminalOrPipe();
    void collatesByCollationLocale_data();
    void collatesByCollationLocale();
    void unlistableFolder();
    void bindMountLoop();
    void badUsage_data();
    void badUsage();
    void outputFile();
    void lineEnds_data();
    void lineEnds();
    void helpAndVersion_data();
    void helpAndVersion();
    void closedPipe();
    void streamedAsSaved();
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

    const QByteArray fromA = listed({ "--line-end=crlf", aPath }, scratch);
    QList<QByteArray> names;
    for (qsizetype from = 0, end; (end = fromA.indexOf("\r\n", from)) >= 0; from = end + 2)
        names << fromA.mid(from, end - from);
    std::sort(names.begin(), names.end());
    QCOMPARE(names, (QList<QByteArray> { "README", "a.txt", Latin1Cafe, "line\nfeed", "link" }));
    QVERIFY(fromA.endsWith("\r\n"));
    QCOMPARE(listed({ oddFolder }, scratch), QByteArray("inside.txt\n"));
    // Folders in the order given, a repeated one once, trailing separators or
    // not; an empty folder adds nothing.
    QCOMPARE(listed({ "--line-end=crlf", oddFolder, aPath, empty.encodedPath(), oddFolder + "/",
                        aPath + "//" },
                 scratch),
        "inside.txt\r\n" + fromA);
    QCOMPARE(listed({ empty.encodedPath() }, scratch), QByteArray());
}

void tst_QuillmereList::sortsAsTheWindow_data()
{
    QTest::addColumn<QList<QByteArray>>("options");
    // The window's header clicks: 1 "File Name", 2 "Extension". Each click
    // turns the one direction round; whatever came before, the order is that
    // of the last column and the direction.
    QTest::addColumn<QList<int>>("clicks");
    QTest::newRow("unsorted") << QList<QByteArray> {} << QList<int> {};
    const QList<QByteArray> name = { "--sort", "name" }, extension = { "--sort=extension" },
                            reverse = { "--reverse" };
    const struct
    {
        QList<QByteArray> options;
        QList<QList<int>> histories;
    } sorts[] = {
        { name, { { 1, 1 }, { 2, 1 }, { 2, 2, 1, 1 }, { 1, 2, 2, 1 } } },
        { name + reverse, { { 1 }, { 2, 2, 1 }, { 1, 2, 1 } } },
        { extension, { { 2, 2 }, { 1, 2 }, { 1, 1, 2, 2 }, { 2, 1, 1, 2 } } },
        { reverse + extension, { { 2 }, { 1, 1, 2 }, { 2, 1, 2 } } },
    };
    for (const auto &sort : sorts) {
        for (const QList<int> &clicks : sort.histories) {
            QStringList shown;
            for (const int click : clicks)
                shown << QString::number(click);
            QTest::addRow("%s after %s", sort.options.join(' ').constData(),
                qPrintable(shown.join(QLatin1Char(','))))
                << sort.options << clicks;
        }
    }
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
    QCOMPARE(b.createFiles({ "file2.txt", "c.TXT", "readme", "10.md", "b.md", "FILE10.TXT" }),
        QString());
    QCOMPARE(::symlink("c.TXT", b.encodedPath() + "/link.txt"), 0);

    FrmFilenameReader window;
    auto *folders = window.findChild<FolderListWidget *>(QStringLiteral("ListFolder"));
    auto *view = window.findChild<FileListView *>(QStringLiteral("LvFiles"));
    folders->addFolder(a.path());
    folders->addFolder(b.path());
    window.PopulateListViewWithFiles(folders);
    QTRY_COMPARE_WITH_TIMEOUT(view->files()->rowCount(), 18, 30000);
    for (const int column : clicks) {
        const Qt::SortOrder before = view->files()->sortOrder();
        emit view->columnClick(column);
        QTRY_VERIFY2_WITH_TIMEOUT(
            view->files()->sortColumn() == column - 1 && view->files()->sortOrder() != before,
            "the window's sort after a header click", 30000);
    }
    // The window's save and -o write the same bytes; standard output the same
    // lines ended by LF.
    const QString target = scratch.filePath("saved.txt"), written = scratch.filePath("list.txt");
    window.saveList(target);
    QTRY_VERIFY2_WITH_TIMEOUT(!window.saves()->isSaving(), "the save to end", 30000);
    const QList<QByteArray> paths { a.encodedPath(), b.encodedPath() };
    QCOMPARE(
        listed(options + QList<QByteArray> { "-o", QFile::encodeName(written) } + paths, scratch),
        QByteArray());
    QCOMPARE(readAll(written), readAll(target));
    QCOMPARE(readAll(target), exportText(view->files()->arrangement()));
    QCOMPARE(
        listed(options + paths, scratch), exportText(view->files()->arrangement(), LineEnd::Lf));
}

void tst_QuillmereList::subfoldersAndFilters_data()
{
    QTest::addColumn<QList<QByteArray>>("options");
    QTest::addColumn<QByteArray>("expected"); // sorted when the options do not sort
    QTest::addColumn<QByteArray>("locale"); // LC_ALL of the run; empty for the tests' own
    QTest::addColumn<bool>("letters"); // lists the folder of letters, not the tree
    using Args = QList<QByteArray>;
    auto row = [](const QByteArray &name, const Args &options, const QByteArray &expected,
                   const QByteArray &locale = {}, bool letters = false) {
        QTest::newRow(name.constData()) << options << expected << locale << letters;
    };
    const QByteArray byBytes = "File2.txt\na.txt\nb.JPG\nc.jpg\nfile10.txt\n",
                     all = "a.txt\nb.JPG\nc.jpg\nFile2.txt\nfile10.txt\n";
    row("one folder as before", Args {}, byBytes);
    // The window's rows of the same tree (tst_filelist), with the same sort.
    for (const TreeCase &tree : treeCases())
        row(tree.name, optionsOf(tree.clicks), tree.lines);
    row("-a takes hidden files and folders", Args { "-ra", "--sort", "name" },
        ".hidden.jpg\n" + all
            + ".hid/h.jpg\nsub/x.jpg\nsub/y.tmp\nsub/deep/z.jpg\nSub10/w.txt\nv1.5/notes\n");
    row("long options", Args { "--recursive", "--sort=name", "--reverse" }, treeCases()[2].lines);
    row("include", Args { "--include=*.jpg" }, QByteArray("c.jpg\n"));
    row("include ignoring case", Args { "--include", "*.jpg", "--ignore-case" },
        QByteArray("b.JPG\nc.jpg\n"));
    row("includes add up, name only",
        Args { "-r", "--include=*.tmp", "--include=?.JPG", "--include=sub*" },
        QByteArray("b.JPG\nsub/y.tmp\n"));
    row("exclude", Args { "-r", "--exclude=*.jpg", "--exclude", "*.txt" },
        QByteArray("b.JPG\nsub/y.tmp\nv1.5/notes\n"));
    row("exclude ignoring case", Args { "--exclude=*.jpg", "--ignore-case" },
        QByteArray("File2.txt\na.txt\nfile10.txt\n"));
    row("exclude wins", Args { "-r", "--include=*.jpg", "--exclude=[!c]*" }, QByteArray("c.jpg\n"));
    row("sets and ranges", Args { "--include=[a-b].*", "--include=[^a-z]ile*" },
        QByteArray("File2.txt\na.txt\nb.JPG\n"));
    row("a star first, and another", Args { "--include=*e*.txt" },
        QByteArray("File2.txt\nfile10.txt\n"));
    row("escaped star", Args { "--include=\\*", "--include=*\\" }, QByteArray());
    row("abbreviated", Args { "--rec", "--inc", "*.jpg", "--ig", "--so=name", "--rev" },
        QByteArray("sub/deep/z.jpg\nsub/x.jpg\nc.jpg\nb.JPG\n"));
    row("-- ends the options", Args { "--exclude=*.txt", "--" }, QByteArray("b.JPG\nc.jpg\n"));

    // Characters of the locale (C.UTF-8 unless said). Names as they sort by
    // bytes: 1.jpg, apfel.jpg, ÄPFEL.jpeg, Äpfel.jpg, äpfel.JPG, and Äpfel.JPG
    // in Latin-1, which is not UTF-8.
    const QByteArray one = "1.jpg\n", apfel = "apfel.jpg\n", APFEL = "\xc3\x84PFEL.jpeg\n",
                     Apfel = "\xc3\x84pfel.jpg\n", aJPG = "\xc3\xa4pfel.JPG\n",
                     latin1 = "\xc4pfel.JPG\n";
    auto letters
        = [&row](const QByteArray &name, const Args &options, const QByteArray &expected,
              const QByteArray &locale = {}) { row(name, options, expected, locale, true); };
    letters("? takes a letter of two bytes", Args { "--include=?pfel.jpg" }, apfel + Apfel);
    letters("? takes a byte that is no character", Args { "--include=?pfel.JPG" }, aJPG + latin1);
    letters("case kept", Args { "--include=\xc3\x84*" }, APFEL + Apfel);
    letters("include ignoring case, lower for upper",
        Args { "--ignore-case", "--include=\xc3\xa4*" }, APFEL + Apfel + aJPG);
    letters("include ignoring case, upper for lower",
        Args { "--ignore-case", "--include=\xc3\x84PFEL.JPG" }, Apfel + aJPG);
    letters("exclude ignoring case, lower for upper",
        Args { "--ignore-case", "--exclude=\xc3\xa4*" }, one + apfel + latin1);
    // The letters beside a byte that is not UTF-8 fold all the same.
    letters("exclude ignoring case, upper for lower", Args { "--ignore-case", "--exclude=*.JPG" },
        APFEL);
    letters("a class of letters", Args { "--include=[[:alpha:]]*" }, apfel + APFEL + Apfel + aJPG);
    letters("a set of letters",
        Args { "--include=[\xc3\xa4"
               "a]*" },
        apfel + aJPG);
    letters("a set of letters ignoring case",
        Args { "--include=[\xc3\xa4"
               "a]*",
            "--ignore-case" },
        apfel + APFEL + Apfel + aJPG);
    letters(
        "a letter not in a set", Args { "--include=[!\xc3\x84]*" }, one + apfel + aJPG + latin1);
    letters("upper ignoring case, any cased letter",
        Args { "--ignore-case", "--include=[[:upper:]]*" }, apfel + APFEL + Apfel + aJPG);
    // In C and POSIX a byte is a character, and the classes ASCII's; case
    // folds as in any locale.
    letters("C: ? takes a byte", Args { "--include=?pfel.jpg" }, apfel, "C");
    letters("C: ?? takes a letter of two", Args { "--include=??pfel.jpg" }, Apfel, "C");
    letters("C: a class of ASCII", Args { "--include=[[:alpha:]]*" }, apfel, "C");
    letters("POSIX: ignoring case", Args { "--ignore-case", "--include=\xc3\xa4*" },
        APFEL + Apfel + aJPG, "POSIX");
    letters("German", Args { "--include=?pfel.jpg", "--include=[[:upper:]]PFEL*" },
        apfel + APFEL + Apfel, "de_DE.UTF-8");
    // Equal but for accents and case where the locale's collation says so, as
    // find -name takes them; a collating symbol of one character is that
    // character, also as the end of a range, where glibc 2.36's find takes
    // nothing in a UTF-8 locale but C.UTF-8.
    for (const QByteArray locale : { "C.UTF-8", "en_US.UTF-8", "de_DE.UTF-8" }) {
        letters(locale + ": [=a=]", Args { "--include=[[=a=]]pfel*" },
            locale == "C.UTF-8" ? apfel : apfel + Apfel + aJPG, locale);
        letters(
            locale + ": [.\xc3\x84.]", Args { "--include=[[.\xc3\x84.]]*" }, APFEL + Apfel, locale);
        letters(locale + ": [a-[.c.]]", Args { "--include=[a-[.c.]]pfel*" }, apfel, locale);
    }
}

void tst_QuillmereList::subfoldersAndFilters()
{
    QFETCH(const QList<QByteArray>, options);
    QFETCH(const QByteArray, expected);
    QFETCH(const QByteArray, locale);
    QFETCH(const bool, letters);
    if (!locale.isEmpty()) {
        const locale_t known = ::newlocale(LC_ALL_MASK, locale.constData(), nullptr);
        if (!known)
            QSKIP(locale + " is not installed here");
        ::freelocale(known);
    }
    TestDir scratch, a, b;
    QCOMPARE(b.createFiles({ "1.jpg", "apfel.jpg", "\xc3\x84PFEL.jpeg", "\xc3\x84pfel.jpg",
                 "\xc3\xa4pfel.JPG", "\xc4pfel.JPG" }),
        QString());
    QCOMPARE(makeTree(a), QString());
    const QByteArray root = a.encodedPath();
    const QByteArray all = qgetenv("LC_ALL");
    if (!locale.isEmpty())
        qputenv("LC_ALL", locale);
    const Result r = run(options + QList { letters ? b.encodedPath() : root }, scratch);
    qputenv("LC_ALL", all);
    QCOMPARE(r.err, QByteArray());
    QCOMPARE(r.status, 0);
    QByteArray out = r.out;
    if (!options.contains("--sort") && !options.contains("--sort=name")
        && !options.contains("--so=name")) {
        QList<QByteArray> lines = out.split('\n');
        std::sort(lines.begin(), lines.end());
        out = lines.join('\n').mid(1) + (lines.size() > 1 ? "\n" : "");
    }
    QCOMPARE(out, expected);
}

void tst_QuillmereList::terminalOrPipe_data()
{
    QTest::addColumn<QList<QByteArray>>("options");
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<bool>("shown");
    QTest::newRow("terminal") << QList<QByteArray> {} << true << true;
    QTest::newRow("pipe") << QList<QByteArray> {} << false << false;
    QTest::newRow("terminal, --literal") << QList<QByteArray> { "--lit" } << true << false;
    QTest::newRow("pipe, --escape") << QList<QByteArray> { "--escape" } << false << true;
}

void tst_QuillmereList::terminalOrPipe()
{
    QFETCH(const QList<QByteArray>, options);
    QFETCH(const bool, terminal);
    QFETCH(const bool, shown);
    TestDir scratch, a;
    // Would turn the terminal's text red, then print the rest right to left.
    const QByteArray name = "red\x1b[31m\xe2\x80\xaetxt.exe";
    QCOMPARE(a.createFiles({ name }), QString());
    int fds[2];
    if (terminal) {
        QCOMPARE(::openpty(&fds[0], &fds[1], nullptr, nullptr, nullptr), 0);
        termios raw;
        QCOMPARE(::tcgetattr(fds[1], &raw), 0);
        ::cfmakeraw(&raw); // no CR added before the LF
        QCOMPARE(::tcsetattr(fds[1], TCSANOW, &raw), 0);
    } else {
        QCOMPARE(::pipe(fds), 0);
    }
    const Result r
        = run(options + QList<QByteArray> { "--line-end=lf", a.encodedPath() }, scratch, fds[1]);
    ::close(fds[1]);
    QCOMPARE(r.status, 0);
    QByteArray out(4096, 0);
    const ssize_t n = ::read(fds[0], out.data(), size_t(out.size()));
    ::close(fds[0]);
    out.resize(qMax<ssize_t>(n, 0));
    QCOMPARE(out, shown ? QByteArray("red<U+001B>[31m<U+202E>txt.exe\n") : name + '\n');
}

void tst_QuillmereList::collatesByCollationLocale_data()
{
    QTest::addColumn<QByteArray>("collate");
    QTest::addColumn<QByteArray>("messages");
    QTest::addColumn<QByteArray>("sorted");
    // Swedish puts "ä" after "z"; Unicode's neutral order, taken for C, beside "a".
    QTest::newRow("Swedish order, C texts")
        << QByteArray("sv_SE.UTF-8") << QByteArray("C") << QByteArray("b\nz\n\xC3\xA4\n");
    QTest::newRow("C order, Swedish texts")
        << QByteArray("C.UTF-8") << QByteArray("sv_SE.UTF-8") << QByteArray("\xC3\xA4\nb\nz\n");
    // The messages' language is translated, the system's reasons too; the
    // list's bytes are the same.
    QTest::newRow("C order, German texts")
        << QByteArray("C.UTF-8") << QByteArray("de_DE.UTF-8") << QByteArray("\xC3\xA4\nb\nz\n");
}

void tst_QuillmereList::collatesByCollationLocale()
{
    QFETCH(const QByteArray, collate);
    QFETCH(const QByteArray, messages);
    QFETCH(const QByteArray, sorted);
    TestDir scratch, a;
    QCOMPARE(a.createFiles({ "z", "\xC3\xA4", "b" }), QString());
    // The order comes from ICU by the locale's name: no system locale needs to be installed.
    const Environment environment(
        { "LC_ALL=", "LC_COLLATE=" + collate, "LC_MESSAGES=" + messages });
    QCOMPARE(listed({ "--sort=name", "--line-end=lf", a.encodedPath() }, scratch), sorted);
    // The system's reason as ls gives it, in the C library's words (not Qt's).
    const QByteArray gone = scratch.encodedPath() + "/gone";
    const QByteArray said = run({ gone }, scratch).err;
    QProcess ls;
    ls.start("ls", { QFile::decodeName(gone) });
    QVERIFY2(ls.waitForFinished(30000), "ls to end");
    const QByteArray lsSaid = ls.readAllStandardError();
    QCOMPARE(said.mid(said.lastIndexOf(": ")), lsSaid.mid(lsSaid.lastIndexOf(": ")));
}

void tst_QuillmereList::unlistableFolder()
{
    TestDir scratch, a, b;
    QCOMPARE(a.createFiles({ "a.txt" }), QString());
    QCOMPARE(b.createFiles({ "b.txt" }), QString());
    // Named by the window's display rules: a C1 control or an override would drive the terminal.
    const QByteArray gone = scratch.encodedPath() + "/gone\u202E\u009B";
    const Result r = run({ a.encodedPath(), gone, b.encodedPath() }, scratch);
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QByteArray("a.txt\nb.txt\n"));
    QCOMPARE(r.err,
        "quillmere-list: cannot list '" + scratch.encodedPath()
            + "/gone<U+202E><U+009B>': " + qt_error_string(ENOENT).toUtf8() + '\n');

    // A path of 4,000 bytes is written whole.
    QByteArray deep;
    while (b.encodedPath().size() + deep.size() < 3990) {
        deep += "folder" + QByteArray::number(deep.size()) + '/';
        QCOMPARE(::mkdir(b.encodedPath() + '/' + deep, 0700), 0);
    }
    QCOMPARE(b.createFiles({ deep + "end" }), QString());
    QCOMPARE(listed({ "-r", "--sort=name", "--line-end=lf", b.encodedPath() }, scratch),
        "b.txt\n" + deep + "end\n");
    // And one longer than the system takes, as find lists it: each folder is
    // opened from its parent by its name alone.
    {
        TestDir c;
        auto flatten = qScopeGuard([&] { flattenTree(c.encodedPath()); });
        const QByteArray deeper = makeDeepFolders(c.encodedPath(), "folder", PATH_MAX + 100, "end");
        QVERIFY(!deeper.isEmpty());
        QCOMPARE(listed({ "-r", "--line-end=lf", c.encodedPath() }, scratch), deeper + '\n');
    }

    // An unreadable sub-folder is named with its reason; the rest is listed.
    QVERIFY(QDir(a.path()).mkdir("locked"));
    QCOMPARE(a.createFiles({ "locked/in.txt" }), QString());
    QCOMPARE(::chmod(a.encodedPath() + "/locked", 0), 0);
    const Result locked = run({ "-r", a.encodedPath() }, scratch, -1, false, true);
    QCOMPARE(::chmod(a.encodedPath() + "/locked", 0700), 0);
    if (locked.status == 125)
        QSKIP("root's rights cannot be dropped here, and root reads any folder");
    QCOMPARE(locked.status, 1);
    QCOMPARE(locked.out, QByteArray("a.txt\n"));
    QCOMPARE(locked.err,
        "quillmere-list: cannot list '" + a.encodedPath()
            + "/locked': " + qt_error_string(EACCES).toUtf8() + '\n');
}

void tst_QuillmereList::bindMountLoop()
{
    // A folder mounted inside itself: named once, as find names it, and not
    // entered. The mount is made in a mount namespace of its own that ends
    // with the command, where the kernel allows one.
    TestDir a;
    QVERIFY(QDir(a.path()).mkpath("sub/loop"));
    QCOMPARE(a.createFiles({ "top.txt", "sub/in.txt" }), QString());
    QStringList unshare { "--mount", "--propagation", "private" };
    if (::geteuid() != 0)
        unshare << "--map-root-user";
    QProcess probe;
    probe.start("unshare", unshare + QStringList { "true" });
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit
        || probe.exitCode() != 0)
        QSKIP(qPrintable("no mount namespace of its own here: " + probe.errorString() + ' '
            + QString::fromLocal8Bit(probe.readAllStandardError()).trimmed()));
    QProcess run;
    run.start("unshare",
        unshare
            + QStringList { "sh", "-c",
                "mount --bind \"$1\" \"$1/sub/loop\" || exit 125\n"
                "exec \"$2\" -r --sort=name --line-end=lf \"$1\"",
                "sh", a.path(), QStringLiteral(QUILLMERE_LIST) });
    QVERIFY(run.waitForFinished(60000));
    const QByteArray err = run.readAllStandardError();
    if (run.exitCode() == 125)
        QSKIP(qPrintable("no bind mount here: " + QString::fromLocal8Bit(err).trimmed()));
    QCOMPARE(err,
        "quillmere-list: cannot list '" + a.encodedPath()
            + "/sub/loop': File system loop detected; it is the same folder as '" + a.encodedPath()
            + "'\n");
    QCOMPARE(run.exitCode(), 1);
    QCOMPARE(run.readAllStandardOutput(), QByteArray("top.txt\nsub/in.txt\n"));
}

void tst_QuillmereList::badUsage_data()
{
    QTest::addColumn<QList<QByteArray>>("args");
    QTest::addColumn<QByteArray>("said"); // the first line, where it matters
    QTest::newRow("no folder") << QList<QByteArray> { "--sort", "name" } << QByteArray();
    QTest::newRow("unknown option") << QList<QByteArray> { "--bogus", "FOLDER" }
                                    << QByteArray("quillmere-list: unrecognized option '--bogus'");
    QTest::newRow("unknown sort key")
        << QList<QByteArray> { "--sort", "size", "FOLDER" } << QByteArray();
    QTest::newRow("unknown line end")
        << QList<QByteArray> { "--line-end", "cr", "FOLDER" } << QByteArray();
    QTest::newRow("reverse unsorted")
        << QList<QByteArray> { "--reverse", "FOLDER" } << QByteArray();
    QTest::newRow("output without file") << QList<QByteArray> { "FOLDER",
        "-o" } << QByteArray("quillmere-list: option requires an argument -- 'o'");
    QTest::newRow("NUL and a line end")
        << QList<QByteArray> { "-0", "--line-end=lf", "FOLDER" } << QByteArray();
    QTest::newRow("-v is not the version") << QList<QByteArray> { "-v", "FOLDER" }
                                           << QByteArray("quillmere-list: invalid option -- 'v'");
    QTest::newRow("ambiguous abbreviation")
        << QList<QByteArray> { "--re", "FOLDER" }
        << QByteArray("quillmere-list: option '--re' is ambiguous; possibilities: '--recursive' "
                      "'--reverse'");
    QTest::newRow("unclosed [") << QList<QByteArray> { "--exclude=*.[ch", "FOLDER" }
                                << QByteArray("quillmere-list: unclosed '[' in '*.[ch'");
    // Either would silently match nothing, or another set than meant.
    QTest::newRow("unknown class") << QList<QByteArray> { "--include=[[:letter:]]*", "FOLDER" }
                                   << QByteArray("quillmere-list: unknown character class "
                                                 "'[:letter:]' in '[[:letter:]]*'");
    QTest::newRow("class not in lower case")
        << QList<QByteArray> { "--exclude=*[[:Digit:]]", "FOLDER" }
        << QByteArray("quillmere-list: unknown character class '[:Digit:]' in '*[[:Digit:]]'");
    QTest::newRow("equivalence class of two")
        << QList<QByteArray> { "--include=[[=ab=]]*", "FOLDER" }
        << QByteArray("quillmere-list: equivalence class other than a single "
                      "character in '[[=ab=]]*'");
    QTest::newRow("collating element of two")
        << QList<QByteArray> { "--exclude=[[.ch.]]", "FOLDER" }
        << QByteArray("quillmere-list: collating symbol other than a single character in "
                      "'[[.ch.]]'");
    QTest::newRow("range to an equivalence class")
        << QList<QByteArray> { "--exclude=[a-[=e=]]", "FOLDER" }
        << QByteArray("quillmere-list: equivalence class as the end of a range in '[a-[=e=]]'");
    QTest::newRow("a path for a name") << QList<QByteArray> { "--include=*/a.jpg", "FOLDER" }
                                       << QByteArray("quillmere-list: '*/a.jpg' matches no name, "
                                                     "as no name holds '/': --include and "
                                                     "--exclude match a file's name, not its path");
    QTest::newRow("value to a flag") << QList<QByteArray> { "--reverse=yes", "--sort=name",
        "FOLDER" } << QByteArray("quillmere-list: option '--reverse' doesn't allow an argument");
    QTest::newRow("escape and literal")
        << QList<QByteArray> { "--escape", "--literal", "FOLDER" } << QByteArray();
    QTest::newRow("long option without its value") << QList<QByteArray> { "FOLDER",
        "--out" } << QByteArray("quillmere-list: option '--output' requires an argument");
    // The user's bytes by the display rules: raw, they would drive the terminal.
    QTest::newRow("control in a short option") << QList<QByteArray> { "-r\x1b",
        "FOLDER" } << QByteArray("quillmere-list: invalid option -- '<U+001B>'");
    QTest::newRow("control in a long option") << QList<QByteArray> { "--\x1b[2J=x",
        "FOLDER" } << QByteArray("quillmere-list: unrecognized option '--<U+001B>[2J'");

    // "NAME=value" first sets the language, by the rule of the window, with no
    // system locale needed; all that is said is compared then. Option names,
    // values and paths stay as typed.
    const QByteArray usageDe = "\nAufruf: quillmere-list [OPTION]... ORDNER...\n"
                               "„quillmere-list --help“ liefert weitere Informationen.",
                     usageFr = "\nUtilisation\u00a0: quillmere-list [OPTION]... DOSSIER...\n"
                               "Saisissez «\u00a0quillmere-list --help\u00a0» pour plus "
                               "d’informations.";
    const struct
    {
        const char *name;
        QList<QByteArray> args;
        QByteArray said;
    } languages[] = {
        { "German by LANGUAGE", { "LANGUAGE=de", "--bogus", "FOLDER" },
            "quillmere-list: unbekannte Option „--bogus“" + usageDe },
        { "French by LC_MESSAGES", { "LC_ALL=", "LC_MESSAGES=fr_FR.UTF-8", "--re", "FOLDER" },
            "quillmere-list: l’option «\u00a0--re\u00a0» est ambiguë\u00a0; "
            "possibilités\u00a0: «\u00a0--recursive\u00a0» «\u00a0--reverse\u00a0»"
                + usageFr },
        { "German by LANG", { "LC_ALL=", "LANG=de_DE.UTF-8", "--exclude=*.[ch", "FOLDER" },
            "quillmere-list: nicht geschlossenes „[“ in „*.[ch“" + usageDe },
        { "German, a value not taken", { "LC_ALL=de_DE.UTF-8", "--sort=datum", "FOLDER" },
            "quillmere-list: unbekannter Sortierschlüssel „datum“ (erlaubt: name, extension)"
                + usageDe },
        { "LANGUAGE before LC_ALL",
            { "LANGUAGE=fr", "LC_ALL=de_DE.UTF-8", "--sort", "size", "FOLDER" },
            "quillmere-list: clé de tri inconnue «\u00a0size\u00a0» (valeurs possibles\u00a0: "
            "name, "
            "extension)"
                + usageFr },
        { "LC_ALL before LC_MESSAGES",
            { "LC_ALL=de_DE.UTF-8", "LC_MESSAGES=fr_FR.UTF-8", "FOLDER", "-o" },
            "quillmere-list: Option erfordert ein Argument -- „o“" + usageDe },
        { "LC_MESSAGES before LANG",
            { "LC_ALL=", "LC_MESSAGES=fr_FR.UTF-8", "LANG=de_DE.UTF-8", "--reverse" },
            "quillmere-list: --reverse inverse une liste triée\u00a0; indiquez aussi --sort"
                + usageFr },
        { "window in German", { "LANGUAGE=de", "WINDOW", "--bogus" },
            "quillmere: unbekannte Option „--bogus“\nAufruf: quillmere [OPTION]... [PFAD]...\n"
            "„quillmere --help“ liefert weitere Informationen." },
        { "window in French", { "LC_ALL=fr_FR.UTF-8", "WINDOW", "-x" },
            "quillmere: option non reconnue «\u00a0-x\u00a0»\nUtilisation\u00a0: quillmere "
            "[OPTION]... [CHEMIN]...\nSaisissez «\u00a0quillmere --help\u00a0» pour plus "
            "d’informations." },
        { "window, the user's bytes by the display rules",
            { "LANGUAGE=en", "WINDOW", "--x\x1b[2J" },
            "quillmere: unrecognized option '--x<U+001B>[2J'\nUsage: quillmere [OPTION]... "
            "[PATH]...\nTry 'quillmere --help' for more information." },
        { "English for any other language", { "LANGUAGE=sv", "--escape", "--literal", "FOLDER" },
            "quillmere-list: --escape and --literal cannot both be given\n"
            "Usage: quillmere-list [OPTION]... FOLDER...\n"
            "Try 'quillmere-list --help' for more information." },
    };
    for (const auto &language : languages)
        QTest::newRow(language.name) << language.args << language.said;
}

void tst_QuillmereList::badUsage()
{
    QFETCH(QList<QByteArray>, args);
    QFETCH(const QByteArray, said);
    TestDir scratch;
    std::replace(args.begin(), args.end(), QByteArray("FOLDER"), scratch.encodedPath());
    QList<QByteArray> language;
    while (
        !args.isEmpty() && std::isupper(uchar(args.first().front())) && args.first().contains('='))
        language << args.takeFirst();
    const Environment environment(language);
    const Result r = run(args, scratch);
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray());
    if (!language.isEmpty()) {
        QCOMPARE(r.err, said + '\n');
        return;
    }
    QVERIFY2(
        r.err.startsWith("quillmere-list: ") && r.err.contains("\nUsage: quillmere-list "), r.err);
    QVERIFY2(said.isEmpty() || r.err.startsWith(said + '\n'), r.err);
}

void tst_QuillmereList::outputFile()
{
    TestDir scratch, a;
    QCOMPARE(a.createFiles({ "a.txt", "b" }), QString());
    const QString target = scratch.filePath("list.txt");
    QCOMPARE(scratch.createFiles({ "list.txt" }, QByteArray(4096, 'x')), QString());
    const QByteArray expected = listed({ "--line-end=crlf", a.encodedPath() }, scratch);
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
            r.err.startsWith("quillmere-list: cannot write '" + QFile::encodeName(refused) + "': "),
            r.err);
    }
    QVERIFY(QFileInfo(scratch.filePath("folder")).isDir());
    QCOMPARE(QDir(scratch.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
        (QStringList { "err", "folder", "list.txt", "out" }));

    // A loop of links names no file: refused with the system's reason, the
    // links left as they were and nothing made beside them.
    const QByteArray loop = scratch.encodedPath() + "/loop", back = scratch.encodedPath() + "/back";
    QCOMPARE(::symlink("back", loop), 0);
    QCOMPARE(::symlink("loop", back), 0);
    r = run({ "-o", loop, a.encodedPath() }, scratch);
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err,
        "quillmere-list: cannot write '" + loop + "': " + qt_error_string(ELOOP).toUtf8() + '\n');
    QCOMPARE(QFileInfo(QFile::decodeName(loop)).symLinkTarget(), scratch.filePath("back"));
    QCOMPARE(QFileInfo(QFile::decodeName(back)).symLinkTarget(), scratch.filePath("loop"));
    QCOMPARE(QDir(scratch.path())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
        (QStringList { "back", "err", "folder", "list.txt", "loop", "out" }));

    // A folder that cannot be written, over a file that can: the folder is
    // named, as the temporary file goes beside the file.
    const QByteArray shut = scratch.encodedPath() + "/shut", shutList = shut + "/list.txt";
    QCOMPARE(::mkdir(shut, 0700), 0);
    QCOMPARE(scratch.createFiles({ "shut/list.txt" }, "old\r\n"), QString());
    QCOMPARE(::chmod(shutList, 0666), 0);
    QCOMPARE(::chmod(shut, 0555), 0);
    r = run({ "-o", shutList, a.encodedPath() }, scratch, -1, false, true);
    QCOMPARE(::chmod(shut, 0700), 0);
    if (r.status == 125)
        QSKIP("root's rights cannot be dropped here");
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err,
        "quillmere-list: cannot write '" + shutList + "': The folder "
            + QFileInfo(QFile::decodeName(shut)).canonicalFilePath().toUtf8()
            + " cannot be written: " + qt_error_string(EACCES).toUtf8() + '\n');
    QCOMPARE(readAll(QFile::decodeName(shutList)), QByteArray("old\r\n"));
    QCOMPARE(QDir(QFile::decodeName(shut))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { "list.txt" });

    // A drop box, a folder its owner may write but not read: the list goes in,
    // but the folder cannot be opened to sync the new entry. Root gives the old
    // file away, set-ID bits and all, which the saving user cannot keep.
    const QByteArray box = scratch.encodedPath() + "/box", boxed = box + "/list.txt";
    QCOMPARE(::mkdir(box, 0700), 0);
    QCOMPARE(scratch.createFiles({ "box/list.txt" }), QString());
    const bool root = ::geteuid() == 0;
    QVERIFY(!root || (::chown(boxed, 65534, 65534) == 0 && ::chmod(boxed, 06666) == 0));
    QCOMPARE(::chmod(box, 0300), 0);
    r = run({ "-o", boxed, a.encodedPath() }, scratch, -1, false, true);
    QCOMPARE(::chmod(box, 0700), 0);
    if (r.status == 125)
        QSKIP("root's rights cannot be dropped here");
    QCOMPARE(r.status, 3);
    QCOMPARE(readAll(QFile::decodeName(boxed)), expected);
    const QByteArray said = "quillmere-list: '" + boxed + "': ";
    QVERIFY2(
        r.err.startsWith(said + unconfirmedSaveMessage(qt_error_string(EACCES)).toUtf8()), r.err);
    QVERIFY2(!root
            || r.err.endsWith(said
                + "The list was saved without its set-user-ID and "
                  "set-group-ID bits, as its owner or group could not be kept.\n"),
        r.err);
}

void tst_QuillmereList::lineEnds_data()
{
    // "FILE" stands for a file in the test's folder; the list is read from
    // it, else from standard output.
    QTest::addColumn<QList<QByteArray>>("options");
    QTest::addColumn<QByteArray>("end");
    using Args = QList<QByteArray>;
    const QByteArray nul("\0", 1);
    // For Unix tools to standard output, as the window saves to a file.
    QTest::newRow("standard output") << Args {} << QByteArray("\n");
    QTest::newRow("-o - is standard output") << Args { "-o", "-" } << QByteArray("\n");
    QTest::newRow("-o FILE") << Args { "-o", "FILE" } << QByteArray("\r\n");
    QTest::newRow("--line-end crlf to standard output")
        << Args { "--line-end", "crlf" } << QByteArray("\r\n");
    QTest::newRow("--line-end lf to a file")
        << Args { "--output=FILE", "--line-end=lf" } << QByteArray("\n");
    QTest::newRow("-0 to standard output") << Args { "-0" } << nul;
    QTest::newRow("--null, -o -") << Args { "--null", "-o", "-" } << nul;
    QTest::newRow("-0 to a file") << Args { "-0", "-oFILE" } << nul;
}

void tst_QuillmereList::lineEnds()
{
    QFETCH(QList<QByteArray>, options);
    QFETCH(const QByteArray, end);
    TestDir scratch, a;
    QCOMPARE(a.createFiles({ "b\nc.txt", "a.txt" }), QString());
    const QByteArray file = scratch.encodedPath() + "/list.txt";
    bool toFile = false;
    for (QByteArray &option : options)
        toFile = option.replace("FILE", file).contains(file) || toFile;
    const QByteArray out
        = listed(options + QList<QByteArray> { "--sort=name", a.encodedPath() }, scratch);
    QCOMPARE(toFile ? readAll(QFile::decodeName(file)) : out, "a.txt" + end + "b\nc.txt" + end);
    QCOMPARE(out.isEmpty(), toFile);
    // "-" is standard output, never a file of that name.
    QVERIFY(!QFileInfo::exists(scratch.filePath("-")));
}

void tst_QuillmereList::helpAndVersion_data()
{
    QTest::addColumn<QList<QByteArray>>("language"); // the environment, as in badUsage
    QTest::addColumn<QList<QByteArray>>("lines"); // the first, some between, the last
    QTest::addColumn<QByteArray>("writeError"); // what comes before the C library's reason
    QTest::addColumn<QByteArray>("program"); // "WINDOW" for the window's, as in badUsage
    QTest::addColumn<int>("column"); // where an option's text starts
    QTest::newRow("English") << QList<QByteArray> {}
                             << QList<QByteArray> { "Usage: quillmere-list [OPTION]... FOLDER...",
                                    "  -0, --null ", "  -o, --output=FILE ", "      --sort=KEY ",
                                    "  -V, --version ", "Exit status:", " 3  if ",
                                    "Full documentation is available locally via: man "
                                    "quillmere-list" }
                             << QByteArray("quillmere-list: write error: ") << QByteArray() << 24;
    QTest::newRow("German") << QList<QByteArray> { "LANGUAGE=de" }
                            << QList<QByteArray> { "Aufruf: quillmere-list [OPTION]... ORDNER...",
                                   "  -0, --null ", "  -o, --output=DATEI ",
                                   "      --sort=SCHLÜSSEL ", "  -V, --version ",
                                   "Beendigungsstatus:", " 3  wenn ",
                                   "Vollständige Dokumentation ist lokal verfügbar mit: man "
                                   "quillmere-list" }
                            << QByteArray("quillmere-list: Schreibfehler: ") << QByteArray() << 24;
    QTest::newRow("French")
        << QList<QByteArray> { "LC_ALL=", "LC_MESSAGES=fr_FR.UTF-8" }
        << QList<QByteArray> { "Utilisation\u00a0: quillmere-list [OPTION]... DOSSIER...",
               "  -0, --null ", "  -o, --output=FICHIER ", "      --sort=CLÉ ", "  -V, --version ",
               "Code de sortie\u00a0:", " 3  si ",
               "La documentation complète est disponible localement "
               "via\u00a0: man quillmere-list" }
        << QByteArray("quillmere-list: erreur d’écriture\u00a0: ") << QByteArray() << 24;
    QTest::newRow("window, German")
        << QList<QByteArray> { "LC_ALL=de_DE.UTF-8" }
        << QList<QByteArray> { "Aufruf: quillmere [OPTION]... [PFAD]...", "      --help     ",
               "Beendigungsstatus:", " 2  wenn ",
               "Vollständige Dokumentation ist lokal verfügbar mit: man quillmere" }
        << QByteArray("quillmere: Schreibfehler: ") << QByteArray("WINDOW") << 17;
    QTest::newRow("window, French")
        << QList<QByteArray> { "LANGUAGE=fr" }
        << QList<QByteArray> { "Utilisation\u00a0: quillmere [OPTION]... [CHEMIN]...",
               "      --version  ", "Code de sortie\u00a0:",
               "La documentation complète est disponible localement via\u00a0: man quillmere" }
        << QByteArray("quillmere: erreur d’écriture\u00a0: ") << QByteArray("WINDOW") << 17;
}

void tst_QuillmereList::helpAndVersion()
{
    QFETCH(const QList<QByteArray>, language);
    QFETCH(const QList<QByteArray>, lines);
    QFETCH(const QByteArray, writeError);
    QFETCH(const QByteArray, program);
    QFETCH(const int, column);
    const Environment environment(language);
    TestDir scratch;
    const auto of = [&program](const QByteArray &option) {
        return program.isEmpty() ? QList { option } : QList { program, option };
    };
    const Result help = run(of("--help"), scratch);
    QCOMPARE(help.status, 0);
    QCOMPARE(help.err, QByteArray());
    QVERIFY2(help.out.endsWith('\n'), help.out);
    const QStringList shown = QString::fromUtf8(help.out).split(u'\n');
    QCOMPARE(shown.first(), QString::fromUtf8(lines.first()));
    QCOMPARE(shown.at(shown.size() - 2), QString::fromUtf8(lines.last()));
    for (const QByteArray &line : lines)
        QVERIFY2(std::any_of(shown.begin(), shown.end(),
                     [&line](const QString &s) { return s.startsWith(QString::fromUtf8(line)); }),
            line);
    // GNU's columns in every language: an option's text starts at the
    // column of the English, the lines that go on with it two further.
    static const QRegularExpression optionLine(QStringLiteral("^  -|^      --"));
    const QRegularExpression atItsColumn(QStringLiteral("^.{%1}  \\S").arg(column - 2)),
        goesOn(QStringLiteral("^ {%1}\\S").arg(column + 2));
    bool inOptions = false;
    for (const QString &line : shown) {
        if (line.contains(optionLine))
            QVERIFY2(line.contains(atItsColumn), qPrintable(line));
        else if (inOptions && !line.isEmpty())
            QVERIFY2(line.contains(goesOn), qPrintable(line));
        inOptions = line.contains(optionLine) || (inOptions && !line.isEmpty());
    }
    if (program.isEmpty()) {
        QCOMPARE(run({ "-h" }, scratch).out, help.out);
        QCOMPARE(run({ "--he" }, scratch).out, help.out);
    }

    // Not translated: the same words in every language.
    const Result version = run(of("--version"), scratch);
    QCOMPARE(version.status, 0);
    QVERIFY2(version.out.startsWith(writeError.left(writeError.indexOf(':')) + " (Quillmere) "),
        version.out);
    QVERIFY2(version.out.contains("\nCopyright (C) "), version.out);
    QVERIFY2(version.out.contains("\nLicense MIT"), version.out);
    if (program.isEmpty())
        QCOMPARE(run({ "-V" }, scratch).out, version.out);

    // Help that could not be written is a failure with the reason, not silence.
    for (const QByteArray &option : { QByteArray("--help"), QByteArray("--version") }) {
        int fds[2];
        QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
        ::close(fds[0]);
        const Result r = run(of(option), scratch, fds[1], true);
        ::close(fds[1]);
        QCOMPARE(r.status, 2);
        // The reason is the C library's, in the language it chooses itself.
        QVERIFY2(r.err.startsWith(writeError) && r.err.indexOf('\n') == r.err.size() - 1, r.err);
        if (language.isEmpty())
            QCOMPARE(r.err, writeError + qt_error_string(EPIPE).toUtf8() + '\n');
    }
}

void tst_QuillmereList::closedPipe()
{
    TestDir scratch, a, big;
    QCOMPARE(a.createFiles({ "a.txt" }), QString());
    QList<QByteArray> many;
    for (int i = 0; i < 3000; ++i)
        many << QByteArray::number(i) + QByteArray(200, 'x');
    QCOMPARE(big.createFiles(many), QString());
    // Whether the signal ends it or the write fails with EPIPE, it ends the
    // same, quietly: the reader gone before the first write, or part-way
    // through a list larger than the pipe holds.
    for (const bool ignored : { false, true }) {
        for (const TestDir *folder : { &a, &big }) {
            int fds[2];
            QCOMPARE(::pipe2(fds, O_CLOEXEC), 0);
            std::thread reader;
            if (folder == &a)
                ::close(fds[0]);
            else
                reader = std::thread([fd = fds[0]] {
                    char part[4096];
                    for (int n = 0; n < 16 && ::read(fd, part, sizeof part) > 0; ++n) { }
                    ::close(fd);
                });
            const Result r = run({ folder->encodedPath() }, scratch, fds[1], ignored);
            ::close(fds[1]);
            if (reader.joinable())
                reader.join();
            QCOMPARE(r.signal, SIGPIPE);
            QCOMPARE(r.err, QByteArray());
        }
    }
    // A closed standard output is a write error, even for a list of 16 bytes,
    // which Qt's event descriptor in its place would have swallowed.
    QCOMPARE(a.createFiles({ "bcd.txt" }), QString());
    const Result r = run({ "--sort=name", a.encodedPath() }, scratch, ClosedOutput);
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err,
        "quillmere-list: cannot write to standard output: " + qt_error_string(EBADF).toUtf8()
            + '\n');
}

void tst_QuillmereList::streamedAsSaved()
{
    // To standard output the rows go out as each folder is read, into a file
    // as one text: the same bytes, over several of the blocks written and
    // names of every kind, by the display rules or not.
    TestDir scratch, a;
    QList<QByteArray> names;
    for (int i = 0; i < 6000; ++i) {
        const QByteArray odd[] = { "\xff", "line\nfeed", "\x1b[31m", "\xe2\x80\xae", " " };
        names << QByteArray::number(i % 3) + '/' + QByteArray::number(i) + odd[i % 5]
                + QByteArray(200, char('a' + i % 26));
    }
    for (const char *folder : { "0", "1", "2" })
        QVERIFY(QDir(a.path()).mkdir(QLatin1StringView(folder)));
    QCOMPARE(a.createFiles(names), QString());
    const QByteArray file = scratch.encodedPath() + "/list.txt";
    for (const QList<QByteArray> &options : { QList<QByteArray> { "-r", "--line-end=lf" },
             { "-r", "--escape", "--line-end=crlf" }, { "-r0" } }) {
        const QByteArray out = listed(options + QList { a.encodedPath() }, scratch);
        QVERIFY2(out.size() > 1 << 20, "more than one block written");
        QCOMPARE(listed(options + QList<QByteArray> { "-o", file, a.encodedPath() }, scratch),
            QByteArray());
        QVERIFY2(out == readAll(QFile::decodeName(file)), options.join(' '));
    }
}

QTEST_MAIN(tst_QuillmereList)
#include "tst_quillmere_list.moc"
