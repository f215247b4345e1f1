#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

// The program as a user starts it: the executable itself, in a folder of its own.
class TestProgram : public QObject
{
    Q_OBJECT

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
        const QString executable = folder.filePath("TavrelDictionary");
        QVERIFY(QFile::copy(TAVREL_EXECUTABLE, executable));

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.start(executable, {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(folder.filePath("session")).isDir(), 60000);
        QVERIFY(QFileInfo(folder.filePath("temp")).isDir());
        QVERIFY(!QFileInfo::exists(folder.filePath("session/tavrel.xml")));
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished());

        const QString errors = QString::fromUtf8(program.readAllStandardError());
        const QString sandboxLine = "running as root, so the browser sandbox is turned off";
        QCOMPARE(errors.count(sandboxLine), geteuid() == 0 ? 1 : 0);
    }
};

TAVREL_TEST_MAIN(TestProgram)
#include "tst_program.moc"
