// Measures Tavrel Dictionary against the programs a user would otherwise pick, on one private
// Xvfb, and prints a table:
//   start to window shown  (launch until the X server maps the program's window)
//   start to blank page    (Tavrel only: until its blank page has loaded)
//   Translate to request   (the press until the request reaches a server on 127.0.0.1)
//   Translate to page      (the press until the page has loaded)
//   memory                 (PSS summed over the whole process tree)
//   cold start with a word (launch with a word until its request reaches the server)
//   word to running copy   (launch with a word until the copy already running requests it)
// Each time is the median of several runs after a warm-up run. Tavrel reports its own moments
// through its "tavrel.timing" logging category; all clocks are the same monotonic clock.
//
//   tavrel_bench [--words] [path/to/TavrelDictionary] [runs] [lookups] [long-run lookups]
// With --words only the two rows of words given on the command line are measured.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMultiMap>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include <csignal>

namespace {

qint64 now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double ms(qint64 ns) { return double(ns) / 1e6; }

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "tavrel_bench: %s\n", qPrintable(message));
    std::exit(1);
}

// Every process below root, from /proc.
QList<qint64> processTree(qint64 root)
{
    QMultiMap<qint64, qint64> children;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        QFile stat("/proc/" + entry + "/stat");
        if (!isPid || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children.insert(fields[1].toLongLong(), pid);
    }
    QList<qint64> tree {root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.values(tree[i]);
    return tree;
}

// Proportional set size of one process, in KiB.
qint64 pssKiB(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// What a process of the tree is: its program, and Chromium's --type= for the engine's helpers.
QString processKind(qint64 pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return QString();
    const QList<QByteArray> args = cmdline.readAll().split('\0');
    QString kind = QFileInfo(QString::fromLocal8Bit(args.value(0))).fileName();
    for (const QByteArray &arg : args) {
        if (arg.startsWith("--type="))
            kind += ' ' + QString::fromLatin1(arg.mid(7));
    }
    return kind;
}

// The PSS of the process and everything below it, in MiB; with a label, each process's share is
// written to stderr as well, so that a figure can be traced to the process it comes from.
double pssMiB(qint64 root, const char *label = nullptr)
{
    qint64 kib = 0;
    QStringList parts;
    for (const qint64 pid : processTree(root)) {
        const qint64 own = pssKiB(pid);
        kib += own;
        parts << QStringLiteral("%1 %2").arg(processKind(pid)).arg(double(own) / 1024, 0, 'f', 1);
    }
    if (label)
        std::fprintf(stderr, "memory %s: %s\n", label, qPrintable(parts.join(", ")));
    return double(kib) / 1024;
}

void endTree(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    const QList<qint64> tree = processTree(process.processId());
    for (const qint64 pid : tree)
        ::kill(pid_t(pid), SIGKILL);
    process.waitForFinished(5000);
}

// Watches the X server for top-level windows being mapped.
class MapWatcher
{
public:
    explicit MapWatcher(const QString &display)
    {
        m_connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
        if (xcb_connection_has_error(m_connection))
            fail("cannot connect to " + display);
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }

    // Waits for a window whose name or class holds the text to be mapped; returns when, or
    // nothing after the timeout. Events of earlier windows are dropped first.
    std::optional<qint64> waitForMap(const QByteArray &text, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            xcb_generic_event_t *event = xcb_poll_for_event(m_connection);
            if (!event) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
                QThread::usleep(200);
                continue;
            }
            const qint64 at = now();
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window
                = mapped ? reinterpret_cast<xcb_map_notify_event_t *>(event)->window : XCB_NONE;
            free(event);
            if (mapped
                && (property(window, XCB_ATOM_WM_NAME).contains(text)
                    || property(window, XCB_ATOM_WM_CLASS).contains(text)))
                return at;
        }
        return std::nullopt;
    }

private:
    QByteArray property(xcb_window_t window, xcb_atom_t atom)
    {
        xcb_get_property_reply_t *reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr);
        if (!reply)
            return {};
        QByteArray value(static_cast<const char *>(xcb_get_property_value(reply)),
                         xcb_get_property_value_length(reply));
        free(reply);
        return value.replace('\0', ' ');
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
};

