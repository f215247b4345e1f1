#include "compositor.h"

#include "desktopsession.h"
#include "processtree.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {
const QString remoteDesktop = QStringLiteral("org.gnome.Mutter.RemoteDesktop");

// Long enough for a compositor, and its XWayland, to come up on a busy machine.
constexpr int startMs = 30000;

// Every X server, and mutter's check before it starts XWayland, wants the sockets' folder
// writable by all and sticky. One started by root with a umask of 022 leaves it 1755 behind.
QString mendX11Folder()
{
    const QByteArray folder = "/tmp/.X11-unix";
    struct stat status {};
    if (::stat(folder.constData(), &status) != 0)
        return QString();
    if ((status.st_mode & 01777) == 01777)
        return QString();
    if (status.st_uid != ::getuid() || ::chmod(folder.constData(), 01777) != 0)
        return "/tmp/.X11-unix is not writable by all users, which XWayland needs";
    return QString();
}
} // namespace

Compositor::Compositor(Desktop desktop)
    : m_desktop(desktop)
    , m_busName(QStringLiteral("tavrel-compositor-%1").arg(int(desktop)))
{
}

Compositor::~Compositor() { stop(); }

QString Compositor::start(const DesktopSession &session)
{
    m_runtime = session.runtimeFolder();
    m_busAddress = session.busAddress();
    if (const QString why = mendX11Folder(); !why.isEmpty())
        return why;
    for (const char *folder : {"config", "cache"})
        QDir(m_home.path()).mkpath(folder);
    if (m_desktop == Desktop::Gnome) {
        m_socket = "tavrel-gnome";
        // Each start writes an authority file of its own for XWayland.
        for (const QString &old : QDir(m_runtime).entryList({".mutter-Xwaylandauth.*"},
                                                            QDir::Files | QDir::Hidden))
            QFile::remove(QDir(m_runtime).filePath(old));
        QString why = startProcess("mutter", {"--headless", "--wayland", "--virtual-monitor",
                                              "1280x800", "--wayland-display", m_socket});
        if (why.isEmpty())
            why = waitForGnome();
        if (why.isEmpty())
            why = giveGnomeAKeyboard();
        return why;
    }
    m_socket = "tavrel-kde";
    // kwin runs the given program once it serves, with the X display in its environment.
    const QString displayFile = m_home.filePath("display");
    const QStringList arguments {
        "--virtual", "--width", "1280", "--height", "800", "--socket", m_socket, "--xwayland",
        "--no-lockscreen",
        QStringLiteral("sh -c 'printf \"%s %s\" \"$DISPLAY\" \"$XAUTHORITY\" > %1'").arg(displayFile)};
    QString why = startProcess("kwin_wayland", arguments);
    if (m_compositor.error() == QProcess::FailedToStart) {
        // Debian's binary carries cap_sys_resource=ep, which a container may refuse it; a copy
        // carries no capability.
        const QString copy = m_home.filePath("kwin_wayland");
        const QString installed = QStandardPaths::findExecutable("kwin_wayland");
        if (installed.isEmpty() || !QFile::copy(installed, copy))
            return why;
        why = startProcess(copy, arguments);
    }
    if (why.isEmpty())
        why = waitForKde();
    if (why.isEmpty())
        why = holdPrimary();
    return why;
}

QString Compositor::startProcess(const QString &program, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("XDG_RUNTIME_DIR", m_runtime);
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
    env.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
    env.insert("XDG_CACHE_HOME", m_home.filePath("cache"));
    m_compositor.setProcessEnvironment(env);
    m_compositor.setProcessChannelMode(QProcess::MergedChannels);
    m_compositor.start(program, arguments);
    if (!m_compositor.waitForStarted())
        return program + " does not start: " + m_compositor.errorString();
    return QString();
}

QString Compositor::log()
{
    m_log += QString::fromUtf8(m_compositor.readAll());
    return m_log;
}

QString Compositor::waitForGnome()
{
    static const QRegularExpression display("Using public X11 display (:\\d+)");
    const QString socket = QDir(m_runtime).filePath(m_socket);
    QDBusConnection bus = QDBusConnection::connectToBus(m_busAddress, m_busName);
    const bool ready = QTest::qWaitFor(
        [&] {
            m_xDisplay = display.match(log()).captured(1);
            return m_compositor.state() == QProcess::NotRunning
                || (QFileInfo::exists(socket) && !m_xDisplay.isEmpty() && bus.isConnected()
                    && bus.interface()->isServiceRegistered(remoteDesktop));
        },
        startMs);
    if (!ready || m_compositor.state() == QProcess::NotRunning)
        return "mutter does not serve: " + log().right(800);
    const QStringList authority
        = QDir(m_runtime).entryList({".mutter-Xwaylandauth.*"}, QDir::Files | QDir::Hidden);
    if (!authority.isEmpty())
        m_xAuthority = QDir(m_runtime).filePath(authority.first());
    return QString();
}

