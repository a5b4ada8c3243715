// SPDX-License-Identifier: MIT
#include "privatehome.h"
#include "testdir.h"
#include "widgets/commondialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

// Acts on the modal widgets as they come up, one step each, in order: a step
// returns false when the widget is not the one it waits for. A widget left
// open with nothing more to do is closed after a few seconds, so that a
// failing test ends rather than hangs.
class ModalScript : public QObject
{
public:
    using Step = std::function<bool(QWidget *)>;

    explicit ModalScript(QList<Step> steps)
        : m_steps(std::move(steps))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
        m_timer.start(5);
    }
    bool done() const { return m_steps.isEmpty() && m_stuck == 0; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        // A widget whose step has not returned yet, as a dialog whose accept()
        // shows a question, is left alone until it has.
        if (!modal || !modal->isVisible() || m_acting || m_busy.contains(modal))
            return;
        if (modal != m_last && !m_steps.isEmpty()) {
            // Queued, since a step may open a modal widget of its own, and a
            // timer never fires again while its handler runs.
            m_acting = true;
            QMetaObject::invokeMethod(
                this, [this, modal] { act(modal); }, Qt::QueuedConnection);
        } else if (++m_idle == 1000) {
            ++m_stuck;
            modal->close();
        }
    }
    void act(QWidget *modal)
    {
        m_acting = false;
        if (QApplication::activeModalWidget() != modal)
            return;
        // Taken before it acts: acting may open the next widget, in a loop of its own.
        const Step step = m_steps.takeFirst();
        QWidget *const last = std::exchange(m_last, modal);
        m_busy.append(modal);
        const bool taken = step(modal);
        m_busy.removeOne(modal);
        if (taken) {
            m_idle = 0;
        } else if (m_last == modal) {
            m_steps.prepend(step);
            m_last = last;
        }
    }

    QList<Step> m_steps;
    QWidget *m_last = nullptr;
    QList<QWidget *> m_busy;
    int m_idle = 0;
    int m_stuck = 0;
    bool m_acting = false;
    QTimer m_timer;
};

namespace {

ModalScript::Step chooseFile(const QString &path)
{
    return [path](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *name = modal->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!dialog || !name)
            return false;
        // As a user types it: the name field has the focus, so a file
        // selected before is not chosen with it (selectFile() would leave
        // the field alone then).
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        name->setFocus();
        for (QAbstractItemView *view : modal->findChildren<QAbstractItemView *>())
            view->clearSelection();
        name->setText(file.fileName());
        static_cast<QDialog *>(dialog)->accept(); // virtual: QFileDialog checks the choice
        return true;
    };
}

ModalScript::Step answer(QMessageBox::StandardButton button, QString *text)
{
    return [button, text](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box || !box->button(button))
            return false;
        *text = box->text();
        box->button(button)->click();
        return true;
    };
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QList<QByteArray> numberedFiles(const QByteArray &folder, int count)
{
    QList<QByteArray> names;
    for (int i = 0; i < count; ++i)
        names << folder + "/f" + QByteArray::number(i) + ".txt";
    return names;
}

} // namespace

class tst_CommonDialog : public QObject
{
    Q_OBJECT

public:
    // Qt's own dialog, which the tests can drive, on every platform.
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

private slots:
    void saveAsksBeforeReplacing_data();
    void saveAsksBeforeReplacing();
    void closedDialogKeepsNoFolderModel_data();
    void closedDialogKeepsNoFolderModel();
    void largeFolderReopensFromItsParent();
    void dialogReadsNamesOfTheFolderShownAlone_data();
    void dialogReadsNamesOfTheFolderShownAlone();
    void dialogInAProcessOfItsOwn_data();
    void dialogInAProcessOfItsOwn();
};

void tst_CommonDialog::saveAsksBeforeReplacing_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("No goes back to the dialog") << false;
    QTest::newRow("Yes replaces") << true;
}

