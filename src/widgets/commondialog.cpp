// SPDX-License-Identifier: MIT
#include "widgets/commondialog.h"

#include "core/background.h"
#include "widgets/inputblocker.h"
#include "widgets/modeldisposal.h"
#include "widgets/portaldialog.h"
#include "widgets/qtfiledialog.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QWindow>
#include <QtConcurrent>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_LINUX
#include <csignal>

#include <sys/prctl.h>
#endif

namespace {

// Whether folder has at least `entries` entries; stops counting there, so
// a folder of a million files costs no more than one of `entries`.
bool hasAtLeast(const QString &folder, int entries)
{
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    int count = 0;
    while (count < entries && it.hasNext()) {
        it.next();
        ++count;
    }
    return count >= entries;
}

// In the dialog's own process: over the window whose X11 id and frame
// ("x,y,width,height") it was given, as a dialog of that window would be.
void placeOver(QFileDialog *dialog, const QString &windowId, const QString &frame)
{
    bool known = false;
    const WId id = windowId.toULongLong(&known, 16);
    if (known && id != 0 && QGuiApplication::platformName() == QLatin1String("xcb")) {
        dialog->winId(); // its own native window, to be made transient
        // Lives as long as this process, which ends with the dialog.
        if (QWindow *window = QWindow::fromWinId(id))
            dialog->windowHandle()->setTransientParent(window);
    }
    const QStringList sides = frame.split(u',');
    if (sides.size() != 4)
        return;
    const QRect over(sides[0].toInt(), sides[1].toInt(), sides[2].toInt(), sides[3].toInt());
    dialog->adjustSize();
    QRect placed(QPoint(), dialog->size());
    placed.moveCenter(over.center());
    if (const QScreen *screen = QGuiApplication::screenAt(over.center())) {
        const QRect room = screen->availableGeometry();
        placed.moveLeft(qBound(room.left(), placed.left(), room.right() - placed.width() + 1));
        placed.moveTop(qBound(room.top(), placed.top(), room.bottom() - placed.height() + 1));
    }
    dialog->move(placed.topLeft());
}

// Set once the dialog's own process failed: the rest of the run shows it here.
bool processFailed = false;

QString &programSetting()
{
    static QString program;
    return program;
}

} // namespace

CommonDialog::CommonDialog(QWidget *parent)
    : QObject(parent)
{ }

int CommonDialog::modelsBeingFreed()
{
    return ModelDisposal::pending();
}

QStringList CommonDialog::nameFilters(const QString &filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &pattern = parts[i + 1];
        // Qt reads the patterns from the trailing parentheses; add them only when missing.
        const QString shown = u'(' + pattern + u')';
        filters << (description.endsWith(shown) ? description : description + u' ' + shown);
    }
    return filters;
}

void CommonDialog::ShowOpen()
{
    show(false);
}

void CommonDialog::ShowSave()
{
    show(true);
}

QString CommonDialog::startFolder(QString *selected) const
{
    selected->clear();
    // The first dialog of a run opens in the home folder, as desktop
    // programs' do: the working folder may hold a million files.
    if (m_folder.isEmpty())
        return QDir::homePath();
    // A count not finished yet, as on a hung drive, says nothing.
    if (!m_folderIsLarge.isValid() || !m_folderIsLarge.isFinished() || !m_folderIsLarge.result())
        return m_folder;
    const QFileInfo folder(m_folder);
    if (folder.isRoot())
        return m_folder;
    *selected = folder.fileName();
    return folder.absolutePath();
}

QString CommonDialog::dialogProgram()
{
    return processFailed ? QString() : programSetting();
}

void CommonDialog::setDialogProgram(const QString &program)
{
    programSetting() = program;
    processFailed = false;
}

void CommonDialog::show(bool save)
{
    m_fileName.clear();
    if (PortalDialog::shouldTry()) {
        PortalDialog portal(static_cast<QWidget *>(parent()));
        const PortalDialog::Answer answer
            = save ? portal.saveFile(nameFilters(m_filter)) : portal.openFile();
        if (answer.outcome != PortalDialog::Unavailable) {
            m_fileName = answer.path;
            return;
        }
    }
    QString selected;
    const QString folder = startFolder(&selected);
    if (!dialogProgram().isEmpty()) {
        if (const std::optional<QString> chosen = showInProcessOfItsOwn(save, folder, selected)) {
            take(*chosen);
            return;
        }
        processFailed = true;
    }
    take(QtFileDialog::choose(
        static_cast<QWidget *>(parent()), save, folder, selected, nameFilters(m_filter)));
}

void CommonDialog::take(const QString &chosen)
{
    m_fileName = chosen;
    if (chosen.isEmpty())
        return;
    // The chosen file's own folder: the dialog's directory stays where it
    // was shown when the user typed a path elsewhere.
    m_folder = QFileInfo(m_fileName).absolutePath();
    m_folderIsLarge = QtConcurrent::run(workerPool(), hasAtLeast, m_folder, m_largeFolder);
}

std::optional<QString> CommonDialog::showInProcessOfItsOwn(
    bool save, const QString &folder, const QString &selected) const
{
    QWidget *window = static_cast<QWidget *>(parent())->window();
    QString windowId;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        windowId = QString::number(window->winId(), 16);
    const QRect over = window->frameGeometry();
    const QString frame = QStringLiteral("%1,%2,%3,%4")
                              .arg(over.x())
                              .arg(over.y())
                              .arg(over.width())
                              .arg(over.height());

    QProcess process;
    process.setProgram(dialogProgram());
    process.setArguments(
        { QLatin1String(ProcessOption), save ? QStringLiteral("save") : QStringLiteral("open"),
            folder, selected, m_filter, windowId, frame });
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // A dialog left over from a window that is gone would answer no one.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start();
    {
        const InputBlocker blocker(window);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
    }
    if (process.error() == QProcess::FailedToStart || process.state() != QProcess::NotRunning
        || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QFile::decodeName(process.readAllStandardOutput());
}

void CommonDialog::runProcess(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    if (arguments.size() != 6 || (arguments[0] != u"open" && arguments[0] != u"save")) {
        std::fputs("the file dialog's process was given the wrong arguments\n", stderr);
        std::_Exit(2);
    }
    QFileDialog *dialog = QtFileDialog::make(
        nullptr, arguments[0] == u"save", arguments[1], arguments[2], nameFilters(arguments[3]));
    placeOver(dialog, arguments[4], arguments[5]);
    const QByteArray chosen = QFile::encodeName(QtFileDialog::answer(dialog));
    // The models are left to the process's end.
    QtFileDialog::deleteAllButModels(dialog);
    const bool written
        = std::fwrite(chosen.constData(), 1, chosen.size(), stdout) == size_t(chosen.size())
        && std::fflush(stdout) == 0;
    if (!written)
        std::perror("the file dialog's answer");
    std::fflush(nullptr);
    std::_Exit(written ? 0 : 1);
}
