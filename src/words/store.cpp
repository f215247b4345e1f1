#include "store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <QThread>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Words {

namespace {

// "Tavr": marks the file as this program's, so that another program's SQLite file of the same
// name is never taken for it.
constexpr qint64 applicationId = 0x54617672;
constexpr int schemaVersion = 1;
constexpr int busyTimeoutMs = 5000;
constexpr int busyRetryMs = 20;

const QStringList schema {
    QStringLiteral("CREATE TABLE IF NOT EXISTS history(id INTEGER PRIMARY KEY, "
                   "input TEXT NOT NULL UNIQUE, folded TEXT NOT NULL, "
                   "last_seen INTEGER NOT NULL, count INTEGER NOT NULL)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS history_by_time ON history(last_seen)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS history_by_folded ON history(folded)"),
    QStringLiteral("CREATE TABLE IF NOT EXISTS favourites(word TEXT NOT NULL, "
                   "reading TEXT NOT NULL, senses TEXT NOT NULL, added INTEGER NOT NULL, "
                   "PRIMARY KEY(word, reading))"),
    // No longer written: the preferences keep whether history is kept. Still made and read, so
    // that a database of an earlier version carries its choice over, and opens in that version.
    QStringLiteral("CREATE TABLE IF NOT EXISTS settings(key TEXT PRIMARY KEY, value TEXT)"),
};

// Every column the program reads: a file of this program's with another layout fails here.
const QStringList schemaCheck {
    QStringLiteral("SELECT id, input, folded, last_seen, count FROM history LIMIT 0"),
    QStringLiteral("SELECT word, reading, senses, added FROM favourites LIMIT 0"),
    QStringLiteral("SELECT key, value FROM settings LIMIT 0"),
};

QString favouriteKey(const QString &word, const QString &reading) { return word + u'\t' + reading; }

// The mode bits are what the user set: root may write anywhere, yet a file its owner made
// read-only is meant to stay as it is.
bool isReadOnlyFile(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0
        || ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) != 0;
}

QDateTime fromMs(qint64 ms) { return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC); }

} // namespace

Store::Failure failureOf(const QSqlError &error)
{
    bool ok = false;
    // Extended codes carry the primary one in their low byte.
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;
    if (!ok)
        return Store::Failure::Other;
    switch (code) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return Store::Failure::Busy;
    // An error of reading or writing (a disk full, a file gone) says nothing of the file's
    // content: only a read that fails at opening is taken for an unreadable file.
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return Store::Failure::Damaged;
    default:
        return Store::Failure::Other;
    }
}

Store::Store(const QString &path)
    : m_path(path)
    , m_connection(QStringLiteral("words-%1").arg(quintptr(this)))
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        m_state = State::InMemory;
        m_notice = QCoreApplication::translate("Words::Store",
                                               "History and favourites can't be kept: Qt's SQLite "
                                               "driver (libqt6sql6-sqlite) is not installed.");
        return;
    }
    const bool readOnly = isReadOnlyFile(path);
    if (openFile(path, readOnly)) {
        if (readOnly) {
            m_state = State::ReadOnly;
            m_notice = QCoreApplication::translate("Words::Store",
                                                   "%1 is read-only: history and favourites are "
                                                   "shown but not changed.")
                           .arg(QDir::toNativeSeparators(path));
        }
    } else if (m_failure == Failure::Busy) {
        waitForFile();
    } else if (m_failure == Failure::Damaged && QFileInfo(path).isFile()) {
        setAside();
    } else {
        openInMemory(m_error);
    }
    loadState();
}

Store::~Store()
{
    closeConnection();
}

bool Store::fail(const QString &why, Failure failure)
{
    m_error = why;
    m_failure = failure;
    return false;
}

bool Store::fail(const QSqlError &error)
{
    return fail(error.text(), failureOf(error));
}

bool Store::exec(const QString &statement)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(statement))
        return fail(query.lastError());
    return true;
}

