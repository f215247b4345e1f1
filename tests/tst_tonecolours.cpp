// Pinyin coloured by tone: the syllables and tones read from numbered and marked pinyin, the
// HTML and terminal text made of them, when a terminal gets colour, and the colours' contrast.
#include "answer/tonecolours.h"

#include <QtTest>

using namespace ToneColours;

class TestToneColours : public QObject
{
    Q_OBJECT

private slots:
    void syllablesAndTones_data()
    {
        QTest::addColumn<QString>("pinyin");
        QTest::addColumn<QString>("expected"); // each syllable as text:tone, parted by |

        QTest::newRow("numbers") << "ni3 hao3" << "ni3:3|hao3:3";
        QTest::newRow("numbers written together") << "ni3hao3" << "ni3:3|hao3:3";
        QTest::newRow("u colon") << "lu:4 se4" << "lu:4:4|se4:4";
        QTest::newRow("neutral tone 5") << "ma5" << "ma5:5";
        QTest::newRow("no number is neutral") << "ta1 men" << "ta1:1|men:5";
        QTest::newRow("erhua") << "yi1 dian3 r5" << "yi1:1|dian3:3|r5:5";
        QTest::newRow("capital") << "Bei3 jing1" << "Bei3:3|jing1:1";
        QTest::newRow("letters of a headword") << "A A zhi4" << "A:5|A:5|zhi4:4";
        QTest::newRow("punctuation between") << "yi1 , er4" << "yi1:1|er4:4";
        QTest::newRow("marks") << "nǐ hǎo" << "nǐ:3|hǎo:3";
        QTest::newRow("ü with a mark") << "lǜ nǚ lǘ lǖ" << "lǜ:4|nǚ:3|lǘ:2|lǖ:1";
        QTest::newRow("capital mark") << "Ǎ ÉR" << "Ǎ:3|ÉR:2";
        QTest::newRow("marks written together") << "Zhōngguó" << "Zhōng:1|guó:2";
        QTest::newRow("initial zh written together") << "Xiǎozhāng" << "Xiǎo:3|zhāng:1";
        QTest::newRow("nasal before an initial") << "hěnnán" << "hěn:3|nán:2";
        QTest::newRow("erhua written on") << "yìdiǎnr" << "yì:4|diǎnr:3";
        QTest::newRow("apostrophe") << "Xī'ān" << "Xī:1|ān:1";
        QTest::newRow("combining marks")
            << QStringLiteral(u"ma\u0300 ma\u030C") << QStringLiteral(u"ma\u0300:4|ma\u030C:3");
        QTest::newRow("no syllable") << " , " << "";
    }

    void syllablesAndTones()
    {
        QFETCH(QString, pinyin);
        QFETCH(QString, expected);
        QStringList found;
        qsizetype covered = 0;
        for (const Syllable &part : syllables(pinyin)) {
            QCOMPARE(part.start, covered); // the parts cover the text, in order
            covered += part.length;
            if (part.tone)
                found << pinyin.mid(part.start, part.length) + u':' + QString::number(part.tone);
        }
        QCOMPARE(covered, pinyin.size());
        QCOMPARE(found.join(u'|'), expected);
    }

    void htmlOfPinyinAndCharacters_data()
    {
        QTest::addColumn<QString>("characters");
        QTest::addColumn<QString>("pinyin");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<QString>("pinyinHtml");
        QTest::addColumn<QString>("charactersHtml");

        const auto span = [](int tone, const char *colour, const QString &text) {
            return QStringLiteral("<span class=\"tone%1\" style=\"color:%2\">%3</span>")
                .arg(tone)
                .arg(QLatin1String(colour), text);
        };
        QTest::newRow("default") << "你好" << "ni3 hao3" << int(Scheme::Default)
                                 << span(3, "#1510f0", "ni3") + " " + span(3, "#1510f0", "hao3")
                                 << span(3, "#1510f0", "你") + span(3, "#1510f0", "好");
        QTest::newRow("colour-blind safe")
            << "妈妈" << "mā ma" << int(Scheme::ColourBlindSafe)
            << span(1, "#d55e00", "mā") + " " + span(5, "#000000", "ma")
            << span(1, "#d55e00", "妈") + span(5, "#000000", "妈");
        QTest::newRow("none") << "你好" << "ni3 hao3" << int(Scheme::None) << "ni3 hao3"
                              << "你好";
        QTest::newRow("characters that don't pair up")
            << "你好吗" << "ni3 hao3" << int(Scheme::Default)
            << span(3, "#1510f0", "ni3") + " " + span(3, "#1510f0", "hao3") << "你好吗";
        QTest::newRow("punctuation left out of the pairs")
            << "一，二" << "yi1 , er4" << int(Scheme::Default)
            << span(1, "#e30000", "yi1") + " , " + span(4, "#8900bf", "er4")
            << span(1, "#e30000", "一") + "，" + span(4, "#8900bf", "二");
        QTest::newRow("escaped") << "<" << "a1 <b>" << int(Scheme::Default)
                                 << span(1, "#e30000", "a1") + " &lt;"
                                        + span(5, "#777777", "b") + "&gt;"
                                 << "&lt;";
    }

