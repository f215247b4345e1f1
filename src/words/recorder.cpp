#include "recorder.h"

#include "store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Words {

namespace {

const QString journalPrefix = QStringLiteral("words-waiting-");

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

QByteArray readAll(int fd)
{
    QByteArray bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return bytes;
        bytes.append(buffer, got);
    }
}

bool sameFile(int fd, const QByteArray &path)
{
    struct stat opened, named;
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0
        && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

Journal::Journal(const QString &folder)
    : m_folder(folder)
{
}

Journal::~Journal()
{
    // The lock goes with the descriptor: from now on the next start takes what is left.
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Journal::open()
{
    if (m_fd >= 0)
        return true;
    for (int attempt = 0; attempt < 20; ++attempt) {
        const QString path = QDir(m_folder).filePath(
            journalPrefix
            + QStringLiteral("%1-%2").arg(::getpid()).arg(QRandomGenerator::global()->generate(),
                                                           8, 16, QChar(u'0')));
        const QByteArray name = QFile::encodeName(path);
        const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC,
                              0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        // Another copy that found the new file before it was locked may have taken it for one
        // left behind, and deleted it: then it is not used.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !sameFile(fd, name)) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_path = path;
        return true;
    }
    m_error = QStringLiteral("no journal could be made in %1").arg(QDir::toNativeSeparators(m_folder));
    return false;
}

QByteArray Journal::line(const WaitingWord &word)
{
    const QJsonObject object {{QStringLiteral("n"), word.number},
                              {QStringLiteral("t"), word.when.toMSecsSinceEpoch()},
                              {QStringLiteral("w"), word.input}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray Journal::recordedLine(qint64 number)
{
    return QJsonDocument(QJsonObject {{QStringLiteral("r"), number}})
               .toJson(QJsonDocument::Compact)
        + '\n';
}

bool Journal::append(const WaitingWord &word)
{
    if (!open())
        return false;
    if (!writeAll(m_fd, line(word)) || ::fdatasync(m_fd) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // A journal that could be written again says so: no old error is given for a new failure.
    m_error.clear();
    return true;
}

void Journal::markRecorded(qint64 number)
{
    if (m_fd >= 0)
        writeAll(m_fd, recordedLine(number));
}

void Journal::remove()
{
    if (m_fd < 0)
        return;
    // Deleted while still locked: a copy looking for journals left behind never reads it half
    // gone.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

QList<WaitingWord> Journal::parse(const QByteArray &bytes)
{
    QList<WaitingWord> words;
    QList<qint64> recorded;
    qsizetype start = 0;
    for (qsizetype end; (end = bytes.indexOf('\n', start)) >= 0; start = end + 1) {
        // A line not ended was being written when its copy stopped: that word was never said
        // to be kept. Any other line that does not read is skipped, not the journal.
        const QJsonObject object = QJsonDocument::fromJson(bytes.mid(start, end - start)).object();
        if (object.contains(QStringLiteral("r"))) {
            recorded << qint64(object.value(QStringLiteral("r")).toDouble());
            continue;
        }
        const QJsonValue input = object.value(QStringLiteral("w"));
        const QJsonValue when = object.value(QStringLiteral("t"));
        if (!input.isString() || !when.isDouble())
            continue;
        words.append({qint64(object.value(QStringLiteral("n")).toDouble()), input.toString(),
                      QDateTime::fromMSecsSinceEpoch(qint64(when.toDouble()), Qt::UTC)});
    }
    words.removeIf([&](const WaitingWord &word) { return recorded.contains(word.number); });
    return words;
}

void Journal::adoptLeftBehind(const QString &folder,
                              const std::function<bool(const QList<WaitingWord> &)> &take)
{
    const QFileInfoList journals
        = QDir(folder).entryInfoList({journalPrefix + u'*'}, QDir::Files | QDir::Hidden,
                                     QDir::Time | QDir::Reversed);
    for (const QFileInfo &journal : journals) {
        const QByteArray name = QFile::encodeName(journal.filePath());
        const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Held by a copy that runs, this one's own among them.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !sameFile(fd, name)) {
            ::close(fd);
            continue;
        }
        const QList<WaitingWord> words = parse(readAll(fd));
        if (words.isEmpty() || take(words))
            ::unlink(name.constData());
        ::close(fd);
    }
}

Recorder::Recorder(Store &store)
    : m_store(store)
    , m_journal(QFileInfo(store.path()).absolutePath())
{
}

bool Recorder::isKept() const { return m_store.keepsHistory() && m_store.isWritable(); }

bool Recorder::keep(const QString &input, const QDateTime &when)
{
    if (!isKept() || input.trimmed().isEmpty())
        return true;
    if (m_waiting.isEmpty() && m_store.record(input, when)) {
        if (recorded)
            recorded(input);
        return true;
    }
    return keepForLater(input, when);
}

bool Recorder::keepForLater(const QString &input, const QDateTime &when)
{
    if (!isKept() || input.trimmed().isEmpty())
        return true;
    const WaitingWord word {m_next++, input, when};
    m_waiting.append(word);
    return m_journal.append(word);
}

Recorder::Outcome Recorder::flush()
{
    while (!m_waiting.isEmpty()) {
        if (!isKept()) {
            // History is no longer kept, or the file became one to read only: nothing waits.
            m_waiting.clear();
            break;
        }
        const WaitingWord word = m_waiting.constFirst();
        if (!m_store.record(word.input, word.when))
            return m_store.lastFailure() == Store::Failure::Busy ? Outcome::Busy : Outcome::Failed;
        m_journal.markRecorded(word.number);
        m_waiting.removeFirst();
        if (recorded)
            recorded(word.input);
    }
    m_journal.remove();
    return Outcome::Recorded;
}

void Recorder::adoptLeftBehind()
{
    if (!isKept())
        return;
    Journal::adoptLeftBehind(QFileInfo(m_store.path()).absolutePath(),
                             [this](const QList<WaitingWord> &words) {
                                 bool kept = true;
                                 for (const WaitingWord &left : words) {
                                     const WaitingWord word {m_next++, left.input, left.when};
                                     m_waiting.append(word);
                                     kept = m_journal.append(word) && kept;
                                 }
                                 return kept;
                             });
}

QString Recorder::errorString() const
{
    return m_journal.errorString().isEmpty() ? m_store.errorString()
                                             : m_journal.errorString();
}

} // namespace Words