void tst_CommonDialog::saveAsksBeforeReplacing()
{
    QFETCH(bool, replace);
    TestDir dir;
    QCOMPARE(dir.createFiles({ "list.txt" }, "an earlier list\r\n"), QString());
    const QString existing = dir.filePath("list.txt");
    const QString other = dir.filePath("other"); // typed without an extension
    QWidget window;
    CommonDialog dialogs(&window);
    dialogs.setFilter(QStringLiteral("Text File (*.txt)|*.txt"));

    QString question;
    QList<ModalScript::Step> steps { chooseFile(existing),
        answer(replace ? QMessageBox::Yes : QMessageBox::No, &question) };
    bool openAfterNo = false;
    if (!replace) {
        // The dialog is back, as the user left it, for another name.
        steps << [&openAfterNo, chosen = chooseFile(other)](QWidget *modal) {
            openAfterNo = qobject_cast<QFileDialog *>(modal) && modal->isVisible();
            return chosen(modal);
        };
    }
    ModalScript script(steps);
    dialogs.ShowSave();

    QVERIFY(script.done());
    QVERIFY2(question.contains(QStringLiteral("list.txt")), qPrintable(question));
    QCOMPARE(dialogs.FileName(), replace ? existing : other);
    QCOMPARE(openAfterNo, !replace);
    // The dialog itself writes nothing, whatever was answered.
    QCOMPARE(contents(existing), QByteArray("an earlier list\r\n"));
    QVERIFY(!QFile::exists(other));

    // A new name is not asked about, and a cancelled dialog chooses nothing.
    ModalScript fresh({ chooseFile(dir.filePath("new.txt")) });
    dialogs.ShowSave();
    QVERIFY(fresh.done());
    QCOMPARE(dialogs.FileName(), dir.filePath("new.txt"));
    ModalScript cancel({ [](QWidget *modal) { return modal->close(); } });
    dialogs.ShowSave();
    QVERIFY(cancel.done());
    QCOMPARE(dialogs.FileName(), QString());
}

void tst_CommonDialog::closedDialogKeepsNoFolderModel_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("waitForListing");
    QTest::newRow("folder shown in full") << 50 << true;
    QTest::newRow("closed while the folder is read") << 5000 << false;
}

void tst_CommonDialog::closedDialogKeepsNoFolderModel()
{
    QFETCH(int, files);
    QFETCH(bool, waitForListing);
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("many")));
    QCOMPARE(dir.createFiles(numberedFiles("many", files)), QString());
    const QString chosen = dir.filePath(QStringLiteral("many/f%1.txt").arg(files - 1));
    QWidget window;
    CommonDialog dialogs(&window);

    // Every folder model of every dialog, counted until it is destroyed,
    // on whichever thread that happens.
    std::atomic<int> alive = 0;
    int seen = 0;
    int completions = -1;
    auto count = [&](QWidget *modal) {
        for (QFileSystemModel *model : modal->findChildren<QFileSystemModel *>()) {
            ++alive;
            ++seen;
            connect(model, &QObject::destroyed, [&alive] { --alive; });
        }
    };
    ModalScript script({ [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return false;
        count(modal);
        dialog->setDirectory(QFileInfo(chosen).absolutePath());
        auto *model = dialog->findChild<QFileSystemModel *>();
        const QModelIndex folder = model->index(dialog->directory().absolutePath());
        if (waitForListing && model->rowCount(folder) < files)
            return false; // not yet: asked again on the next poll
        // A typed name is not completed: that goes through every name of
        // the folder on the window's thread.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QTest::keyClicks(name, QStringLiteral("f1"));
        completions = name->completer() ? name->completer()->completionCount() : 0;
        return chooseFile(chosen)(modal);
    } });
    dialogs.ShowOpen();
    QVERIFY(script.done());
    QCOMPARE(dialogs.FileName(), chosen);
    QVERIFY(seen > 0);
    QCOMPARE(completions, 0);
    // The dialog is gone as soon as it returns; its model soon after, and
    // counted as being freed until then.
    QVERIFY(window.findChildren<QFileDialog *>().isEmpty());
    QVERIFY(CommonDialog::modelsBeingFreed() > 0);
    QTRY_VERIFY2_WITH_TIMEOUT(
        alive == 0, "the closed dialog's folder model to be destroyed", 20000);
    QTRY_VERIFY2_WITH_TIMEOUT(CommonDialog::modelsBeingFreed() == 0,
        "the count of models being freed to come back to 0", 20000);

    // The next dialog reads the folder again from the start, and goes the same way.
    ModalScript again({ [&](QWidget *modal) {
        count(modal);
        return chooseFile(chosen)(modal);
    } });
    dialogs.ShowOpen();
    QVERIFY(again.done());
    QCOMPARE(dialogs.FileName(), chosen);
    QTRY_VERIFY2_WITH_TIMEOUT(
        alive == 0, "the second dialog's folder model to be destroyed", 20000);
}

