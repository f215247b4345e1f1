#include "testsupport.h"

#include "browser/answerview.h"
#include "main_window/frmBrowser.h"
#include "preferences/settingsfile.h"
#include "processtree.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

    // The environment of a terminal without a display.
    static QProcessEnvironment withoutDisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        return environment;
    }

private slots:
    // --print and --json answer in the terminal: no display, window, settings file or engine.
    void answersInATerminal_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("damagedIndex");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QString>("error");

        QTest::newRow("a word found")
            << QStringList {"--print", "love"} << QByteArray() << false << 0
            << QStringList {"love", "爱 愛 ài (very common)", "1. to love"} << "";
        QTest::newRow("a word not found")
            << QStringList {"--print", "love", "qqqzx"} << QByteArray() << false << 1
            << QStringList {"爱", "Nothing found for \u201cqqqzx\u201d."} << "";
        QTest::newRow("references as words with pinyin")
            << QStringList {"--print", "--", "吗"} << QByteArray() << false << 0
            << QStringList {"used in 吗啡 嗎啡 (mǎ fēi)"} << "";
        QTest::newRow("measure words on a line of their own")
            << QStringList {"--print", "--", "光", "法律"} << QByteArray() << false << 0
            << QStringList {"1. light; ray\n", "Measure word: 道 (dào)\n",
                            "Measure words: 条 (tiáo), 套 (tào), 个 (gè)\n"}
            << "";
        QTest::newRow("three lines from stdin")
            << QStringList {"--json", "-"} << QByteArray("love\n研究生命起源\r\nhe") << false << 0
            << QStringList() << "";
        QTest::newRow("a damaged index") << QStringList {"--json", "love"} << QByteArray() << true
                                         << 2 << QStringList {"\"error\""} << "is damaged";
        QTest::newRow("syllables coloured by tone")
            << QStringList {"--print", "--color=always", "love"} << QByteArray() << false << 0
            << QStringList {"\x1b[35mài\x1b[39m"} << "";
        QTest::newRow("--color with another value")
            << QStringList {"--print", "--color=sometimes", "love"} << QByteArray() << false << 2
            << QStringList() << "--color takes auto, always or never";
        QTest::newRow("a character's stroke count") << QStringList {"--json", "爱"}
                                                    << QByteArray() << false << 0
                                                    << QStringList {"\"strokes\":10"} << "";
        QTest::newRow("--print and --json together")
            << QStringList {"--print", "--json", "love"} << QByteArray() << false << 2
            << QStringList() << "can't be given together";
        // Drawings, one a line: 十 in stroke order, a bad line answered and passed over, 一.
        const QByteArray drawings("[[[40,150],[260,150]],[[150,40],[150,260]]]\n[[[1]]]\n"
                                  "[[[40,150],[150,148],[260,152]]]\n");
        QTest::newRow("handwriting from stdin")
            << QStringList {"--handwriting", "-"} << drawings << false << 0
            << QStringList {"{\"candidates\":[{\"character\":\"十\"",
                            "{\"error\":\"A point is an array of two numbers, [x, y].\"}\n"
                            "{\"candidates\":[{\"character\":\"一\""}
            << "";
        QTest::newRow("handwriting with a damaged index, in zinnia's order")
            << QStringList {"--handwriting", "-"} << drawings << true << 0
            << QStringList {"{\"candidates\":[{\"character\":\"十\""} << "";
        QTest::newRow("handwriting from a file")
            << QStringList {"--handwriting", "drawings.json"} << QByteArray() << false << 2
            << QStringList() << "alone";
    }

    void answersInATerminal()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(bool, damagedIndex);
        QFETCH(int, exitCode);
        QFETCH(QStringList, printed);
        QFETCH(QString, error);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString executable = install(folder, false);
        QVERIFY(!executable.isEmpty());
        const QString index = folder.filePath(QFileInfo(TAVREL_DICTIONARY_INDEX).fileName());
        if (damagedIndex) {
            QFile real(TAVREL_DICTIONARY_INDEX);
            QVERIFY(real.open(QIODevice::ReadOnly));
            TestSupport::writeBytes(index, real.read(4096));
        } else {
            QVERIFY(QFile::copy(TAVREL_DICTIONARY_INDEX, index));
        }
        QVERIFY(QFile::copy(TAVREL_ENGLISH_INDEX,
                            folder.filePath(QFileInfo(TAVREL_ENGLISH_INDEX).fileName())));
        QVERIFY(QFile::copy(TAVREL_STROKES_INDEX,
                            folder.filePath(QFileInfo(TAVREL_STROKES_INDEX).fileName())));

        QProcess program;
        program.setProcessEnvironment(withoutDisplay());
        program.start(executable, arguments);
        QVERIFY(program.waitForStarted());
        program.write(input);
        program.closeWriteChannel();
        QVERIFY(program.waitForFinished(30000));
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == exitCode, qPrintable(err));
        for (const QString &text : printed)
            QVERIFY2(out.contains(text), qPrintable(out));
        if (error.isEmpty())
            QCOMPARE(err, QString());
        else
            QVERIFY2(err.contains(error), qPrintable(err));
        // Text without markup or links, and nothing written beside the program.
        QVERIFY2(!out.contains("tavrel:") && !out.contains('|'), qPrintable(out));
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4);

        if (arguments.first() != "--json" || program.exitCode() == 2)
            return;
        // One JSON object a line, in the inputs' order, that parses back.
        const QStringList inputs
            = input.isEmpty() ? arguments.mid(1) : QString::fromUtf8(input).split('\n');
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), inputs.size());
        for (int i = 0; i < lines.size(); ++i) {
            QJsonParseError parseError;
            const QJsonObject object
                = QJsonDocument::fromJson(lines.at(i).toUtf8(), &parseError).object();
            QCOMPARE(parseError.error, QJsonParseError::NoError);
            QCOMPARE(object.value("input").toString(), inputs.at(i).trimmed());
            QCOMPARE(object.value("cut").toBool(true), false);
            QVERIFY(!object.contains("error"));
            const QJsonArray groups = object.value("groups").toArray();
            QVERIFY(!groups.isEmpty());
            const QJsonObject group = groups.first().toObject();
            if (group.value("reading") == "english-chinese") {
                // An English word: the English-Chinese entry first.
                const QJsonObject entry = group.value("entries")[0].toObject();
                QCOMPARE(entry.value("word").toString(), inputs.at(i).trimmed());
                QVERIFY(!entry.value("translations").toArray().isEmpty());
                continue;
            }
            QVERIFY(QStringList({"chinese", "english", "pinyin"})
                        .contains(group.value("reading").toString()));
            QVERIFY(group.value("more").isDouble());
            const QJsonArray entries = group.contains("words")
                ? group.value("words").toArray().first().toObject().value("entries").toArray()
                : group.value("entries").toArray();
            const QJsonObject entry = entries.first().toObject();
            for (const char *field : {"traditional", "simplified", "pinyin"})
                QVERIFY2(!entry.value(field).toString().isEmpty(), field);
            QVERIFY(entry.value("senses").isArray());
            QVERIFY(entry.value("band").isNull() || entry.value("band").toInt() >= 1);
            // A stroke count for one character, none for a word.
            QCOMPARE(entry.contains("strokes"), entry.value("simplified").toString().size() == 1);
        }
        const QJsonObject split = QJsonDocument::fromJson(lines.value(1).toUtf8()).object();
        if (split.value("input") == "研究生命起源") {
            QStringList words;
            for (const QJsonValue word : split.value("groups")[0]["words"].toArray())
                words << word["text"].toString();
            QCOMPARE(words, QStringList({"研究", "生命", "起源"}));
        }
    }

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

    // The engine is read ahead only for a web template, and is then in memory before the first
    // lookup; the built-in dictionary never loads it, even after answering.
    void theEngineIsLoadedOnlyForWebTemplates_data()
    {
        QTest::addColumn<QString>("queryTemplate");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("engineLoaded");
        QTest::newRow("built-in, after an answer")
            << "tavrel:%word" << QStringList {"--", "ice cream"}
            << "answer-shown \\d+ tavrel:ice" << false;
        QTest::newRow("web, before any lookup")
            << "http://127.0.0.1:1/%word" << QStringList() << "show-called" << true;
    }

    void theEngineIsLoadedOnlyForWebTemplates()
    {
        QFETCH(QString, queryTemplate);
        QFETCH(QStringList, arguments);
        QFETCH(QString, mark);
        QFETCH(bool, engineLoaded);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString executable = install(folder, true);
        QVERIFY(!executable.isEmpty());
        const QString index = QFileInfo(TAVREL_DICTIONARY_INDEX).fileName();
        QVERIFY(QFile::copy(TAVREL_DICTIONARY_INDEX, folder.filePath(index)));
        QVERIFY(QDir(folder.path()).mkdir("session"));
        TestSupport::writeBytes(folder.filePath("session/tavrel.xml"),
                                SettingsFile::buildSettingsXml(queryTemplate).toUtf8());

        QProcess program;
        QString errors;
        QVERIFY2(TestSupport::startUntil(program, executable, arguments,
                                         QRegularExpression("tavrel-timing " + mark), &errors),
                 qPrintable(errors));
        const QString maps = QString("/proc/%1/maps").arg(program.processId());
        const auto engineMapped = [&maps] {
            const QByteArray mapped = TestSupport::readBytes(maps);
            return mapped.contains("tavrel_browserengine") && mapped.contains("libQt6WebEngineCore");
        };
        if (engineLoaded) {
            QTRY_VERIFY_WITH_TIMEOUT(engineMapped(), 30000);
        } else {
            // Given the time the engine took to start when it was prepared at start-up.
            QTest::qWait(1500);
            const QByteArray mapped = TestSupport::readBytes(maps);
            QVERIFY(mapped.contains(index.toUtf8()));
            QVERIFY(!mapped.contains("tavrel_browserengine"));
            QVERIFY(!mapped.contains("libQt6WebEngineCore"));
            QCOMPARE(ProcessTree::descendantsOf(program.processId()), QList<qint64>());
        }
        errors += QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(errors.contains("tavrel-timing translate"), !arguments.isEmpty());
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
