#include "speech/soundoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QObject>

namespace {

// The samples of one sound, which says when the sink first reads them.
class Samples : public QBuffer
{
    Q_OBJECT
public:
    Samples(const QByteArray &samples, QObject *parent)
        : QBuffer(parent)
    {
        setData(samples);
        open(QIODevice::ReadOnly);
    }

signals:
    void firstRead();

protected:
    qint64 readData(char *data, qint64 size) override
    {
        const qint64 read = QBuffer::readData(data, size);
        if (read > 0 && !m_read) {
            m_read = true;
            emit firstRead();
        }
        return read;
    }

private:
    bool m_read = false;
};

class Player : public QObject
{
    Q_OBJECT
public:
    explicit Player(QObject *parent)
        : QObject(parent)
    { }

public slots:
    void play(const QByteArray &samples, int sampleRate)
    {
        stop();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            emit unavailable(QStringLiteral("there is no sound device or sound server"));
            return;
        }
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        // A sink of its own for every sound: Qt's PulseAudio sink, stopped and started again,
        // now and then reads the samples without the server ever playing them.
        m_sink = new QAudioSink(device, format, this);
        connect(m_sink, &QAudioSink::stateChanged, this, &Player::stateChanged);
        m_samples = new Samples(samples, this);
        // Direct: the moment counts, and it may come on the sound system's thread.
        connect(m_samples, &Samples::firstRead, this, &Player::started, Qt::DirectConnection);
        m_sink->start(m_samples);
        // A sink that fails at once has said so already, and is gone.
        if (m_sink && m_sink->error() != QAudio::NoError)
            failed();
    }

    void stop()
    {
        // Later: this may run inside the sink's own signal.
        if (m_sink) {
            m_sink->disconnect(this);
            m_sink->stop();
            m_sink->deleteLater();
            m_sink = nullptr;
        }
        if (m_samples) {
            m_samples->deleteLater();
            m_samples = nullptr;
        }
    }

signals:
    void started();
    void unavailable(const QString &why);

private:
    void stateChanged(QAudio::State state)
    {
        // Idle, all of it handed over, the sink is left to play what the server still holds;
        // the next sound, or the end, stops it.
        if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError)
            failed();
    }

    void failed()
    {
        const QAudio::Error error = m_sink->error();
        stop();
        emit unavailable(error == QAudio::OpenError
                             ? QStringLiteral("the sound device could not be opened")
                             : QStringLiteral("the sound device failed"));
    }

    QPointer<QAudioSink> m_sink;
    QPointer<Samples> m_samples;
};

} // namespace

class SoundOutputPlugin : public QObject, public SoundOutput
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SoundOutput_iid)
    Q_INTERFACES(SoundOutput)
public:
    QObject *createPlayer(QObject *parent) override { return new Player(parent); }
};

#include "soundoutputplugin.moc"
