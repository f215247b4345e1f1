#pragma once

// What every measure runs in: a private Xvfb, a dictionary server on 127.0.0.1 that notes when
// requests arrive, the process tree and its memory, a watcher of windows being mapped, and
// Tavrel itself, started and driven through its window.

#include <QHash>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace TavrelBench {

qint64 now();
double ms(qint64 ns);
double median(std::vector<double> values);
[[noreturn]] void fail(const QString &message);

// Every process below root, from /proc.
QList<qint64> processTree(qint64 root);
// The PSS of the process and everything below it, in MiB; with a label, each process's share is
// written to stderr as well, so that a figure can be traced to the process it comes from.
double pssMiB(qint64 root, const char *label = nullptr);
void endTree(QProcess &process);

// Two parts of the tree's memory, in MiB: its anonymous memory (smaps_rollup's "Anonymous"),
// where a leak shows, and the PSS of the mapped dictionary indexes (*.idx), whose pages come and
// go with the entries asked for and are not a leak.
struct MemoryParts
{
    double anonymousMiB = 0, indexMiB = 0;
};
MemoryParts memoryParts(qint64 root);

// Waits, serving events, until the condition holds; false after the timeout.
bool waitFor(const std::function<bool()> &condition, int timeoutMs);

// Starts Xvfb on a display of its own choosing and returns the display's name.
QString startDisplay(QProcess &xvfb);
void endDisplay(QProcess &xvfb);

// Watches the X server for top-level windows being mapped.
class MapWatcher
{
public:
    explicit MapWatcher(const QString &display);
    ~MapWatcher();

    // Waits for a window whose name or class holds the text to be mapped; returns when, or
    // nothing after the timeout. Events of earlier windows are dropped first.
    std::optional<qint64> waitForMap(const QByteArray &text, int timeoutMs);

private:
    QByteArray property(xcb_window_t window, xcb_atom_t atom);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
};

// A dictionary server on 127.0.0.1 that notes when each request arrives.
class Server : public QObject
{
public:
    Server();

    QString origin() const;
    std::optional<qint64> arrival(const QString &path) const;

private:
    QTcpServer m_server;
    QHash<QString, qint64> m_arrivals;
};

struct Bench
{
    QString display;
    QString program;
    QString window; // Tavrel's main window, for the lookups
    Server server;
    QTemporaryDir runtime; // where the programs' sockets go, and are gone with
    QHash<QString, QString> variables; // more of the programs' environment, for some rows

    QProcessEnvironment environment() const;

    // Serves events while xdotool runs, so that the server notes arrivals when they happen.
    int xdotool(const QStringList &arguments);

    // Tavrel, started in a fresh application folder whose settings point at the server.
    struct Tavrel
    {
        QTemporaryDir folder;
        QProcess process;
        QByteArray pending;
        struct Mark
        {
            qint64 at;
            QByteArray detail;
        };
        QHash<QByteArray, QList<Mark>> events;
        qint64 launched = 0;

        // Takes in what the program has written since the last call.
        void read();

        // The first mark of that name, or the first whose detail is the given one.
        std::optional<qint64> mark(const QByteArray &event, const QByteArray &detail = {});

        std::optional<qint64> lastMark(const QByteArray &event);

        // The first mark of that name made at or after the moment, with that detail if one is
        // given: a lookup's own, when earlier lookups made the same marks.
        std::optional<qint64> markAfter(const QByteArray &event, qint64 after,
                                        const QByteArray &detail = {});
    };

    // With a template of its own instead of the server's, the dictionary's index is put beside
    // the program as well: the built-in answers read it.
    // prepare, if given, is run on the program's folder before the program starts.
    std::unique_ptr<Tavrel> startTavrel(MapWatcher &watcher, qint64 *shown,
                                        const QStringList &arguments = {},
                                        const QString &queryTemplate = {},
                                        const std::function<void(const QString &)> &prepare = {});

    // Finds Tavrel's main window, unless window holds it already.
    void findWindow();

    // A lookup through the window, as the user makes it: the word box's text replaced, then a
    // click on "Translate". Returns the word's request path.
    QString lookUp(const QString &word);
};

// Launches a program with a word, serving events meanwhile, and returns when it was launched
// once the word's request has reached the server.
qint64 launchWithWord(Bench &bench, const QString &executable, const QString &word,
                      const QString &path, QProcess &process,
                      const QProcessEnvironment &environment);

} // namespace TavrelBench