// SQLite calls no busy handler where waiting could deadlock or where the statement needs the
// whole file: the switch to WAL among them fails at once while another copy writes. Those are
// tried again here, for as long as a statement that does wait would.
bool Store::execWhileBusy(const QString &statement)
{
    QDeadlineTimer deadline(busyTimeoutMs);
    while (!exec(statement)) {
        if (m_failure != Failure::Busy || deadline.hasExpired())
            return false;
        QThread::msleep(busyRetryMs);
    }
    return true;
}

// IMMEDIATE: the write lock is taken first, waiting as the busy timeout allows, so no reading
// transaction ever has to become a writing one, which SQLite would refuse at once.
bool Store::write(const std::function<bool()> &change)
{
    if (!isWritable())
        return fail(QStringLiteral("the words database is read-only"));
    if (m_state == State::Waiting && !tryFileAgain())
        return false;
    return transaction(change);
}

bool Store::transaction(const std::function<bool()> &change)
{
    if (!execWhileBusy(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (!change()) {
        const QString why = m_error;
        const Failure failure = m_failure;
        exec(QStringLiteral("ROLLBACK"));
        return fail(why, failure);
    }
    if (!execWhileBusy(QStringLiteral("COMMIT"))) {
        const QString why = m_error;
        const Failure failure = m_failure;
        exec(QStringLiteral("ROLLBACK"));
        return fail(why, failure);
    }
    m_error.clear();
    m_failure = Failure::None;
    return true;
}

bool Store::openFile(const QString &path, bool readOnly)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
        if (readOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (!db.open())
            return fail(db.lastError());
    }
    if (!isOurs())
        return false;
    if (readOnly)
        return true;
    // WAL: a lookup's commit is one append, and a program killed at any moment loses none that
    // was committed. NORMAL syncs at checkpoints only, which a crash of the program survives.
    return execWhileBusy(QStringLiteral("PRAGMA journal_mode=WAL"))
        && exec(QStringLiteral("PRAGMA synchronous=NORMAL")) && prepareSchema();
}

bool Store::isOurs()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    // Both from one statement, so from one snapshot: asked apart, another copy creating the file
    // could commit in between, and its fresh file would look like one with tables but not ours,
    // to be set aside while that copy goes on writing into it.
    if (!readWhileBusy(query, QStringLiteral("SELECT (SELECT application_id FROM pragma_application_id), "
                                   "(SELECT count(*) FROM sqlite_master)")))
        return unreadable(query.lastError());
    const qint64 id = query.value(0).toLongLong();
    const int objects = query.value(1).toInt();
    if (id != applicationId && !(id == 0 && objects == 0))
        return fail(QStringLiteral("the file is not this program's database"), Failure::Damaged);
    // A file cut short or overwritten in part reads well until the damaged page is reached.
    if (!readWhileBusy(query, QStringLiteral("PRAGMA quick_check")))
        return unreadable(query.lastError());
    if (query.value(0).toString() != QLatin1String("ok"))
        return fail(QStringLiteral("the file is damaged: ") + query.value(0).toString(),
                    Failure::Damaged);
    if (id == applicationId) {
        for (const QString &check : schemaCheck) {
            if (!readWhileBusy(query, check, false))
                return unreadable(query.lastError());
        }
    }
    return true;
}

// A file whose reading fails, unless only because another copy holds it, is damaged, or laid
// out as no version of this program lays it out.
bool Store::unreadable(const QSqlError &error)
{
    fail(error);
    if (m_failure != Failure::Busy)
        m_failure = Failure::Damaged;
    return false;
}

bool Store::readWhileBusy(QSqlQuery &query, const QString &statement, bool row)
{
    QDeadlineTimer deadline(busyTimeoutMs);
    for (;;) {
        if (query.exec(statement) && (!row || query.next()))
            return true;
        if (failureOf(query.lastError()) != Failure::Busy || deadline.hasExpired())
            return false;
        QThread::msleep(busyRetryMs);
    }
}

bool Store::prepareSchema()
{
    const bool prepared = transaction([this] {
        for (const QString &statement : schema) {
            if (!exec(statement))
                return false;
        }
        return exec(QStringLiteral("PRAGMA application_id=%1").arg(applicationId))
            && exec(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion));
    });
    if (!prepared)
        return false;
    for (const QString &check : schemaCheck) {
        if (!exec(check))
            return false;
    }
    return true;
}

