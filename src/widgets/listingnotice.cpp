// SPDX-License-Identifier: MIT
#include "widgets/listingnotice.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

ListingNotice::ListingNotice(QAbstractScrollArea *list, QWidget *band, QAction *offer)
    : RowsPanel(list)
    , m_band(band)
    , m_text(new QLabel(this))
    , m_offer(new QPushButton(offer->text(), this))
    , m_shown(new QTimer(this))
    , m_fade(new QPropertyAnimation(this))
{
    setObjectName(QStringLiteral("ListingNotice"));
    m_text->setObjectName(QStringLiteral("ListingNoticeText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignCenter);
    m_offer->setObjectName(QStringLiteral("ListingNoticeOffer"));
    m_offer->setAutoDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_offer, 0, Qt::AlignHCenter);
    connect(m_offer, &QPushButton::clicked, offer, &QAction::trigger);
    // Sized for its caption before it first shows, in every language.
    resize(sizeHint());
    layout->activate();

    auto *opacity = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(opacity);
    m_fade->setTargetObject(opacity);
    m_fade->setPropertyName("opacity");
    m_fade->setDuration(Fading);
    m_fade->setStartValue(1.0);
    m_fade->setEndValue(0.0);
    connect(m_fade, &QPropertyAnimation::finished, this, &QWidget::hide);
    m_shown->setSingleShot(true);
    m_shown->setInterval(Shown);
    connect(m_shown, &QTimer::timeout, m_fade, [this] { m_fade->start(); });

    if (auto *view = qobject_cast<QAbstractItemView *>(list); view && view->model()) {
        QAbstractItemModel *model = view->model();
        // Why the list is empty goes once rows come, as the next listing shows them.
        const auto rowsCame = [this, model] {
            if (m_lasting && model->rowCount() > 0)
                dismiss();
        };
        connect(model, &QAbstractItemModel::rowsInserted, this, rowsCame);
        connect(model, &QAbstractItemModel::modelReset, this, rowsCame);
    }
    hide();
}

void ListingNotice::listed(int files)
{
    const QString count = tr("%Ln files listed", nullptr, files);
    m_band->setToolTip(count);
    list()->setAccessibleDescription(count);
    if (files > 0)
        showText(count, false);
}

void ListingNotice::listedNothing(EmptyListing why, int folders)
{
    switch (why) {
    case EmptyListing::NothingListed:
        return; // the warning about the folders says why
    case EmptyListing::NoFiles:
        m_offer->hide();
        //: Over the empty file list; the count is of the folders listed.
        showText(tr("The folders listed hold no files.", nullptr, folders), true);
        break;
    case EmptyListing::OnlySubfolders:
        m_offer->show();
        showText(tr("The folders listed hold only sub-folders.", nullptr, folders), true);
        break;
    }
}

void ListingNotice::showText(const QString &text, bool lasting)
{
    m_lasting = lasting;
    m_shown->stop();
    m_fade->stop();
    static_cast<QGraphicsOpacityEffect *>(graphicsEffect())->setOpacity(1.0);
    if (!lasting)
        m_offer->hide();
    // A passing word lets the clicks through to the rows beneath it.
    setAttribute(Qt::WA_TransparentForMouseEvents, !lasting);
    m_text->setText(text);
    place();
    show();
    raise();
    if (!lasting)
        m_shown->start();
}

void ListingNotice::dismiss()
{
    m_lasting = false;
    m_shown->stop();
    m_fade->stop();
    hide();
}
