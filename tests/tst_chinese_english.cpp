// The built-in dictionary: lookups on a small dictionary written here, damaged index files, and
// a few lookups on the real index the build made.
#include "answer/answerpage.h"
#include "chinese_english/index.h"
#include "chinese_english/indexformat.h"
#include "chinese_english/indexwriter.h"
#include "lookup/lookup.h"
#include "chinese_english/pinyin.h"
#include "chinese_english/ranking.h"
#include "chinese_english/readingfrequency.h"
#include "english_chinese/format.h"
#include "english_chinese/index.h"
#include "english_chinese/suggestions.h"
#include "index_file/mappedindex.h"
#include "program/application.h"
#include "answer/answerformat.h"
#include "testsupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <numeric>

using namespace Dictionary;

// The small dictionary's data and its word counts (at the end of this file: moc cannot read
// past their raw strings).
extern const char smallData[];
extern const char smallCounts[];

namespace {

QByteArray smallIndex()
{
    QString error;
    const QByteArray index
        = buildIndex(smallData, readWordCounts(smallCounts), QStringLiteral("2026-01-04"),
                     QStringLiteral("1.1.1"), &error);
    if (index.isEmpty())
        qFatal("the small dictionary's index was not made: %s", qPrintable(error));
    return index;
}

// The answer in one line: each group's reading and entries (simplified), or its words with the
// number of their entries.
QString describe(const Answer &answer)
{
    static const char *const readings[] = {"Chinese", "English", "Pinyin", "EnglishChinese"};
    QStringList groups;
    for (const Group &group : answer.groups) {
        QStringList items;
        if (group.reading == Reading::EnglishChinese) {
            // The typed word's entries (a star for one that only says whose form it is), the
            // base word, the suggestions.
            const EnglishChinese::Result &found = answer.englishChinese;
            for (const EnglishChinese::Entry &entry : found.own)
                items << entry.word + (entry.onlyAForm ? QStringLiteral("*") : QString());
            if (found.hasBase())
                items << QStringLiteral("> %1 of %2").arg(found.form, found.base.word);
            for (const EnglishChinese::Suggestion &suggestion : found.suggestions)
                items << u'?' + suggestion.word;
            if (items.isEmpty())
                continue;
        }
        for (const Entry &entry : group.entries)
            items << entry.simplified;
        for (const Word &word : group.words)
            items << QStringLiteral("%1(%2)").arg(word.text).arg(word.entries.size());
        groups << QString::fromLatin1(readings[int(group.reading)]) + u':' + u' '
                + items.join(u' ');
        if (group.more)
            groups.last() += QStringLiteral(" +%1").arg(group.more);
    }
    return groups.join(QStringLiteral(" | "));
}

// The English-Chinese dictionary beside the small one, in ECDICT's shape: "he" is core
// vocabulary, "ta" is not and is rarer than 他.
const TestSupport::EcdictRow smallEnglish[] = {
    {"he", "hi:", "", "pron. \u4ed6", "zk gk", "", 5, 1, 11, 15},
    {"ta", "t\u0251:", "", "interj. \u8c22\u8c22", "", "s:tas", 1, 0, 6757, 12563},
    {"go", "g\u0259u", "", "vi. \u53bb", "zk gk", "p:went/d:gone", 5, 1, 44, 35},
    {"went", "went", "", "go\u7684\u8fc7\u53bb\u5f0f", "", "0:go/1:p", 0, 0, 0, 0},
    {"run", "r\u028cn", "", "vi. \u8dd1", "zk gk", "i:running", 5, 1, 208, 202},
    {"running", "'r\u028cni\u014b", "", "n. \u8d5b\u8dd1", "gk", "0:run/1:i", 4, 1, 3269, 3252},
    {"beautiful", "'bju:tiful", "", "a. \u7f8e\u4e3d\u7684", "zk gk", "", 4, 1, 1161, 992},
    {"don't", "d\u0259unt", "", "(= do not)\u4e0d\u8981", "", "", 5, 0, 0, 0},
};

} // namespace

class ChineseEnglishTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_small = m_folder.filePath(QStringLiteral("small.idx"));
        TestSupport::writeBytes(m_small, smallIndex());
        m_smallEnglish
            = TestSupport::makeEnglishIndex(m_folder.filePath(QStringLiteral("english")),
                                            {std::begin(smallEnglish), std::end(smallEnglish)});
        QVERIFY(!m_smallEnglish.isEmpty());
    }

    void lookUpSmall_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("firstPinyin");
        QTest::addColumn<bool>("cut");

        QTest::newRow("exact simplified") << "爱"
                                          << "Chinese: 爱"
                                          << "ài" << false;
        QTest::newRow("exact traditional") << "愛"
                                           << "Chinese: 爱"
                                           << "ài" << false;
        QTest::newRow("trimmed") << "  冰淇淋\t"
                                 << "Chinese: 冰淇淋"
                                 << "bīng qí lín" << false;
        QTest::newRow("segmented by longest match") << "我爱中国"
                                                    << "Chinese: 我(0) 爱(1) 中国(1)"
                                                    << "" << false;
        QTest::newRow("segmented, traditional") << "我愛中國"
                                                << "Chinese: 我(0) 愛(1) 中國(1)"
                                                << "" << false;
        QTest::newRow("Chinese not found") << "我她"
                                           << ""
                                           << "" << false;
        // 爱情 "romance; love (romantic)" is commoner than 恋爱 "(romantic) love" by more than
        // its later place weighs; senses that only start with "love" or hold it come after.
        QTest::newRow("English: equal and common first, then starting, other")
            << "love"
            << "English: 爱 爱情 恋爱 爱心 热爱"
            << "ài" << false;
        QTest::newRow("English ignores case") << "LoVe"
                                              << "English: 爱 爱情 恋爱 爱心 热爱"
                                              << "ài" << false;
        QTest::newRow("English drops a leading article") << "to love"
                                                         << "English: 爱 爱情 恋爱 爱心 热爱"
                                                         << "ài" << false;
        QTest::newRow("English: a label demotes") << "you"
                                                  << "English: 你 您 台"
                                                  << "nǐ" << false;
        QTest::newRow("English: a name after a common word") << "hope"
                                                             << "English: 希望 霍普"
                                                             << "xī wàng" << false;
        QTest::newRow("English: a sense before its comma is the word")
            << "paris"
            << "English: 巴黎 石膏"
            << "Bā lí" << false;
        QTest::newRow("English: a match only in a note weighs the note's words")
            << "dialect"
            << "English: 土话 二"
            << "tǔ huà" << false;
        QTest::newRow("English: the first sense before a commoner word's later one")
            << "letter"
            << "English: 信 书"
            << "xìn" << false;
        QTest::newRow("English, the common headword first") << "book"
                                                            << "English: 书 册"
                                                            << "shū" << false;
        QTest::newRow("English phrase: equal senses, the commoner first")
            << "ice cream"
            << "English: 冰淇淋 冰激凌 冰糕 雪糕 冰淇淋店"
            << "bīng qí lín" << false;
        QTest::newRow("English senses split outside parentheses only") << "eat"
                                                                       << "English: 吃 食"
                                                                       << "chī" << false;
        QTest::newRow("English whole words only") << "lov"
                                                  << ""
                                                  << "" << false;
        QTest::newRow("pinyin, tone numbers") << "bing1 qi2 lin2"
                                              << "Pinyin: 冰淇淋"
                                              << "bīng qí lín" << false;
        QTest::newRow("pinyin, wrong tone") << "bing1 qi3 lin2"
                                            << ""
                                            << "" << false;
        QTest::newRow("pinyin, no tones") << "bingqilin"
                                          << "Pinyin: 冰淇淋"
                                          << "bīng qí lín" << false;
        QTest::newRow("pinyin, tone marks") << "bīngqílín"
                                            << "Pinyin: 冰淇淋"
                                            << "bīng qí lín" << false;
        QTest::newRow("pinyin, some tones") << "Bing qi2lin"
                                            << "Pinyin: 冰淇淋"
                                            << "bīng qí lín" << false;
        QTest::newRow("pinyin, v for ü") << "nv3"
                                         << "Pinyin: 女"
                                         << "nǚ" << false;
        QTest::newRow("pinyin, u: for ü") << "nu:3er2"
                                          << "Pinyin: 女儿"
                                          << "nǚ ér" << false;
        QTest::newRow("pinyin, ü") << "nü"
                                   << "Pinyin: 女"
                                   << "nǚ" << false;
        QTest::newRow("pinyin, whole syllables") << "xian"
                                                 << "Pinyin: 先 西安"
                                                 << "xiān" << false;
        QTest::newRow("Latin: a name's sense does not put English first")
            << "xi'an"
            << "Pinyin: 西安 | English: 西安"
            << "Xī ān" << false;
        QTest::newRow("pinyin of letters spelt out is not pinyin") << "word"
                                                                   << ""
                                                                   << "" << false;
        QTest::newRow("both dictionaries and pinyin: core vocabulary first")
            << "he"
            << "EnglishChinese: he | English: 他 | Pinyin: 和 喝"
            << "" << false;
        QTest::newRow("Latin: pinyin first otherwise, the commoner first")
            << "tang"
            << "Pinyin: 汤 糖 | English: 汤"
            << "tāng" << false;
        QTest::newRow("both dictionaries and pinyin: a commoner word sounds so")
            << "ta"
            << "Pinyin: 他 嗒 | EnglishChinese: ta | English: 嗒"
            << "tā" << false;
        QTest::newRow("a form from the exchange field, and its base in the English reading")
            << "went"
            << "EnglishChinese: went* > past tense of go | English: 去"
            << "" << false;
        QTest::newRow("the base's entries ranked with the input's") << "running"
                                                                    << "EnglishChinese: "
                                                                       "running > -ing form "
                                                                       "of run | English: 跑 "
                                                                       "营运"
                                                                    << "" << false;
        QTest::newRow("an apostrophe") << "don\u2019t"
                                       << "EnglishChinese: don't"
                                       << "" << false;
        QTest::newRow("mixed scripts") << "iPhone手机"
                                       << "Chinese: iPhone(0) 手机(1)"
                                       << "" << false;
        QTest::newRow("a miss with suggestions") << "beautifull"
                                                 << "EnglishChinese: ?beautiful"
                                                 << "" << false;
        QTest::newRow("5,000 letters") << QString(5000, u'a') << ""
                                       << "" << true;
        QTest::newRow("split by probability, not the longest word first")
            << "研究生命起源"
            << "Chinese: 研究(1) 生命(1) 起源(1)"
            << "yán jiū" << false;
        QTest::newRow("split: 和尚 is not a word here")
            << "结婚的和尚未结婚的"
            << "Chinese: 结婚(1) 的(1) 和(1) 尚未(1) 结婚(1) 的(1)"
            << "jié hūn" << false;
        QTest::newRow("split: a headword without a count is a rare word")
            << "他说的确实在理"
            << "Chinese: 他(1) 说(1) 的(1) 确实(1) 在(1) 理(1)"
            << "tā" << false;
        QTest::newRow("split: a run of digits or letters is one word")
            << "他说2026年OK"
            << "Chinese: 他(1) 说(1) 2026(0) 年(1) OK(0)"
            << "tā" << false;
        QTest::newRow("punctuation only") << " ?!…。 "
                                          << ""
                                          << "" << false;
        QTest::newRow("empty") << ""
                               << ""
                               << "" << false;
        QTest::newRow("longest input, not cut")
            << QString(255, u'我') + u'爱'
            << "Chinese: " + QStringList(255, QStringLiteral("我(0)")).join(u' ') + " 爱(1)"
            << "" << false;
        QTest::newRow("longer input, cut") << QString(256, u'我') + u'爱' << ""
                                           << "" << true;
    }

    void lookUpSmall()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(QString, firstPinyin);
        QFETCH(bool, cut);

        const Index index(m_small);
        QVERIFY2(index.isOpen(), qPrintable(index.errorString()));
        if (expected.contains(u'?') && !EnglishChinese::spellingAvailable())
            QSKIP("no spelling dictionary for the suggestions");
        const Answer answer
            = Dictionary::lookUp(index, EnglishChinese::Index(m_smallEnglish), input);
        QCOMPARE(answer.error, QString());
        QCOMPARE(answer.englishChinese.error, QString());
        QCOMPARE(answer.dataDate, QStringLiteral("2026-01-04"));
        QCOMPARE(describe(answer), expected);
        QCOMPARE(answer.found(), !expected.isEmpty() && !expected.contains(u'?'));
        QCOMPARE(answer.cut, cut);
        QCOMPARE(answer.input.size(), std::min(int(input.trimmed().size()), maxInputLength));
        if (!firstPinyin.isEmpty()) {
            const Group &group = answer.groups.first();
            const Entry &first = group.entries.isEmpty() ? group.words.first().entries.first()
                                                         : group.entries.first();
            QCOMPARE(first.pinyin, firstPinyin);
        }
    }

    // A headword's entries: those that only point at others or are labelled come last.
    void headwordOrder_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("pinyin");
        QTest::newRow("吗: used in … last") << "吗" << QStringList {"má", "ma", "mǎ"};
        QTest::newRow("台: (classical) and variant of … last")
            << "台" << QStringList {"tái", "tái"};
    }

    void headwordOrder()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, pinyin);
        const Answer answer = lookUp(Index(m_small), input);
        QCOMPARE(answer.groups.size(), 1);
        QStringList found;
        for (const Entry &entry : answer.groups.first().entries)
            found << entry.pinyin;
        QCOMPARE(found, pinyin);
        // 臺 "platform" before the entry that is all labels.
        if (input == QStringLiteral("台"))
            QCOMPARE(answer.groups.first().entries.first().traditional, QStringLiteral("臺"));
    }

    // An answer as the view draws it (html), as a terminal prints it (text) and as JSON: the
    // data's markup becomes words with their pinyin, and every entry says how common it is.
    void answerShown_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("notShown");
        const QStringList markup {"|", "[ma3", "[tai2", "CL:"};
        QTest::newRow("used in, linked")
            << "吗"
            << "html"
            << QStringList {"used in <a href=\"tavrel:%E5%90%97%E5%95%A1\">"
                            "吗啡 嗎啡</a> (mǎ fēi)"}
            << markup;
        QTest::newRow("variant of, linked")
            << "台"
            << "html" << QStringList {"variant of <a href=\"tavrel:%E5%8F%B0\">台 臺</a> (tái)"}
            << markup;
        QTest::newRow("variant of, text")
            << "台"
            << "text" << QStringList {"variant of 台 臺 (tái)"} << markup;
        QTest::newRow("measure words, linked")
            << "狗"
            << "html"
            << QStringList {"<p class=\"measure\">Measure words: <a "
                            "href=\"tavrel:%E5%8F%AA\">只</a> "
                            "(zhī), <a href=\"tavrel:%E6%9D%A1\">条</a> (tiáo)</p>"}
            << markup;
        QTest::newRow("measure words, text")
            << "狗"
            << "text" << QStringList {"   1. dog\n      Measure words: 只 (zhī), 条 (tiáo)\n"}
            << markup;
        QTest::newRow("a very common word")
            << "爱"
            << "html"
            << QStringList {"<span class=\"band\" title=\"How common: very common, 10,000 or "
                            "more times in the 60 million words of jieba's word list\">very "
                            "common</span>"}
            << QStringList();
        QTest::newRow("a rare word")
            << "冰糕"
            << "text" << QStringList {"冰糕 bīng gāo (rare)"} << QStringList();
        QTest::newRow("no count, no band")
            << "在理"
            << "html" << QStringList {"zài lǐ"} << QStringList {"class=\"band\""};
        QTest::newRow("JSON") << "狗"
                              << "json"
                              << QStringList {"\"senses\":[\"dog\"]", "\"band\":2",
                                              "\"measureWords\":[{\"pinyin\":\"zhī\""}
                              << markup;
        QTest::newRow("JSON, no count") << "在理"
                                        << "json" << QStringList {"\"band\":null"} << QStringList();
    }

    void answerShown()
    {
        QFETCH(QString, input);
        QFETCH(QString, format);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, notShown);
        const Answer answer = lookUp(Index(m_small), input);
        const QString page = format == "html" ? AnswerPage::html(answer)
            : format == "text"                ? AnswerFormat::plainText(answer)
                                              : QString::fromUtf8(AnswerFormat::jsonLine(answer));
        for (const QString &text : shown)
            QVERIFY2(page.contains(text), qPrintable(page));
        for (const QString &text : notShown)
            QVERIFY2(!page.contains(text), qPrintable(text));
    }

    // Text for a terminal keeps within its width, Chinese characters taking two columns, and
    // loses no word.
    void textFitsTheWidth_data()
    {
        QTest::addColumn<int>("width");
        for (int width : {24, 40, 80})
            QTest::addRow("%d columns", width) << width;
    }

    void textFitsTheWidth()
    {
        QFETCH(int, width);
        const Answer answer = lookUp(Index(m_small), QStringLiteral("研究生命起源 ice cream"));
        const Answer phrase = lookUp(Index(m_small), QStringLiteral("结婚的和尚未结婚的"));
        for (const Answer &each : {answer, phrase}) {
            const QString text = AnswerFormat::plainText(each, width);
            for (const QString &line : text.split(u'\n')) {
                int columns = 0;
                for (char32_t c : line.toUcs4())
                    columns += c >= 0x2E80 ? 2 : 1;
                QVERIFY2(columns <= width, qPrintable(line));
            }
            QCOMPARE(text.simplified().remove(u' '),
                     AnswerFormat::plainText(each, 1000).simplified().remove(u' '));
        }
    }

    void entryFields()
    {
        const Index index(m_small);
        QCOMPARE(index.dataVersion(), QStringLiteral("1.1.1"));
        const Answer answer = lookUp(index, QStringLiteral("书"));
        QCOMPARE(answer.groups.size(), 1);
        const Entry &entry = answer.groups.first().entries.first();
        QCOMPARE(entry.traditional, QStringLiteral("書"));
        QCOMPARE(entry.simplified, QStringLiteral("书"));
        QCOMPARE(entry.senses, (QStringList {QStringLiteral("book"), QStringLiteral("letter")}));
        QCOMPARE(entry.count, 18993u);
        QCOMPARE(entry.band, 1);
    }

    void toneMarks_data()
    {
        QTest::addColumn<QString>("numbers");
        QTest::addColumn<QString>("marks");
        QTest::newRow("a, e and the last vowel") << "bing1 qi2 lin2 xue3 gui4 liu2"
                                                 << "bīng qí lín xuě guì liú";
        QTest::newRow("o of ou") << "gou3"
                                 << "gǒu";
        QTest::newRow("ü") << "lu:4 nu:e4"
                           << "lǜ nüè";
        QTest::newRow("capitals") << "Ding1 A4 Lu:3"
                                  << "Dīng À Lǚ";
        QTest::newRow("neutral tone, erhua") << "de5 r5"
                                             << "de r";
        QTest::newRow("not syllables, name separators") << "san1 C Ma3 ke4 · Tu3 wen1"
                                                        << "sān C Mǎ kè · Tǔ wēn";
    }

    void toneMarks()
    {
        QFETCH(QString, numbers);
        QFETCH(QString, marks);
        QCOMPARE(Pinyin::withToneMarks(numbers.toStdString()), marks);
    }

    // More entries than an answer shows: the rest are counted.
    void atMostSixtyEntries()
    {
        QByteArray data = "export default {\"all\":[";
        for (int i = 0; i < 70; ++i)
            data += QStringLiteral("%1[\"字%2\",\"字%2\",\"zi4 %2\",\"a word\",[],[]]")
                        .arg(i ? "," : "")
                        .arg(i)
                        .toUtf8();
        data += "]}";
        const QString path = m_folder.filePath(QStringLiteral("seventy.idx"));
        TestSupport::writeBytes(
            path, buildIndex(data, {}, QStringLiteral("2026-01-04"), QStringLiteral("1")));
        const Answer answer = lookUp(Index(path), QStringLiteral("word"));
        QCOMPARE(answer.groups.size(), 1);
        QCOMPARE(answer.groups.first().entries.size(), maxEntries);
        QCOMPARE(answer.groups.first().more, 10);
    }

    // Each dictionary's index damaged in turn; the other still answers.
    void damagedIndex_data()
    {
        QTest::addColumn<bool>("english"); // the English-Chinese index is the damaged one
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("why");

        for (const bool english : {false, true}) {
            const QByteArray good = english ? TestSupport::readBytes(m_smallEnglish) : smallIndex();
            const quint32 version = english ? EnglishChinese::Format::version : Format::version;
            const int sections = english ? IndexFile::sectionsAt(0) : int(Format::SectionsAt);
            auto patched = [&](int at, quint32 value) {
                QByteArray bytes = good;
                qToLittleEndian(value, bytes.data() + at);
                return bytes;
            };
            QByteArray foreign = good;
            foreign[0] = 'X';
            auto row = [&](const char *name) -> QTestData & {
                return QTest::addRow("%s, %s", english ? "English-Chinese" : "Chinese-English",
                                     name)
                    << english;
            };
            row("missing") << QByteArray() << false << "cannot be read";
            row("empty") << QByteArray() << true << "it is empty";
            row("header cut short") << good.left(40) << true << "too short";
            row("truncated") << good.left(good.size() - 100) << true << "bytes instead";
            row("longer than written") << good + QByteArray(64, '\0') << true << "bytes instead";
            row("wrong magic") << foreign << true << "dictionary index of this program";
            row("wrong version") << patched(IndexFile::VersionAt, version + 1) << true
                                 << QStringLiteral("has version %1").arg(version + 1);
            row("section outside the file")
                << patched(sections + 8, 0x7FFFFFF0u) << true << "outside the file";
            row("entry count off")
                << patched(IndexFile::EntryCountAt, 1000000) << true << "do not fit";
        }
    }

    void damagedIndex()
    {
        QFETCH(bool, english);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        QFETCH(QString, why);

        const QString path = m_folder.filePath(QStringLiteral("damaged.idx"));
        QFile::remove(path);
        if (exists)
            TestSupport::writeBytes(path, bytes);
        const QString error
            = english ? EnglishChinese::Index(path).errorString() : Index(path).errorString();
        QVERIFY2(error.contains(why), qPrintable(error));

        // Through the program's entry point, as the answer view gets it.
        setIndexPath(english ? m_small : path);
        setEnglishIndexPath(english ? path : m_smallEnglish);
        const Answer chinese = lookUp(QStringLiteral("爱"));
        const Answer latin = lookUp(QStringLiteral("he"));
        setIndexPath(QString());
        setEnglishIndexPath(QString());
        QCOMPARE(chinese.input, QStringLiteral("爱"));
        if (english) {
            QCOMPARE(latin.englishChinese.error, error);
            QCOMPARE(describe(latin), QStringLiteral("English: 他 | Pinyin: 和 喝"));
            QCOMPARE(describe(chinese), QStringLiteral("Chinese: 爱"));
        } else {
            QCOMPARE(chinese.error, error);
            QVERIFY(chinese.groups.isEmpty());
            QCOMPARE(latin.error, error);
            QCOMPARE(describe(latin), QStringLiteral("EnglishChinese: he"));
        }
    }

    // A header that checks out over tables of nonsense: every row points outside its section.
    // Lookups find nothing, and read nothing outside the file.
    void tablesOfNonsense()
    {
        QByteArray bytes = smallIndex();
        bytes.replace(Format::headerSize, bytes.size() - Format::headerSize,
                      QByteArray(bytes.size() - Format::headerSize, '\xFF'));
        const QString path = m_folder.filePath(QStringLiteral("nonsense.idx"));
        TestSupport::writeBytes(path, bytes);
        const Index index(path);
        QVERIFY2(index.isOpen(), qPrintable(index.errorString()));
        for (const char *input : {"爱", "我爱中国", "love", "ice cream", "bingqilin", "he"}) {
            const Answer answer = lookUp(index, QString::fromUtf8(input));
            QCOMPARE(answer.error, QString());
            QVERIFY2(!answer.found(), input);
        }
    }

    // Without a path set, the index is looked for in the program's folder.
    void programFolder()
    {
        QTemporaryDir program;
        QVERIFY(program.isValid());
        App::setPath(program.path());
        setIndexPath(QString());
        const Answer missing = lookUp(QStringLiteral("爱"));
        QVERIFY2(missing.error.contains(program.path()), qPrintable(missing.error));
        QVERIFY(QFile::copy(m_small, program.filePath(QStringLiteral("cc-cedict.idx"))));
        const Answer found = lookUp(QStringLiteral("爱"));
        App::setPath(QString());
        QCOMPARE(found.error, QString());
        QCOMPARE(describe(found), QStringLiteral("Chinese: 爱"));
    }

    // What a user finds first on the real data: in the English reading the everyday word, in
    // the pinyin reading the commonest word, and phrases cut into their words.
    void realIndex_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("reading");
        QTest::addColumn<QStringList>("accepted"); // one of them among the first `within`
        QTest::addColumn<int>("within");
        auto row
            = [](const char *input, Reading reading, const QStringList &accepted, int within = 1) {
                  QTest::addRow("%s, %s", input, reading == Reading::Pinyin ? "pinyin" : "English")
                      << QString::fromUtf8(input) << int(reading) << accepted << within;
              };
        const Reading english = Reading::English, pinyin = Reading::Pinyin;
        row("you", english, {"你"});
        row("quiet", english, {"安静"});
        row("kitchen", english, {"厨房"});
        row("bank", english, {"银行"});
        row("father", english, {"父亲", "爸爸"});
        row("computer", english, {"电脑", "计算机"});
        row("office", english, {"办公室"}, 2);
        row("beautiful", english, {"美丽"}, 3);
        row("love", english, {"爱"});
        row("ice cream", english, {"冰淇淋"});
        row("dog", english, {"狗"});
        row("good", english, {"好"});
        row("book", english, {"书"});
        row("big", english, {"大"});
        row("he", pinyin, {"和"});
        row("shi", pinyin, {"是"});
        row("hao", pinyin, {"好"});
        row("ta", pinyin, {"他", "她", "它"});
        row("de", pinyin, {"的"});
        row("ma", pinyin, {"吗", "妈"});
        row("bingqilin", pinyin, {"冰淇淋"});
    }

    void realIndex()
    {
        QFETCH(QString, input);
        QFETCH(int, reading);
        QFETCH(QStringList, accepted);
        QFETCH(int, within);
        const Answer answer = lookUp(real(), input);
        QCOMPARE(answer.error, QString());
        QCOMPARE(answer.dataDate, QStringLiteral("2026-01-04"));
        QStringList first;
        for (const Group &group : answer.groups)
            if (int(group.reading) == reading)
                for (const Entry &entry : group.entries.mid(0, within))
                    first << entry.simplified;
        QVERIFY2(std::any_of(accepted.begin(), accepted.end(),
                             [&](const QString &word) { return first.contains(word); }),
                 qPrintable(first.join(u' ')));
    }

    // A polyphonic character shows the reading people use first, wherever it is shown: looked
    // up alone, in a phrase's words, and among the entries a toneless syllable finds.
    void realIndexPolyphones_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("character"); // whose first entry is meant
        QTest::addColumn<QString>("first"); // its pinyin
        auto row = [](const char *input, const char *character, const char *first) {
            QTest::newRow(input) << QString::fromUtf8(input) << QString::fromUtf8(character)
                                 << QString::fromUtf8(first);
        };
        row("了", "了", "le");
        row("没", "没", "méi");
        row("什", "什", "shén");
        row("吗", "吗", "ma");
        row("得", "得", "de");
        row("行", "行", "xíng");
        row("长", "长", "zhǎng"); // the data counts zhǎng(1879) before cháng(1179)
        row("重", "重", "zhòng");
        row("还", "还", "hái");
        row("都", "都", "dōu");
        row("甚", "甚", "shén"); // only "variant of 什", yet the reading people use
        row("郑", "郑", "zhèng"); // the common reading before the surname
        row("你好吗", "吗", "ma");
        row("ma", "吗", "ma");
        row("le", "了", "le");
    }

    void realIndexPolyphones()
    {
        QFETCH(QString, input);
        QFETCH(QString, character);
        QFETCH(QString, first);
        const Answer answer = lookUp(real(), input);
        QStringList shown; // the character's entries, in the order shown
        for (const Group &group : answer.groups) {
            QList<Entry> entries = group.entries;
            for (const Word &word : group.words)
                entries += word.entries;
            for (const Entry &entry : entries)
                if (entry.simplified == character)
                    shown << entry.pinyin;
        }
        QVERIFY2(!shown.isEmpty(), "the character is not shown");
        QCOMPARE(shown.first(), first);
    }

    // The shares that order one character's entries, from its readings' counts.
    void readingShares_data()
    {
        QTest::addColumn<QString>("readings"); // as kHanyuPinlu writes them
        QTest::addColumn<QStringList>("pinyin"); // the entries', in the data's order
        QTest::addColumn<QList<double>>("senseShares");
        QTest::addColumn<QList<int>>("order"); // the entries by share, largest first
        QTest::newRow("commoner reading first")
            << "le(30101) liǎo(654) liào(19)" << QStringList{"liǎo", "le", "liào"}
            << QList<double>{0.6, 0.3, 0.1} << QList<int>{1, 0, 2};
        QTest::newRow("reading the field lacks last")
            << "ma(1456) má(93)" << QStringList{"mǎ", "má", "ma"}
            << QList<double>{0.5, 0.25, 0.25} << QList<int>{2, 1, 0};
        QTest::newRow("one reading's entries keep their senses' order")
            << "xíng(2943) háng(218)" << QStringList{"háng", "xíng", "xíng"}
            << QList<double>{0.5, 0.2, 0.3} << QList<int>{2, 1, 0};
        QTest::newRow("case of a name's reading") << "de(5096) dé(1496)" << QStringList{"Dé", "de"}
                                                  << QList<double>{0.9, 0.1} << QList<int>{1, 0};
    }

    void readingShares()
    {
        QFETCH(QString, readings);
        QFETCH(QStringList, pinyin);
        QFETCH(QList<double>, senseShares);
        QFETCH(QList<int>, order);
        const QByteArray line = "U+4E00\tkHanyuPinlu\t" + readings.toUtf8() + "\n";
        const ReadingFrequency::Table table = ReadingFrequency::read(line);
        QCOMPARE(table.size(), size_t(1));
        std::vector<std::string> marked;
        for (const QString &p : pinyin)
            marked.push_back(p.toStdString());
        const std::vector<double> shares = ReadingFrequency::shares(
            table.begin()->second, marked, {senseShares.begin(), senseShares.end()});
        QList<int> ranked(shares.size());
        std::iota(ranked.begin(), ranked.end(), 0);
        std::stable_sort(ranked.begin(), ranked.end(),
                         [&](int a, int b) { return shares[a] > shares[b]; });
        QCOMPARE(ranked, order);
        for (double share : shares)
            QVERIFY(share > 0 && share <= 1);
    }

    void realIndexGroupOrder_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("firstReading");
        for (const char *input : {"he", "love", "run", "bank"})
            QTest::newRow(input) << input << int(Reading::English);
        for (const char *input : {"ni", "hao", "shi", "wo", "ta", "zhongguo"})
            QTest::newRow(input) << input << int(Reading::Pinyin);
    }

    void realIndexGroupOrder()
    {
        QFETCH(QString, input);
        QFETCH(int, firstReading);
        const Answer answer = lookUp(real(), input);
        QVERIFY(!answer.groups.isEmpty());
        QCOMPARE(int(answer.groups.first().reading), firstReading);
    }

    // The order of the readings with both real dictionaries: English-Chinese first for
    // English words, the pinyin reading first for common syllables. A British spelling is read
    // as English through the American one too, and the caption says which.
    void realIndexWithEnglishChinese_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("firstReading");
        QTest::addColumn<QString>("english"); // among the English reading's first three
        QTest::addColumn<QString>("spelling"); // that found them; empty for the input's own
        for (const char *input : {"he", "can", "long", "fan", "men", "went", "beautiful"})
            QTest::newRow(input) << input << int(Reading::EnglishChinese) << "" << "";
        for (const char *input : {"ni", "hao", "shi", "wo", "ta", "de", "ma", "mian", "zhongguo"})
            QTest::newRow(input) << input << int(Reading::Pinyin) << "" << "";
        const int englishChinese = int(Reading::EnglishChinese);
        QTest::newRow("colour") << "colour" << englishChinese << "颜色" << "color";
        QTest::newRow("centre") << "centre" << englishChinese << "中心" << "center";
        QTest::newRow("realise") << "realise" << englishChinese << "实现" << "realize";
        QTest::newRow("color") << "color" << englishChinese << "颜色" << "";
        QTest::newRow("Colours") << "Colours" << englishChinese << "颜色" << "color";
    }

    void realIndexWithEnglishChinese()
    {
        QFETCH(QString, input);
        QFETCH(int, firstReading);
        QFETCH(QString, english);
        QFETCH(QString, spelling);
        const Answer answer = Dictionary::lookUp(real(), realEnglish(), input);
        QVERIFY(!answer.groups.isEmpty());
        QCOMPARE(int(answer.groups.first().reading), firstReading);
        if (english.isEmpty())
            return;
        const auto inEnglish = [](const Group &g) { return g.reading == Reading::English; };
        const auto found = std::find_if(answer.groups.begin(), answer.groups.end(), inEnglish);
        QVERIFY2(found != answer.groups.end(), "no English reading");
        const Group &group = *found;
        const int at = int(found - answer.groups.begin());
        QStringList first;
        for (const Entry &entry : group.entries.mid(0, 3))
            first << entry.simplified;
        QVERIFY2(first.contains(english), qPrintable(first.join(u' ')));
        QCOMPARE(group.spelling, spelling);
        const QString caption = spelling.isEmpty() ? QStringLiteral("Read as English\n")
                                                   : "Read as English (as " + spelling + ")\n";
        QVERIFY(AnswerFormat::plainText(answer).contains(caption));
        QVERIFY(AnswerPage::html(answer).contains("<h3>" + caption.trimmed() + "</h3>"));
        const QJsonObject json = QJsonDocument::fromJson(AnswerFormat::jsonLine(answer)).object();
        QCOMPARE(json.value("groups").toArray().at(at).toObject().value("spelling").toString(),
                 spelling);
    }

    void realIndexForms()
    {
        const Answer went = Dictionary::lookUp(real(), realEnglish(), QStringLiteral("went"));
        QCOMPARE(went.englishChinese.form, QStringLiteral("past tense"));
        QCOMPARE(went.englishChinese.base.word, QStringLiteral("go"));
        QVERIFY(went.englishChinese.base.translations.join(u' ').contains(QStringLiteral("去")));

        // The base word's entries among the input's, by the one score.
        const Answer running = Dictionary::lookUp(real(), realEnglish(), QStringLiteral("running"));
        QStringList first;
        for (const Group &group : running.groups)
            if (group.reading == Reading::English)
                for (const Entry &entry : group.entries.mid(0, 3))
                    first << entry.simplified;
        QVERIFY2(first.contains(QStringLiteral("跑")), qPrintable(first.join(u' ')));

        const Answer beautiful
            = Dictionary::lookUp(real(), realEnglish(), QStringLiteral("beautiful"));
        QCOMPARE(beautiful.englishChinese.own.first().phonetic, QStringLiteral("'bju:tiful"));
        QVERIFY(beautiful.englishChinese.own.first().translations.contains(
            QStringLiteral("a. 美丽的")));

        if (!EnglishChinese::spellingAvailable())
            QSKIP("no spelling dictionary for the suggestions");
        const Answer misspelt
            = Dictionary::lookUp(real(), realEnglish(), QStringLiteral("beautifull"));
        QVERIFY(!misspelt.found());
        QCOMPARE(misspelt.englishChinese.suggestions.value(0).word, QStringLiteral("beautiful"));
        QCOMPARE(misspelt.englishChinese.suggestions.value(0).translation,
                 QStringLiteral("a. 美丽的"));
    }

    void realIndexSplits_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("words");
        QTest::newRow("research the origin of life") << "研究生命起源"
                                                     << "研究 生命 起源";
        QTest::newRow("married and not yet married") << "结婚的和尚未结婚的"
                                                     << "结婚 的 和 尚未 结婚 的";
        QTest::newRow("what he said is indeed right") << "他说的确实在理"
                                                      << "他 说 的 确实 在 理";
        QTest::newRow("a long sentence")
            << "我们今天下午去图书馆借了几本关于中国历史的书"
            << "我们 今天 下午 去 图书馆 借 了 几 本 关于 中国 历史 的 书";
        QTest::newRow("digits") << "2026年的书"
                                << "2026 年 的 书";
    }

    void realIndexSplits()
    {
        QFETCH(QString, input);
        QFETCH(QString, words);
        const Answer answer = lookUp(real(), input);
        QCOMPARE(answer.groups.size(), 1);
        QStringList found;
        for (const Word &word : answer.groups.first().words)
            found << word.text;
        QCOMPARE(found.join(u' '), words);
    }

    // A single word's entries come ranked from the index; scored one by one at lookup, as a
    // phrase's are, they come in the same order.
    void realIndexRankedAsScored_data()
    {
        QTest::addColumn<QString>("input");
        for (const char *input : {"love", "to", "run", "bank", "china", "surname"})
            QTest::newRow(input) << input;
    }

    void realIndexRankedAsScored()
    {
        QFETCH(QString, input);
        const Answer answer = lookUp(real(), input);
        QVERIFY(!answer.groups.isEmpty());
        const Group &group = answer.groups.first().reading == Reading::English
            ? answer.groups.first()
            : answer.groups.last();
        QCOMPARE(group.reading, Reading::English);
        const std::vector<quint32> scored = rankEnglish(real(), input, Ranking::Weights());
        QCOMPARE(int(scored.size()), group.entries.size() + group.more);
        for (int i = 0; i < group.entries.size(); ++i) {
            const Index::Record record = real().record(scored[size_t(i)]);
            QCOMPARE(group.entries.at(i).simplified,
                     QString::fromUtf8(record.simplified.data(), int(record.simplified.size())));
        }
    }

