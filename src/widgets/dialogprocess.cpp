// SPDX-License-Identifier: MIT
#include "widgets/dialogprocess.h"

#include "widgets/dialogwait.h"
#include "widgets/foreigntoplevel.h"
#include "widgets/qtfiledialog.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifdef Q_OS_LINUX
#include <csignal>

#include <sys/prctl.h>
#endif

namespace {

// How long the dialog waits for the compositor to take it as the window's child.
constexpr int ImportLimit = 1000;

// The window handle of the window's process, for Wayland.
const QLatin1String waylandPrefix("wayland:");

// Each kind of dialog by its name on the process's command line.
constexpr struct
{
    DialogKind kind;
    const char *name;
} kindNames[] = {
    { DialogKind::OpenFile, "open" },
    { DialogKind::SaveFile, "save" },
    { DialogKind::Folder, "folder" },
};

// Over the window whose X11 id or Wayland handle ("wayland:HANDLE") and
// frame ("x,y,width,height") the process was given, as a dialog of that
// window would be. On Wayland the compositor places the dialog: once shown,
// it is made a child of the window, for as long as *parent lives; where the
// compositor cannot, it places the dialog as any window.
void placeOver(QFileDialog *dialog, const QString &windowId, const QString &frame,
    std::unique_ptr<ForeignToplevel> *parent)
{
    if (windowId.startsWith(waylandPrefix)) {
        dialog->winId(); // its QWindow, whose toplevel is made as it shows
        const QString handle = windowId.mid(waylandPrefix.size());
        // Qt gives the window its toplevel only after visibleChanged.
        QObject::connect(dialog->windowHandle(), &QWindow::visibleChanged, dialog,
            [dialog, handle, parent](bool visible) {
                if (!visible || *parent)
                    return;
                QTimer::singleShot(0, dialog, [dialog, handle, parent] {
                    if (*parent || !dialog->isVisible())
                        return;
                    *parent
                        = ForeignToplevel::parentTo(dialog->windowHandle(), handle, ImportLimit);
                    if (*parent)
                        dialog->setProperty(DialogProcess::ParentProperty, handle);
                });
            });
        return;
    }
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

} // namespace

std::optional<QString> DialogProcess::choose(const QString &program, QWidget *window,
    DialogKind kind, const QString &folder, const QString &selected, const QStringList &nameFilters)
{
    QString windowId;
    // Names the window to the dialog's process until that ends.
    std::unique_ptr<ForeignToplevel> exported;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        windowId = QString::number(window->winId(), 16);
    } else if ((exported = ForeignToplevel::exportWindow(window->windowHandle()))) {
        const QString handle = exported->handle(ForeignToplevel::ExportLimit);
        if (!handle.isEmpty())
            windowId = waylandPrefix + handle;
    }
    const QRect over = window->frameGeometry();
    const QString frame = QStringLiteral("%1,%2,%3,%4")
                              .arg(over.x())
                              .arg(over.y())
                              .arg(over.width())
                              .arg(over.height());

    // On the heap: a process ended on the window's close goes once it is reaped.
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(QStringList { QLatin1String(Option),
                              QLatin1String(std::find_if(std::begin(kindNames), std::end(kindNames),
                                  [kind](const auto &named) {
                                      return named.kind == kind;
                                  })->name),
                              folder, selected, windowId, frame }
        + nameFilters);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // A dialog left over from a window that is gone would answer no one; it
    // goes even if stopped.
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    DialogWait wait(window);
    QObject::connect(process, &QProcess::finished, &wait, &DialogWait::finish);
    QObject::connect(process, &QProcess::errorOccurred, &wait, &DialogWait::finish);
    // The window is closing: its dialog goes with it, even one that hangs.
    QObject::connect(&wait, &DialogWait::abandoned, process, &QProcess::kill);
    process->start();
    if (process->state() != QProcess::NotRunning)
        wait.exec();
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    } else {
        process->deleteLater();
    }
    if (wait.isAbandoned())
        return QString();
    if (process->error() == QProcess::FailedToStart || process->state() != QProcess::NotRunning
        || process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
        return std::nullopt;
    return QFile::decodeName(process->readAllStandardOutput());
}

void DialogProcess::run(int argc, char *argv[])
{
    // open or save, folder, selected, window id, frame, then the name filters.
    QStringList arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const auto named
        = std::find_if(std::begin(kindNames), std::end(kindNames), [&arguments](const auto &named) {
              return arguments.value(0) == QLatin1String(named.name);
          });
    if (arguments.size() < 5 || named == std::end(kindNames)) {
        std::fputs("the file dialog's process was given the wrong arguments\n", stderr);
        std::_Exit(2);
    }
    QFileDialog *dialog
        = QtFileDialog::make(nullptr, named->kind, arguments[1], arguments[2], arguments.mid(5));
    std::unique_ptr<ForeignToplevel> parent; // the window's, until the process ends
    placeOver(dialog, arguments[3], arguments[4], &parent);
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