    void htmlOfPinyinAndCharacters()
    {
        QFETCH(QString, characters);
        QFETCH(QString, pinyin);
        QFETCH(int, scheme);
        const Palette colours = palette(Scheme(scheme));
        QTEST(ToneColours::pinyinHtml(pinyin, colours), "pinyinHtml");
        QTEST(ToneColours::charactersHtml(characters, pinyin, colours), "charactersHtml");
    }

    void terminalEscapes_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<QString>("pinyin");
        QTest::addColumn<QString>("expected");

        QTest::newRow("terminal's own colours")
            << int(Scheme::Default) << "ni3 hao5" << "\x1b[34mni3\x1b[39m \x1b[90mhao5\x1b[39m";
        QTest::newRow("exact colours") << int(Scheme::ColourBlindSafe) << "shì"
                                       << "\x1b[38;2;204;121;167mshì\x1b[39m";
        QTest::newRow("none") << int(Scheme::None) << "shì" << "shì";
    }

    void terminalEscapes()
    {
        QFETCH(int, scheme);
        QFETCH(QString, pinyin);
        QTEST(pinyinAnsi(pinyin, palette(Scheme(scheme))), "expected");
    }

    void whetherTheTerminalGetsColour_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QByteArray>("noColor");
        QTest::addColumn<bool>("expected");

        QTest::newRow("auto, terminal") << "auto" << true << QByteArray() << true;
        QTest::newRow("auto, pipe") << "auto" << false << QByteArray() << false;
        QTest::newRow("auto, NO_COLOR") << "auto" << true << QByteArray("1") << false;
        QTest::newRow("auto, NO_COLOR empty") << "auto" << true << QByteArray("") << true;
        QTest::newRow("always over a pipe and NO_COLOR")
            << "always" << false << QByteArray("1") << true;
        QTest::newRow("never on a terminal") << "never" << true << QByteArray() << false;
    }

    void whetherTheTerminalGetsColour()
    {
        QFETCH(QString, option);
        QFETCH(bool, terminal);
        QFETCH(QByteArray, noColor);
        const std::optional<ColourWhen> when = colourWhenFromText(option);
        QVERIFY(when);
        QTEST(useColour(*when, terminal, noColor), "expected");
        QVERIFY(!colourWhenFromText(u"sometimes"));
    }

    // Every colour of every scheme, made readable on a light and a dark view, keeps its hue and
    // reaches the ratio.
    void readableOnTheBackground_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::newRow("white") << QColor(Qt::white);
        QTest::newRow("dark") << QColor(0x23, 0x26, 0x29);
    }

    void readableOnTheBackground()
    {
        QFETCH(QColor, background);
        QCOMPARE(qRound(contrastRatio(Qt::black, Qt::white) * 100), 2100);
        for (const Scheme scheme : {Scheme::Default, Scheme::ColourBlindSafe}) {
            const Palette given = palette(scheme);
            const Palette readable = readableOn(given, background);
            for (int tone = 1; tone <= neutralTone; ++tone) {
                const QColor colour = readable.colour(tone);
                QVERIFY2(contrastRatio(colour, background) >= 4.5,
                         qPrintable(colour.name() + " on " + background.name()));
                if (given.colour(tone).hslSaturation() > 0 && colour.hslSaturation() > 0)
                    QVERIFY(qAbs(colour.hslHue() - given.colour(tone).hslHue()) <= 3);
                if (contrastRatio(given.colour(tone), background) >= 4.5)
                    QCOMPARE(colour, given.colour(tone));
            }
        }
    }

    void schemeKeys()
    {
        for (const Scheme scheme : {Scheme::Default, Scheme::ColourBlindSafe, Scheme::None})
            QCOMPARE(schemeFromKey(schemeKey(scheme)), std::optional<Scheme>(scheme));
        QVERIFY(!schemeFromKey(u"rainbow"));
    }
};

QTEST_GUILESS_MAIN(TestToneColours)
#include "tst_tonecolours.moc"
