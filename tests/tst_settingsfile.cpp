#include "testsupport.h"

#include "main_window/settingsfile.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace SettingsFile;
using TestSupport::readBytes;
using TestSupport::writeBytes;

class TestSettingsFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    static QByteArray savedFile(const QByteArray &queryTemplate)
    {
        return "<?xml version=\"1.0\"?>\r\n"
               "<TavrelDictionary>\r\n"
               "    <Type>Option</Type>\r\n"
               "    <Chinese>"
            + queryTemplate
            + "</Chinese>\r\n"
              "</TavrelDictionary>\r\n";
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void tagValue_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("value");
        QTest::newRow("as written")
            << QString::fromUtf8(savedFile("http://h/?s=%word")) << "http://h/?s=%word";
        QTest::newRow("capitals") << "<CHINESE>v</CHINESE>"
                                  << "v";
        QTest::newRow("small letters") << "<chinese>v</chinese>"
                                       << "v";
        QTest::newRow("different cases") << "<cHinese>v</ChInEsE>"
                                         << "v";
        QTest::newRow("empty element") << "<Chinese></Chinese>"
                                       << "";
        QTest::newRow("spaces kept") << "<Chinese>  v  </Chinese>"
                                     << "  v  ";
        QTest::newRow("line breaks kept") << "<Chinese>a\r\nb\n</Chinese>"
                                          << "a\r\nb\n";
        QTest::newRow("first of two") << "<Chinese>a</Chinese><Chinese>b</Chinese>"
                                      << "a";
        QTest::newRow("stray closing tag first") << "</Chinese>x<Chinese>v</Chinese>"
                                                 << "v";
        QTest::newRow("markup characters unescaped") << "<Chinese>a&b<c>\"d&amp;</Chinese>"
                                                     << "a&b<c>\"d&amp;";
        QTest::newRow("template holding the closing tag") << "<Chinese>a</chinese>b</Chinese>"
                                                          << "a";
        QTest::newRow("no opening tag") << "<Type>Option</Type></Chinese>"
                                        << "";
        QTest::newRow("no closing tag") << "<Chinese>v"
                                        << "";
        QTest::newRow("closing tag only before") << "</Chinese><Chinese>v"
                                                 << "";
        QTest::newRow("empty text") << ""
                                    << "";
        QTest::newRow("Chinese text")
            << QStringLiteral("<Chinese>冰淇淋</Chinese>") << QStringLiteral("冰淇淋");
    }

    void tagValue()
    {
        QFETCH(QString, content);
        QFETCH(QString, value);
        QCOMPARE(getTagValue(content, "Chinese"), value);
    }

    void savedFileIsExactlyFiveLines()
    {
        const QString file = path("tavrel.xml");
        QVERIFY(writeTextFile(file, buildSettingsXml("http://h/dict?s=%word")));
        QCOMPARE(readBytes(file), savedFile("http://h/dict?s=%word"));
        // Chinese text is stored as UTF-8, with no byte-order mark.
        QVERIFY(writeTextFile(file, buildSettingsXml(QStringLiteral("冰 %word"))));
        QCOMPARE(readBytes(file), savedFile("\xe5\x86\xb0 %word"));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("queryTemplate");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("default") << "http://h/dict?s=%word"
                                 << "http://h/dict?s=%word";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("spaces around") << "  http://h/%word  "
                                       << "  http://h/%word  ";
        QTest::newRow("markup characters") << "a&b<c>d\"e'f"
                                           << "a&b<c>d\"e'f";
        QTest::newRow("Chinese") << QStringLiteral("http://詞典/%firstchar/%word")
                                 << QStringLiteral("http://詞典/%firstchar/%word");
        QTest::newRow("line break inside") << "a\r\nb"
                                           << "a\r\nb";
        QTest::newRow("holding the closing tag") << "a</CHINESE>b"
                                                 << "a";
    }

    void roundTrip()
    {
        QFETCH(QString, queryTemplate);
        QFETCH(QString, readBack);
        const QString file = path("tavrel.xml");
        QVERIFY(writeTextFile(file, buildSettingsXml(queryTemplate)));
        QString content;
        QVERIFY(readTextFile(file, content));
        QCOMPARE(getTagValue(content, "Chinese"), readBack);
    }

    void readFailsAndLeavesContent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("folder") << "folder";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("over 1 MiB") << "huge";
        QTest::newRow("device") << "device";
    }

    void readFailsAndLeavesContent()
    {
        QFETCH(QString, kind);
        QString file = path("tavrel.xml");
        if (kind == "empty")
            writeBytes(file, QByteArray());
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(file));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        else if (kind == "huge")
            writeBytes(file, "<Chinese>v</Chinese>" + QByteArray(MaxReadSize, ' '));
        else if (kind == "device")
            file = "/dev/zero";
        QString content = "untouched";
        QVERIFY(!readTextFile(file, content));
        QCOMPARE(content, QString("untouched"));
    }

    void readsUpToTheLimit()
    {
        const QString file = path("tavrel.xml");
        const QByteArray bytes = "<Chinese>v</Chinese>" + QByteArray(MaxReadSize - 20, ' ');
        QCOMPARE(bytes.size(), MaxReadSize);
        writeBytes(file, bytes);
        QString content;
        QVERIFY(readTextFile(file, content));
        QCOMPARE(content.size(), MaxReadSize);
    }

    void invalidUtf8BecomesReplacementCharacters()
    {
        const QString file = path("tavrel.xml");
        writeBytes(file, "\xff<Chinese>a\x80z\xc3</Chinese>");
        QString content;
        QVERIFY(readTextFile(file, content));
        QCOMPARE(getTagValue(content, "Chinese"), QStringLiteral("a\ufffdz\ufffd"));
    }

    void presentMeansAnOrdinaryFile()
    {
        writeBytes(path("file"), "x");
        QVERIFY(QDir().mkdir(path("folder")));
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0644), 0);
        QVERIFY(QFile::link(path("file"), path("link")));
        QVERIFY(isPresent(path("file")));
        QVERIFY(isPresent(path("link")));
        QVERIFY(!isPresent(path("folder")));
        QVERIFY(!isPresent(path("fifo")));
        QVERIFY(!isPresent(path("missing")));
    }

    void createFolderOnlyWhenNothingIsThere()
    {
        createFolderIfMissing(path("new"));
        QVERIFY(QFileInfo(path("new")).isDir());
        writeBytes(path("plain"), "x");
        createFolderIfMissing(path("plain"));
        QVERIFY(QFileInfo(path("plain")).isFile());
        QCOMPARE(readBytes(path("plain")), QByteArray("x"));
        // One level only, and a failure is silent.
        createFolderIfMissing(path("no/such"));
        QVERIFY(!QFileInfo::exists(path("no")));
    }

    void failedSaveLeavesTheOldFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("read-only settings file") << "read-only";
        QTest::newRow("settings path is a folder") << "folder";
        QTest::newRow("session folder deleted") << "no folder";
        QTest::newRow("session path is a file") << "session is a file";
    }

    void failedSaveLeavesTheOldFile()
    {
        QFETCH(QString, fault);
        const QByteArray old = savedFile("old");
        QString file = path("session/tavrel.xml");
        QVERIFY(QDir().mkdir(path("session")));
        if (fault == "read-only") {
            writeBytes(file, old);
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup));
        } else if (fault == "folder") {
            QVERIFY(QDir().mkdir(file));
        } else if (fault == "no folder") {
            QVERIFY(QDir().rmdir(path("session")));
        } else if (fault == "session is a file") {
            QVERIFY(QDir().rmdir(path("session")));
            writeBytes(path("session"), old);
        }

        QString error;
        QVERIFY(!writeTextFile(file, buildSettingsXml("new"), &error));
        QVERIFY(!error.isEmpty());

        if (fault == "read-only")
            QCOMPARE(readBytes(file), old);
        else if (fault == "folder")
            QVERIFY(QFileInfo(file).isDir());
        else if (fault == "no folder")
            QVERIFY(!QFileInfo::exists(path("session")));
        else if (fault == "session is a file")
            QCOMPARE(readBytes(path("session")), old);
    }

    void saveThatCannotFinishLeavesTheOldFile()
    {
        // A file-size limit makes the write fail part way, as a full disk would.
        const QString file = path("tavrel.xml");
        const QByteArray old = savedFile("old");
        writeBytes(file, old);

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 64;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool written = writeTextFile(file, buildSettingsXml(QString(4096, 'x')), &error);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &saved), 0);

        QVERIFY(!written);
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(file), old);
        QCOMPARE(
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({"tavrel.xml"}));
    }

    void saveReplacesAWritableFileWhole()
    {
        const QString file = path("tavrel.xml");
        writeBytes(file, savedFile(QByteArray(5000, 'o')));
        QVERIFY(writeTextFile(file, buildSettingsXml("new")));
        QCOMPARE(readBytes(file), savedFile("new"));
    }
};

TAVREL_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
