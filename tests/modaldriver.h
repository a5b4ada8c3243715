// SPDX-License-Identifier: MIT
#pragma once

#include "privatehome.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

// Answers the modal dialogs the window opens, as a user would: Qt's own file
// dialog from a queue of answers, message boxes by noting them and pressing OK.
// A file dialog with no answer queued is cancelled and counted.
class ModalDriver : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        Qt::TextFormat format;
        QString details; // all of them: a box is answered once they are there
        QRect frame; // on the screen, in pixels
        QRect screen; // its screen's available part
    };
    struct FileDialog
    {
        QFileDialog::AcceptMode mode;
        QFileDialog::FileMode fileMode;
        QStringList nameFilters;
        QString directory; // where it opened
    };

    ModalDriver()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::answer);
        m_timer.start(5);
        // A timer of its own: the question comes up while the answer that
        // chose the file is still running, and a timer never fires again
        // while its handler runs.
        connect(&m_questionTimer, &QTimer::timeout, this, &ModalDriver::answerQuestion);
        m_questionTimer.start(5);
    }

    // Selects path in the dialog and accepts it.
    void choose(const QString &path) { m_answers.append({ Select, path }); }
    // Types path into the file name field and clicks Open or Save.
    void type(const QString &path) { m_answers.append({ Type, path }); }
    void cancel() { m_answers.append({ Cancel, QString() }); }
    // Leaves the dialog of that object name to the test.
    void leaveOpen(const QString &objectName) { m_leftOpen << objectName; }
    // Every queued answer was taken, and no dialog stayed open after its answer.
    bool allAnswered() const { return m_answers.isEmpty() && stuckDialogs == 0; }

    QList<Box> boxes;
    QList<QString> questions; // asked before a file is replaced, answered Yes
    QList<FileDialog> fileDialogs;
    int unexpectedFileDialogs = 0;
    int stuckDialogs = 0;

private:
    enum How { Select, Type, Cancel };
    struct Answer
    {
        How how;
        QString path;
    };

    // The file dialog's own question before a file is replaced: the test
    // chose that file, so the answer is Yes.
    void answerQuestion()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->button(QMessageBox::Yes)
            || !box->button(QMessageBox::No) || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        questions.append(box->text());
        box->button(QMessageBox::Yes)->click();
    }

    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || m_leftOpen.contains(modal->objectName()))
            return;
        if (modal->property("answered").toBool()) {
            // A dialog that stays open after its answer would hang the test: give up on it.
            const int polls = modal->property("polls").toInt() + 1;
            modal->setProperty("polls", polls);
            if (polls == 400) {
                ++stuckDialogs;
                modal->close();
            }
            return;
        }
        if (auto *box = qobject_cast<QMessageBox *>(modal);
            box && box->button(QMessageBox::Yes) && box->button(QMessageBox::No))
            return; // answerQuestion()'s
        // Many details are added while the box shows (Messages::show).
        if (modal->findChild<QTimer *>(QStringLiteral("DetailsFilling")))
            return;
        modal->setProperty("answered", true);
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes.append({ box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->textFormat(), box->detailedText(), box->frameGeometry(),
                box->screen()->availableGeometry() });
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            fileDialogs.append({ dialog->acceptMode(), dialog->fileMode(), dialog->nameFilters(),
                dialog->directory().absolutePath() });
            if (m_answers.isEmpty()) {
                ++unexpectedFileDialogs;
                dialog->reject();
                return;
            }
            const Answer answer = m_answers.takeFirst();
            switch (answer.how) {
            case Select:
                dialog->selectFile(answer.path);
                static_cast<QDialog *>(dialog)->accept(); // virtual: QFileDialog validates
                break;
            case Type: {
                auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                QVERIFY(edit);
                edit->clear();
                // One key event with the whole path, as an input method commits it: the
                // dialog acts on every "/" typed alone, going to the root folder.
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, answer.path, {});
                // Enter may go to the completer's popup; the button is what a user would click.
                auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
                QVERIFY(buttons);
                QAbstractButton *accept = buttons->button(QDialogButtonBox::Open);
                if (!accept)
                    accept = buttons->button(QDialogButtonBox::Save);
                QVERIFY(accept);
                QTest::mouseClick(accept, Qt::LeftButton);
                break;
            }
            case Cancel:
                dialog->reject();
                break;
            }
        }
    }

    QTimer m_timer;
    QTimer m_questionTimer;
    QList<Answer> m_answers;
    QStringList m_leftOpen;
};