void Store::setAside()
{
    const QString why = m_error;
    closeConnection();

    const QString base
        = m_path + QStringLiteral(".damaged-") + QDate::currentDate().toString(Qt::ISODate);
    QString aside = base;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = base + QStringLiteral(".%1").arg(n);
    if (!QFile::rename(m_path, aside)) {
        openInMemory(QStringLiteral("%1 is damaged (%2) and could not be set aside")
                         .arg(QDir::toNativeSeparators(m_path), why));
        return;
    }
    // The journal belongs to the damaged file; the shared-memory index is rebuilt from it.
    QFile::rename(m_path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(m_path + QStringLiteral("-shm"));
    m_setAside = aside;
    if (!openFile(m_path, false)) {
        openInMemory(m_error);
        return;
    }
    m_state = State::SetAside;
    m_notice = QCoreApplication::translate("Words::Store",
                                           "The words database could not be read (%1); it was set "
                                           "aside as %2 and a new one started.")
                   .arg(why, QFileInfo(aside).fileName());
}

// Another copy has held the file for longer than the busy timeout: the file is left as it is,
// and tried again at the next change. Meanwhile the caller keeps the words that wait.
void Store::waitForFile()
{
    const QString why = m_error;
    closeConnection();
    openFile(QStringLiteral(":memory:"), false);
    m_error = why;
    m_failure = Failure::Busy;
    m_state = State::Waiting;
    m_notice = QCoreApplication::translate("Words::Store",
                                           "The words database is in use by another copy of the "
                                           "program; the words looked up wait until it is free.");
}

bool Store::tryFileAgain()
{
    closeConnection();
    if (openFile(m_path, false)) {
        m_state = State::Open;
        m_notice.clear();
        loadState();
        return true;
    }
    const QString why = m_error;
    const Failure failure = m_failure;
    if (failure == Failure::Busy)
        waitForFile();
    else
        openInMemory(why);
    return fail(why, failure);
}

void Store::closeConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void Store::openInMemory(const QString &why)
{
    closeConnection();
    m_state = State::InMemory;
    m_notice = QCoreApplication::translate(
                   "Words::Store", "History and favourites are kept only until the program ends: %1.")
                   .arg(why);
    openFile(QStringLiteral(":memory:"), false);
}

void Store::loadState()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (query.exec(QStringLiteral("SELECT value FROM settings WHERE key = 'keep_history'"))
        && query.next())
        m_keepHistory = query.value(0).toString() != QLatin1String("0");
    if (query.exec(QStringLiteral("SELECT word, reading FROM favourites"))) {
        while (query.next())
            m_favouriteKeys.insert(
                favouriteKey(query.value(0).toString(), query.value(1).toString()));
    }
}

bool Store::record(const QString &input, const QDateTime &when)
{
    if (!m_keepHistory || input.trimmed().isEmpty())
        return false;
    return write([&] {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        QSqlQuery update(db);
        // A lookup replayed from a journal may be older than one recorded since.
        update.prepare(QStringLiteral("UPDATE history SET last_seen = max(last_seen, :when), "
                                      "count = count + 1 WHERE input = :input"));
        update.bindValue(QStringLiteral(":when"), when.toMSecsSinceEpoch());
        update.bindValue(QStringLiteral(":input"), input);
        if (!update.exec())
            return fail(update.lastError());
        if (update.numRowsAffected() > 0)
            return true;
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO history(input, folded, last_seen, count) "
                                      "VALUES(:input, :folded, :when, 1)"));
        insert.bindValue(QStringLiteral(":input"), input);
        insert.bindValue(QStringLiteral(":folded"), input.toCaseFolded());
        insert.bindValue(QStringLiteral(":when"), when.toMSecsSinceEpoch());
        if (!insert.exec())
            return fail(insert.lastError());
        QSqlQuery trim(db);
        // Only when the new row took the history past its size; the oldest go.
        if (!trim.exec(QStringLiteral("DELETE FROM history WHERE id IN (SELECT id FROM history "
                                      "ORDER BY last_seen DESC, id DESC LIMIT -1 OFFSET %1)")
                           .arg(maxHistory)))
            return fail(trim.lastError());
        return true;
    });
}

