#include "runningcopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStringDecoder>
#include <QTimer>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace RunningCopy {

namespace {

constexpr char taken = '\x01';
constexpr qsizetype headerBytes = 4;

QString user()
{
#ifdef Q_OS_UNIX
    return QString::number(getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// Beside the socket when it has a folder of its own; in the temporary folder where the plain
// name puts the socket too otherwise.
QString lockPath(const QString &name)
{
    const QString path = QDir::isAbsolutePath(name) ? name : QDir::temp().filePath(name);
    return path + QStringLiteral(".lock");
}

} // namespace

QString serverName(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    const QString canonical = folder.canonicalFilePath().isEmpty() ? folder.absoluteFilePath()
                                                                   : folder.canonicalFilePath();
    const QByteArray digest = QCryptographicHash::hash((user() + u'\n' + canonical).toUtf8(),
                                                       QCryptographicHash::Sha256)
                                  .toHex()
                                  .left(24);
    const QString name
        = QStringLiteral("TavrelDictionary-%1-%2").arg(user(), QLatin1String(digest));
    // Asked of the environment rather than of QStandardPaths, which would warn on every start
    // where there is no runtime folder; then the socket goes into the temporary folder, where
    // only its owner may connect to it all the same.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return name;
}

QString programFolder(const char *argv0)
{
    // What QCoreApplication::applicationDirPath() reports, before there is a QCoreApplication.
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        return QFileInfo(self).path();
    return QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
}

QByteArray encode(const QString &word)
{
    const QByteArray utf8 = word.toUtf8();
    QByteArray message(headerBytes, '\0');
    qToBigEndian(quint32(utf8.size()), message.data());
    return message + utf8;
}

namespace {
constexpr QChar popUpMark = u'\x01';
}

QString popUpMessage(PopUpRequest request)
{
    return popUpMark
        + (request == PopUpRequest::Selection ? QStringLiteral("selection")
                                              : QStringLiteral("clipboard"));
}

std::optional<PopUpRequest> popUpRequestOf(const QString &word)
{
    if (word == popUpMessage(PopUpRequest::Selection))
        return PopUpRequest::Selection;
    if (word == popUpMessage(PopUpRequest::Clipboard))
        return PopUpRequest::Clipboard;
    return std::nullopt;
}

MessageReader::State MessageReader::feed(const QByteArray &bytes)
{
    if (m_state != State::Incomplete) {
        // Nothing may follow a message.
        if (!bytes.isEmpty())
            m_state = State::Invalid;
        return m_state;
    }
    m_bytes += bytes;
    if (m_bytes.size() < headerBytes)
        return m_state;
    const quint32 length = qFromBigEndian<quint32>(m_bytes.constData());
    if (length > quint32(maxWordBytes) || m_bytes.size() > headerBytes + qsizetype(length))
        return m_state = State::Invalid;
    if (m_bytes.size() < headerBytes + qsizetype(length))
        return m_state;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    m_word = decoder.decode(QByteArrayView(m_bytes).sliced(headerBytes));
    m_bytes.clear();
    return m_state = decoder.hasError() ? State::Invalid : State::Complete;
}

bool handOver(const QString &name, const QString &word, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(encode(word));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    }
    // The copy answers once it has the word: a copy that dies meanwhile has not looked it up.
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeoutMs))
        return false;
    return socket.read(1) == QByteArray(1, taken);
}

Server::Server(QObject *parent)
    : QObject(parent)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &Server::acceptConnections);
}

Server::Outcome Server::claim(const QString &name, const std::optional<QString> &word)
{
    QLockFile lock(lockPath(name));
    // Without the lock (a folder that cannot be written) the copy claims all the same: at worst
    // two copies starting at the same moment both serve, and the later one gets the words.
    lock.tryLock(Server::connectionTimeoutMs);
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            lock.unlock();
            if (!word)
                return Outcome::Alone;
            return handOver(name, *word) ? Outcome::HandedOver : Outcome::Alone;
        }
    }
    // Nobody answers: what is there was left by a copy that died.
    QLocalServer::removeServer(name);
    return m_server.listen(name) ? Outcome::Serving : Outcome::Alone;
}

void Server::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        // A client that writes more than a message would otherwise fill the memory.
        socket->setReadBufferSize(headerBytes + maxWordBytes + 1);
        m_readers.insert(socket, MessageReader());
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_readers.remove(socket);
            socket->deleteLater();
        });
        QTimer::singleShot(connectionTimeoutMs, socket, [this, socket] {
            m_readers.remove(socket);
            socket->abort();
            socket->deleteLater();
        });
        read(socket);
    }
}

void Server::read(QLocalSocket *socket)
{
    const auto reader = m_readers.find(socket);
    if (reader == m_readers.end())
        return;
    switch (reader->feed(socket->readAll())) {
    case MessageReader::State::Incomplete:
        return;
    case MessageReader::State::Invalid:
        m_readers.erase(reader);
        socket->abort();
        socket->deleteLater();
        return;
    case MessageReader::State::Complete: {
        const QString word = reader->word();
        m_readers.erase(reader);
        const auto request = popUpRequestOf(word);
        // Said taken only once it is safe: the sender may end the moment it hears so.
        if (!request && m_keeper && !m_keeper(word)) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        socket->write(QByteArray(1, taken));
        socket->disconnectFromServer();
        if (request)
            emit popUpRequested(*request);
        else
            emit wordReceived(word);
        return;
    }
    }
}

} // namespace RunningCopy
