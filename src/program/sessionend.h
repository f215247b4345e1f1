#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGHUP, as a desktop session sends them at logout, turned into a signal of the
// event loop, where the program can end as its "Exit" does: a signal handler may do next to
// nothing itself, so it only writes a byte into a pipe the loop watches.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;

signals:
    void ending();

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
