// SPDX-License-Identifier: MIT
#pragma once

#include "core/emptylisting.h"
#include "widgets/rowspanel.h"

class QAbstractScrollArea;
class QAction;
class QLabel;
class QPropertyAnimation;
class QPushButton;
class QTimer;

// What a listing came to, said over the file list's rows where the progress
// panel shows, so that no control of the window moves or changes: after
// each listing, how many files it listed, fading after a few seconds and
// letting clicks through to the rows; over a list left empty, why, with
// Include Sub-folders offered where the folders hold only sub-folders, until
// rows come. The band over the list (its tool tip) and the list (its
// accessible description, for screen readers) keep the count.
class ListingNotice : public RowsPanel
{
    Q_OBJECT

public:
    // offer: the command offered where the folders hold only sub-folders.
    ListingNotice(QAbstractScrollArea *list, QWidget *band, QAction *offer);

    // A listing ended with files rows.
    void listed(int files);
    // It listed nothing of folders (how many were listed), for this reason.
    void listedNothing(EmptyListing why, int folders);

    // How long the count shows before it fades, and how long it fades, in ms.
    static constexpr int Shown = 3000;
    static constexpr int Fading = 1000;

protected:
    // The count low over the rows, out of the way of the first ones; why the
    // list is empty in the middle of it.
    Placement placement() const override { return m_lasting ? Centred : Low; }

private:
    void showText(const QString &text, bool lasting);
    void dismiss();

    QWidget *m_band;
    QLabel *m_text;
    QPushButton *m_offer;
    QTimer *m_shown;
    QPropertyAnimation *m_fade;
    bool m_lasting = false; // shown until rows come, not fading
};
