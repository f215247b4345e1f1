#include "testsupport.h"

#include "browser/webbrowser.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "preferences/settingsfile.h"
#include "program/providers.h"
#include "window_layer/controls.h"

#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

using TestSupport::readBytes;
using TestSupport::writeBytes;

namespace {

constexpr int Seed = 20261207;

// The tag search written out the plain way: the first "<chinese>" and the first "</chinese>"
// after its "<", comparing A to Z without case, character by character.
QString referenceTemplate(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > SettingsFile::MaxReadSize)
        return QString();
    const QString text = QString::fromUtf8(bytes);
    const auto lower = [](QChar c) { return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 32) : c; };
    const auto find = [&](const QString &tag, qsizetype from) -> qsizetype {
        for (qsizetype i = from; i + tag.size() <= text.size(); ++i) {
            qsizetype k = 0;
            while (k < tag.size() && lower(text[i + k]) == tag[k])
                ++k;
            if (k == tag.size())
                return i;
        }
        return -1;
    };
    const qsizetype open = find("<chinese>", 0);
    if (open < 0)
        return QString();
    const qsizetype close = find("</chinese>", open + 1);
    if (close < 0)
        return QString();
    return text.mid(open + 9, close - open - 9);
}

// What start-up puts in force for a session folder, by the steps of the main window's load.
QString templateAtStartUp(const QString &settingsPath)
{
    if (!SettingsFile::isPresent(settingsPath))
        return Providers::hongKongTemplate();
    QString content;
    SettingsFile::readTextFile(settingsPath, content);
    return SettingsFile::getTagValue(content, "Chinese");
}

// Settings files as they might be found: random bytes, broken UTF-8, NULs, pieces and case
// variants of the tags, long values and sizes around the read limit.
class HostileFiles
{
public:
    QByteArray next(int index)
    {
        switch (index % 8) {
        case 0:
            return randomBytes(m_random.bounded(300));
        case 1:
            return pieces(m_random.bounded(1, 30));
        case 2:
            return caseVariant("<Chinese>") + randomText(m_random.bounded(80))
                + caseVariant("</Chinese>") + pieces(3);
        case 3:
            return pieces(4) + brokenUtf8() + "<Chinese>" + brokenUtf8() + randomText(20)
                + brokenUtf8() + "</Chinese>" + brokenUtf8();
        case 4:
            return QByteArray("<Chinese>a\0b", 12) + QByteArray(m_random.bounded(1, 5), '\0')
                + "</Chinese>" + randomBytes(10) + QByteArray(3, '\0');
        case 5: {
            const int length = (index / 8) % 20 == 0 ? m_random.bounded(200000, 400000)
                                                     : m_random.bounded(1000, 20000);
            return "<Chinese>" + QByteArray(length, 'x') + pieces(2) + "</Chinese>";
        }
        case 6:
            return (SettingsFile::buildSettingsXml(QString::fromUtf8(randomText(60))) + "\r\n")
                .toUtf8();
        default: {
            // Now and then around the read limit: at it, just over and just under.
            const qint64 sizes[] = {SettingsFile::MaxReadSize, SettingsFile::MaxReadSize + 1,
                                    SettingsFile::MaxReadSize - 1};
            const qint64 size
                = (index / 8) % 40 == 0 ? sizes[(index / 320) % 3] : m_random.bounded(23, 5000);
            QByteArray bytes = "<Chinese>edge</Chinese>";
            bytes.append(QByteArray(size - bytes.size(), 'y'));
            return bytes;
        }
        }
    }

private:
    QByteArray randomBytes(int size)
    {
        QByteArray bytes(size, '\0');
        for (char &b : bytes)
            b = char(m_random.bounded(256));
        return bytes;
    }

    QByteArray randomText(int size)
    {
        static const QStringList alphabet = {"a",    "Z", " ", "%word", "%firstchar", "冰", "é",
                                             "\r\n", "<", ">", "&",     "/",          "\t", "😀"};
        QString text;
        for (int i = 0; i < size; ++i)
            text += alphabet[m_random.bounded(int(alphabet.size()))];
        return text.toUtf8();
    }

