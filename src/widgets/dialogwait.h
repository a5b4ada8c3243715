// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QEventLoop;

// The window's wait for a dialog that another process shows over it: input
// to the window is blocked but for its close (InputBlocker), and a local
// event loop runs until finish(). Closing the window abandons every wait
// under way (abandonAll()), as does the program's end: each tells its
// dialog's owner to end that dialog at once (abandoned()), so that one that
// hangs keeps neither the window nor the program, and exec() returns false.
class DialogWait : public QObject
{
    Q_OBJECT

public:
    // window: the one whose input is blocked; none blocks nothing.
    explicit DialogWait(QWidget *window);
    ~DialogWait() override;

    // Runs until finish() or abandonment, at once if finished already;
    // false when abandoned.
    bool exec();
    void finish();
    bool isAbandoned() const { return m_abandoned; }

    static void abandonAll();
    static bool anyUnderWay();

signals:
    void abandoned();

private:
    void abandon();

    QPointer<QWidget> m_window;
    QEventLoop *m_loop = nullptr;
    bool m_finished = false;
    bool m_abandoned = false;
};
