#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

// Lookups on their way into the history. A lookup the file can't take at once (another copy
// holds it, or it fails) waits in order, and is written first to a small append-only journal
// beside the file, so that a program killed or ended meanwhile loses none: the next start, of
// this copy or another, replays what a journal left into the history and deletes it.
namespace Words {

class Store;

struct WaitingWord
{
    qint64 number = 0; // in its journal
    QString input;
    QDateTime when; // UTC
};

// One copy's journal, "words-waiting-*" in the folder of the words file. Each line is a word
// written and synced before it counts as kept, or the number of one since recorded. The file is
// locked while its copy runs: a journal that nobody locks was left by a copy that ended.
class Journal
{
public:
    explicit Journal(const QString &folder);
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    // Made on the first word, synced before it returns: true once the word is on the disk.
    bool append(const WaitingWord &word);
    // Marks a word recorded. Not synced: lost, it costs at most one count too many at a replay.
    void markRecorded(qint64 number);
    // Every word is recorded: the file goes.
    void remove();
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    // The words not recorded of the journals that no running copy holds, oldest journal first.
    // Each such journal is handed to take, and deleted only when take returns true.
    static void adoptLeftBehind(const QString &folder,
                                const std::function<bool(const QList<WaitingWord> &)> &take);
    // The words of a journal's bytes that were written whole and not marked recorded.
    static QList<WaitingWord> parse(const QByteArray &bytes);
    static QByteArray line(const WaitingWord &word);
    static QByteArray recordedLine(qint64 number);

private:
    bool open();

    QString m_folder;
    QString m_path;
    QString m_error;
    int m_fd = -1;
};

class Recorder
{
public:
    enum class Outcome {
        Recorded, // nothing waits
        Busy, // another copy holds the file: try again soon
        Failed, // the file fails for a reason of its own; what waits stays in the journal
    };

    // The journal lives in the folder of the store's file.
    explicit Recorder(Store &store);
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    // Records input now if the file takes it and nothing waits before it; otherwise keeps it in
    // the journal. True when the lookup is safe either way, or is not meant to be kept.
    bool keep(const QString &input, const QDateTime &when = QDateTime::currentDateTimeUtc());
    // Keeps input in the journal only, for flush() to record: for a caller that must not wait
    // for the file, such as another program waiting to hear that its word was taken.
    bool keepForLater(const QString &input,
                      const QDateTime &when = QDateTime::currentDateTimeUtc());
    // Records what waits, in order, until the file refuses.
    Outcome flush();
    // Takes in the words of journals left by copies that ended, to record with the rest.
    void adoptLeftBehind();

    qsizetype waiting() const { return m_waiting.size(); }
    // The first word waiting, for a message.
    QString firstWaiting() const { return m_waiting.isEmpty() ? QString() : m_waiting.first().input; }
    QString errorString() const;
    // Called with each input as it is committed to the file.
    std::function<void(const QString &)> recorded;

private:
    bool isKept() const;

    Store &m_store;
    Journal m_journal;
    QList<WaitingWord> m_waiting;
    qint64 m_next = 1;
};

} // namespace Words