    QByteArray caseVariant(const QByteArray &tag)
    {
        QByteArray variant = tag;
        for (char &c : variant) {
            if (m_random.bounded(2))
                c = char(QChar::toUpper(uint(uchar(c))));
        }
        return variant;
    }

    QByteArray brokenUtf8()
    {
        static const QByteArray broken[] = {
            "\xC0\xAF", // overlong "/"
            "\xED\xA0\x80", // a surrogate
            "\xE5\x86", // cut short
            "\x80\x80", // continuation bytes alone
            "\xFF\xFE", // never valid
            "\xF4\x90\x80\x80", // beyond U+10FFFF
        };
        return broken[m_random.bounded(6)];
    }

    QByteArray pieces(int count)
    {
        static const QByteArray parts[]
            = {"<Chinese>", "</Chinese>", "<chinese>", "</CHINESE>", "<Chin", "ese>",
               "</",        "<",          ">",         "Chinese",    "\r\n",  "冰淇淋",
               "\xC3",      "é",          "<Type>",    "</Type>"};
        QByteArray bytes;
        for (int i = 0; i < count; ++i) {
            bytes += parts[m_random.bounded(16)];
            if (m_random.bounded(3) == 0)
                bytes += randomBytes(m_random.bounded(5));
        }
        return bytes;
    }

    QRandomGenerator m_random {Seed};
};

// The settings folder's kinds of failure, made on a tiny file system of its own where this
// machine allows mounting one.
class TinyFileSystem
{
public:
    ~TinyFileSystem() { unmount(); }

    bool mount(const QString &path)
    {
        m_path = path;
        QDir().mkpath(path);
        m_mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0,
                            "size=64k,mode=0755")
            == 0;
        return m_mounted;
    }
    bool makeReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, "size=64k")
            == 0;
    }
    // Writes a filler file until the file system has no room left.
    bool fill()
    {
        QFile filler(m_path + "/filler");
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'f');
        while (filler.write(block) == block.size()) { }
        return true;
    }
    void unmount()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
        m_mounted = false;
    }

private:
    QString m_path;
    bool m_mounted = false;
};

} // namespace

class TestRobustness : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_scratch;
    TestSupport::PageServer m_server;

    static frmBrowser &main() { return frmBrowser::instance(); }
    QString settingsPath() const { return m_scratch.path("session/tavrel.xml"); }

    void startMainWindow()
    {
        App::setPath(m_scratch.path());
        main().Show();
        QVERIFY(QTest::qWaitForWindowExposed(main().window()));
        Controls::setText(*frmOption::instance().txtChinese(), m_server.origin() + "/d?s=%word");
    }

    void press(const QString &word)
    {
        main().txtWord()->setText(word);
        QTest::mouseClick(main().cmdGo1(), Qt::LeftButton);
    }

    bool pageLoaded(const QString &word)
    {
        return QTest::qWaitFor(
            [&] {
                return m_server.targets.contains("/d?s=" + word)
                    && main().WebBrowser1()->url().toString().endsWith("/d?s=" + word)
                    && main().WebBrowser1()->title() == "answer";
            },
            60000);
    }

    static QByteArray document(const QString &queryTemplate)
    {
        return (SettingsFile::buildSettingsXml(queryTemplate) + "\r\n").toUtf8();
    }

