#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QSqlError;
class QSqlQuery;

// The words the user keeps: the history of lookups and the favourites, in one SQLite file ("words.sqlite") beside the settings file. Plain storage, no widgets.
//
// The file is written in WAL mode with a busy timeout, so that a program killed at any moment
// keeps every lookup committed before, and two programs on one folder wait for each other
// instead of failing. A file that is damaged, unreadable or isn't this program's database is set
// aside and a new one started; a read-only file is used read-only. A file another copy holds for
// longer than the timeout is never taken for damaged: it is left alone and tried again. None of
// this ever stops the program: notice() says, once, what happened, for the status bar.
namespace Words {

struct HistoryItem
{
    QString input; // as the lookup took it
    QDateTime lastSeen; // UTC
    int count = 0;
};

// An entry of an answer the user marked. word and reading identify it: the same headword with
// another reading is another entry.
struct Favourite
{
    QString word; // the headword as shown: simplified Chinese, or the English word
    QString reading; // pinyin with tone marks, or phonetics
    QStringList senses;
    QDateTime added; // UTC; set by addFavourite when not given
};

class Store
{
public:
    static constexpr int maxHistory = 10000;

    enum class State {
        Open, // read and written
        ReadOnly, // the file is read-only: shown, never changed
        SetAside, // the file was damaged or not this program's, and a new one started
        InMemory, // nothing can be kept on disk; the words last until the program ends
        Waiting, // another copy held the file too long; it is tried again at the next change
    };

    // What the last failure was: only Damaged ever sets a file aside.
    enum class Failure {
        None,
        Busy, // another connection holds the file: wait, and try again
        Damaged, // not this program's file, not readable, or failing its check
        Other, // a real failure of the file or the disk (full, read-only, ...)
    };

    // Opens, or creates, the database at path. Never fails: see State and notice().
    explicit Store(const QString &path);
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    State state() const { return m_state; }
    QString path() const { return m_path; }
    // Where a damaged file went; empty unless set aside.
    QString setAsidePath() const { return m_setAside; }
    // One line for the status bar about how the file was opened; empty when all went well.
    QString notice() const { return m_notice; }
    bool isWritable() const { return m_state != State::ReadOnly; }

    // Records a lookup of input, as the lookup took it; a blank one is not recorded.
    // Nothing is recorded while history is not kept. The oldest inputs go beyond maxHistory.
    bool record(const QString &input, const QDateTime &when = QDateTime::currentDateTimeUtc());
    // Newest first.
    QList<HistoryItem> history() const;
    int historySize() const;
    // Inputs that start with prefix, letter case ignored: most looked-up first, then the latest.
    QList<HistoryItem> historyStartingWith(const QString &prefix, int limit) const;
    bool clearHistory();

    // Whether lookups are recorded. The preferences keep the choice now; a database written by an
    // earlier version still holds the one made then, which this starts from.
    bool keepsHistory() const { return m_keepHistory; }
    void setKeepsHistory(bool keep) { m_keepHistory = keep; }

    bool addFavourite(Favourite favourite);
    bool removeFavourite(const QString &word, const QString &reading);
    bool isFavourite(const QString &word, const QString &reading) const;
    // Newest first.
    QList<Favourite> favourites() const;

    // The last error of the database, for a message; empty when the last change went well.
    QString errorString() const { return m_error; }
    Failure lastFailure() const { return m_failure; }

private:
    bool openFile(const QString &path, bool readOnly);
    bool prepareSchema();
    bool isOurs();
    bool unreadable(const QSqlError &error);
    void setAside();
    void waitForFile();
    bool tryFileAgain();
    void openInMemory(const QString &why);
    void closeConnection();
    void loadState();
    bool exec(const QString &statement);
    bool execWhileBusy(const QString &statement);
    bool readWhileBusy(QSqlQuery &query, const QString &statement, bool row = true);
    bool write(const std::function<bool()> &change);
    bool transaction(const std::function<bool()> &change);
    bool fail(const QString &why, Failure failure = Failure::Other);
    bool fail(const QSqlError &error);

    QString m_path;
    QString m_connection;
    QString m_setAside;
    QString m_notice;
    QString m_error;
    State m_state = State::Open;
    Failure m_failure = Failure::None;
    bool m_keepHistory = true;
    // Kept in memory as well: every answer asks for each of its entries.
    QSet<QString> m_favouriteKeys;
};

// How SQLite's code of an error counts: busy or locked, damage, or any other failure.
Store::Failure failureOf(const QSqlError &error);

} // namespace Words
