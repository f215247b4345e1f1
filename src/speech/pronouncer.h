#pragma once

#include "synthesis.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <atomic>
#include <memory>

// Says words aloud: speech is made on a thread of its own and played on the default sound
// output. A new request stops the sound playing, and one still being made is dropped. The
// speech library and the sound output's module are loaded with the first request.
class Pronouncer : public QObject
{
    Q_OBJECT
public:
    explicit Pronouncer(QObject *parent = nullptr);
    ~Pronouncer() override;

    // Where the sound output's module is looked for instead of beside the program; for tests.
    static void setOutputFolder(const QString &folder);

    void setSpeed(int wordsPerMinute) { m_speed = wordsPerMinute; }

    // For Voice::Pinyin, text is the dictionary's numbered pinyin.
    void say(const QString &text, Speech::Voice voice);
    void stop();

signals:
    // The first samples went to the sound device.
    void started();
    // Nothing could be played, in the words the status bar shows: "No sound output" when
    // there is no sound server or device; why there is no speech otherwise.
    void failed(const QString &status);

private slots:
    void outputUnavailable(const QString &why);

private:
    QObject *player();
    void play(quint64 request, const Speech::Sound &sound);

    QThreadPool m_speaking; // one thread: the library speaks one text at a time
    std::shared_ptr<std::atomic<quint64>> m_latest = std::make_shared<std::atomic<quint64>>(0);
    QPointer<QObject> m_player;
    bool m_outputMissing = false;
    int m_speed = Speech::defaultSpeed;
};
