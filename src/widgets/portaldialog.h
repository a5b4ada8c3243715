// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QEventLoop;
class QWidget;

// The desktop's own file dialog, shown by another process through the file
// chooser portal (org.freedesktop.portal.FileChooser on the session bus): the
// window keeps painting however large the folder that dialog lists, and the
// user gets the desktop's bookmarks and recent places.
//
// openFile() and saveFile() return when the user has answered, running a
// local event loop meanwhile; the window takes no input until then, as under
// a modal dialog. Unavailable means that no portal answered, or that it
// failed or went away before the user answered: the caller shows Qt's dialog
// instead, and nothing the user chose is lost, since nothing was chosen.
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

    // Whether a dialog should go through the portal. QUILLMERE_FILE_DIALOG=qt
    // says never, =portal always; unset, only on a real display and until a
    // portal has once been unavailable in this run, so that a missing or hung
    // portal costs one wait, not one per dialog.
    static bool shouldTry();

    // parent: the window the dialog is modal for and placed over.
    explicit PortalDialog(QWidget *parent);

    // How long the portal may take to take the request (not the user to
    // answer it) before Qt's dialog is shown instead. Starting the portal
    // and its backend on a busy machine takes seconds.
    static constexpr int DefaultReplyTimeout = 25000;
    void setReplyTimeout(int milliseconds) { m_replyTimeout = milliseconds; }

    // One existing file, of any type.
    Answer openFile();
    // A file to write, with Qt's name filters ("Text File (*.txt)"). The
    // portal's dialog asks before an existing file is replaced.
    Answer saveFile(const QStringList &nameFilters);

    // What the portal's Response stands for: the one local file it names,
    // or Cancelled for anything else (no file, another scheme, a path that
    // is not UTF-8, or, when mustExist, a file that is gone).
    static Answer fromResponse(uint response, const QVariantMap &results, bool mustExist);

    // The Request object the portal makes for handle_token, by the portal's
    // rule: the caller's unique bus name without ':' and with '_' for '.'.
    static QString requestPath(const QString &uniqueName, const QString &token);

private slots:
    void response(uint response, const QVariantMap &results);

private:
    Answer ask(const QString &method, const QString &title, QVariantMap options, bool mustExist);
    QString parentWindow() const;
    void listen(const QString &path, bool on);

    QWidget *m_parent;
    int m_replyTimeout = DefaultReplyTimeout;
    bool m_mustExist = false;
    Answer m_answer;
    QEventLoop *m_loop = nullptr;
};