void tst_CommonDialog::largeFolderReopensFromItsParent()
{
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("small")));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("large")));
    QCOMPARE(dir.createFiles(numberedFiles("small", 3) + numberedFiles("large", 60)), QString());
    QWidget window;
    CommonDialog dialogs(&window);
    dialogs.setLargeFolderEntries(50);

    QString directory, accept;
    QStringList selected;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    auto noteAndChoose = [&](const QString &path) -> ModalScript::Step {
        return [&, path](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (!dialog)
                return false;
            directory = dialog->directory().absolutePath();
            selected = dialog->selectedFiles();
            mode = dialog->testOption(QFileDialog::ShowDirsOnly) ? dialog->fileMode()
                                                                 : QFileDialog::AnyFile;
            const auto *buttons = dialog->findChild<QDialogButtonBox *>();
            accept = buttons && !buttons->buttons().isEmpty() ? buttons->buttons().first()->text()
                                                              : QString();
            return chooseFile(path)(modal);
        };
    };
    auto show
        = [&](const QString &path, void (CommonDialog::*showing)() = &CommonDialog::ShowOpen) {
              ModalScript script({ noteAndChoose(path) });
              (dialogs.*showing)();
              return script.done() && dialogs.FileName() == path;
          };

    // Each count ends in a moment, in the background.
    auto counted = [&](const QString &path) {
        return show(path) && QTest::qWaitFor([&] { return dialogs.hasCountedFolder(); }, 10000);
    };
    QVERIFY(counted(dir.filePath("small/f0.txt")));
    QVERIFY(counted(dir.filePath("large/f1.txt")));
    QCOMPARE(directory, dir.filePath("small"));
    // The large folder is shown from its parent, selected.
    QVERIFY(counted(dir.filePath("large/f2.txt")));
    QCOMPARE(directory, dir.path());
    QCOMPARE(selected, QStringList { dir.filePath("large") });
    // Saving from there offers no folder's name to save as, and says Save.
    QVERIFY(show(dir.filePath("list.txt"), &CommonDialog::ShowSave));
    QCOMPARE(directory, dir.path());
    QCOMPARE(selected, QStringList { dir.path() });
    QCOMPARE(accept, QStringLiteral("&Save"));
    QVERIFY(counted(dir.filePath("large/f3.txt")));
    // A folder itself, from its parent among folders only: the large one is never read.
    QVERIFY(show(dir.filePath("small"), &CommonDialog::ShowFolder));
    QCOMPARE(directory, dir.path());
    QCOMPARE(selected, QStringList { dir.filePath("large") });
    QCOMPARE(mode, QFileDialog::Directory);
    QVERIFY(show(dir.filePath("large"), &CommonDialog::ShowFolder));
    QCOMPARE(selected, QStringList { dir.filePath("small") });
    // A small folder opens as itself again.
    QVERIFY(counted(dir.filePath("small/f1.txt")));
    QVERIFY(counted(dir.filePath("small/f2.txt")));
    QCOMPARE(directory, dir.filePath("small"));
}

void tst_CommonDialog::dialogReadsNamesOfTheFolderShownAlone_data()
{
    QTest::addColumn<bool>("byAnotherProgram");
    QTest::newRow("last folder browsed in a dialog") << false;
    QTest::newRow("last folder of another Qt program") << true;
}

