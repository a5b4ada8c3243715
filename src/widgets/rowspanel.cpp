// SPDX-License-Identifier: MIT
#include "widgets/rowspanel.h"

#include <QAbstractScrollArea>
#include <QEvent>

RowsPanel::RowsPanel(QAbstractScrollArea *list)
    : QFrame(list) // not the viewport: scrolling the rows would move it with them
    , m_list(list)
    , m_rows(list->viewport())
{
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_rows->installEventFilter(this);
}

bool RowsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_rows && event->type() == QEvent::Resize && isVisible())
        place();
    return QFrame::eventFilter(watched, event);
}

void RowsPanel::place()
{
    const QRect rows = m_rows->geometry();
    const int margin = 8;
    const int width = std::max(rows.width() - 2 * margin, 0);
    const int wanted = heightForWidth(width);
    const int height = std::min(wanted > 0 ? wanted : sizeHint().height(), rows.height());
    const int top = placement() == Centred ? rows.y() + (rows.height() - height) / 2
                                           : rows.y() + rows.height() - height - margin;
    setGeometry(rows.x() + margin, top, width, height);
}
