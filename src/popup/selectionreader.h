#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

// Reads the text of the selection or the clipboard for the pop-up, without ever waiting on
// their owner for long: an owner that never answers costs at most the deadline. On X11 it asks
// the owner over a connection of its own, since Qt's clipboard would block the program for
// seconds; elsewhere it asks Qt's clipboard.
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

    // Selection: the primary selection, then the clipboard when that holds no text. The answer
    // comes once, as textRead, within deadlineMs; a read under way is given up.
    void read(Source source, int deadlineMs = 1000);

signals:
    // Empty when nothing holds text.
    void textRead(const QString &text);

private:
    struct X11;
    void readWithQt(Source source);
    void ask(const char *selection);
    void askAs(const char *target);
    void handleEvents();
    void fetchProperty();
    void finish(const QString &text);
    void ownerSilent();

    std::unique_ptr<X11> m_x11;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_deadline;
    QTimer m_clipboardDeadline;
    QByteArray m_bytes;
    bool m_reading = false;
    bool m_fallBack = false; // to the clipboard when the selection holds no text
    bool m_incremental = false;
    bool m_utf8 = true;
};
