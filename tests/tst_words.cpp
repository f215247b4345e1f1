// The words the user keeps, in their SQLite file: history, favourites, and every way the file
// can be found damaged.

#include "testsupport.h"

#include "chinese_english/completion.h"
#include "chinese_english/index.h"
#include "chinese_english/indexwriter.h"
#include "words/flashcards.h"
#include "words/recorder.h"
#include "words/store.h"
#include "words/suggestions.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

using Words::Store;

Q_DECLARE_METATYPE(Words::Favourite)

// The small dictionary's data (at the end of this file: moc cannot read past its raw string).
extern const char completionData[];

namespace {

const QDateTime start = QDateTime::fromString("2026-12-01T08:00:00Z", Qt::ISODate);

// A file made by SQLite for another program, or by an older layout of this one.
void writeOtherDatabase(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString &statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
        db.close();
    }
    QSqlDatabase::removeDatabase("other");
}

// Each input of the history with how often it was looked up, as "input:count", newest first.
QStringList counted(const QList<Words::HistoryItem> &items)
{
    QStringList counted;
    for (const Words::HistoryItem &item : items)
        counted << QStringLiteral("%1:%2").arg(item.input).arg(item.count);
    return counted;
}

QStringList journalsIn(const QString &folder)
{
    return QDir(folder).entryList({"words-waiting-*"}, QDir::Files | QDir::Hidden);
}

QStringList inputs(const QList<Words::HistoryItem> &items)
{
    QStringList result;
    for (const Words::HistoryItem &item : items)
        result << item.input;
    return result;
}

// The notes of an exported file as Anki's importer reads them: tab-separated fields, where a
// field in double quotes may hold tabs and doubled quotes.
QList<QStringList> readNotes(const QString &text, QStringList *headers)
{
    QList<QStringList> notes;
    for (const QString &line : text.split(u'\n')) {
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'#')) {
            *headers << line;
            continue;
        }
        QStringList fields {QString()};
        bool quoted = false;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (quoted && c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                fields.last() += u'"';
                ++i;
            } else if (c == u'"' && (quoted || fields.last().isEmpty())) {
                quoted = !quoted;
            } else if (c == u'\t' && !quoted) {
                fields << QString();
            } else {
                fields.last() += c;
            }
        }
        notes << fields;
    }
    return notes;
}

QStringList texts(const QList<Words::Suggestion> &suggestions)
{
    QStringList result;
    for (const Words::Suggestion &suggestion : suggestions)
        result << suggestion.text;
    return result;
}

QList<Words::HistoryItem> history(const QStringList &inputs)
{
    QList<Words::HistoryItem> items;
    for (const QString &input : inputs)
        items.append({input, start, 1});
    return items;
}

} // namespace

class TestWords : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_folder;

    QString path() const { return m_folder.path("words.sqlite"); }

    QTemporaryDir m_indexFolder;
    std::unique_ptr<Dictionary::Index> m_small;

