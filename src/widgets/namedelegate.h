// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

// Draws each entry as its own isolated run: the text takes its direction
// from its first strong character, as a name typed alone would, so a
// right-to-left name reads as its script is read and a left-to-right one is
// never turned round by the view's direction. The entries still line up on
// the view's leading edge.
class NameDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