// A dictionary server on 127.0.0.1 that notes when each request arrives.
class Server : public QObject
{
public:
    Server()
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            fail("cannot listen on 127.0.0.1");
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    if (!socket->canReadLine())
                        return;
                    const qint64 at = now();
                    const QByteArray line = socket->readLine().trimmed();
                    m_arrivals.insert(QString::fromUtf8(line.split(' ').value(1)), at);
                    const QByteArray page
                        = "<html><head><title>answer</title></head><body><h1>"
                          "answer</h1><p>The dictionary's page.</p></body></html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close"
                                  "\r\nContent-Length: "
                                  + QByteArray::number(page.size()) + "\r\n\r\n" + page);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QString origin() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }
    std::optional<qint64> arrival(const QString &path) const
    {
        return m_arrivals.contains(path) ? std::optional(m_arrivals.value(path)) : std::nullopt;
    }

private:
    QTcpServer m_server;
    QHash<QString, qint64> m_arrivals;
};

// Waits, serving events, until the condition holds; false after the timeout.
bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

struct Bench
{
    QString display;
    QString program;
    QString window; // Tavrel's main window, for the lookups
    Server server;
    QTemporaryDir runtime; // where the programs' sockets go, and are gone with

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", display);
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        return env;
    }

    // Serves events while xdotool runs, so that the server notes arrivals when they happen.
    int xdotool(const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start("xdotool", arguments);
        waitFor([&] { return process.state() == QProcess::NotRunning; }, 20000);
        return process.exitCode();
    }

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
        void read()
        {
            pending += process.readAllStandardError();
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QByteArray line = pending.left(end);
                pending.remove(0, end + 1);
                const qsizetype at = line.indexOf("tavrel-timing ");
                if (at < 0)
                    continue;
                const QList<QByteArray> parts = line.mid(at).split(' ');
                if (parts.size() >= 3)
                    events[parts[1]].append({parts[2].toLongLong(), parts.value(3)});
            }
        }

        // The first mark of that name, or the first whose detail is the given one.
        std::optional<qint64> mark(const QByteArray &event, const QByteArray &detail = {})
        {
            read();
            for (const Mark &m : events.value(event)) {
                if (detail.isEmpty() || m.detail == detail)
                    return m.at;
            }
            return std::nullopt;
        }

        std::optional<qint64> lastMark(const QByteArray &event)
        {
            read();
            const QList<Mark> found = events.value(event);
            return found.isEmpty() ? std::nullopt : std::optional(found.last().at);
        }
    };

    std::unique_ptr<Tavrel> startTavrel(MapWatcher &watcher, qint64 *shown,
                                        const QStringList &arguments = {})
    {
        auto tavrel = std::make_unique<Tavrel>();
        const QString dir = tavrel->folder.path();
        QFile::copy(program, dir + "/TavrelDictionary");
        const QFileInfo engine(QFileInfo(program).dir(), "libtavrel_browserengine.so");
        QFile::copy(engine.filePath(), dir + '/' + engine.fileName());
        QDir(dir).mkdir("session");
        QFile settings(dir + "/session/tavrel.xml");
        settings.open(QIODevice::WriteOnly);
        settings.write("<?xml version=\"1.0\"?>\r\n<TavrelDictionary>\r\n    <Type>Option</Type>"
                       "\r\n    <Chinese>"
                       + server.origin().toUtf8()
                       + "/dict?s=%word</Chinese>\r\n</TavrelDictionary>\r\n");
        settings.close();

        QProcessEnvironment env = environment();
        env.insert("QT_LOGGING_RULES", "tavrel.timing.debug=true");
        tavrel->process.setProcessEnvironment(env);
        tavrel->launched = now();
        tavrel->process.start(dir + "/TavrelDictionary", arguments);
        const std::optional<qint64> mapped = watcher.waitForMap("Tavrel Dictionary v1.1", 30000);
        if (!mapped)
            fail("Tavrel's window was not shown");
        *shown = *mapped;
        return tavrel;
    }

    // A lookup through the window, as the user makes it: the word box's text replaced, then a
    // click on "Translate". Returns the word's request path.
    QString lookUp(const QString &word)
    {
        // "Translate" stands at 10200, 240 twips below the menu bar; the word box at 1320, 240.
        // ("type" takes every argument after it, so the click is a second call.)
        // The window is looked up once; searching every time costs more than the lookup.
        if (window.isEmpty()) {
            QProcess search;
            search.setProcessEnvironment(environment());
            search.start("xdotool", {"search", "--onlyvisible", "--name", "^Tavrel Dictionary v1"});
            search.waitForFinished(20000);
            window = QString::fromLatin1(search.readAllStandardOutput()).section('\n', 0, 0);
        }
        xdotool({"mousemove", "--window", window, "200", "40", "click", "1", "key", "ctrl+a",
                 "type", "--delay", "1", word});
        xdotool({"mousemove", "--window", window, "730", "50", "click", "1"});
        return "/dict?s=" + word;
    }
};

