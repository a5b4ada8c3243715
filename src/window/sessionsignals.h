// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM (a logout), SIGHUP (a closed terminal) and SIGINT (Ctrl+C) as
// events on the event loop of the thread that made this object: received()
// once for each signal. The handler does no work: it writes the signal's
// number to a pipe, which a QSocketNotifier reads on that thread. A signal
// ignored when this is made (as nohup ignores SIGHUP) stays ignored. One at
// a time in a process; each signal's handling goes back to what it was when
// this goes.
class SessionSignals : public QObject
{
    Q_OBJECT

public:
    explicit SessionSignals(QObject *parent = nullptr);
    ~SessionSignals() override;

    // Readable while a signal has come that received() has not yet told,
    // for a wait where no event loop runs (poll()); -1 when the pipe could
    // not be made.
    int descriptor() const;

signals:
    void received(int signal);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
};