private slots:
    void initTestCase()
    {
        QString error;
        // How common each word is, as a word list's counts say.
        const QByteArray counts = "中 5000 f\n中国 3000 ns\n中文 800 nz\n中午 900 t\n"
                                  "中国人 700 n\n文 1000 n\n温州 50 ns\n人 6000 n\n粥 30 n\n";
        const QByteArray index = Dictionary::buildIndex(
            completionData, Dictionary::readWordCounts(counts), "2026-01-04", "1.1.1", &error);
        QVERIFY2(!index.isEmpty(), qPrintable(error));
        TestSupport::writeBytes(m_indexFolder.filePath("small.idx"), index);
        m_small = std::make_unique<Dictionary::Index>(m_indexFolder.filePath("small.idx"));
        QVERIFY(m_small->isOpen());
    }

    // The dictionary's part of the list, in a small dictionary with the counts of a word list.
    void completions_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("firstDetail");
        QTest::newRow(
            "Chinese, most common first; of two as common, a word before a name, the shorter")
            << "中" << QStringList({"中国", "中午", "中文", "中国人"}) << "Zhōng guó";
        QTest::newRow("simplified input gives no traditional twins")
            << "中国" << QStringList({"中国人"}) << "Zhōng guó rén";
        QTest::newRow("traditional input gives traditional headwords")
            << "中國" << QStringList({"中國人"}) << "Zhōng guó rén";
        QTest::newRow("a whole headword only gives longer ones") << "中国人" << QStringList() << "";
        QTest::newRow("no headword so") << "西" << QStringList() << "";
        QTest::newRow("pinyin gives the Chinese headwords")
            << "zhong" << QStringList({"中", "中国", "中午", "中文", "中国人"}) << "zhōng";
        QTest::newRow("pinyin across syllables, tones and spaces as typed")
            << "zhong1 gu" << QStringList({"中国", "中国人"}) << "Zhōng guó";
        QTest::newRow("English and pinyin in turn")
            << "wen" << QStringList({"wenzhou", "文", "温州"}) << "";
        QTest::newRow("no pinyin of cross-references among the English")
            << "zhou" << QStringList({"粥"}) << "zhōu";
        QTest::newRow("English words, the more used first")
            << "chin" << QStringList({"china", "chinese"}) << "";
        QTest::newRow("English, letter case ignored")
            << "CHIN" << QStringList({"china", "chinese"}) << "";
        QTest::newRow("blank") << "  " << QStringList() << "";
        QTest::newRow("punctuation") << "?*" << QStringList() << "";
    }

    void completions()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, expected);
        QFETCH(QString, firstDetail);
        const QList<Dictionary::Completion> found = Dictionary::completions(*m_small, prefix, 10);
        QStringList found_;
        for (const Dictionary::Completion &completion : found)
            found_ << completion.text;
        QCOMPARE(found_, expected);
        if (!found.isEmpty())
            QCOMPARE(found.first().detail, firstDetail);
        QCOMPARE(Dictionary::completions(*m_small, prefix, 2).size(),
                 std::min<qsizetype>(2, expected.size()));
    }

    // History first, most looked-up first as the store gives it; then the dictionary; each
    // text once, and never the text typed.
    void ranking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("fromHistory");
        QTest::addColumn<QStringList>("fromDictionary");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("history before the dictionary")
            << "lo" << QStringList({"lotus", "Lock"}) << QStringList({"love", "long"})
            << QStringList({"lotus", "Lock", "love", "long"});
        QTest::newRow("a word in both comes once, where the history puts it")
            << "lo" << QStringList({"love"}) << QStringList({"long", "Love"})
            << QStringList({"love", "long"});
        QTest::newRow("the typed text itself is left out")
            << "love" << QStringList({"love", "lovely"}) << QStringList({"lover"})
            << QStringList({"lovely", "lover"});
        QTest::newRow("leading spaces are not typed text")
            << "  lo" << QStringList({"lo", "lotus"}) << QStringList() << QStringList({"lotus"});
        QTest::newRow("at most ten")
            << "a" << QStringList({"a1", "a2", "a3", "a4", "a5", "a6"})
            << QStringList({"a7", "a8", "a9", "a10", "a11", "a12"})
            << QStringList({"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9", "a10"});
        QTest::newRow("nothing for blank")
            << " " << QStringList({"x"}) << QStringList({"y"}) << QStringList();
    }

    void ranking()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, fromHistory);
        QFETCH(QStringList, fromDictionary);
        QFETCH(QStringList, expected);
        QList<Dictionary::Completion> dictionary;
        for (const QString &text : fromDictionary)
            dictionary.append({text, QString()});
        const QList<Words::Suggestion> ranked
            = Words::rank(typed, history(fromHistory), dictionary);
        QCOMPARE(texts(ranked), expected);
        for (const Words::Suggestion &suggestion : ranked)
            QCOMPARE(suggestion.fromHistory, fromHistory.contains(suggestion.text));
    }

    // The whole list from a store and the program's dictionary, the real one.
    void suggestFromStoreAndDictionary()
    {
        Store store(path());
        QVERIFY(store.record("bingqilin dian", start));
        QVERIFY(store.record("冰箱", start));
        const QList<Words::Suggestion> latin = Words::suggest(&store, "bingq");
        QVERIFY(latin.size() <= Words::maxSuggestions);
        QCOMPARE(latin.first().text, QString("bingqilin dian"));
        QVERIFY(latin.first().fromHistory);
        QVERIFY2(texts(latin).contains("冰淇淋"), qPrintable(texts(latin).join(' ')));
        const QList<Words::Suggestion> chinese = Words::suggest(&store, "冰");
        QCOMPARE(chinese.first().text, QString("冰箱"));
        for (const Words::Suggestion &suggestion : chinese)
            QVERIFY2(suggestion.text.startsWith("冰") && suggestion.text != "冰",
                     qPrintable(suggestion.text));
        const QStringList chineseTexts = texts(chinese);
        QCOMPARE(QSet<QString>(chineseTexts.begin(), chineseTexts.end()).size(), chinese.size());
        QVERIFY(Words::suggest(nullptr, "冰").size() == Words::maxSuggestions);
    }

    void init() { QVERIFY(m_folder.renew()); }

    void recordsCountsAndOrders()
    {
        {
            Store store(path());
            QCOMPARE(store.state(), Store::State::Open);
            QVERIFY(store.notice().isEmpty());
            QVERIFY(store.record("love", start));
            QVERIFY(store.record("冰淇淋", start.addSecs(60)));
            QVERIFY(store.record("love", start.addSecs(120)));
            QVERIFY(store.record("http://example.org/x?y", start.addSecs(180)));
            QVERIFY(!store.record("   ", start.addSecs(240)));
            QVERIFY(!store.record("", start.addSecs(240)));
        }
        // A new program on the same file sees it all, newest first, with the counts.
        Store store(path());
        const QList<Words::HistoryItem> history = store.history();
        QCOMPARE(inputs(history), QStringList({"http://example.org/x?y", "love", "冰淇淋"}));
        QCOMPARE(history.at(1).count, 2);
        QCOMPARE(history.at(1).lastSeen, start.addSecs(120));
        QCOMPARE(history.at(2).count, 1);
        QCOMPARE(store.historySize(), 3);
    }

    void prefixMatches_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("most looked-up first") << "lo" << QStringList({"love", "Loud", "lock"});
        QTest::newRow("letter case ignored") << "LO" << QStringList({"love", "Loud", "lock"});
        QTest::newRow("whole input") << "love" << QStringList({"love"});
        QTest::newRow("Chinese") << "冰" << QStringList({"冰淇淋", "冰"});
        QTest::newRow("none") << "zz" << QStringList();
        QTest::newRow("empty prefix gives nothing") << "" << QStringList();
        QTest::newRow("a like pattern is plain text") << "%" << QStringList();
        QTest::newRow("space inside") << "ice c" << QStringList({"ice cream"});
    }

    void prefixMatches()
    {
        QFETCH(QString, prefix);
        QFETCH(QStringList, expected);
        Store store(path());
        int minute = 0;
        const auto look = [&](const QString &input, int times) {
            for (int i = 0; i < times; ++i)
                QVERIFY(store.record(input, start.addSecs(60 * ++minute)));
        };
        look("lock", 2);
        look("love", 3);
        look("Loud", 2); // as often as "lock", and later: the tie goes to the latest
        look("冰", 1);
        look("冰淇淋", 2);
        look("ice cream", 1);
        look("slow", 5);
        QCOMPARE(inputs(store.historyStartingWith(prefix, 10)), expected);
        QCOMPARE(store.historyStartingWith(prefix, 1).size(),
                 std::min<qsizetype>(1, expected.size()));
    }

    void keepsAtMostTheCapOldestFirstOut()
    {
        Store store(path());
        {
            // Written straight in, as 10,000 lookups over the weeks would have.
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
            db.setDatabaseName(path());
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("BEGIN"));
            query.prepare(
                "INSERT INTO history(input, folded, last_seen, count) VALUES(?, ?, ?, 1)");
            for (int i = 0; i < Store::maxHistory; ++i) {
                const QString input = QStringLiteral("word%1").arg(i);
                query.addBindValue(input);
                query.addBindValue(input);
                query.addBindValue(start.addSecs(i).toMSecsSinceEpoch());
                QVERIFY(query.exec());
            }
            QVERIFY(query.exec("COMMIT"));
            db.close();
        }
        QSqlDatabase::removeDatabase("fill");
        QCOMPARE(store.historySize(), Store::maxHistory);
        // An old input looked up again is moved to the front, not added: nothing goes.
        QVERIFY(store.record("word0", start.addSecs(20000)));
        QCOMPARE(store.historySize(), Store::maxHistory);
        // Two new ones push out the two oldest, which are now word1 and word2.
        QVERIFY(store.record("new one", start.addSecs(20001)));
        QVERIFY(store.record("new two", start.addSecs(20002)));
        const QStringList kept = inputs(store.history());
        QCOMPARE(kept.size(), Store::maxHistory);
        QCOMPARE(kept.mid(0, 3), QStringList({"new two", "new one", "word0"}));
        QVERIFY(!kept.contains("word1") && !kept.contains("word2"));
        QCOMPARE(kept.last(), QString("word3"));
    }

    void clearsAndStopsKeeping()
    {
        {
            Store store(path());
            QVERIFY(store.keepsHistory());
            QVERIFY(store.record("one", start));
            QVERIFY(store.clearHistory());
            QCOMPARE(store.historySize(), 0);
            store.setKeepsHistory(false);
            QVERIFY(!store.record("two", start));
        }
        // Where an earlier version kept the choice: the store starts from it.
        writeOtherDatabase(path(), {"INSERT OR REPLACE INTO settings(key, value) "
                                    "VALUES('keep_history', '0')"});
        Store store(path());
        QVERIFY(!store.keepsHistory());
        QVERIFY(!store.record("three", start));
        QCOMPARE(store.historySize(), 0);
        store.setKeepsHistory(true);
        QVERIFY(store.record("four", start));
        QCOMPARE(inputs(store.history()), QStringList({"four"}));
    }

    void favouritesOnAndOff()
    {
        {
            Store store(path());
            QVERIFY(!store.isFavourite("行", "xíng"));
            QVERIFY(store.addFavourite({"行", "xíng", {"to walk", "to go"}, start}));
            QVERIFY(store.addFavourite({"行", "háng", {"row", "line"}, start.addSecs(5)}));
            QVERIFY(store.addFavourite({"ice cream", "/aɪs kriːm/", {"冰淇淋"}, start.addSecs(9)}));
            QVERIFY(store.isFavourite("行", "xíng"));
            // Added again: still one, and now the newest.
            QVERIFY(store.addFavourite({"行", "xíng", {"to walk", "to go"}, start.addSecs(20)}));
            QVERIFY(store.removeFavourite("行", "háng"));
            QVERIFY(!store.isFavourite("行", "háng"));
            QVERIFY(store.removeFavourite("not there", "x"));
        }
        Store store(path());
        const QList<Words::Favourite> favourites = store.favourites();
        QCOMPARE(favourites.size(), 2);
        QCOMPARE(favourites.at(0).word, QString("行"));
        QCOMPARE(favourites.at(0).senses, QStringList({"to walk", "to go"}));
        QCOMPARE(favourites.at(0).added, start.addSecs(20));
        QCOMPARE(favourites.at(1).reading, QString("/aɪs kriːm/"));
        QVERIFY(store.isFavourite("ice cream", "/aɪs kriːm/"));
        QVERIFY(!store.isFavourite("行", "háng"));
    }

    // Read back field by field as Anki would: every note on one line, in three fields.
    void exportForFlashcards_data()
    {
        QTest::addColumn<Words::Favourite>("favourite");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("Chinese") << Words::Favourite {"冰淇淋", "bīng qí lín", {"ice cream"}, {}}
                                 << QStringList({"冰淇淋", "bīng qí lín", "ice cream"});
        QTest::newRow("senses joined")
            << Words::Favourite {"行", "xíng", {"to walk", "to go", "capable"}, {}}
            << QStringList({"行", "xíng", "to walk; to go; capable"});
        QTest::newRow("English with phonetics")
            << Words::Favourite {"ice cream", "/aɪs kriːm/", {"n. 冰淇淋"}, {}}
            << QStringList({"ice cream", "/aɪs kriːm/", "n. 冰淇淋"});
        QTest::newRow("tabs and line breaks become spaces")
            << Words::Favourite {"a\tb", "x\ny", {"one\r\ntwo", "three\u2028four"}, {}}
            << QStringList({"a b", "x y", "one  two; three four"});
        QTest::newRow("quotes kept")
            << Words::Favourite {"\"quoted\"", "", {"say \"hi\"", "it's"}, {}}
            << QStringList({"\"quoted\"", "", "say \"hi\"; it's"});
        QTest::newRow("a word that starts with # is no header")
            << Words::Favourite {"#hashtag", "", {}, {}} << QStringList({"#hashtag", "", ""});
        QTest::newRow("HTML stays text") << Words::Favourite {"<b>", "&amp;", {"<br>"}, {}}
                                         << QStringList({"<b>", "&amp;", "<br>"});
    }

    void exportForFlashcards()
    {
        QFETCH(Words::Favourite, favourite);
        QFETCH(QStringList, fields);
        const QList<Words::Favourite> favourites {{"书", "shū", {"book"}, {}}, favourite};
        QString error;
        QVERIFY2(Words::Flashcards::write(path(), favourites, &error), qPrintable(error));
        const QByteArray bytes = TestSupport::readBytes(path());
        QVERIFY(!bytes.startsWith("\xef\xbb\xbf")); // no byte-order mark
        QStringList headers;
        const QList<QStringList> notes = readNotes(QString::fromUtf8(bytes), &headers);
        QCOMPARE(
            headers,
            QStringList({"#separator:tab", "#html:false", "#columns:Front\tReading\tMeaning"}));
        QCOMPARE(notes.size(), 2);
        QCOMPARE(notes.at(0), QStringList({"书", "shū", "book"}));
        QCOMPARE(notes.at(1), fields);
    }

    // A file that can't be written whole is not written at all; the one there stays.
    void exportNeverHalfWritten()
    {
        const QList<Words::Favourite> favourites {{"书", "shū", {"book"}, {}}};
        QString error;
        QVERIFY(!Words::Flashcards::write(m_folder.path("missing/cards.txt"), favourites, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFileInfo::exists(m_folder.path("missing/cards.txt")));
        QVERIFY(QDir(m_folder.path()).mkdir("cards.txt"));
        QVERIFY(!Words::Flashcards::write(m_folder.path("cards.txt"), favourites, &error));
        QVERIFY(QFileInfo(m_folder.path("cards.txt")).isDir());
        QVERIFY(Words::Flashcards::write(path(), favourites, &error));
    }

    // Every file found in the database's place: each is used, set aside or read, with a line
    // for the status bar where the user should know, and the program goes on.
    void foundFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Store::State>("state");
        QTest::addColumn<bool>("writable");
        QTest::newRow("no file") << "none" << Store::State::Open << true;
        QTest::newRow("empty file, as a crash at creation leaves it")
            << "empty" << Store::State::Open << true;
        QTest::newRow("random bytes") << "random" << Store::State::SetAside << true;
        QTest::newRow("a text file") << "text" << Store::State::SetAside << true;
        QTest::newRow("truncated") << "truncated" << Store::State::SetAside << true;
        QTest::newRow("a page overwritten") << "overwritten" << Store::State::SetAside << true;
        QTest::newRow("another program's SQLite file")
            << "foreign" << Store::State::SetAside << true;
        QTest::newRow("this program's file in another layout")
            << "layout" << Store::State::SetAside << true;
        QTest::newRow("read-only") << "read-only" << Store::State::ReadOnly << false;
        QTest::newRow("read-only and damaged")
            << "read-only random" << Store::State::SetAside << true;
        QTest::newRow("a folder of that name") << "folder" << Store::State::InMemory << true;
        QTest::newRow("no folder to put it in") << "no folder" << Store::State::InMemory << true;
    }

    void foundFiles()
    {
        QFETCH(QString, kind);
        QFETCH(Store::State, state);
        QFETCH(bool, writable);
        QString file = path();
        if (kind == "empty") {
            TestSupport::writeBytes(file, "");
        } else if (kind.endsWith("random")) {
            QByteArray bytes(20000, '\0');
            for (char &byte : bytes)
                byte = char(QRandomGenerator::global()->bounded(256));
            TestSupport::writeBytes(file, bytes);
        } else if (kind == "text") {
            TestSupport::writeBytes(file, "<?xml version=\"1.0\"?>\r\n<TavrelDictionary>\r\n");
        } else if (kind == "truncated" || kind == "overwritten" || kind == "read-only") {
            {
                Store store(file);
                for (int i = 0; i < 3000; ++i)
                    QVERIFY(
                        store.record(QStringLiteral("word number %1").arg(i), start.addSecs(i)));
            }
            QVERIFY(!QFileInfo::exists(file + "-wal")); // all checkpointed into the file
            QByteArray bytes = TestSupport::readBytes(file);
            QVERIFY(bytes.size() > 64 * 1024);
            if (kind == "truncated")
                bytes.truncate(bytes.size() / 2);
            else if (kind == "overwritten")
                bytes.replace(bytes.size() / 2, 4096, QByteArray(4096, '\xa5'));
            TestSupport::writeBytes(file, bytes);
        } else if (kind == "foreign") {
            writeOtherDatabase(file,
                               {"CREATE TABLE notes(id INTEGER PRIMARY KEY, body TEXT)",
                                "INSERT INTO notes(body) VALUES('keep me')"});
        } else if (kind == "layout") {
            writeOtherDatabase(
                file, {"PRAGMA application_id=1415673458", "CREATE TABLE history(input TEXT)"});
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(file));
        } else if (kind == "no folder") {
            file = m_folder.path("missing/words.sqlite");
        }
        if (kind.startsWith("read-only"))
            QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const QByteArray before = TestSupport::readBytes(file);

        Store store(file);
        QCOMPARE(store.state(), state);
        QCOMPARE(store.notice().isEmpty(), state == Store::State::Open);
        QCOMPARE(store.isWritable(), writable);
        if (state == Store::State::SetAside) {
            // Set aside whole, under a dated name, for whoever wants to look into it.
            QCOMPARE(store.setAsidePath(),
                     file + ".damaged-" + QDate::currentDate().toString(Qt::ISODate));
            QCOMPARE(TestSupport::readBytes(store.setAsidePath()), before);
            QVERIFY2(store.notice().contains(QFileInfo(store.setAsidePath()).fileName()),
                     qPrintable(store.notice()));
        }
        if (state == Store::State::ReadOnly) {
            QCOMPARE(store.historySize(), 3000);
            QCOMPARE(store.history().first().input, QString("word number 2999"));
            QVERIFY(!store.record("not kept", start));
            QVERIFY(!store.addFavourite({"书", "shū", {"book"}, start}));
            QVERIFY(!store.clearHistory());
            QCOMPARE(TestSupport::readBytes(file), before);
            return;
        }
        // Whatever was found, the words of this run are kept, and read back.
        QVERIFY2(store.record("after", start), qPrintable(store.errorString()));
        QVERIFY(store.addFavourite({"书", "shū", {"book"}, start}));
        QCOMPARE(inputs(store.history()), QStringList({"after"}));
        QVERIFY(store.isFavourite("书", "shū"));
    }

    // A second damaged file the same day does not take the first one's place.
    void setsAsideTwiceADay()
    {
        TestSupport::writeBytes(path(), "first damaged");
        {
            Store store(path());
        }
        TestSupport::writeBytes(path(), "second damaged");
        Store store(path());
        QCOMPARE(store.state(), Store::State::SetAside);
        const QString first = path() + ".damaged-" + QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(TestSupport::readBytes(first), QByteArray("first damaged"));
        QCOMPARE(TestSupport::readBytes(store.setAsidePath()), QByteArray("second damaged"));
        QCOMPARE(store.setAsidePath(), first + ".2");
    }

    // Two programs on one file: each sees the other's words, and neither loses one.
    void twoStoresOnOneFile()
    {
        Store one(path());
        Store other(path());
        for (int i = 0; i < 200; ++i) {
            QVERIFY(one.record(QStringLiteral("one %1").arg(i), start.addSecs(2 * i)));
            QVERIFY(other.record(QStringLiteral("other %1").arg(i), start.addSecs(2 * i + 1)));
        }
        QVERIFY(one.record("shared", start.addSecs(1000)));
        QVERIFY(other.record("shared", start.addSecs(1001)));
        QCOMPARE(one.historySize(), 401);
        QCOMPARE(other.history().first().count, 2);
    }

    // Another copy holding the file, while the file is made or written, for a moment or for
    // longer than the busy timeout: the file is never set aside for it, and whatever was
    // recorded stays in it, with what is recorded once it is free.
    void busyIsNeverDamage_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<Store::State>("state");
        QTest::newRow("a new file, its maker switching it to WAL")
            << false << 1000 << Store::State::Open;
        QTest::newRow("a new file held past the busy timeout")
            << false << 6500 << Store::State::Waiting;
        QTest::newRow("a file of ours, another copy writing")
            << true << 1000 << Store::State::Open;
        QTest::newRow("a file of ours written past the busy timeout")
            << true << 6500 << Store::State::Waiting;
    }

    void busyIsNeverDamage()
    {
        QFETCH(bool, existing);
        QFETCH(int, holdMs);
        QFETCH(Store::State, state);
        if (existing) {
            Store store(path());
            QVERIFY(store.record("before", start));
        }
        TestSupport::WriteLock lock(path());
        QVERIFY(lock.isHeld());
        std::thread holder([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            lock.release();
        });
        Store store(path());
        const Store::State opened = store.state();
        holder.join();
        QCOMPARE(opened, state);
        QCOMPARE(store.setAsidePath(), QString());
        QVERIFY(QDir(m_folder.path()).entryList({"*.damaged-*"}).isEmpty());
        QCOMPARE(store.notice().isEmpty(), state == Store::State::Open);
        QVERIFY2(store.record("after", start.addSecs(1)), qPrintable(store.errorString()));
        QCOMPARE(store.state(), Store::State::Open);
        const Store again(path());
        QCOMPARE(inputs(again.history()),
                 existing ? QStringList({"after", "before"}) : QStringList({"after"}));
    }

    // What a copy left in its journal when it ended before the file took it: taken in by the
    // next start, counted once, and the journal then deleted. A journal its copy still holds
    // is that copy's own.
    void journalsLeftBehind_data()
    {
        using Words::Journal;
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<bool>("held");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("replayed");
        const QDateTime at = start.addSecs(10);
        QTest::newRow("words of a copy killed meanwhile")
            << QStringList()
            << Journal::line({1, "alpha", at}) + Journal::line({2, "beta", at.addSecs(1)})
            << false << QStringList({"beta:1", "alpha:1"}) << QStringList({"alpha", "beta"});
        QTest::newRow("a word since recorded is not counted again")
            << QStringList({"alpha"})
            << Journal::line({1, "alpha", at}) + Journal::recordedLine(1)
                + Journal::line({2, "beta", at.addSecs(1)})
            << false << QStringList({"beta:1", "alpha:1"}) << QStringList({"beta"});
        QTest::newRow("a line cut short as the copy was killed")
            << QStringList()
            << Journal::line({1, "alpha", at}) + Journal::line({2, "beta", at}).chopped(5)
            << false << QStringList({"alpha:1"}) << QStringList({"alpha"});
        QTest::newRow("lines that don't read")
            << QStringList()
            << "\x01\xff\n{}\n[1,2]\n{\"w\":3,\"t\":\"x\"}\n" + Journal::line({7, "alpha", at})
            << false << QStringList({"alpha:1"}) << QStringList({"alpha"});
        QTest::newRow("a word looked up again since, by another copy")
            << QStringList({"alpha"}) << Journal::line({1, "alpha", start.addSecs(-60)}) << false
            << QStringList({"alpha:2"}) << QStringList({"alpha"});
        QTest::newRow("tabs, new lines and quotes in a word")
            << QStringList()
            << Journal::line({1, "a\tb\nc \"d\" \\ 研究", at})
            << false << QStringList({"a\tb\nc \"d\" \\ 研究:1"})
            << QStringList({"a\tb\nc \"d\" \\ 研究"});
        QTest::newRow("a journal its copy still holds")
            << QStringList() << Journal::line({1, "alpha", at}) << true << QStringList()
            << QStringList();
    }

    void journalsLeftBehind()
    {
        QFETCH(QStringList, before);
        QFETCH(QByteArray, journal);
        QFETCH(bool, held);
        QFETCH(QStringList, after);
        QFETCH(QStringList, replayed);
        Store store(path());
        for (const QString &input : std::as_const(before))
            QVERIFY(store.record(input, start));
        const QString left = m_folder.path("words-waiting-1-0badcafe");
        TestSupport::writeBytes(left, journal);
        const int fd = ::open(QFile::encodeName(left).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        if (held)
            QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
        Words::Recorder recorder(store);
        QStringList recorded;
        recorder.recorded = [&](const QString &input) { recorded << input; };
        recorder.adoptLeftBehind();
        QCOMPARE(recorder.flush(), Words::Recorder::Outcome::Recorded);
        ::close(fd);
        QCOMPARE(counted(store.history()), after);
        QCOMPARE(QFileInfo::exists(left), held);
        QCOMPARE(journalsIn(m_folder.path()), held ? QStringList({QFileInfo(left).fileName()})
                                                   : QStringList());
        QCOMPARE(recorded, replayed);
    }

    // A file that fails for a reason of its own, here a disk that takes no more: the lookup is
    // still kept, in the journal, and reaches the history once the file takes it, or at the
    // next start if the program ends first.
    void aFailingFileLosesNoLookup_data()
    {
        QTest::addColumn<bool>("restarted");
        QTest::newRow("the disk has room again") << false;
        QTest::newRow("the program ended first") << true;
    }

    void aFailingFileLosesNoLookup()
    {
        QFETCH(bool, restarted);
        auto store = std::make_unique<Store>(path());
        auto recorder = std::make_unique<Words::Recorder>(*store);
        for (int i = 0; i < 20; ++i)
            QVERIFY(recorder->keep(QStringLiteral("word %1").arg(i), start.addSecs(i)));
        QVERIFY(journalsIn(m_folder.path()).isEmpty());
        const qint64 walSize = QFileInfo(path() + "-wal").size();
        QVERIFY(walSize > 0);
        struct rlimit before;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &before), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit full = before;
        full.rlim_cur = rlim_t(walSize);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
        const bool kept = recorder->keep("while full", start.addSecs(100));
        const Words::Recorder::Outcome outcome = recorder->flush();
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(kept);
        QCOMPARE(outcome, Words::Recorder::Outcome::Failed);
        QCOMPARE(store->lastFailure(), Store::Failure::Other);
        QCOMPARE(recorder->waiting(), 1);
        QCOMPARE(journalsIn(m_folder.path()).size(), 1);
        if (restarted) {
            recorder.reset();
            store = std::make_unique<Store>(path());
            recorder = std::make_unique<Words::Recorder>(*store);
            recorder->adoptLeftBehind();
        }
        QCOMPARE(recorder->flush(), Words::Recorder::Outcome::Recorded);
        QCOMPARE(store->state(), Store::State::Open);
        QCOMPARE(inputs(store->history()).value(0), QString("while full"));
        QCOMPARE(store->historySize(), 21);
        QVERIFY(journalsIn(m_folder.path()).isEmpty());
    }
};

const char completionData[] = R"json(export default {"all":[
["中","中","zhong1","within; among; in; middle",[],[]],
["中國","中国","Zhong1 guo2","China",[],[]],
["中國人","中国人","Zhong1 guo2 ren2","Chinese person",[],[]],
["中文","中文","Zhong1 wen2","Chinese language",[],[]],
["中午","中午","zhong1 wu3","noon; midday",[],[]],
["文","文","wen2","language; culture; writing",[],[]],
["溫州","温州","Wen1 zhou1","Wenzhou, a city in China",[],[]],
["人","人","ren2","person; people",[],[]],
["粥","粥","zhou1","variant of 鬻[zhou1]",[],[]]
]})json";

TAVREL_TEST_MAIN(TestWords)
#include "tst_words.moc"