struct PeerResult
{
    std::vector<double> shownMs;
    std::vector<double> requestMs; // launch until the page's request, when there is a page
    double memoryMiB = 0;
};

// Starts a peer program once a run, timing it to its window and to its page's request (a path
// of its own each run, so that the runs' requests are told apart), and reads its memory once it
// has settled (or once its page has arrived).
PeerResult
measurePeer(Bench &bench, MapWatcher &watcher, const QString &name, int runs,
            const std::function<QStringList(const QString &scratch, const QString &page)> &command,
            const QByteArray &windowText, const QString &pagePath)
{
    PeerResult result;
    for (int run = 0; run <= runs; ++run) {
        QTemporaryDir scratch;
        const QString path = pagePath.isEmpty() ? QString() : pagePath + QString::number(run);
        QStringList arguments = command(scratch.path(), bench.server.origin() + path);
        const QString executable = arguments.takeFirst();
        QProcess process;
        QProcessEnvironment env = bench.environment();
        env.insert("HOME", scratch.path()); // a fresh profile every run
        env.insert("XDG_CONFIG_HOME", scratch.path() + "/config");
        env.insert("XDG_CACHE_HOME", scratch.path() + "/cache");
        process.setProcessEnvironment(env);
        const qint64 launched = now();
        process.start(executable, arguments);
        if (!process.waitForStarted())
            fail(name + " did not start: " + process.errorString());
        const std::optional<qint64> shown = watcher.waitForMap(windowText, 60000);
        if (!shown)
            fail(name + "'s window was not shown");
        if (!path.isEmpty()
            && !waitFor([&] { return bench.server.arrival(path).has_value(); }, 20000))
            fail(name + " did not request its page");
        if (run > 0) { // the first run warms the caches
            result.shownMs.push_back(ms(*shown - launched));
            if (!path.isEmpty())
                result.requestMs.push_back(ms(*bench.server.arrival(path) - launched));
        }
        if (run == runs) {
            QThread::sleep(3);
            result.memoryMiB = pssMiB(process.processId());
        }
        endTree(process);
    }
    return result;
}

QStringList chromiumCommand(const QString &scratch, const QString &page)
{
    return {"chromium",
            "--no-sandbox",
            "--user-data-dir=" + scratch + "/profile",
            "--no-first-run",
            "--no-default-browser-check",
            "--app=" + page};
}

// Launches a program with a word, serving events meanwhile, and returns when it was launched
// once the word's request has reached the server.
qint64 launchWithWord(Bench &bench, const QString &executable, const QString &word,
                      const QString &path, QProcess &process,
                      const QProcessEnvironment &environment)
{
    process.setProcessEnvironment(environment);
    const qint64 launched = now();
    process.start(executable, {word});
    if (!waitFor([&] { return bench.server.arrival(path).has_value(); }, 30000))
        fail(executable + " with " + word + ": the word's request did not arrive");
    return launched;
}

