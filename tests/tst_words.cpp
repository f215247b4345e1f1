// The words the user keeps, in their SQLite file: history, favourites, and every way the file
// can be found damaged.

#include "testsupport.h"

#include "words/store.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

using Words::Store;

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

QStringList inputs(const QList<Words::HistoryItem> &items)
{
    QStringList result;
    for (const Words::HistoryItem &item : items)
        result << item.input;
    return result;
}

} // namespace

class TestWords : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_folder;

    QString path() const { return m_folder.path("words.sqlite"); }

private slots:
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
            QVERIFY(store.setKeepsHistory(false));
            QVERIFY(!store.record("two", start));
        }
        // The choice is kept with the words.
        Store store(path());
        QVERIFY(!store.keepsHistory());
        QVERIFY(!store.record("three", start));
        QCOMPARE(store.historySize(), 0);
        QVERIFY(store.setKeepsHistory(true));
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
};

TAVREL_TEST_MAIN(TestWords)
#include "tst_words.moc"