private slots:
    void initTestCase() { QVERIFY(m_server.listen()); }

    void init()
    {
        QVERIFY(m_scratch.renew());
        m_server.holdAnswers = false;
        m_server.targets.clear();
    }

    void cleanup() { TestSupport::unloadAll(); }

    void hostileSettingsFilesReadAsTheReferenceSays()
    {
        QVERIFY(QDir().mkdir(m_scratch.path("session")));
        HostileFiles files;
        constexpr int Cases = 10000;
        for (int i = 0; i < Cases; ++i) {
            const QByteArray bytes = files.next(i);
            writeBytes(settingsPath(), bytes);
            const QString read = templateAtStartUp(settingsPath());
            if (read != referenceTemplate(bytes)) {
                QFAIL(qPrintable(QStringLiteral("case %1 (%2 bytes, starting %3) read as \"%4\"")
                                     .arg(i)
                                     .arg(bytes.size())
                                     .arg(QString::fromLatin1(bytes.left(40).toHex()))
                                     .arg(read.left(80))));
            }
        }
        // Ten megabytes: more than is ever read.
        writeBytes(settingsPath(), "<Chinese>big</Chinese>" + QByteArray(10 << 20, 'z'));
        QCOMPARE(templateAtStartUp(settingsPath()), QString());
    }

    void theRealStartUpAgreesOnASample()
    {
        // Every hundredth case, through the main window's own load.
        QVERIFY(QDir().mkdir(m_scratch.path("session")));
        App::setPath(m_scratch.path());
        HostileFiles files;
        for (int i = 0; i < 10000; ++i) {
            const QByteArray bytes = files.next(i);
            if (i % 100 != 0)
                continue;
            writeBytes(settingsPath(), bytes);
            main().Load();
            QCOMPARE(frmOption::instance().txtChinese()->text(), referenceTemplate(bytes));
            TestSupport::unloadAll();
        }
    }

    void theNextLookupWorksAfterTheRenderProcessIsKilled()
    {
        startMainWindow();
        press("first");
        QVERIFY(pageLoaded("first"));
        // Killed while a lookup is under way: the server holds its answer.
        m_server.holdAnswers = true;
        press("held");
        QTRY_VERIFY(m_server.targets.contains("/d?s=held"));
        auto *view = qobject_cast<QWebEngineView *>(main().WebBrowser1()->view());
        QVERIFY(view);
        QWebEnginePage *page = view->page();
        const qint64 renderer = page->renderProcessPid();
        QVERIFY(renderer > 0);
        QVERIFY(::kill(pid_t(renderer), SIGKILL) == 0);
        QSignalSpy terminated(page, &QWebEnginePage::renderProcessTerminated);
        QTRY_COMPARE_WITH_TIMEOUT(terminated.size(), 1, 30000);

        m_server.holdAnswers = false;
        press("after");
        QVERIFY(pageLoaded("after"));
        QVERIFY(page->renderProcessPid() != renderer);
        QCOMPARE(main().StatusBar1()->SimpleText(), "goto " + m_server.origin() + "/d?s=after");
    }

    void aThousandRapidPresses()
    {
        startMainWindow();
        for (int i = 0; i < 1000; ++i)
            press(QStringLiteral("w%1").arg(i));
        QCOMPARE(main().StatusBar1()->SimpleText(), "goto " + m_server.origin() + "/d?s=w999");
        QVERIFY(pageLoaded("w999"));
        // Still answering afterwards.
        press("calm");
        QVERIFY(pageLoaded("calm"));
    }

    void twoCopiesSavingIntoOneSessionFolder()
    {
        QVERIFY(QDir().mkdir(m_scratch.path("session")));
        writeBytes(settingsPath(), document("http://start/%word"));
        // Two processes run the program's save, each its own template, as fast as they can.
        QProcess copies[2];
        for (int id = 0; id < 2; ++id) {
            copies[id].start(QCoreApplication::applicationFilePath(),
                             {"--save-loop", settingsPath(), QString::number(id), "400"});
            QVERIFY(copies[id].waitForStarted());
        }
        int reads = 0;
        const QRegularExpression saved("^http://copy[01]/\\d+/%word$|^http://start/%word$");
        while (copies[0].state() != QProcess::NotRunning
               || copies[1].state() != QProcess::NotRunning) {
            const QByteArray bytes = readBytes(settingsPath());
            const QString value = SettingsFile::getTagValue(QString::fromUtf8(bytes), "Chinese");
            // Always one whole document of the five lines, never a mix or a part.
            QVERIFY2(saved.match(value).hasMatch() && bytes == document(value), bytes.constData());
            ++reads;
            copies[0].waitForFinished(0);
            copies[1].waitForFinished(0);
        }
        for (QProcess &copy : copies) {
            QCOMPARE(copy.exitStatus(), QProcess::NormalExit);
            QCOMPARE(copy.exitCode(), 0);
        }
        QVERIFY(reads > 0);
        QVERIFY(QDir(m_scratch.path("session")).entryList(QDir::Files)
                == QStringList {"tavrel.xml"});
    }

    void failedSavesKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("folder removed") << "removed";
        QTest::newRow("folder replaced by a file") << "replaced";
        QTest::newRow("folder on a read-only file system") << "read-only";
        QTest::newRow("file system full") << "full";
    }

    void failedSavesKeepTheOldFile()
    {
        QFETCH(QString, fault);
        TinyFileSystem tiny;
        const bool needsMount = fault == "read-only" || fault == "full";
        if (needsMount && !tiny.mount(m_scratch.path("session")))
            QSKIP("this machine does not allow mounting a file system of one's own");
        if (!needsMount)
            QVERIFY(QDir().mkdir(m_scratch.path("session")));
        const QByteArray old = document("http://old/%word");
        writeBytes(settingsPath(), old);
        // Start-up makes the folder when it is missing: the fault comes between saves.
        startMainWindow();

        if (fault == "removed") {
            QVERIFY(QDir(m_scratch.path("session")).removeRecursively());
        } else if (fault == "replaced") {
            QVERIFY(QDir(m_scratch.path("session")).removeRecursively());
            writeBytes(m_scratch.path("session"), "not a folder");
        } else if (fault == "read-only") {
            QVERIFY(tiny.makeReadOnly());
        } else {
            QVERIFY(tiny.fill());
        }

        // Saved through the editing command, as the user does.
        TestSupport::whileShownModally(frmOption::instance(), [] {
            Controls::setText(*frmOption::instance().txtChinese(),
                              "http://new/" + QString(4000, 'n') + "/%word");
            QTest::mouseClick(frmOption::instance().cmdSave(), Qt::LeftButton);
        });
        main().mnuQueryString()->trigger();

        QVERIFY(main().saveWarning());
        QVERIFY(main().saveWarning()->isVisible());
        if (fault == "removed")
            QVERIFY(!QFileInfo::exists(settingsPath()));
        else if (fault == "replaced")
            QCOMPARE(readBytes(m_scratch.path("session")), QByteArray("not a folder"));
        else
            QCOMPARE(readBytes(settingsPath()), old);
        // Nothing was left behind by the attempt, beside the words database.
        if (needsMount) {
            QStringList files = QDir(m_scratch.path("session")).entryList(QDir::Files);
            files.removeIf([](const QString &name) { return name.startsWith("words.sqlite"); });
            QCOMPARE(files,
                     fault == "full" ? QStringList({"filler", "tavrel.xml"})
                                     : QStringList({"tavrel.xml"}));
        }
        // The template is in force for the run all the same.
        QVERIFY(frmOption::instance().txtChinese()->text().startsWith("http://new/"));
        TestSupport::unloadAll();
    }
};

// The second role of this program: one of two copies saving into the same settings file.
static int saveLoop(const QString &path, const QString &id, int count)
{
    for (int i = 0; i < count; ++i) {
        QString error;
        const QString queryTemplate = QStringLiteral("http://copy%1/%2/%word").arg(id).arg(i);
        if (!SettingsFile::writeTextFile(path, SettingsFile::buildSettingsXml(queryTemplate),
                                         &error)) {
            std::fprintf(stderr, "save failed: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}

int main(int argc, char *argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--save-loop") == 0)
        return saveLoop(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                        atoi(argv[4]));
    return TestSupport::runTests<TestRobustness>(argc, argv);
}

#include "tst_robustness.moc"