struct WordRows
{
    std::vector<double> tavrelColdMs, chromiumColdMs, tavrelHandedMs, goldendictHandedMs;
};

// The word to a running copy, for Tavrel: a copy started without a word, then one launch with a
// word a run from the same folder, which hands it over and ends.
std::vector<double> tavrelHandedOver(Bench &bench, MapWatcher &watcher, int runs)
{
    std::vector<double> result;
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown);
    if (!waitFor([&] { return tavrel->mark("page-loaded", "about:blank").has_value(); }, 30000))
        fail("Tavrel's blank page did not load");
    QThread::msleep(500);
    for (int run = 0; run <= runs; ++run) {
        const QString word = QStringLiteral("handed%1").arg(run);
        QProcess second;
        const qint64 launched
            = launchWithWord(bench, tavrel->folder.path() + "/TavrelDictionary", word,
                             "/dict?s=" + word, second, bench.environment());
        if (run > 0)
            result.push_back(ms(*bench.server.arrival("/dict?s=" + word) - launched));
        std::fprintf(stderr, "word to the running copy, run %d: Translate %.1f, request %.1f ms\n",
                     run, ms(tavrel->lastMark("translate").value_or(launched) - launched),
                     ms(*bench.server.arrival("/dict?s=" + word) - launched));
        if (!waitFor([&] { return second.state() == QProcess::NotRunning; }, 10000)
            || second.exitCode() != 0)
            fail("Tavrel with a word for the running copy did not end with 0");
        // The lookup's page settles before the next word.
        waitFor(
            [&] {
                return tavrel
                    ->mark("page-loaded", (bench.server.origin() + "/dict?s=" + word).toUtf8())
                    .has_value();
            },
            10000);
    }
    endTree(tavrel->process);
    return result;
}

// The same for goldendict, given a website source pointed at the server in a HOME of its own.
std::vector<double> goldendictHandedOver(Bench &bench, MapWatcher &watcher, int runs)
{
    std::vector<double> result;
    QTemporaryDir home;
    QDir(home.path()).mkpath("config/goldendict");
    QFile config(home.path() + "/config/goldendict/config");
    if (!config.open(QIODevice::WriteOnly))
        fail("cannot write goldendict's configuration");
    // Whatever the file leaves out goldendict takes from its defaults.
    config.write("<config>\n <websites>\n  <website icon=\"\" name=\"Bench\" "
                 "id=\"74617672656c62656e63680000000001\" url=\""
                 + bench.server.origin().toUtf8()
                 + "/gd?s=%GDWORD%\" enabled=\"1\" inside_iframe=\"1\"/>\n </websites>\n"
                   "</config>\n");
    config.close();
    QProcessEnvironment env = bench.environment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_CACHE_HOME", home.path() + "/cache");
    QProcess running;
    running.setProcessEnvironment(env);
    running.start("goldendict", {});
    if (!watcher.waitForMap("oldenDict", 60000))
        fail("goldendict's window was not shown");
    waitFor([] { return false; }, 2000); // its dictionaries are indexed after the window shows
    for (int run = 0; run <= runs; ++run) {
        const QString word = QStringLiteral("handed%1").arg(run);
        QProcess second;
        const qint64 launched
            = launchWithWord(bench, "goldendict", word, "/gd?s=" + word, second, env);
        if (run > 0)
            result.push_back(ms(*bench.server.arrival("/gd?s=" + word) - launched));
        waitFor([&] { return second.state() == QProcess::NotRunning; }, 10000);
        waitFor([] { return false; }, 300);
    }
    endTree(running);
    return result;
}

