// SPDX-License-Identifier: MIT
#include "core/commandmessages.h"
#include "core/helpandversion.h"
#include "core/translations.h"
#include "widgets/commondialog.h"
#include "window/frmfilenamereader.h"
#include "window/sessionend.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The context of the command line's texts in the catalogues.
class Quillmere
{
    Q_DECLARE_TR_FUNCTIONS(Quillmere)
};

namespace {

const char Usage[] = QT_TRANSLATE_NOOP("Quillmere", "Usage: quillmere [OPTION]... [PATH]...\n");

// In the layout of GNU tools, as quillmere-list's.
const char Help[] = QT_TRANSLATE_NOOP(
    "Quillmere", R"(Opens Quillmere's window, listing the files of each folder PATH; a file PATH
stands for its folder, as when it is dropped on the window. A PATH may be a
file:// address; other addresses (smb://, http://, ...) and paths that add
nothing are named in one warning once the window shows.

      --help     display this help and exit
      --version  output version information and exit

A PATH that starts with '-' follows '--'. Qt's own options are not taken;
its environment variables, such as QT_QPA_PLATFORM, are.

Exit status:
 0  if OK,
 1  if a save it started did not end well and the window could not say so
      (the session ended the program, or Quit Without Saving gave it up),
 2  if the usage was wrong.

Full documentation is available locally via: man quillmere
)");

// The texts for the terminal in the user's language, before the window's
// application object is made: an application object of their own, made
// only for the help, the version or a usage error, which end the program.
void speakTheUserLanguage()
{
    static int argc = 1;
    static char name[] = "quillmere";
    static char *argv[] = { name, nullptr };
    static const QCoreApplication *const texts = new QCoreApplication(argc, argv);
    Q_UNUSED(texts);
    installTranslations(QLocale(), QtTexts::AsGiven);
}

// Reads the command line before any display is needed: the help, the
// version and a wrong option open no window. The paths stay bytes, since a
// file name need not be UTF-8.
QList<QByteArray> readArguments(int argc, char *argv[])
{
    QList<QByteArray> paths;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (optionsEnd || argument == "-" || !argument.startsWith('-')) {
            paths << argument;
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--help") {
            speakTheUserLanguage();
            showTextAndExit("quillmere", (Quillmere::tr(Usage) + Quillmere::tr(Help)).toUtf8());
        } else if (argument == "--version") {
            speakTheUserLanguage();
            showTextAndExit("quillmere", versionText("quillmere"));
        } else {
            speakTheUserLanguage();
            // In quillmere-list's words, the user's bytes by the display rules.
            exitOnUsageError("quillmere",
                QCoreApplication::translate("CommandLine", "unrecognized option %1")
                    .arg(quoted(argument)),
                Quillmere::tr(Usage));
        }
    }
    return paths;
}

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Quillmere"));
    installTranslations();
}

} // namespace

int main(int argc, char *argv[])
{
    // Qt is given no arguments but the program's name, so that none of its
    // own options (-style, -session, ...) can take a folder's name.
    static int qtArgc = 1;
    // The window's file dialog, run by the window in a process of its own;
    // not for users, so not in the help.
    if (argc > 1 && std::strcmp(argv[1], CommonDialog::ProcessOption) == 0) {
        QApplication app(qtArgc, argv);
        setUpApplication();
        CommonDialog::runProcess(argc, argv);
    }
    const QList<QByteArray> paths = readArguments(argc, argv);
    QApplication app(qtArgc, argv);
    setUpApplication();
    // Where the dialog can be placed over the window from another process:
    // transient for it on X11, its child through xdg-foreign on Wayland (or
    // where the compositor places it, should it not offer that).
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform == QLatin1String("wayland"))
        CommonDialog::setDialogProgram(QCoreApplication::applicationFilePath());

    FrmFilenameReader window;
    window.show();
    // Once the window shows, so that a warning has a window to stand over.
    if (!paths.isEmpty())
        QTimer::singleShot(0, &window, [&window, &paths] { window.addPaths(paths); });
    // A save a hung disk holds is given up after 10 s, well over what a
    // million rows take, when the session ends the program.
    SessionEnd session(*window.saves(), 10000, stderr);
    const int status = session.end(app.exec());
    // Then ends at once: tearing down would wait for every thread, and one may
    // be stuck in a read of a hung mount (a listing, or the file dialog's).
    std::fflush(nullptr);
    std::_Exit(status);
}
