// SPDX-License-Identifier: MIT
#pragma once

#include <QListWidget>

// The folder list: a plain list box of folder paths in the order added,
// single selection, which also shows where the focus is, shows a path that
// does not fit in a tool tip, and reports the keys that stand for commands.
class FolderListWidget : public QListWidget
{
    Q_OBJECT

public:
    explicit FolderListWidget(QWidget *parent = nullptr);

signals:
    // Delete was pressed; the window treats it as its "Remove".
    void removeKeyPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
};
