#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real sound server of its own: PulseAudio with one null sink as the default output, whose
// monitor can be recorded, reached through a socket in a private folder. Everything it starts
// ends with it.
class SoundServer
{
public:
    ~SoundServer();

    // Starts the server; returns why it could not, or nothing.
    QString start();
    void stop();

    // The value of PULSE_SERVER that reaches it.
    QString address() const;

    // Records what the sink plays, as signed 16-bit mono samples at sampleRate.
    static constexpr int sampleRate = 22050;
    bool startRecording();
    // What was recorded since the start of the recording; it goes on.
    QByteArray recorded();
    void stopRecording();

    // The seconds of the samples louder than a whisper, and their loudness (RMS).
    static double soundingSeconds(const QByteArray &samples);
    static double rms(const QByteArray &samples);

private:
    QTemporaryDir m_runtime;
    QProcess m_server;
    QProcess m_recorder;
    QByteArray m_recorded;
};
