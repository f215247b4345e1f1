#include "harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMultiMap>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <csignal>

namespace TavrelBench {

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

namespace {

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

} // namespace

double pssMiB(qint64 root, const char *label)
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

namespace {

// The sum of one field over the lines of an smaps file that pass the filter; a mapping's header
// line decides for the field lines after it.
qint64 smapsKiB(const QString &path, const QByteArray &field,
                const std::function<bool(const QByteArray &)> &header)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    qint64 kib = 0;
    bool counted = !header;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.indexOf(' ') < colon) {
            counted = !header || header(line);
            continue;
        }
        if (counted && line.left(colon) == field)
            kib += line.mid(colon + 1).trimmed().split(' ').first().toLongLong();
    }
    return kib;
}

} // namespace

MemoryParts memoryParts(qint64 root)
{
    qint64 anonymous = 0, index = 0;
    for (const qint64 pid : processTree(root)) {
        anonymous += smapsKiB(QStringLiteral("/proc/%1/smaps_rollup").arg(pid), "Anonymous", {});
        index += smapsKiB(QStringLiteral("/proc/%1/smaps").arg(pid), "Pss",
                          [](const QByteArray &line) { return line.trimmed().endsWith(".idx"); });
    }
    return {double(anonymous) / 1024, double(index) / 1024};
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

QString startDisplay(QProcess &xvfb)
{
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (!xvfb.waitForStarted() || !waitFor([&] { return xvfb.canReadLine(); }, 20000))
        fail("Xvfb did not start");
    return ':' + QString::fromLatin1(xvfb.readLine()).trimmed();
}

void endDisplay(QProcess &xvfb)
{
    xvfb.terminate();
    xvfb.waitForFinished(5000);
}

MapWatcher::MapWatcher(const QString &display)
{
    m_connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(m_connection))
        fail("cannot connect to " + display);
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
}

MapWatcher::~MapWatcher() { xcb_disconnect(m_connection); }

std::optional<qint64> MapWatcher::waitForMap(const QByteArray &text, int timeoutMs)
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

QByteArray MapWatcher::property(xcb_window_t window, xcb_atom_t atom)
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

Server::Server()
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
                const QByteArray page = "<html><head><title>answer</title></head><body><h1>"
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

QString Server::origin() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

std::optional<qint64> Server::arrival(const QString &path) const
{
    return m_arrivals.contains(path) ? std::optional(m_arrivals.value(path)) : std::nullopt;
}

QProcessEnvironment Bench::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    for (auto it = variables.cbegin(); it != variables.cend(); ++it)
        env.insert(it.key(), it.value());
    return env;
}

int Bench::xdotool(const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start("xdotool", arguments);
    waitFor([&] { return process.state() == QProcess::NotRunning; }, 20000);
    return process.exitCode();
}

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

} // namespace TavrelBench
