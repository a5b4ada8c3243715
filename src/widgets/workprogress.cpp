// SPDX-License-Identifier: MIT
#include "widgets/workprogress.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

WorkProgress::WorkProgress(QAbstractScrollArea *list)
    : QFrame(list) // not the viewport: scrolling the rows would move the panel with them
    , m_list(list)
    , m_rows(list->viewport())
    , m_text(new QLabel(this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("WorkProgress"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
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

    m_rows->installEventFilter(this);
    hide();
}

void WorkProgress::showText(const QString &text)
{
    m_text->setText(text);
    // Sends the accessibility event itself, so screen readers hear the change.
    m_list->setAccessibleDescription(text);
    place(); // a longer text may take another line
    if (!isVisible()) {
        show();
        raise();
    }
}

void WorkProgress::finish()
{
    hide();
    m_list->setAccessibleDescription(QString());
}

bool WorkProgress::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_rows && event->type() == QEvent::Resize && isVisible())
        place();
    return QFrame::eventFilter(watched, event);
}

void WorkProgress::place()
{
    // Centred over the rows, a little narrower than them.
    const QRect rows = m_rows->geometry();
    const int margin = 8;
    const int width = std::max(rows.width() - 2 * margin, 0);
    const int wanted = heightForWidth(width);
    const int height = std::min(wanted > 0 ? wanted : sizeHint().height(), rows.height());
    setGeometry(rows.x() + margin, rows.y() + (rows.height() - height) / 2, width, height);
}
