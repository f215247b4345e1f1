#include "soundserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <cstdlib>

namespace {

void end(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
}

const qint16 *samplesOf(const QByteArray &bytes)
{
    return reinterpret_cast<const qint16 *>(bytes.constData());
}

} // namespace

SoundServer::~SoundServer()
{
    stopRecording();
    stop();
}

QString SoundServer::start()
{
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty()
        || QStandardPaths::findExecutable("parec").isEmpty())
        return "PulseAudio is not installed (Debian's pulseaudio and pulseaudio-utils)";
    if (!QFile::setPermissions(m_runtime.path(),
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return "no private runtime folder for PulseAudio";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Its state, cookie and sockets in the folder, apart from any session's server.
    env.insert("XDG_RUNTIME_DIR", m_runtime.path());
    env.insert("HOME", m_runtime.path());
    env.remove("PULSE_SERVER");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    m_server.setProcessEnvironment(env);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start(
        "pulseaudio",
        {"--system=false", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
         "--disable-shm=yes", "--use-pid-file=no", "--log-level=error", "-L",
         QString("module-null-sink sink_name=tavrel_test rate=%1 channels=1").arg(sampleRate), "-L",
         "module-native-protocol-unix auth-anonymous=1 socket=" + m_runtime.filePath("native")});
    if (!m_server.waitForStarted())
        return "pulseaudio does not start: " + m_server.errorString();
    for (int i = 0; i < 100 && !QFileInfo::exists(m_runtime.filePath("native")); ++i) {
        if (m_server.waitForFinished(100))
            return QString("pulseaudio ended at once (exit code %1)").arg(m_server.exitCode());
    }
    if (!QFileInfo::exists(m_runtime.filePath("native")))
        return "pulseaudio made no socket within 10 seconds";
    return QString();
}

void SoundServer::stop() { end(m_server); }

QString SoundServer::address() const { return "unix:" + m_runtime.filePath("native"); }

bool SoundServer::startRecording()
{
    m_recorded.clear();
    m_recorder.start("parec",
                     {"--server=" + address(), "--device=tavrel_test.monitor", "--raw",
                      "--format=s16le", "--channels=1", QString("--rate=%1").arg(sampleRate),
                      "--latency-msec=20"});
    return m_recorder.waitForStarted();
}

QByteArray SoundServer::recorded()
{
    m_recorded += m_recorder.readAllStandardOutput();
    return m_recorded;
}

void SoundServer::stopRecording()
{
    recorded();
    end(m_recorder);
}

double SoundServer::soundingSeconds(const QByteArray &samples)
{
    // Speech crosses zero all the time: count the 10 ms windows that sound instead.
    qint64 windows = 0;
    const qint64 window = sampleRate / 100;
    for (qint64 start = 0; start + window <= samples.size() / 2; start += window) {
        for (qint64 i = start; i < start + window; ++i) {
            if (std::abs(samplesOf(samples)[i]) > 300) {
                ++windows;
                break;
            }
        }
    }
    return windows / 100.0;
}

double SoundServer::rms(const QByteArray &samples)
{
    double sum = 0;
    const qint64 count = samples.size() / 2;
    for (qint64 i = 0; i < count; ++i)
        sum += double(samplesOf(samples)[i]) * samplesOf(samples)[i];
    return count ? std::sqrt(sum / count) : 0;
}
