#include "testsupport.h"

#include "browser/answerview.h"
#include "main_window/frmBrowser.h"
#include "main_window/settingsfile.h"
#include "processtree.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>

#include <unistd.h>

// The program as a user starts it: the executable itself, in a folder of its own.
class TestProgram : public QObject
{
    Q_OBJECT

    // Puts the program, and its engine module when asked for, into the folder; the program's
    // path there, or nothing when it could not be put there.
    static QString install(const QTemporaryDir &folder, bool withEngine)
    {
        const QString executable = folder.filePath("TavrelDictionary");
        const QString engine = folder.filePath(QFileInfo(TAVREL_ENGINE).fileName());
        return QFile::copy(TAVREL_EXECUTABLE, executable)
                && (!withEngine || QFile::copy(TAVREL_ENGINE, engine))
            ? executable
            : QString();
    }

private slots:
    void withoutADisplayItSaysSoInOneLine()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(environment);
        program.start(TAVREL_EXECUTABLE, {});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        const QString message = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(message.count('\n'), 1);
        QVERIFY2(message.contains("xvfb-run"), qPrintable(message));
    }

    void startsBesideItsDataFolders()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString executable = install(folder, true);
        QVERIFY(!executable.isEmpty());

        QProcess program;
        QString errors;
        QVERIFY(TestSupport::startUntilBlankPage(program, executable, &errors));
        QVERIFY(QFileInfo(folder.filePath("session")).isDir());
        QVERIFY(QFileInfo(folder.filePath("temp")).isDir());
        QVERIFY(!QFileInfo::exists(folder.filePath("session/tavrel.xml")));
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished());
        errors += QString::fromUtf8(program.readAllStandardError());

        const QString sandboxLine = "running as root, so the browser sandbox is turned off";
        QCOMPARE(errors.count(sandboxLine), geteuid() == 0 ? 1 : 0);
        // The engine's warning about drawing without OpenGL would only mislead.
        QVERIFY2(!errors.contains("graphics backend"), qPrintable(errors));
    }

    void withoutItsEngineModuleItSaysSoAndKeepsRunning()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString executable = install(folder, false);
        QVERIFY(!executable.isEmpty());

        QProcess program;
        QString errors;
        QVERIFY(!TestSupport::startUntilBlankPage(program, executable, &errors));
        QCOMPARE(errors.count("the browser engine could not be loaded"), 1);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished());
    }

    void withTheBuiltInDictionaryNoEngineStarts()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString executable = install(folder, true);
        QVERIFY(!executable.isEmpty());
        const QString index = QFileInfo(TAVREL_DICTIONARY_INDEX).fileName();
        QVERIFY(QFile::copy(TAVREL_DICTIONARY_INDEX, folder.filePath(index)));
        QVERIFY(QDir(folder.path()).mkdir("session"));
        TestSupport::writeBytes(folder.filePath("session/tavrel.xml"),
                                SettingsFile::buildSettingsXml("tavrel:%word").toUtf8());

        QProcess program;
        QString errors;
        QVERIFY2(TestSupport::startUntil(
                     program, executable, {"--", "ice cream"},
                     QRegularExpression("tavrel-timing answer-shown \\d+ tavrel:ice"), &errors),
                 qPrintable(errors));
        // Given the time the engine took to start when it was prepared at start-up.
        QTest::qWait(1500);
        QFile maps(QString("/proc/%1/maps").arg(program.processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(mapped.contains(index.toUtf8()));
        QVERIFY(!mapped.contains("tavrel_browserengine"));
        QVERIFY(!mapped.contains("libQt6WebEngineCore"));
        QCOMPARE(ProcessTree::descendantsOf(program.processId()), QList<qint64>());
        program.kill();
        QVERIFY(program.waitForFinished());
    }

    // Last: this program then has no engine for good.
    void withoutItsEngineModuleTheBrowserAreaSaysWhy()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        App::setPath(folder.path());
        WebBrowser::setEngineFolder(folder.path());
        frmBrowser::instance().Show();
        QVERIFY(QTest::qWaitForWindowExposed(frmBrowser::instance().window()));
        WebBrowser *browser = frmBrowser::instance().WebBrowser1();
        QLabel *why = nullptr;
        QTRY_VERIFY((why = browser->findChild<QLabel *>()) && why->isVisible());
        QVERIFY2(why->text().contains("browser engine could not be loaded"),
                 qPrintable(why->text()));
        QVERIFY2(why->text().contains(folder.path()), qPrintable(why->text()));
        QVERIFY2(why->text().contains("tavrel_browserengine"), qPrintable(why->text()));
        QCOMPARE(browser->view(), nullptr);

        // The built-in dictionary needs no engine.
        browser->Navigate("tavrel:tea");
        QTRY_VERIFY(browser->answerView() && browser->answerView()->isVisible());
        QTRY_VERIFY(!why->isVisible());
        QVERIFY2(browser->answerView()->toPlainText().contains("茶"),
                 qPrintable(browser->answerView()->toPlainText()));
        // A web address still says why it can't be shown.
        browser->Navigate("http://127.0.0.1:1/");
        QTRY_VERIFY(why->isVisible());
        TestSupport::unloadAll();
    }
};

TAVREL_TEST_MAIN(TestProgram)
#include "tst_program.moc"
