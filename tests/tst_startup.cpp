#include "testsupport.h"

#include "window_layer/controls.h"
#include "program/providers.h"
#include "browser/webbrowser.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "preferences/settingsfile.h"

#include <QDir>
#include <QLineEdit>

#include <sys/stat.h>

using TestSupport::readBytes;
using TestSupport::writeBytes;

class TestStartup : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_appFolder;

    QString path(const QString &name) const { return m_appFolder.path(name); }
    static QString templateInForce() { return frmOption::instance().txtChinese()->text(); }

    void startWithSettingsFile(const QByteArray &bytes)
    {
        QVERIFY(QDir().mkdir(path("session")));
        writeBytes(path("session/tavrel.xml"), bytes);
        frmBrowser::instance().Load();
    }

private slots:
    void init()
    {
        QVERIFY(m_appFolder.renew());
        App::setPath(m_appFolder.path());
    }

    void cleanup() { TestSupport::unloadAll(); }

    void firstRun()
    {
        frmBrowser::instance().Show();
        QVERIFY(QTest::qWaitForWindowExposed(frmBrowser::instance().window()));
        QVERIFY(QFileInfo(path("temp")).isDir());
        QVERIFY(QFileInfo(path("session")).isDir());
        QVERIFY(!QFileInfo::exists(path("session/tavrel.xml")));
        QVERIFY(frmOption::instance().IsLoaded());
        QVERIFY(!frmOption::instance().Visible());
        QCOMPARE(templateInForce(), Providers::hongKongTemplate());
        QCOMPARE(frmBrowser::instance().WebBrowser1()->LocationRequested(), QString("about:blank"));
        QCOMPARE(frmBrowser::instance().StatusBar1()->SimpleText(), QString());
    }

    void secondRunKeepsFoldersAndReadsTheSavedTemplate()
    {
        QVERIFY(QDir().mkdir(path("temp")));
        writeBytes(path("temp/left.txt"), "kept");
        QVERIFY(QDir().mkdir(path("session")));
        QVERIFY(SettingsFile::writeTextFile(path("session/tavrel.xml"),
                                            SettingsFile::buildSettingsXml("http://saved/%word")));
        frmBrowser::instance().Load();
        QCOMPARE(templateInForce(), QString("http://saved/%word"));
        QCOMPARE(readBytes(path("temp/left.txt")), QByteArray("kept"));
    }

    void templateFromTheSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("queryTemplate");
        const auto row = [](const char *name, const QByteArray &bytes, const QString &value) {
            QTest::newRow(name) << bytes << value;
        };
        row("spaces around kept", "<Chinese>  http://h/%word  </Chinese>", "  http://h/%word  ");
        row("mixed-case tags", "<CHINESE>v</chinese>", "v");
        row("first of two", "<Chinese>a</Chinese><Chinese>b</Chinese>", "a");
        row("stray closing tag first", "</Chinese><Chinese>v</Chinese>", "v");
        row("no element: empty, not the default", "<TavrelDictionary></TavrelDictionary>", "");
        row("opening tag only", "<Chinese>v", "");
        row("empty file", "", "");
        row("over 1 MiB", "<Chinese>v</Chinese>" + QByteArray(SettingsFile::MaxReadSize, ' '), "");
        row("line breaks inside kept", "<Chinese>a\r\nb\n</Chinese>", "a\r\nb\n");
        row("not UTF-8", "<Chinese>a\xff</Chinese>", QStringLiteral("a\ufffd"));
        row("holding the closing tag", "<Chinese>a</Chinese>b</Chinese>", "a");
    }

    void templateFromTheSettingsFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, queryTemplate);
        startWithSettingsFile(bytes);
        QCOMPARE(templateInForce(), queryTemplate);
    }

    void savedTemplateComesBackUnchanged_data()
    {
        QTest::addColumn<QString>("queryTemplate");
        QTest::newRow("ampersand") << "http://h/cgi?a=1&q=%word";
        QTest::newRow("angle brackets") << "http://h/<%word>";
        QTest::newRow("Chinese") << QStringLiteral("http://詞典.example/%firstchar/%word");
        QTest::newRow("empty") << "";
    }

    void savedTemplateComesBackUnchanged()
    {
        QFETCH(QString, queryTemplate);
        QVERIFY(QDir().mkdir(path("session")));
        QVERIFY(SettingsFile::writeTextFile(path("session/tavrel.xml"),
                                            SettingsFile::buildSettingsXml(queryTemplate)));
        frmBrowser::instance().Load();
        QCOMPARE(templateInForce(), queryTemplate);
    }

    void somethingElseInTheWay_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("isFolder");
        QTest::newRow("file named temp") << "temp" << false;
        QTest::newRow("file named session") << "session" << false;
        QTest::newRow("folder named tavrel.xml") << "session/tavrel.xml" << true;
        QTest::newRow("FIFO named tavrel.xml") << "fifo" << false;
    }

    void somethingElseInTheWay()
    {
        QFETCH(QString, entry);
        QFETCH(bool, isFolder);
        if (entry == "fifo") {
            QVERIFY(QDir().mkdir(path("session")));
            QCOMPARE(::mkfifo(QFile::encodeName(path("session/tavrel.xml")).constData(), 0644), 0);
        } else if (isFolder) {
            QVERIFY(QDir().mkpath(path(entry)));
        } else {
            writeBytes(path(entry), "<Chinese>never read</Chinese>");
        }
        frmBrowser::instance().Load();
        // Counts as absent: the default template, and start-up carries on.
        QCOMPARE(templateInForce(), Providers::hongKongTemplate());
        if (entry != "fifo" && !isFolder)
            QVERIFY(QFileInfo(path(entry)).isFile());
        QVERIFY(QFileInfo::exists(path("temp")));
        QVERIFY(QFileInfo::exists(path("session")));
    }

    void foldersThatCannotBeCreatedDoNotStopStartUp()
    {
        App::setPath(path("missing/parent"));
        frmBrowser::instance().Load();
        QVERIFY(frmBrowser::instance().IsLoaded());
        QCOMPARE(templateInForce(), Providers::hongKongTemplate());
        QVERIFY(!QFileInfo::exists(path("missing")));
    }

    void endingTheProgram_data()
    {
        QTest::addColumn<bool>("throughExit");
        QTest::newRow("close box") << false;
        QTest::newRow("Exit") << true;
    }

    void endingTheProgram()
    {
        QFETCH(bool, throughExit);
        frmBrowser::instance().Show();
        QVERIFY(QTest::qWaitForWindowExposed(frmBrowser::instance().window()));
        frmOption::instance().txtChinese()->setText("edited, never saved");
        QTimer::singleShot(0, [throughExit] {
            if (throughExit)
                frmBrowser::instance().mnuExit()->trigger();
            else
                frmBrowser::instance().window()->close();
        });
        QCOMPARE(TestSupport::runUntilTheProgramEnds(), 0);
        QVERIFY(!frmBrowser::instance().IsLoaded());
        QVERIFY(!frmOption::instance().IsLoaded());
        QVERIFY(!Form::AnyLoaded());
        QVERIFY(!QFileInfo::exists(path("session/tavrel.xml")));
    }
};

TAVREL_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
