#include "desktopsession.h"

#include "processtree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {
const QString programName = QStringLiteral("TavrelDictionary");
}

DesktopSession::~DesktopSession()
{
    endProgram();
    // The accessibility bus and its registry end with the session bus they were started from.
    m_bus.terminate();
    if (!m_bus.waitForFinished(5000)) {
        m_bus.kill();
        m_bus.waitForFinished();
    }
}

QString DesktopSession::start()
{
    if (!QFileInfo::exists("/usr/bin/python3") || !QFileInfo::exists(ATSPI_CLIENT))
        return "no /usr/bin/python3 to run the AT-SPI client";
    if (!QFile::setPermissions(m_runtime.path(),
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return "no private runtime folder";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The accessibility bus puts its socket there, apart from any other session's.
    env.insert("XDG_RUNTIME_DIR", m_runtime.path());
    m_bus.setProcessEnvironment(env);
    m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead(10000))
        return "dbus-daemon does not start: " + m_bus.errorString();
    m_busAddress = QString::fromLatin1(m_bus.readLine()).trimmed();
    QString output;
    // Asking for the desktop starts the accessibility bus and its registry.
    if (client({"-", "tree"}, &output) != 3)
        return "the accessibility bus does not answer: " + output;
    return QString();
}

bool DesktopSession::startProgram(const QString &folder, const QStringList &variables,
                                  const QStringList &arguments)
{
    const QString executable = QDir(folder).filePath(programName);
    QFile::copy(QStringLiteral(TAVREL_EXECUTABLE), executable);
    QFile::copy(QStringLiteral(TAVREL_ENGINE),
                QDir(folder).filePath(QFileInfo(TAVREL_ENGINE).fileName()));
    // The sound output's module, which the build makes beside the engine's.
    const QString soundOutput = QStringLiteral("libtavrel_soundoutput.so");
    QFile::copy(QFileInfo(TAVREL_ENGINE).dir().filePath(soundOutput),
                QDir(folder).filePath(soundOutput));
    QFile::copy(QStringLiteral(TAVREL_DICTIONARY_INDEX),
                QDir(folder).filePath(QFileInfo(TAVREL_DICTIONARY_INDEX).fileName()));
    QFile::copy(QStringLiteral(TAVREL_STROKES_INDEX),
                QDir(folder).filePath(QFileInfo(TAVREL_STROKES_INDEX).fileName()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
    env.insert("XDG_RUNTIME_DIR", m_runtime.path());
    // As when a screen reader runs: Qt then joins the accessibility bus.
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    for (const QString &variable : variables) {
        const QString name = variable.section('=', 0, 0);
        const QString value = variable.section('=', 1);
        if (value == "-")
            env.remove(name);
        else
            env.insert(name, value);
    }
    m_program.setProcessEnvironment(env);
    m_errors.clear();
    m_program.start(executable, arguments);
    return m_program.waitForStarted();
}

void DesktopSession::endProgram()
{
    for (QProcess *action : std::as_const(m_pending)) {
        if (action->state() != QProcess::NotRunning) {
            action->kill();
            action->waitForFinished();
        }
        delete action;
    }
    m_pending.clear();
    if (m_program.state() != QProcess::NotRunning) {
        ProcessTree::kill(m_program.processId());
        m_program.waitForFinished();
    }
}

QString DesktopSession::programErrors()
{
    m_errors += QString::fromUtf8(m_program.readAllStandardError());
    return m_errors;
}

QStringList DesktopSession::tree()
{
    QString output;
    if (client({programName, "tree"}, &output) != 0)
        return {};
    return output.split('\n', Qt::SkipEmptyParts);
}

QString DesktopSession::text(const QString &role, const QString &name)
{
    QString output;
    return client({programName, "text", role, name}, &output) == 0 ? output : QString();
}

bool DesktopSession::setText(const QString &name, const QString &text)
{
    return client({programName, "set", name, text}) == 0;
}

void DesktopSession::press(const QString &role, const QString &name)
{
    m_pending << startClient({programName, "press", role, name});
}

QProcess *DesktopSession::startClient(const QStringList &arguments)
{
    auto *process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_busAddress);
    process->setProcessEnvironment(env);
    process->start("/usr/bin/python3", QStringList {ATSPI_CLIENT} + arguments);
    return process;
}

int DesktopSession::client(const QStringList &arguments, QString *output)
{
    const std::unique_ptr<QProcess> process(startClient(arguments));
    if (!process->waitForFinished(30000)) {
        process->kill();
        process->waitForFinished();
        return -1;
    }
    const int code = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    if (output) {
        *output = QString::fromUtf8(process->readAllStandardOutput());
        if (code != 0)
            *output += QString::fromUtf8(process->readAllStandardError());
    }
    return code;
}