private:
    static const Index &real()
    {
        static const Index index(QStringLiteral(TAVREL_DICTIONARY_INDEX));
        if (!index.isOpen())
            qFatal("%s", qPrintable(index.errorString()));
        return index;
    }

    static const EnglishChinese::Index &realEnglish()
    {
        static const EnglishChinese::Index index(QStringLiteral(TAVREL_ENGLISH_INDEX));
        if (!index.isOpen())
            qFatal("%s", qPrintable(index.errorString()));
        return index;
    }

    QTemporaryDir m_folder;
    QString m_small;
    QString m_smallEnglish;
};

QTEST_GUILESS_MAIN(ChineseEnglishTest)
#include "tst_chinese_english.moc"

// A few entries in the shape of cc-cedict's data/all.js, chosen so that each rule of the lookup
// decides an order, with their counts in jieba's word list (smallCounts).
const char smallData[] = R"json(export default {"all":[
["愛","爱","ai4",["to love; to be fond of","affection"],[],[]],
["愛情","爱情","ai4 qing2","romance; love (romantic)",[],[]],
["戀愛","恋爱","lian4 ai4",["(romantic) love","in love"],[],[]],
["愛心","爱心","ai4 xin1","love and care",[],[]],
["熱愛","热爱","re4 ai4","to have a fervent love for",[],[]],
["冰淇淋","冰淇淋","bing1 qi2 lin2","ice cream",[],[]],
["冰激凌","冰激凌","bing1 ji1 ling2","ice cream",[],[]],
["冰淇淋店","冰淇淋店","bing1 qi2 lin2 dian4","ice cream parlor",[],[]],
["雪糕","雪糕","xue3 gao1","ice cream bar",[],[]],
["冰糕","冰糕","bing1 gao1","ice-cream; popsicle",[],[]],
["中國","中国","Zhong1 guo2","China",[],[]],
["中","中","zhong1","within; among",[],[]],
["國","国","guo2","country",[],[]],
["女","女","nu:3","female; woman",[],[]],
["女兒","女儿","nu:3 er2","daughter",[],[]],
["他","他","ta1","(male) he; him",[],[]],
["喝","喝","he1","to drink",[],[]],
["和","和","he2","and; together with",[],[]],
["和平","和平","he2 ping2","peace",[],[]],
["吃","吃","chi1","(of a; b) to eat; the dish (food)",[],[]],
["食","食","shi2","to eat",[],[]],
["糖","糖","tang2","sugar",[],[]],
["湯","汤","tang1","soup; broth of tang herbs",[],[]],
["西安","西安","Xi1 an1","Xi'an",[],[]],
["先","先","xian1","first",[],[]],
["冊","册","ce4","a book",[],[]],
["書","书","shu1",["book","letter"],[],[]],
["書店","书店","shu1 dian4","bookshop",[],[]],
["書法","书法","shu1 fa3","calligraphy",[],[]],
["word","word","w o r d","my (slang)",[],[]],
["你","你","ni3","you (informal)",[],[]],
["您","您","nin2","you (courteous)",[],[]],
["台","台","tai2",["(classical) you (in letters)","variant of 臺|台[tai2]"],[],[]],
["臺","台","tai2",["platform","stage"],[],[]],
["希望","希望","xi1 wang4","to hope; to wish for; desire",[],[]],
["霍普","霍普","Huo4 pu3","Hope (name)",[],[]],
["信","信","xin4",["letter; mail","to trust"],[],[]],
["嗎","吗","ma2","(coll.) what?",[],[]],
["嗎","吗","ma3","used in 嗎啡|吗啡[ma3 fei1]",[],[]],
["嗎","吗","ma5","(question particle for \"yes-no\" questions)",[],[]],
["狗","狗","gou3",["dog","CL:隻|只[zhi1],條|条[tiao2]"],[],[]],
["研究","研究","yan2 jiu1","research; to study",[],[]],
["研究生","研究生","yan2 jiu1 sheng1","graduate student",[],[]],
["生命","生命","sheng1 ming4","life",[],[]],
["命","命","ming4","life; fate",[],[]],
["起源","起源","qi3 yuan2","origin",[],[]],
["結婚","结婚","jie2 hun1","to marry",[],[]],
["的","的","de5","of; ~'s (possessive particle)",[],[]],
["和尚","和尚","he2 shang5","Buddhist monk",[],[]],
["尚未","尚未","shang4 wei4","not yet",[],[]],
["尚","尚","shang4","still; yet",[],[]],
["未","未","wei4","not yet",[],[]],
["說","说","shuo1","to speak; to say",[],[]],
["確實","确实","que4 shi2","indeed; really",[],[]],
["的確","的确","di2 que4","really; indeed",[],[]],
["實在","实在","shi2 zai4","really; actually",[],[]],
["在","在","zai4","to exist; in; at",[],[]],
["在理","在理","zai4 li3","reasonable",[],[]],
["理","理","li3","reason; logic",[],[]],
["年","年","nian2","year",[],[]],
["嗒","嗒","ta4","ta (sound of a footstep)",[],[]],
["巴黎","巴黎","Ba1 li2","Paris, capital of France",[],[]],
["石膏","石膏","shi2 gao1","plaster of Paris",[],[]],
["土話","土话","tu3 hua4","local dialect",[],[]],
["二","二","er4","(Beijing dialect) stupid",[],[]],
["去","去","qu4","to go; to leave",[],[]],
["跑","跑","pao3","to run; to run away",[],[]],
["營運","营运","ying2 yun4",["operation","running"],[],[]],
["手機","手机","shou3 ji1","cell phone",[],[]]
],"variantLookup":{},"classifierLookup":{}})json";