void tst_CommonDialog::dialogReadsNamesOfTheFolderShownAlone()
{
    QFETCH(bool, byAnotherProgram);
    TestDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("shown/sub")));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("elsewhere")));
    // Contents that would name other types, were they read.
    QCOMPARE(dir.createFiles(
                 { "shown/notes.txt", "shown/picture", "elsewhere/f0.txt" }, "\x89PNG\r\n\x1a\n"),
        QString());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("other")));
    const QString shown = dir.filePath("shown"), elsewhere = dir.filePath("elsewhere");
    const auto url = [](const QString &path) { return QUrl::fromLocalFile(path).toString(); };
    // Another Qt program's state, which must survive the dialogs.
    QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
        .setValue(QStringLiteral("FileDialog/history"), QStringList { url(dir.filePath("other")) });
    QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
        .setValue(QStringLiteral("Other/kept"), 1);
    QWidget window;
    CommonDialog dialogs(&window);
    ModalScript first({ chooseFile(shown + QStringLiteral("/notes.txt")) });
    dialogs.ShowOpen();
    QVERIFY(first.done());

    // Qt's dialog reads the folder the last one showed before the one it is
    // given: a million files there would stall the window for minutes.
    if (byAnotherProgram) {
        QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
            .setValue(QStringLiteral("FileDialog/lastVisited"),
                QUrl::fromLocalFile(elsewhere).toString());
    } else {
        ModalScript browse({ [&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            return dialog && (dialog->setDirectory(elsewhere), modal->close());
        } });
        dialogs.ShowOpen();
        QVERIFY(browse.done());
    }

    QString directory;
    QStringList types;
    bool elsewhereRead = true;
    ModalScript next({ [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        auto *model = modal->findChild<QFileSystemModel *>();
        if (!dialog || !model)
            return false;
        directory = dialog->directory().absolutePath();
        types.clear();
        for (const char *name : { "notes.txt", "picture", "sub" })
            types << model->index(shown + u'/' + QLatin1String(name), 2).data().toString();
        if (types.contains(QString()))
            return false; // not read yet: asked again on the next poll
        // Qt's dialog reads one folder after another: a folder asked for
        // before the one shown has been read by now.
        elsewhereRead = model->rowCount(model->index(elsewhere)) > 0;
        return modal->close();
    } });
    dialogs.ShowOpen();
    QVERIFY(next.done());
    QCOMPARE(directory, shown);
    QVERIFY2(!elsewhereRead, "the folder the last dialog showed was read again");
    const QMimeDatabase mimes;
    QCOMPARE(types,
        QStringList({ mimes.mimeTypeForFile(QStringLiteral("a.txt"), QMimeDatabase::MatchExtension)
                          .comment(),
            mimes.mimeTypeForName(QStringLiteral("application/octet-stream")).comment(),
            QFileIconProvider().type(QFileInfo(shown + QStringLiteral("/sub"))) }));

    // As Qt's own dialog leaves its shared settings: the folders visited and
    // the last one shown, nothing lost.
    const QSettings after(QSettings::UserScope, QStringLiteral("QtProject"));
    const QStringList history = after.value(QStringLiteral("FileDialog/history")).toStringList();
    QVERIFY2(!history.contains(QString()), qPrintable(history.join(u' ')));
    QVERIFY2(history.contains(url(dir.filePath("other"))) && history.contains(url(shown))
            && (byAnotherProgram || history.contains(url(elsewhere))),
        qPrintable(history.join(u' ')));
    QCOMPARE(after.value(QStringLiteral("FileDialog/lastVisited")).toString(), url(shown));
    QCOMPARE(after.value(QStringLiteral("Other/kept")).toInt(), 1);
}

// This test's program as the dialog's process answers as TEST_DIALOG_ANSWER
// says, and writes where its dialog was placed, how many of its completers
// can complete and the window it was made a child of (Wayland), then its
// name filters, one a line, to the file TEST_DIALOG_SHOWN names.
void tst_CommonDialog::dialogInAProcessOfItsOwn_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("programExists");
    QTest::addColumn<int>("kind"); // Save takes a new file's name, Folder the folder
    QTest::addColumn<bool>("shownHere"); // then chosen here
    const int open = int(DialogKind::OpenFile), save = int(DialogKind::SaveFile),
              folder = int(DialogKind::Folder);
    QTest::newRow("chosen there") << QByteArrayLiteral("choose") << true << open << false;
    QTest::newRow("a new file saved there") << QByteArrayLiteral("choose") << true << save << false;
    QTest::newRow("a folder chosen there")
        << QByteArrayLiteral("choose") << true << folder << false;
    QTest::newRow("cancelled there") << QByteArrayLiteral("cancel") << true << open << false;
    QTest::newRow("crashed: shown here") << QByteArrayLiteral("crash") << true << open << true;
    QTest::newRow("failed: shown here") << QByteArrayLiteral("fail") << true << save << true;
    QTest::newRow("not started: shown here") << QByteArray() << false << folder << true;
}

