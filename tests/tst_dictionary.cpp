// The built-in dictionary: lookups on a small dictionary written here, damaged index files, and
// a few lookups on the real index the build made.
#include "dictionary/index.h"
#include "dictionary/indexformat.h"
#include "dictionary/indexwriter.h"
#include "dictionary/lookup.h"
#include "dictionary/pinyin.h"
#include "program/application.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Dictionary;

// The small dictionary's data (at the end of this file: moc cannot read past its raw string).
extern const char smallData[];

namespace {

QByteArray smallIndex()
{
    QString error;
    const QByteArray index
        = buildIndex(smallData, QStringLiteral("2026-01-04"), QStringLiteral("1.1.1"), &error);
    if (index.isEmpty())
        qFatal("the small dictionary's index was not made: %s", qPrintable(error));
    return index;
}

// The answer in one line: each group's reading and entries (simplified), or its words with the
// number of their entries.
QString describe(const Answer &answer)
{
    static const char *const readings[] = {"Chinese", "English", "Pinyin"};
    QStringList groups;
    for (const Group &group : answer.groups) {
        QStringList items;
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

} // namespace

class DictionaryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_small = m_folder.filePath(QStringLiteral("small.idx"));
        TestSupport::writeBytes(m_small, smallIndex());
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
        QTest::newRow("Chinese not found") << "我你"
                                           << ""
                                           << "" << false;
        QTest::newRow("English: equal, first sense, then later, starting, other")
            << "love"
            << "English: 爱 恋爱 爱情 爱心 热爱"
            << "ài" << false;
        QTest::newRow("English ignores case") << "LoVe"
                                              << "English: 爱 恋爱 爱情 爱心 热爱"
                                              << "ài" << false;
        QTest::newRow("English drops a leading article") << "to love"
                                                         << "English: 爱 恋爱 爱情 爱心 热爱"
                                                         << "ài" << false;
        QTest::newRow("English, the common headword first") << "book"
                                                            << "English: 书 册"
                                                            << "shū" << false;
        QTest::newRow("English phrase, hyphenated form after")
            << "ice cream"
            << "English: 冰淇淋 冰激凌 雪糕 冰淇淋店 冰糕"
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
        QTest::newRow("pinyin, syllables as typed") << "xi'an"
                                                    << "English: 西安 | Pinyin: 西安"
                                                    << "Xī ān" << false;
        QTest::newRow("pinyin of letters spelt out is not pinyin") << "word"
                                                                   << ""
                                                                   << "" << false;
        QTest::newRow("Latin: English first when a sense is the input")
            << "he"
            << "English: 他 | Pinyin: 和 喝"
            << "tā" << false;
        QTest::newRow("Latin: pinyin first otherwise") << "tang"
                                                       << "Pinyin: 糖 汤 | English: 汤"
                                                       << "táng" << false;
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
        const Answer answer = lookUp(index, input);
        QCOMPARE(answer.error, QString());
        QCOMPARE(answer.dataDate, QStringLiteral("2026-01-04"));
        QCOMPARE(describe(answer), expected);
        QCOMPARE(answer.found(), !expected.isEmpty());
        QCOMPARE(answer.cut, cut);
        QCOMPARE(answer.input.size(), std::min(int(input.trimmed().size()), maxInputLength));
        if (!firstPinyin.isEmpty()) {
            const Group &group = answer.groups.first();
            const Entry &first = group.entries.isEmpty() ? group.words.first().entries.first()
                                                         : group.entries.first();
            QCOMPARE(first.pinyin, firstPinyin);
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
            path, buildIndex(data, QStringLiteral("2026-01-04"), QStringLiteral("1")));
        const Answer answer = lookUp(Index(path), QStringLiteral("word"));
        QCOMPARE(answer.groups.size(), 1);
        QCOMPARE(answer.groups.first().entries.size(), maxEntries);
        QCOMPARE(answer.groups.first().more, 10);
    }

    void damagedIndex_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("why");

