#include "pronouncer.h"

#include "soundoutput.h"
#include "spokenpinyin.h"

#include "program/modules.h"
#include "program/timing.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

QString &outputFolder()
{
    static QString folder;
    return folder;
}

} // namespace

Pronouncer::Pronouncer(QObject *parent)
    : QObject(parent)
{
    m_speaking.setMaxThreadCount(1);
    // A thread that idles for long is let go; the next request starts another.
    m_speaking.setExpiryTimeout(60000);
    connect(this, &Pronouncer::started, [] { Timing::mark("sound-started"); });
}

Pronouncer::~Pronouncer()
{
    *m_latest = 0;
    m_speaking.clear();
    m_speaking.waitForDone();
}

void Pronouncer::setOutputFolder(const QString &folder) { outputFolder() = folder; }

void Pronouncer::say(const QString &text, Speech::Voice voice)
{
    Timing::mark("pronounce", text);
    const quint64 request = ++*m_latest;
    stop();
    const QString spoken = voice == Speech::Voice::Pinyin ? Speech::spokenPinyin(text) : text;
    m_speaking.start([this, latest = m_latest, request, spoken, voice, speed = m_speed] {
        // A later request has come while this one waited.
        if (*latest != request)
            return;
        const Speech::Sound sound = Speech::synthesize(spoken, voice, speed);
        QMetaObject::invokeMethod(
            this, [this, request, sound] { play(request, sound); }, Qt::QueuedConnection);
    });
    // Loaded while the speech is made.
    player();
}

void Pronouncer::stop()
{
    if (m_player)
        QMetaObject::invokeMethod(m_player, "stop");
}

QObject *Pronouncer::player()
{
    if (m_player || m_outputMissing)
        return m_player;
    const Modules::Loaded loaded
        = Modules::load(QStringLiteral("tavrel_soundoutput"), outputFolder());
    auto *output = qobject_cast<SoundOutput *>(loaded.instance);
    if (!output) {
        m_outputMissing = true;
        std::fprintf(stderr, "TavrelDictionary: the sound output could not be loaded: %s\n",
                     qPrintable(loaded.failures.join(QStringLiteral("; "))));
        return nullptr;
    }
    m_player = output->createPlayer(this);
    connect(m_player, SIGNAL(started()), this, SIGNAL(started()), Qt::DirectConnection);
    connect(m_player, SIGNAL(unavailable(QString)), this, SLOT(outputUnavailable(QString)));
    Timing::mark("sound-output-loaded");
    return m_player;
}

void Pronouncer::outputUnavailable(const QString &why)
{
    std::fprintf(stderr, "TavrelDictionary: no sound output: %s\n", qPrintable(why));
    emit failed(QCoreApplication::translate("Pronouncer", "No sound output"));
}

void Pronouncer::play(quint64 request, const Speech::Sound &sound)
{
    if (request != *m_latest)
        return;
    if (!sound.error.isEmpty()) {
        emit failed(QCoreApplication::translate("Pronouncer", "No speech: ") + sound.error);
        return;
    }
    if (sound.samples.isEmpty())
        return;
    if (!player()) {
        emit failed(QCoreApplication::translate("Pronouncer", "No sound output"));
        return;
    }
    QMetaObject::invokeMethod(m_player, "play", Q_ARG(QByteArray, sound.samples),
                              Q_ARG(int, sound.sampleRate));
}
