// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>

class QAbstractScrollArea;

// A panel drawn over a list's rows, not over its header or scroll bars, so
// that no control of the window moves or changes for it: a little narrower
// than the rows, in their middle or low over them, and placed again as they
// are resized. What the progress and the listing's notice have in common.
class RowsPanel : public QFrame
{
public:
    enum Placement { Centred, Low };

    explicit RowsPanel(QAbstractScrollArea *list);

protected:
    QAbstractScrollArea *list() const { return m_list; }
    // Where place() puts it; the rows' middle unless said otherwise.
    virtual Placement placement() const { return Centred; }
    // Sizes it for its contents over the rows, at placement().
    void place();
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractScrollArea *m_list;
    QWidget *m_rows; // the list's viewport; watched also while the list is destroyed
};
