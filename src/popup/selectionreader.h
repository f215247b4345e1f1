#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

// Reads the text of the selection or the clipboard for the pop-up, without ever waiting on
// their owner for long: an owner that never answers costs at most the deadline. On X11 it asks
// the owner over a connection of its own, since Qt's clipboard would block the program for
// seconds; elsewhere it asks Qt's clipboard. A selection with no owner, or one that refuses,
// is asked again for a while: a Wayland compositor hands its selection on to X11 programs
// only some time after one of their windows has the focus.
class SelectionReader : public QObject
{
    Q_OBJECT
public:
    // Primary: the primary selection alone, with no fall-back to the clipboard.
    enum class Source { Selection, Clipboard, Primary };

    // Longest text kept of a selection, in bytes; the pop-up needs only its first line.
    static constexpr qsizetype maxBytes = 4 * 1024 * 1024;

    explicit SelectionReader(QObject *parent = nullptr);
    ~SelectionReader() override;

    // Selection: the primary selection, then the clipboard when that holds no text; a slow or
    // silent owner of the selection is waited for, never passed over for the clipboard. The
    // answer comes once, as textRead, within deadlineMs; a read under way is given up.
    void read(Source source, int deadlineMs = 1000);

signals:
    // Empty when nothing holds text.
    void textRead(const QString &text);

private:
    struct X11;
    // What the owner is asked for, in the order it is asked.
    enum class Target { Utf8, Latin1, Targets };

    void readWithQt(Source source);
    void ask(const char *selection);
    void askAs(Target target);
    void refused();
    void waitForOwner();
    void handleEvents();
    void fetchProperty();
    void answered();
    void finish(const QString &text);

    std::unique_ptr<X11> m_x11;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_deadline;
    QTimer m_retry;
    QElapsedTimer m_elapsed;
    QByteArray m_bytes;
    Target m_asked = Target::Utf8;
    int m_deadlineMs = 0;
    int m_waitUntilMs = 0; // since the read began: how long a missing owner is waited for
    bool m_reading = false;
    bool m_fallBack = false; // to the clipboard when the selection holds no text
    bool m_incremental = false;
};