void tst_CommonDialog::dialogInAProcessOfItsOwn()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, programExists);
    QFETCH(int, kind);
    QFETCH(bool, shownHere);
    TestDir dir;
    QCOMPARE(dir.createFiles({ "f.txt" }), QString());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString chosen = dir.filePath(kind == int(DialogKind::SaveFile) ? "new.txt"
            : kind == int(DialogKind::Folder)                             ? "sub"
                                                                          : "f.txt");
    qputenv("TEST_DIALOG_ANSWER", answer + ':' + QFile::encodeName(chosen));
    qputenv("TEST_DIALOG_SHOWN", QFile::encodeName(dir.filePath("shown")));
    CommonDialog::setDialogProgram(
        programExists ? QCoreApplication::applicationFilePath() : dir.filePath("missing"));
    // Left of the screen's middle, and low enough that a dialog centred over
    // it would reach below the screen.
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.setGeometry(room.x() + room.width() / 4, room.bottom() - room.height() / 4,
        room.width() / 3, room.height() / 5);
    window.show(); // on Wayland, a toplevel the compositor can name to the dialog
    CommonDialog dialogs(&window);
    bool here = false;
    ModalScript script({ [&](QWidget *modal) {
        here = here || qobject_cast<QFileDialog *>(modal);
        return chooseFile(chosen)(modal);
    } });
    dialogs.setFilter(QStringLiteral("Text File (*.txt)|*.txt"));
    const bool save = kind == int(DialogKind::SaveFile);
    save                                  ? dialogs.ShowSave()
        : kind == int(DialogKind::Folder) ? dialogs.ShowFolder()
                                          : dialogs.ShowOpen();
    QCOMPARE(here, shownHere);
    QCOMPARE(dialogs.FileName(), answer == "cancel" ? QString() : chosen);
    // A process that failed once is not tried again in this run.
    QCOMPARE(CommonDialog::dialogProgram().isEmpty(), shownHere);
    if (!shownHere) {
        // With the filter it was given, over the window across, as Qt centres
        // a dialog, and all on the screen.
        const QStringList shown = QString::fromUtf8(contents(dir.filePath("shown"))).split(u'\n');
        QCOMPARE(shown.mid(1), QStringList { QStringLiteral("Text File (*.txt)") });
        const QStringList sides = shown.constFirst().split(u' ');
        QCOMPARE(sides.size(), 6);
        // No completion of typed names, whatever Qt's dialog does as it shows.
        QCOMPARE(sides[4], QStringLiteral("0"));
        // On Wayland (tst_commondialog_wayland, under sway) the compositor
        // places the dialog, as a child of the window it was handed.
        if (QGuiApplication::platformName() == QLatin1String("wayland")) {
            QVERIFY2(sides[5] != QStringLiteral("-"), "the dialog made a child of the window");
        } else {
            QCOMPARE(sides[5], QStringLiteral("-"));
            const QRect placed(
                sides[0].toInt(), sides[1].toInt(), sides[2].toInt(), sides[3].toInt());
            QVERIFY2(room.contains(placed), qPrintable(shown.constFirst()));
            QVERIFY2(qAbs(placed.center().x() - window.frameGeometry().center().x()) <= 1,
                qPrintable(shown.constFirst()));
        }
    }
    CommonDialog::setDialogProgram(QString());
}

namespace {

// This program run as the dialog's process.
[[noreturn]] void answerAsTheDialogProcess(int argc, char *argv[])
{
    const QByteArray answer = qgetenv("TEST_DIALOG_ANSWER");
    if (answer.startsWith("crash"))
        ::raise(SIGKILL); // as a crash ends it, without leaving a core file
    if (answer.startsWith("fail"))
        std::_Exit(1);
    static int qtArgc = 1;
    // As the program runs it: where native dialogs are allowed, Qt's dialog
    // gives its completer the folder model again as it shows.
    QApplication app(qtArgc, argv);
    const QString path = QFile::decodeName(answer.mid(answer.indexOf(':') + 1));
    ModalScript script({ [&](QWidget *modal) {
        // Where it was moved, at its own size: its frame is not known until it
        // shows; and how many completers have a model to complete names from.
        const QRect placed(modal->pos(), modal->size());
        int completing = 0;
        for (QCompleter *completer : modal->findChildren<QCompleter *>())
            completing += completer->model() ? 1 : 0;
        // And the window it was made a child of, on Wayland ("-": none).
        const QString parent = modal->property(DialogProcess::ParentProperty).toString();
        QStringList shown { QStringLiteral("%1 %2 %3 %4 %5 %6")
                                .arg(placed.x())
                                .arg(placed.y())
                                .arg(placed.width())
                                .arg(placed.height())
                                .arg(completing)
                                .arg(parent.isEmpty() ? QStringLiteral("-") : parent) };
        if (auto *dialog = qobject_cast<QFileDialog *>(modal))
            shown << dialog->nameFilters();
        QFile report(qEnvironmentVariable("TEST_DIALOG_SHOWN"));
        if (report.open(QIODevice::WriteOnly))
            report.write(shown.join(u'\n').toUtf8());
        return answer.startsWith("choose") ? chooseFile(path)(modal) : modal->close();
    } });
    CommonDialog::runProcess(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], CommonDialog::ProcessOption) == 0)
        answerAsTheDialogProcess(argc, argv);
    tst_CommonDialog::initMain();
    QApplication app(argc, argv);
    tst_CommonDialog test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_commondialog.moc"