        const QByteArray good = smallIndex();
        auto patched = [&](int at, quint32 value) {
            QByteArray bytes = good;
            qToLittleEndian(value, bytes.data() + at);
            return bytes;
        };
        QByteArray foreign = good;
        foreign[0] = 'X';

        QTest::newRow("missing") << QByteArray() << false << "cannot be read";
        QTest::newRow("empty") << QByteArray() << true << "it is empty";
        QTest::newRow("header cut short") << good.left(40) << true << "too short";
        QTest::newRow("truncated") << good.left(good.size() - 100) << true << "bytes instead";
        QTest::newRow("longer than written")
            << good + QByteArray(64, '\0') << true << "bytes instead";
        QTest::newRow("wrong magic") << foreign << true << "is not a dictionary index";
        QTest::newRow("wrong version")
            << patched(Format::VersionAt, Format::version + 1) << true << "has version 2";
        QTest::newRow("section outside the file")
            << patched(Format::SectionsAt + 8 * Format::Postings, 0x7FFFFFF0u) << true
            << "outside the file";
        QTest::newRow("entry count off")
            << patched(Format::EntryCountAt, 1000000) << true << "do not fit";
    }

    void damagedIndex()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        QFETCH(QString, why);

        const QString path = m_folder.filePath(QStringLiteral("damaged.idx"));
        QFile::remove(path);
        if (exists)
            TestSupport::writeBytes(path, bytes);
        const Index index(path);
        QVERIFY(!index.isOpen());
        QVERIFY2(index.errorString().contains(why), qPrintable(index.errorString()));

        // Through the program's entry point, as the answer view gets it.
        setIndexPath(path);
        const Answer answer = lookUp(QStringLiteral("爱"));
        setIndexPath(QString());
        QCOMPARE(answer.error, index.errorString());
        QVERIFY(answer.groups.isEmpty());
        QCOMPARE(answer.input, QStringLiteral("爱"));
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

    void realIndex()
    {
        setIndexPath(QStringLiteral(TAVREL_DICTIONARY_INDEX));
        const auto first = [](const QString &input, Reading reading) {
            const Answer answer = lookUp(input);
            if (!answer.error.isEmpty())
                qFatal("%s", qPrintable(answer.error));
            for (const Group &group : answer.groups)
                if (group.reading == reading)
                    return group.entries;
            return QList<Entry>();
        };
        const QList<Entry> love = first(QStringLiteral("love"), Reading::English);
        QVERIFY(!love.isEmpty());
        QCOMPARE(love.first().simplified, QStringLiteral("爱"));

        const QList<Entry> iceCream = first(QStringLiteral("ice cream"), Reading::English);
        QVERIFY(iceCream.size() >= 2);
        QVERIFY(iceCream.at(0).simplified == QStringLiteral("冰淇淋")
                || iceCream.at(1).simplified == QStringLiteral("冰淇淋"));

        const QList<Entry> bingqilin = first(QStringLiteral("冰淇淋"), Reading::Chinese);
        QCOMPARE(bingqilin.size(), 1);
        QVERIFY(bingqilin.first().senses.contains(QStringLiteral("ice cream")));
        QCOMPARE(bingqilin.first().pinyin, QStringLiteral("bīng qí lín"));

        const QList<Entry> typed = first(QStringLiteral("bingqilin"), Reading::Pinyin);
        QVERIFY(!typed.isEmpty());
        QCOMPARE(typed.first().simplified, QStringLiteral("冰淇淋"));

        QCOMPARE(lookUp(QStringLiteral("love")).dataDate, QStringLiteral("2026-01-04"));
        setIndexPath(QString());
    }

private:
    QTemporaryDir m_folder;
    QString m_small;
};

QTEST_GUILESS_MAIN(DictionaryTest)
#include "tst_dictionary.moc"

// A few entries in the shape of cc-cedict's data/all.js, chosen so that each rule of the lookup
// decides an order: 爱 is in more headwords than 恋爱, 书 than 册, 冰淇淋 than 冰激凌, 和
// than 喝, which comes first in the data.
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
["word","word","w o r d","my (slang)",[],[]]
],"variantLookup":{},"classifierLookup":{}})json";