namespace {

QList<HistoryItem> historyOf(QSqlQuery &query)
{
    QList<HistoryItem> items;
    while (query.next())
        items.append({query.value(0).toString(), fromMs(query.value(1).toLongLong()),
                      query.value(2).toInt()});
    return items;
}

} // namespace

QList<HistoryItem> Store::history() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT input, last_seen, count FROM history ORDER BY last_seen DESC, id DESC")))
        return {};
    return historyOf(query);
}

int Store::historySize() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("SELECT count(*) FROM history")) || !query.next())
        return 0;
    return query.value(0).toInt();
}

QList<HistoryItem> Store::historyStartingWith(const QString &prefix, int limit) const
{
    const QString folded = prefix.toCaseFolded();
    if (folded.isEmpty() || limit <= 0)
        return {};
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    // A range on the folded text, which its index answers: every text that starts with the
    // prefix sorts from it up to it followed by the last code point.
    query.prepare(QStringLiteral("SELECT input, last_seen, count FROM history "
                                 "WHERE folded >= :low AND folded < :high "
                                 "ORDER BY count DESC, last_seen DESC LIMIT :limit"));
    const char32_t last = 0x10FFFF;
    query.bindValue(QStringLiteral(":low"), folded);
    query.bindValue(QStringLiteral(":high"), folded + QString::fromUcs4(&last, 1));
    query.bindValue(QStringLiteral(":limit"), limit);
    if (!query.exec())
        return {};
    return historyOf(query);
}

bool Store::clearHistory()
{
    return write([this] { return exec(QStringLiteral("DELETE FROM history")); });
}

bool Store::addFavourite(Favourite favourite)
{
    if (!favourite.added.isValid())
        favourite.added = QDateTime::currentDateTimeUtc();
    const bool added = write([&] {
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        query.prepare(QStringLiteral("INSERT OR REPLACE INTO favourites(word, reading, senses, "
                                     "added) VALUES(:word, :reading, :senses, :added)"));
        query.bindValue(QStringLiteral(":word"), favourite.word);
        query.bindValue(QStringLiteral(":reading"), favourite.reading);
        query.bindValue(QStringLiteral(":senses"), favourite.senses.join(u'\n'));
        query.bindValue(QStringLiteral(":added"), favourite.added.toMSecsSinceEpoch());
        return query.exec() || fail(query.lastError());
    });
    if (!added)
        return false;
    m_favouriteKeys.insert(favouriteKey(favourite.word, favourite.reading));
    return true;
}

bool Store::removeFavourite(const QString &word, const QString &reading)
{
    const bool removed = write([&] {
        QSqlQuery query(QSqlDatabase::database(m_connection, false));
        query.prepare(
            QStringLiteral("DELETE FROM favourites WHERE word = :word AND reading = :reading"));
        query.bindValue(QStringLiteral(":word"), word);
        query.bindValue(QStringLiteral(":reading"), reading);
        return query.exec() || fail(query.lastError());
    });
    if (!removed)
        return false;
    m_favouriteKeys.remove(favouriteKey(word, reading));
    return true;
}

bool Store::isFavourite(const QString &word, const QString &reading) const
{
    return m_favouriteKeys.contains(favouriteKey(word, reading));
}

QList<Favourite> Store::favourites() const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT word, reading, senses, added FROM favourites "
                                   "ORDER BY added DESC, rowid DESC")))
        return {};
    QList<Favourite> items;
    while (query.next()) {
        const QString senses = query.value(2).toString();
        items.append({query.value(0).toString(), query.value(1).toString(),
                      senses.isEmpty() ? QStringList() : senses.split(u'\n'),
                      fromMs(query.value(3).toLongLong())});
    }
    return items;
}

} // namespace Words
