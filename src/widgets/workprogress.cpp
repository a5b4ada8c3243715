// SPDX-License-Identifier: MIT
#include "widgets/workprogress.h"

#include "core/displaytext.h"
#include "core/workstatus.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

WorkProgress::WorkProgress(QAbstractScrollArea *list)
    : RowsPanel(list)
    , m_text(new QLabel(this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
    , m_delay(new QTimer(this))
    , m_update(new QTimer(this))
    , m_escape(new QShortcut(QKeySequence(Qt::Key_Escape), this))
{
    setObjectName(QStringLiteral("WorkProgress"));
    setAccessibleName(tr("Progress"));
    m_text->setObjectName(QStringLiteral("WorkProgressText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_cancel->setObjectName(QStringLiteral("WorkProgressCancel"));
    m_cancel->setAutoDefault(false);
    m_cancel->setAccessibleDescription(tr("Stops the work; Esc does the same"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    connect(m_cancel, &QPushButton::clicked, this, &WorkProgress::cancelClicked);

    // Quick work shows nothing; work that lasts shows what it does, a few times a second.
    m_delay->setSingleShot(true);
    m_delay->setInterval(300);
    connect(m_delay, &QTimer::timeout, this, &WorkProgress::refresh);
    m_update->setInterval(250);
    connect(m_update, &QTimer::timeout, this, &WorkProgress::refresh);
    // Esc stops only what the user can see running.
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &WorkProgress::cancelClicked);

    hide();
}

void WorkProgress::start(std::shared_ptr<const WorkStatus> status)
{
    m_status = std::move(status);
    if (isVisible())
        refresh(); // a replaced rebuild's progress goes on for the new one
    else if (!m_delay->isActive())
        m_delay->start();
}

void WorkProgress::refresh()
{
    if (!m_status)
        return;
    const bool first = !isVisible();
    showText(textFor(*m_status));
    if (!first)
        return;
    m_update->start();
    m_escape->setEnabled(true);
    emit shown();
}

void WorkProgress::finish()
{
    m_status.reset();
    m_delay->stop();
    m_update->stop();
    m_escape->setEnabled(false);
    hide();
    list()->setAccessibleDescription(QString());
}

QString WorkProgress::textFor(const WorkStatus &status) const
{
    if (status.stopRequested())
        return tr("Cancelling...");
    if (status.phase() == WorkStatus::Sorting)
        return tr("Sorting the list...\nPress Esc or Cancel to stop.");
    const qsizetype files = status.filesFound();
    // Shown as the lists show it: a folder's name must not break the panel's
    // lines or turn them round.
    const QString folder = fontMetrics().elidedText(
        displayPath(status.folder()), Qt::ElideMiddle, list()->viewport()->width() - 40);
    // One sentence with its count, so that each language agrees its words with the number.
    return tr(
        "Reading %1\n%Ln files found so far\nPress Esc or Cancel to stop.", nullptr, int(files))
        .arg(folder);
}

void WorkProgress::showText(const QString &text)
{
    m_text->setText(text);
    // Sends the accessibility event itself, so screen readers hear the change.
    list()->setAccessibleDescription(text);
    place(); // a longer text may take another line
    if (!isVisible()) {
        show();
        raise();
    }
}
