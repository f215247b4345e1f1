// Speech made by espeak-ng, without a window or a sound device: how long it lasts, that it is
// not silence, and that the dictionary's tone digits are never read out as numbers.

#include "testsupport.h"

#include "answer/answerpage.h"
#include "chinese_english/index.h"
#include "preferences/preferences.h"
#include "preferences/pronunciationsettings.h"
#include "speech/spokenpinyin.h"
#include "speech/synthesis.h"

#include <cmath>

using Speech::Voice;

namespace {

// Seconds from the first to the last sample above a whisper: the speech, without the quiet
// espeak-ng puts around it.
double voicedSeconds(const Speech::Sound &sound)
{
    const auto *samples = reinterpret_cast<const qint16 *>(sound.samples.constData());
    qint64 first = -1, last = -1;
    for (qint64 i = 0; i < sound.sampleCount(); ++i) {
        if (std::abs(samples[i]) > 300) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    return first < 0 ? 0 : double(last - first) / sound.sampleRate;
}

double rms(const Speech::Sound &sound)
{
    const auto *samples = reinterpret_cast<const qint16 *>(sound.samples.constData());
    double sum = 0;
    for (qint64 i = 0; i < sound.sampleCount(); ++i)
        sum += double(samples[i]) * samples[i];
    return sound.sampleCount() ? std::sqrt(sum / sound.sampleCount()) : 0;
}

Speech::Sound say(const QString &text, Voice voice, int speed = Speech::defaultSpeed)
{
    return Speech::synthesize(voice == Voice::Pinyin ? Speech::spokenPinyin(text) : text, voice,
                              speed);
}

double voiced(const QString &text, Voice voice = Voice::Pinyin)
{
    return voicedSeconds(say(text, voice));
}

} // namespace

class TestSpeech : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(!Speech::isLoaded());
        const Speech::Sound probe = Speech::synthesize("a", Voice::AmericanEnglish);
        if (!probe.error.isEmpty())
            QSKIP(qPrintable("espeak-ng can't be used here: " + probe.error));
        // Loaded by the first use, and not before.
        QVERIFY(Speech::isLoaded());
    }

    void spokenPinyin_data()
    {
        QTest::addColumn<QString>("numbered");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("plain") << "yin2 hang2"
                               << "yin2 hang2";
        QTest::newRow("u: is v") << "lu:4"
                                 << "lv4";
        QTest::newRow("u:e, capital") << "Lu:e4 yang2"
                                      << "lve4 yang2";
        QTest::newRow("erhua joins its syllable") << "yi1 dian3 r5"
                                                  << "yi1 dianr3";
        QTest::newRow("erhua alone") << "r5"
                                     << "er5";
        QTest::newRow("neutral tone kept") << "hai2 zi5"
                                           << "hai2 zi5";
        QTest::newRow("name dot is a pause") << "Ka3 er3 · Ma3 ke4 si1"
                                             << "ka3 er3, ma3 ke4 si1";
        QTest::newRow("comma, doubled") << "A1 , · Bo1"
                                        << "a1, bo1";
        QTest::newRow("unknown reading left out") << "xx5 ma1"
                                                  << "ma1";
        QTest::newRow("letters as written") << "K ge1"
                                            << "k ge1";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only a dot") << "·"
                                    << "";
    }

    void spokenPinyin()
    {
        QFETCH(QString, numbered);
        QFETCH(QString, spoken);
        QCOMPARE(Speech::spokenPinyin(numbered), spoken);
    }

    void synthesis_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Voice>("voice");
        QTest::addColumn<double>("shortest"); // seconds of speech
        QTest::addColumn<double>("longest");

        QTest::newRow("ni3 hao3") << "ni3 hao3" << Voice::Pinyin << 0.35 << 0.9;
        QTest::newRow("yin2 hang2") << "yin2 hang2" << Voice::Pinyin << 0.45 << 1.1;
        // One syllable: "u:" read as a "u" and a "four" would last twice as long.
        QTest::newRow("lu:4") << "lu:4" << Voice::Pinyin << 0.12 << 0.4;
        QTest::newRow("lv4") << "lv4" << Voice::Pinyin << 0.12 << 0.4;
        QTest::newRow("er2") << "er2" << Voice::Pinyin << 0.12 << 0.45;
        QTest::newRow("neutral tone: ma5") << "ma5" << Voice::Pinyin << 0.08 << 0.35;
        QTest::newRow("erhua: yi1 dian3 r5") << "yi1 dian3 r5" << Voice::Pinyin << 0.35 << 0.9;
        QTest::newRow("beautiful, American") << "beautiful" << Voice::AmericanEnglish << 0.4 << 1.2;
        QTest::newRow("beautiful, British") << "beautiful" << Voice::BritishEnglish << 0.4 << 1.2;
        QTest::newRow("empty") << "" << Voice::AmericanEnglish << 0.0 << 0.0;
        QTest::newRow("spaces only") << "   " << Voice::Pinyin << 0.0 << 0.0;
        // Cut to a bounded length: well under a minute, however long the text.
        QTest::newRow("5,000 characters")
            << QString("water ").repeated(834).left(5000) << Voice::AmericanEnglish << 5.0 << 40.0;
    }

    void synthesis()
    {
        QFETCH(QString, text);
        QFETCH(Voice, voice);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        const Speech::Sound sound = say(text, voice);
        QVERIFY2(sound.error.isEmpty(), qPrintable(sound.error));
        const double seconds = voicedSeconds(sound);
        QVERIFY2(seconds >= shortest && seconds <= longest,
                 qPrintable(QString("%1 s of speech").arg(seconds)));
        if (longest > 0) {
            QCOMPARE(sound.sampleRate, 22050);
            QVERIFY2(rms(sound) > 500, qPrintable(QString("RMS %1").arg(rms(sound))));
        } else {
            QCOMPARE(sound.sampleCount(), 0);
        }
    }

    void theTwoEnglishVoicesDiffer()
    {
        // American English taps the t of "beautiful"; British English does not.
        QVERIFY(Speech::phonemes("beautiful", Voice::AmericanEnglish).contains(QChar(0x027E)));
        QVERIFY(!Speech::phonemes("beautiful", Voice::BritishEnglish).contains(QChar(0x027E)));
    }

    void speedChangesTheLength()
    {
        const double slow = voicedSeconds(say("yin2 hang2", Voice::Pinyin, 90));
        const double fast = voicedSeconds(say("yin2 hang2", Voice::Pinyin, 250));
        QVERIFY2(slow > 1.5 * fast, qPrintable(QString("%1 s against %2 s").arg(slow).arg(fast)));
    }

    void toneDigitIsNeverVoiced_data()
    {
        QTest::addColumn<QString>("withTone");
        QTest::addColumn<QString>("withoutTone");
        QTest::addColumn<QString>("digitSpoken");
        QTest::newRow("ma1") << "ma1"
                             << "ma"
                             << "ma yi1";
        QTest::newRow("hao3") << "hao3"
                              << "hao"
                              << "hao san1";
        QTest::newRow("lu:4") << "lu:4"
                              << "lu"
                              << "lv si4";
        QTest::newRow("ma5") << "ma5"
                             << "ma"
                             << "ma wu3";
        QTest::newRow("de5") << "de5"
                             << "de"
                             << "de wu3";
        QTest::newRow("r5 after hua1") << "hua1 r5"
                                       << "huar"
                                       << "hua yi1 er wu3";
        QTest::newRow("zhong1 guo2") << "zhong1 guo2"
                                     << "zhong guo"
                                     << "zhong yi1 guo er4";
    }

    void toneDigitIsNeverVoiced()
    {
        QFETCH(QString, withTone);
        QFETCH(QString, withoutTone);
        QFETCH(QString, digitSpoken);
        const double toned = voiced(withTone);
        const double plain = voiced(withoutTone);
        const double digits = voiced(digitSpoken);
        const QString seconds = QString("%1 s; without tones %2 s; with digits read %3 s")
                                    .arg(toned)
                                    .arg(plain)
                                    .arg(digits);
        // Tones change a syllable's length a little; a number said adds a syllable.
        QVERIFY2(std::abs(toned - plain) < 0.35 * plain, qPrintable(seconds));
        QVERIFY2(digits - toned > 0.3 * plain, qPrintable(seconds));
    }

    // Every entry of a broad sample of the real dictionary is read with as many syllables as
    // its pinyin has: a digit read out, or "u:" read as two sounds, adds one.
    void dictionaryPinyinKeepsItsSyllables()
    {
        const Dictionary::Index index(QStringLiteral(TAVREL_DICTIONARY_INDEX));
        QVERIFY2(index.isOpen(), qPrintable(index.errorString()));
        static const QRegularExpression syllable("^[A-Za-z:]+[1-5]$");
        int checked = 0;
        QStringList wrong;
        for (quint32 entry = 0; entry < index.entryCount(); entry += 31) {
            const auto record = index.record(entry).pinyin;
            const QStringList data
                = QString::fromUtf8(record.data(), int(record.size())).split(' ');
            // Letters and numbers as written are read as espeak-ng likes; not this check's.
            if (!std::all_of(data.begin(), data.end(),
                             [](const QString &s) { return syllable.match(s).hasMatch(); }))
                continue;
            // Erhua is said with the syllable before it; a reading the data doesn't know, not
            // at all.
            const qsizetype syllables = data.size() - data.mid(1).count("r5") - data.count("xx5");
            const QString spoken = Speech::spokenPinyin(data.join(' '));
            const QString phonemes = Speech::phonemes(spoken, Voice::Pinyin);
            ++checked;
            if (phonemes.split(' ', Qt::SkipEmptyParts).size() != syllables)
                wrong << data.join(' ') + " -> " + spoken + " -> " + phonemes;
        }
        qInfo("%d entries read", checked);
        QVERIFY2(checked > 3000, qPrintable(QString::number(checked)));
        QVERIFY2(wrong.isEmpty(),
                 qPrintable(QString("%1 of %2:\n").arg(wrong.size()).arg(checked)
                            + wrong.mid(0, 30).join('\n')));
    }

    // What "Pronounce" and Alt+S read of an answer of the real dictionary.
    void firstEntryRead_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("english");
        QTest::newRow("Chinese") << QStringLiteral("银行") << "yin2 hang2" << false;
        QTest::newRow("traditional") << QStringLiteral("銀行") << "yin2 hang2" << false;
        QTest::newRow("English") << "beautiful"
                                 << "beautiful" << true;
        QTest::newRow("English first of both readings") << "he"
                                                        << "he" << true;
        QTest::newRow("pinyin") << "bingqilin"
                                << "bing1 qi2 lin2" << false;
        QTest::newRow("pinyin with tones") << "yin2hang2"
                                           << "yin2 hang2" << false;
        QTest::newRow("phrase: its first word") << QStringLiteral("我喜欢喝茶") << "wo3" << false;
        QTest::newRow("nothing found") << "qqqxz" << QString() << false;
    }

    void firstEntryRead()
    {
        QFETCH(QString, input);
        QFETCH(QString, text);
        QFETCH(bool, english);
        const AnswerPage::Speaker speaker = AnswerPage::firstSpeaker(AnswerPage::answerFor(input));
        QCOMPARE(speaker.text, text);
        QCOMPARE(speaker.english, english);
        // A speaker link carries it through its address, whatever the text.
        const AnswerPage::Speaker carried
            = AnswerPage::speakerOf(AnswerPage::speakerAddress(speaker));
        QCOMPARE(carried.text, speaker.text);
        QCOMPARE(carried.word, speaker.word);
        QCOMPARE(carried.english, speaker.english);
    }

    void settingsFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("english");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("readAfterLookup");
        const int us = int(Voice::AmericanEnglish), gb = int(Voice::BritishEnglish);
        QTest::newRow("none: the defaults") << QByteArray() << us << Speech::defaultSpeed << false;
        QTest::newRow("all set") << QByteArray("english-voice=en-gb\r\nspeed=200\r\n"
                                               "read-after-lookup=yes\r\n")
                                 << gb << 200 << true;
        QTest::newRow("unix line ends, spaces")
            << QByteArray(" speed = 120 \nenglish-voice= en-gb\n") << gb << 120 << false;
        QTest::newRow("nonsense kept out")
            << QByteArray("english-voice=fr\nspeed=100000\nread-after-lookup=maybe\n") << us
            << Speech::defaultSpeed << false;
        QTest::newRow("speed not a number")
            << QByteArray("speed=fast\n") << us << Speech::defaultSpeed << false;
        QTest::newRow("binary") << QByteArray("\0\xff\xfe=\n=\n\n", 8) << us << Speech::defaultSpeed
                                << false;
        // Rows that start with '<' are the preferences file, which is read instead.
        QTest::newRow("preferences") << QByteArray("<preferences><pronunciation speed=\"90\" "
                                                   "english-voice=\"en-gb\"/></preferences>")
                                     << gb << 90 << false;
        QTest::newRow("preferences damaged halfway")
            << QByteArray("<preferences><pronunciation read-after-lookup=\"yes\"/><words keep")
            << us << Speech::defaultSpeed << true;
        QTest::newRow("preferences of another kind")
            << QByteArray("<html><pronunciation speed=\"90\"/></html>") << us
            << Speech::defaultSpeed << false;
    }

    void settingsFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, english);
        QFETCH(int, speed);
        QFETCH(bool, readAfterLookup);
        QTemporaryDir folder;
        const char *name = file.startsWith('<') ? PreferencesFile::fileName
                                                : PronunciationSettings::fileName;
        if (!file.isNull())
            TestSupport::writeBytes(folder.filePath(name), file);
        const Preferences read = PreferencesFile::load(folder.path(), false);
        QCOMPARE(int(read.pronunciation.english), english);
        QCOMPARE(read.pronunciation.speed, speed);
        QCOMPARE(read.pronunciation.readAfterLookup, readAfterLookup);
        // Once saved, the preferences file is read back the same, whatever was carried over.
        Preferences saved = read;
        saved.keepHistory = !read.keepHistory;
        saved.tones = {QStringLiteral("colour-blind-safe"), {}, true};
        saved.tones.colours[2] = QColor(0x12, 0x34, 0x56);
        saved.traditionalCharacters = !read.traditionalCharacters;
        QVERIFY(PreferencesFile::save(folder.path(), saved));
        QVERIFY(PreferencesFile::load(folder.path(), read.keepHistory) == saved);
        QCOMPARE(PreferencesFile::load(folder.path(), false).traditionalCharacters,
                 saved.traditionalCharacters);
    }
};

TAVREL_TEST_MAIN(TestSpeech)
#include "tst_speech.moc"
