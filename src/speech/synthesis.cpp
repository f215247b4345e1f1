#include "synthesis.h"

#include <QLibrary>
#include <QMutex>

#include <espeak-ng/speak_lib.h>

#include <atomic>
#include <cstring>

namespace Speech {

namespace {

// The library, loaded by name at run time: linked, it would be loaded, with its voice data, at
// every start of the program, for a feature many never use.
struct Library
{
    decltype(&espeak_Initialize) initialize = nullptr;
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_SetVoiceByProperties) setVoiceByProperties = nullptr;
    decltype(&espeak_SetParameter) setParameter = nullptr;
    decltype(&espeak_Synth) synth = nullptr;
    decltype(&espeak_Synchronize) synchronize = nullptr;
    decltype(&espeak_TextToPhonemes) textToPhonemes = nullptr;
    int sampleRate = 0;
    QString error;
};

std::atomic<bool> loaded {false};

// espeak-ng keeps one voice and one output in global state: every use holds this lock.
QMutex &lock()
{
    static QMutex mutex;
    return mutex;
}

template <typename Function> bool resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

// Samples for the call in progress; the callback runs on the calling thread, under the lock.
QByteArray *collecting = nullptr;
qint64 sampleLimit = 0;

int collect(short *samples, int count, espeak_EVENT *)
{
    if (!collecting || !samples)
        return 0;
    collecting->append(reinterpret_cast<const char *>(samples), count * int(sizeof(short)));
    // Non-zero asks espeak-ng to stop: enough is enough.
    return collecting->size() / 2 >= sampleLimit ? 1 : 0;
}

Library load()
{
    Library lib;
    QLibrary library(QStringLiteral("espeak-ng"), 1);
    if (!library.load()) {
        lib.error = QStringLiteral("libespeak-ng could not be loaded: ") + library.errorString();
        return lib;
    }
    if (!resolve(library, "espeak_Initialize", lib.initialize)
        || !resolve(library, "espeak_SetSynthCallback", lib.setSynthCallback)
        || !resolve(library, "espeak_SetVoiceByProperties", lib.setVoiceByProperties)
        || !resolve(library, "espeak_SetParameter", lib.setParameter)
        || !resolve(library, "espeak_Synth", lib.synth)
        || !resolve(library, "espeak_Synchronize", lib.synchronize)
        || !resolve(library, "espeak_TextToPhonemes", lib.textToPhonemes)) {
        lib.error = QStringLiteral("libespeak-ng lacks a function: ") + library.errorString();
        return lib;
    }
    // Synchronous: the samples come to the callback on this thread, and nothing is played by
    // the library itself. A buffer of 100 ms a call; the voice data from where Debian puts it.
    lib.sampleRate = lib.initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr, 0);
    if (lib.sampleRate <= 0) {
        lib.error = QStringLiteral("espeak-ng could not be initialised (is espeak-ng-data "
                                   "installed?)");
        return lib;
    }
    lib.setSynthCallback(collect);
    loaded = true;
    return lib;
}

// Loaded and initialised once, by whichever thread comes first, under the lock.
const Library &library()
{
    static const Library lib = load();
    return lib;
}

bool selectVoice(const Library &lib, Voice voice, QString *error)
{
    const QByteArray language = voiceName(voice).toLatin1();
    espeak_VOICE wanted {};
    wanted.languages = language.constData();
    if (lib.setVoiceByProperties(&wanted) == EE_OK)
        return true;
    if (error)
        *error = QStringLiteral("espeak-ng has no voice %1 (is espeak-ng-data installed?)")
                     .arg(voiceName(voice));
    return false;
}

QString bounded(const QString &text)
{
    QString result = text.simplified();
    if (result.size() > maxTextLength) {
        const int space = result.lastIndexOf(u' ', maxTextLength);
        result.truncate(space > 0 ? space : maxTextLength);
    }
    return result;
}

} // namespace

QString voiceName(Voice voice)
{
    switch (voice) {
    case Voice::Pinyin:
        return QStringLiteral("cmn-latn-pinyin");
    case Voice::AmericanEnglish:
        return QStringLiteral("en-us");
    case Voice::BritishEnglish:
        return QStringLiteral("en-gb");
    }
    return QString();
}

Sound synthesize(const QString &text, Voice voice, int wordsPerMinute)
{
    QMutexLocker locked(&lock());
    const Library &lib = library();
    Sound sound;
    if (!lib.error.isEmpty()) {
        sound.error = lib.error;
        return sound;
    }
    sound.sampleRate = lib.sampleRate;
    const QByteArray utf8 = bounded(text).toUtf8();
    if (utf8.isEmpty() || !selectVoice(lib, voice, &sound.error))
        return sound;
    lib.setParameter(espeakRATE, qBound(slowestSpeed, wordsPerMinute, fastestSpeed), 0);
    // A word takes a second or two; a bounded text well under a minute at the slowest speed.
    sampleLimit = qint64(lib.sampleRate) * 90;
    collecting = &sound.samples;
    const espeak_ERROR result = lib.synth(utf8.constData(), size_t(utf8.size()) + 1, 0,
                                          POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    lib.synchronize();
    collecting = nullptr;
    if (result != EE_OK)
        sound.error = QStringLiteral("espeak-ng could not speak the text (error %1)").arg(result);
    return sound;
}

QString phonemes(const QString &text, Voice voice, QString *error)
{
    QMutexLocker locked(&lock());
    const Library &lib = library();
    if (!lib.error.isEmpty()) {
        if (error)
            *error = lib.error;
        return QString();
    }
    if (!selectVoice(lib, voice, error))
        return QString();
    const QByteArray utf8 = bounded(text).toUtf8();
    const void *position = utf8.constData();
    QStringList clauses;
    // Clause by clause; espeakPHONEMES_IPA.
    while (position && *static_cast<const char *>(position))
        clauses << QString::fromUtf8(lib.textToPhonemes(&position, espeakCHARS_UTF8, 0x02));
    return clauses.join(u' ').simplified();
}

bool isLoaded() { return loaded; }

} // namespace Speech
