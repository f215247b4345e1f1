#include "testsupport.h"

#include "preferences/settingsfile.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace SettingsFile;
using TestSupport::readBytes;
using TestSupport::writeBytes;

class TestSettingsFile : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_dir;

    QString path(const QString &name) const { return m_dir.path(name); }

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
    void init() { QVERIFY(m_dir.renew()); }

    void tagValue_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("value");
        const auto row = [](const char *name, const QString &content, const QString &value) {
            QTest::newRow(name) << content << value;
        };
        row("as written", QString::fromUtf8(savedFile("http://h/?s=%word")), "http://h/?s=%word");
        row("capitals", "<CHINESE>v</CHINESE>", "v");
        row("different cases", "<cHinese>v</ChInEsE>", "v");
        row("empty element", "<Chinese></Chinese>", "");
        row("spaces and line breaks kept", "<Chinese> a\r\nb\n </Chinese>", " a\r\nb\n ");
        row("first of two", "<Chinese>a</Chinese><Chinese>b</Chinese>", "a");
        row("stray closing tag first", "</Chinese>x<Chinese>v</Chinese>", "v");
        row("markup unescaped", "<Chinese>a&b<c>\"d&amp;</Chinese>", "a&b<c>\"d&amp;");
        row("template holding the closing tag", "<Chinese>a</chinese>b</Chinese>", "a");
        row("no opening tag", "<Type>Option</Type></Chinese>", "");
        row("no closing tag after it", "</Chinese><Chinese>v", "");
        row("empty text", "", "");
        row("Chinese text", QStringLiteral("<Chinese>冰淇淋</Chinese>"), QStringLiteral("冰淇淋"));
        // Only A to Z change case: a long s or a Kelvin sign is no "s" or "k".
        row("long s is not s", QStringLiteral("<chine\u017Fe>x</chinese><chinese>v</chinese>"),
            "v");
        row("dotted capital I is not i", QStringLiteral("<CH\u0130NESE>x</CHINESE>"), "");
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
            QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({"tavrel.xml"}));
    }
};

TAVREL_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