QString Compositor::giveGnomeAKeyboard()
{
    // A headless seat has no keyboard, and so no focus and no selection, until a remote desktop
    // session gives it one; its first key press makes it the seat's.
    QDBusConnection bus = QDBusConnection(m_busName);
    QDBusInterface desktop(remoteDesktop, "/org/gnome/Mutter/RemoteDesktop", remoteDesktop, bus);
    const QDBusReply<QDBusObjectPath> session = desktop.call("CreateSession");
    if (!session.isValid())
        return "mutter gives no remote desktop session: " + session.error().message();
    m_remoteSession = session.value().path();
    QDBusInterface keyboard(remoteDesktop, m_remoteSession, remoteDesktop + ".Session", bus);
    // 42: the left Shift key, which types nothing.
    for (const QDBusMessage &reply :
         {keyboard.call("Start"), keyboard.call("NotifyKeyboardKeycode", 42u, true),
          keyboard.call("NotifyKeyboardKeycode", 42u, false)}) {
        if (reply.type() == QDBusMessage::ErrorMessage)
            return "mutter's remote desktop session gives no keyboard: " + reply.errorMessage();
    }
    return QString();
}

QString Compositor::waitForKde()
{
    const QString socket = QDir(m_runtime).filePath(m_socket);
    const QString displayFile = m_home.filePath("display");
    const bool ready = QTest::qWaitFor(
        [&] {
            log();
            return m_compositor.state() == QProcess::NotRunning
                || (QFileInfo::exists(socket) && QFileInfo(displayFile).size() > 0);
        },
        startMs);
    if (!ready || m_compositor.state() == QProcess::NotRunning)
        return "kwin_wayland does not serve: " + log().right(800);
    QFile file(displayFile);
    if (!file.open(QIODevice::ReadOnly))
        return "kwin_wayland gives no X display";
    const QStringList display = QString::fromLocal8Bit(file.readAll()).split(u' ');
    m_xDisplay = display.value(0);
    m_xAuthority = display.value(1);
    return m_xDisplay.startsWith(u':') ? QString() : "kwin_wayland gives no X display";
}

QString Compositor::holdPrimary()
{
    // kwin offers the primary selection to wl-copy only once a client with the focus holds it.
    m_holder.setProcessEnvironment(clientEnvironment());
    m_holder.start(QStringLiteral(TAVREL_SELECTION_HOLDER), {"-"});
    if (!m_holder.waitForStarted())
        return "the selection holder does not start: " + m_holder.errorString();
    const bool held = QTest::qWaitFor(
        [&] {
            return m_holder.state() == QProcess::NotRunning || m_holder.canReadLine();
        },
        startMs);
    if (!held || m_holder.readLine().trimmed() != "held")
        return "no client of kwin_wayland's is given the primary selection: "
            + QString::fromUtf8(m_holder.readAllStandardError()).right(600);
    return QString();
}

QProcessEnvironment Compositor::clientEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "XAUTHORITY"})
        env.remove(name);
    env.insert("WAYLAND_DISPLAY", m_socket);
    env.insert("QT_QPA_PLATFORM", "wayland");
    env.insert("XDG_RUNTIME_DIR", m_runtime);
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
    return env;
}

QStringList Compositor::variables(bool xwayland) const
{
    // As a user's session has them: both displays; Qt's choice is the platform variable.
    QStringList variables {"WAYLAND_DISPLAY=" + m_socket, "DISPLAY=" + m_xDisplay,
                           "XAUTHORITY=" + (m_xAuthority.isEmpty() ? "-" : m_xAuthority),
                           QStringLiteral("QT_QPA_PLATFORM=") + (xwayland ? "xcb" : "wayland")};
    return variables;
}

QString Compositor::select(const QString &selection, const QString &clipboard)
{
    for (const bool primary : {true, false}) {
        const QString text = primary ? selection : clipboard;
        QProcess copy;
        copy.setProcessEnvironment(clientEnvironment());
        QStringList arguments;
        if (primary)
            arguments << "--primary";
        // wl-copy leaves a process behind that serves the text until another takes it over.
        arguments << "--" << text;
        copy.start("wl-copy", arguments);
        if (!copy.waitForFinished(10000) || copy.exitCode() != 0)
            return "wl-copy does not take the "
                + QString(primary ? "selection: " : "clipboard: ")
                + QString::fromUtf8(copy.readAllStandardError());
        if (!QTest::qWaitFor([&] { return paste(primary) == text; }, 5000))
            return "wl-paste reads back " + paste(primary) + " for " + text;
    }
    return QString();
}

QString Compositor::paste(bool primary)
{
    QProcess process;
    process.setProcessEnvironment(clientEnvironment());
    QStringList arguments {"--no-newline"};
    if (primary)
        arguments << "--primary";
    process.start("wl-paste", arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void Compositor::stop()
{
    if (m_holder.state() != QProcess::NotRunning) {
        m_holder.kill();
        m_holder.waitForFinished();
    }
    if (m_compositor.state() != QProcess::NotRunning) {
        // Ended as a logout ends it, it takes XWayland, its socket and its lock file with it;
        // whatever is left after that is killed.
        const QList<qint64> children = ProcessTree::descendantsOf(m_compositor.processId());
        m_compositor.terminate();
        if (!m_compositor.waitForFinished(10000))
            ProcessTree::kill(m_compositor.processId());
        for (const qint64 child : children)
            if (ProcessTree::isRunning(child))
                ProcessTree::kill(child);
        m_compositor.waitForFinished();
    }
    QDBusConnection::disconnectFromBus(m_busName);
    m_remoteSession.clear();
}
