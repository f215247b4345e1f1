#pragma once

#include <QByteArray>
#include <QHash>
#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLocalSocket;

// The channel through which a program started with a word hands it to the copy already
// running from the same program folder for the same user. One message a connection: four
// bytes of length (big-endian), then the word in UTF-8; the copy answers with one byte once it
// has taken the word.
namespace RunningCopy {

// Longest word a message may carry, in bytes of UTF-8.
constexpr qsizetype maxWordBytes = 64 * 1024;

// The server's name for a program folder: the user's runtime folder (where there is one)
// holding a name made from the user and the folder's canonical path, so that copies of other
// folders or other users never meet.
QString serverName(const QString &programFolder);

// The folder of the running program file, known before any application object exists.
QString programFolder(const char *argv0);

QByteArray encode(const QString &word);

// Requests for the pop-up travel as words that begin with a character no word typed holds; a
// copy of an older version looks them up as words, which finds nothing.
enum class PopUpRequest { Selection, Clipboard };
QString popUpMessage(PopUpRequest request);
std::optional<PopUpRequest> popUpRequestOf(const QString &word);

// Collects the bytes of one message as they come in.
class MessageReader
{
public:
    enum class State { Incomplete, Complete, Invalid };

    State feed(const QByteArray &bytes);
    // The word of a complete message.
    QString word() const { return m_word; }

private:
    QByteArray m_bytes;
    QString m_word;
    State m_state = State::Incomplete;
};

// Hands a word to the copy serving name: true once that copy has taken it. Blocking, and needs
// no application object.
bool handOver(const QString &name, const QString &word, int timeoutMs = 5000);

// Listens for words in the running copy. Each connection is read as its bytes come in, so a
// client that sends nothing, or sends slowly, holds up nobody; it is dropped after a while.
class Server : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Serving, HandedOver, Alone };

    explicit Server(QObject *parent = nullptr);

    // Becomes the copy that serves name, unless another copy does already; then the word, if
    // one was given, is handed to it (HandedOver). A socket left by a copy that died is replaced.
    // Two copies claiming at once are kept apart by a lock file beside the socket. Alone: neither
    // serving nor handed over; the copy runs on its own, as two copies without words do.
    Outcome claim(const QString &name, const std::optional<QString> &word);

    // How long a connection may take to deliver its message.
    static constexpr int connectionTimeoutMs = 10000;

    // Asked to keep each word safe before it is said taken: a word it can't keep is not taken,
    // and the program that sent it goes on with it itself. Without one, every word is taken.
    void setKeeper(std::function<bool(const QString &)> keeper) { m_keeper = std::move(keeper); }

signals:
    // A word taken: kept already by the keeper.
    void wordReceived(const QString &word);
    void popUpRequested(RunningCopy::PopUpRequest request);

private:
    void acceptConnections();
    void read(QLocalSocket *socket);

    // Before the server: the sockets it deletes with itself say they are disconnected, which
    // reaches the readers.
    QHash<QLocalSocket *, MessageReader> m_readers;
    QLocalServer m_server;
    std::function<bool(const QString &)> m_keeper;
};

} // namespace RunningCopy
