// SPDX-License-Identifier: MIT
#include "widgets/namedelegate.h"

void NameDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // Fix the side in the view's direction before the text's own replaces it.
    option->displayAlignment = QStyle::visualAlignment(option->direction, option->displayAlignment);
    option->direction = option->text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}