WordRows measureWords(Bench &bench, MapWatcher &watcher, int runs)
{
    WordRows rows;
    for (int run = 0; run <= runs; ++run) {
        const QString word = QStringLiteral("cold%1").arg(run);
        qint64 shown = 0;
        auto tavrel = bench.startTavrel(watcher, &shown, {word});
        if (!waitFor([&] { return bench.server.arrival("/dict?s=" + word).has_value(); }, 30000))
            fail("Tavrel started with a word did not request it");
        if (run > 0)
            rows.tavrelColdMs.push_back(
                ms(*bench.server.arrival("/dict?s=" + word) - tavrel->launched));
        endTree(tavrel->process);
    }
    rows.chromiumColdMs
        = measurePeer(bench, watcher, "chromium", runs, chromiumCommand, "hromium", "/cold")
              .requestMs;
    rows.tavrelHandedMs = tavrelHandedOver(bench, watcher, runs);
    rows.goldendictHandedMs = goldendictHandedOver(bench, watcher, runs);
    return rows;
}

void printWordRows(const WordRows &rows)
{
    const double cold = median(rows.tavrelColdMs), chromium = median(rows.chromiumColdMs);
    const double handed = median(rows.tavrelHandedMs), goldendict = median(rows.goldendictHandedMs);
    std::printf("| cold start with a word: launch to request received | %.0f ms | | %.0f ms | | "
                "%.2f |\n",
                cold, chromium, cold / chromium);
    std::printf("| word to the running copy: launch to request received | %.1f ms | %.1f ms | | "
                "%.2f | |\n",
                handed, goldendict, handed / goldendict);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool wordsOnly = args.removeAll("--words") > 0;
    const QString program = QFileInfo(args.value(1, "build/TavrelDictionary")).absoluteFilePath();
    const int runs = args.value(2, "7").toInt();
    const int lookups = args.value(3, "100").toInt();
    const int longRun = args.value(4, "1000").toInt();
    if (!QFileInfo(program).isExecutable())
        fail(program + " is not an executable");

    QProcess xvfb;
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (!xvfb.waitForStarted() || !waitFor([&] { return xvfb.canReadLine(); }, 20000))
        fail("Xvfb did not start");

    Bench bench;
    bench.display = ':' + QString::fromLatin1(xvfb.readLine()).trimmed();
    bench.program = program;
    MapWatcher watcher(bench.display);

    if (wordsOnly) {
        const WordRows rows = measureWords(bench, watcher, runs);
        xvfb.terminate();
        xvfb.waitForFinished(5000);
        std::printf("Tavrel Dictionary benchmark, words on the command line, medians of %d runs "
                    "after a warm-up\n\n",
                    runs);
        std::printf("| measure | Tavrel | goldendict | chromium --app | Tavrel / goldendict | "
                    "Tavrel / chromium |\n|---|---|---|---|---|---|\n");
        printWordRows(rows);
        return 0;
    }

    // Start-up: a warm-up run, then the measured ones.
    std::vector<double> shownMs, blankMs;
    for (int run = 0; run <= runs; ++run) {
        qint64 shown = 0;
        auto tavrel = bench.startTavrel(watcher, &shown);
        if (!waitFor([&] { return tavrel->mark("page-loaded", "about:blank").has_value(); }, 30000))
            fail("Tavrel's blank page did not load");
        if (run > 0) {
            shownMs.push_back(ms(shown - tavrel->launched));
            blankMs.push_back(ms(*tavrel->mark("page-loaded", "about:blank") - tavrel->launched));
        }
        const auto since = [&](const char *event) {
            const std::optional<qint64> at = tavrel->mark(event);
            return at ? ms(*at - tavrel->launched) : -1.0;
        };
        std::fprintf(
            stderr,
            "start-up run %d: main %.0f, QApplication %.0f, application %.0f, claimed %.1f, loaded "
            "%.0f, show called %.0f, shown %.0f, engine %.0f, blank page %.0f ms\n",
            run, since("main"), since("qapplication"), since("application"), since("claimed"),
            since("loaded"), since("show-called"), ms(shown - tavrel->launched),
            since("engine-created"),
            ms(*tavrel->mark("page-loaded", "about:blank") - tavrel->launched));
        endTree(tavrel->process);
    }

    // Lookups, then memory over a long run of them, in one copy of the program.
    std::vector<double> requestMs, pageMs;
    double memoryFirst = 0, memoryLast = 0;
    {
        qint64 shown = 0;
        auto tavrel = bench.startTavrel(watcher, &shown);
        waitFor([&] { return tavrel->mark("page-loaded", "about:blank").has_value(); }, 30000);
        QThread::msleep(500);
        const int total = std::max(lookups, longRun) + 1; // the first one warms up
        for (int i = 0; i < total; ++i) {
            const QString word = QStringLiteral("word%1").arg(i);
            const QString path = bench.lookUp(word);
            const QString url = bench.server.origin() + path;
            const bool loaded = waitFor(
                [&] {
                    return bench.server.arrival(path).has_value()
                        && tavrel->mark("page-loaded", url.toUtf8()).has_value();
                },
                20000);
            if (!loaded)
                fail("lookup " + word + " did not complete");
            const qint64 pressed = *tavrel->lastMark("translate");
            if (i > 0 && i <= lookups) {
                requestMs.push_back(ms(*bench.server.arrival(path) - pressed));
                pageMs.push_back(ms(*tavrel->mark("page-loaded", url.toUtf8()) - pressed));
            }
            if (i == 0) {
                QThread::msleep(1000);
                memoryFirst = pssMiB(tavrel->process.processId(), "after the first lookup");
            }
            if (i % 100 == 0)
                std::fprintf(stderr, "lookup %d of %d: %.0f MiB\n", i, total - 1,
                             pssMiB(tavrel->process.processId()));
        }
        QThread::msleep(1000);
        memoryLast = pssMiB(tavrel->process.processId(), "after the last lookup");
        endTree(tavrel->process);
    }

    // The peers, on the same display and the same page.
    const PeerResult chromium
        = measurePeer(bench, watcher, "chromium", runs, chromiumCommand, "hromium", "/peer");
    const PeerResult goldendict = measurePeer(
        bench, watcher, "goldendict", runs,
        [](const QString &, const QString &) { return QStringList {"goldendict"}; }, "oldenDict",
        QString());
    const WordRows words = measureWords(bench, watcher, runs);

    xvfb.terminate();
    xvfb.waitForFinished(5000);

    const double shown = median(shownMs);
    std::printf("Tavrel Dictionary benchmark, medians of %d runs after a warm-up\n\n", runs);
    std::printf("| measure | Tavrel | goldendict | chromium --app | Tavrel / goldendict | Tavrel / "
                "chromium |\n");
    std::printf("|---|---|---|---|---|---|\n");
    std::printf("| start to window shown | %.0f ms | %.0f ms | %.0f ms | %.2f | %.2f |\n", shown,
                median(goldendict.shownMs), median(chromium.shownMs),
                shown / median(goldendict.shownMs), shown / median(chromium.shownMs));
    std::printf("| start to blank page loaded | %.0f ms | | | | |\n", median(blankMs));
    std::printf("| Translate to request received (%d lookups) | %.1f ms | | | | |\n", lookups,
                median(requestMs));
    std::printf("| Translate to page loaded (%d lookups) | %.1f ms | | | | |\n", lookups,
                median(pageMs));
    std::printf("| memory (PSS, process tree) | %.0f MiB after the first lookup | %.0f MiB idle | "
                "%.0f MiB after the page | %.2f | %.2f |\n",
                memoryFirst, goldendict.memoryMiB, chromium.memoryMiB,
                memoryFirst / goldendict.memoryMiB, memoryFirst / chromium.memoryMiB);
    std::printf("| memory growth over %d lookups | %+.1f %% (%.0f to %.0f MiB) | | | | |\n",
                std::max(lookups, longRun), 100 * (memoryLast - memoryFirst) / memoryFirst,
                memoryFirst, memoryLast);
    printWordRows(words);
    return 0;
}
