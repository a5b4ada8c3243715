// SPDX-License-Identifier: MIT
#include "window/closingsaves.h"

#include "list/savequeue.h"
#include "window/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

ClosingSaves::ClosingSaves(QWidget *window, SaveQueue *saves)
    : QObject(window)
    , m_window(window)
    , m_saves(saves)
{
    connect(saves, &SaveQueue::saveEnded, this,
        [this](const QString &target, SaveResult result, const QString &reason) {
            if (result == SaveResult::Failed && m_waiting)
                m_waiting->done(QMessageBox::Cancel);
            Messages::warnSaveEnded(m_window, target, result, reason);
        });
    connect(saves, &SaveQueue::savesEnded, this, [this] {
        if (m_waiting) {
            m_waiting->done(QMessageBox::Ok);
            QApplication::quit();
        }
    });
}

void ClosingSaves::close()
{
    if (!m_saves->isSaving()) {
        QApplication::quit();
        return;
    }
    if (m_waiting)
        return;
    QPushButton *quit = nullptr;
    m_waiting = Messages::waitingForSaves(m_window, m_saves->targets(), &quit);
    connect(quit, &QPushButton::clicked, this, &ClosingSaves::quitWithoutSaving);
    m_waiting->open();
}

void ClosingSaves::quitWithoutSaving()
{
    QStringList said;
    for (const SaveQueue::GivenUp &save : m_saves->giveUpSaves())
        said << Messages::givenUp(save);
    // Said once more where the program can still say it: the list is not
    // saved, or, too late to give up, saved.
    Messages::warn(m_window, said.join(QStringLiteral("\n\n")));
    QApplication::exit(1);
}
