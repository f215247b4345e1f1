#pragma once

#include <QByteArray>
#include <QString>

// Speech made offline by espeak-ng: text and a voice in, PCM samples out. libespeak-ng is loaded
// and initialised on the first call, not before, and shared by every thread; calls wait for one
// another.
namespace Speech {

enum class Voice {
    Pinyin, // Mandarin read from numbered pinyin ("yin2 hang2"; see spokenPinyin)
    AmericanEnglish,
    BritishEnglish,
};

// espeak-ng's name for the voice: "cmn-latn-pinyin", "en-us", "en-gb".
QString voiceName(Voice voice);

// Words a minute; espeak-ng's own default is 175, a shade fast for someone learning the words.
inline constexpr int slowestSpeed = 80;
inline constexpr int fastestSpeed = 300;
inline constexpr int defaultSpeed = 150;

// Longer text is cut at a space before this many characters: a dictionary reads words, and a
// page of text would hold the speaker for minutes.
inline constexpr int maxTextLength = 300;

struct Sound
{
    QByteArray samples; // signed 16-bit, mono, native byte order
    int sampleRate = 0;
    QString error; // why there is no sound; empty text gives none, without an error

    qint64 sampleCount() const { return samples.size() / 2; }
    double seconds() const { return sampleRate > 0 ? double(sampleCount()) / sampleRate : 0; }
};

// Blocks until the whole text is spoken into samples; for a word, a few tens of milliseconds.
Sound synthesize(const QString &text, Voice voice, int wordsPerMinute = defaultSpeed);

// The phonemes espeak-ng would speak, in IPA, words separated by spaces; empty with error set
// when the library can't be used.
QString phonemes(const QString &text, Voice voice, QString *error = nullptr);

// Whether the library has been loaded by this process.
bool isLoaded();

} // namespace Speech