// The counts of jieba's dict.txt for these words (霍普, a name, is made commoner than 希望 here
// to show that a name still comes after a common word), and one line for the rest of its corpus,
// so that the words' shares are about the real ones.
const char smallCounts[] = R"(爱 14878 v
爱情 2606 n
恋爱 848 v
爱心 646 n
热爱 869 a
冰淇淋 79 nr
冰激凌 42 n
雪糕 25 n
冰糕 3 n
中国 129470 ns
中 243191 f
国 29996 n
女 27951 b
女儿 6700 n
他 401339 r
喝 10053 vg
和 555815 c
和平 7998 nz
吃 36799 v
食 6350 v
糖 3550 zg
汤 4099 n
西安 2576 ns
先 25558 d
册 1277 q
书 18993 n
书店 294 n
书法 1114 n
你 234587 r
您 14737 zg
台 16964 q
希望 12597 v
霍普 40000 nr
信 11188 n
吗 21245 y
狗 3801 n
研究 35029 vn
研究生 1816 n
生命 6986 vn
命 11603 n
起源 1504 n
结婚 2967 v
的 318825 uj
和尚 3959 nr
尚未 3798 d
尚 5434 d
未 16803 d
说 219817 v
确实 5767 ad
的确 2135 d
实在 7557 v
在 727915 p
理 6890 n
年 248559 m
嗒 50 o
巴黎 3000 ns
石膏 3000 n
土话 1000 n
二 1000 m
我 328841 r
去 90000 v
跑 12000 v
营运 3000 vn
手机 8000 n
其余 55000000 x
)";
