// SPDX-License-Identifier: MIT
#pragma once

#include "widgets/dialogkind.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class ForeignToplevel;
class PortalRequest;
class QWidget;

// The desktop's own file dialog, shown by another process through the file
// chooser portal (org.freedesktop.portal.FileChooser on the session bus): the
// window keeps painting however large the folder that dialog lists, and the
// user gets the desktop's bookmarks and recent places.
//
// openFile(), saveFile() and chooseFolder() return when the user has
// answered, waiting as DialogWait does: the window takes no input but its
// close until then, as under a modal dialog. A dialog closed in any way,
// its Cancel, Esc or the window manager's close, is the user's no
// (Cancelled), and the next dialog asks the portal again. Unavailable means
// that the portal cannot have shown a dialog: none answered, it failed, went
// away, ended the request sooner than a dialog can be seen (FailureLimit),
// or did not take the request in time: the caller shows Qt's dialog
// instead. A request not taken in time is closed at the portal for good, so
// that its dialog never shows over Qt's; should a file be picked in it all
// the same, pickedLate() hands it on.
class PortalDialog : public QObject
{
    Q_OBJECT

public:
    enum Outcome { Chosen, Cancelled, Unavailable };
    struct Answer
    {
        Outcome outcome = Unavailable;
        QString path; // set when Chosen
    };

    // Whether a dialog should go through the portal: never once the portal
    // has been Unavailable in this run, so that a missing, broken or hung
    // portal costs one wait, not one per dialog. QUILLMERE_FILE_DIALOG=qt
    // says never, =portal even without a real display; unset, only on a
    // real display.
    static bool shouldTry();
    // Forgets that the portal was Unavailable, as a new run would.
    static void forgetFailure();

    // parent: the window the dialog is modal for and placed over.
    explicit PortalDialog(QWidget *parent);

    // How long the portal may take to take the request (not the user to
    // answer it) before Qt's dialog is shown instead; meanwhile the window
    // shows the busy cursor and can be closed. A running portal takes it in
    // milliseconds; one whose backend hangs, after 25 s.
    static constexpr int DefaultReplyTimeout = 5000;
    void setReplyTimeout(int milliseconds) { m_replyTimeout = milliseconds; }

    // The portal ends a request whose backend is missing or broken within
    // milliseconds (0.02-11 ms here, 90 ms with both cores busy), while the
    // desktop's dialog maps 40-90 ms after the request (170-470 ms busy) and
    // takes a person a good 150 ms more to close. An end other than by a
    // pick or Cancel sooner than this is taken for a failure; later, for
    // the dialog closed.
    static constexpr int FailureLimit = 150;

    // One existing file, of any type; the dialog starts in folder where the
    // portal's backend takes a starting folder for opening (GTK's of Debian
    // 12 does not, and offers "read-only", which no option withdraws).
    Answer openFile(const QString &folder);
    // One existing folder itself, never a file (the portal's "directory",
    // from its version 3; Unavailable before, without counting as a failure).
    Answer chooseFolder(const QString &folder);
    // A file to write, with Qt's name filters ("Text File (*.txt)"), starting
    // in folder with no name suggested, as Qt's dialog does. The portal's
    // dialog asks before an existing file is replaced.
    Answer saveFile(const QString &folder, const QStringList &nameFilters);

    // What the portal's Response, after elapsed milliseconds, stands for. 0:
    // the one local file it names, or Cancelled for anything else (no file,
    // another scheme, a path that is not UTF-8, or, but for a save, a file
    // or folder that is gone or of the other kind); 1, the user's cancel:
    // Cancelled; any other (2, the dialog closed otherwise, or its backend
    // failed): Unavailable sooner than FailureLimit, Cancelled from then.
    static Answer fromResponse(
        uint response, const QVariantMap &results, DialogKind kind, qint64 elapsed);

signals:
    // A file or folder picked in the portal's dialog of a request given up
    // for Qt's dialog, of the kind asked for.
    void pickedLate(DialogKind kind, const QString &path);

private:
    Answer ask(DialogKind kind, const QString &title, QVariantMap options);
    // A request not taken in time: closed, and a pick in it all the same handed on.
    void giveUp(PortalRequest *request, DialogKind kind);
    // The parent_window of the request: "x11:XID", "wayland:HANDLE" or "".
    QString parentWindow(std::unique_ptr<ForeignToplevel> *exported) const;

    QWidget *m_parent;
    int m_replyTimeout = DefaultReplyTimeout;
};
