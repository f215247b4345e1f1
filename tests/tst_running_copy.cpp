#include "testsupport.h"

#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "preferences/settingsfile.h"
#include "single_instance/runningcopy.h"
#include "single_instance/wordsfromoutside.h"
#include "window_layer/controls.h"
#include "words/store.h"

#include <QDir>
#include <QLineEdit>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QtEndian>

#include <atomic>
#include <csignal>
#include <vector>

using RunningCopy::Server;

namespace {

QByteArray header(quint32 length)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(length, bytes.data());
    return bytes;
}

// Blocking, as the program that hands a word over is; from a thread of its own, so that the
// server in this thread goes on serving meanwhile. The hand-over gives up after its timeouts.
bool handOverFromAnotherThread(const QString &name, const QString &word)
{
    bool taken = false;
    std::unique_ptr<QThread> thread(
        QThread::create([&] { taken = RunningCopy::handOver(name, word); }));
    thread->start();
    while (!thread->wait(QDeadlineTimer(10)))
        QCoreApplication::processEvents();
    return taken;
}

QString socketFile(const QString &name)
{
    return QDir::isAbsolutePath(name) ? name : QDir::temp().filePath(name);
}

} // namespace

namespace {

// A folder of its own for the program, whose template is the built-in dictionary's: lookups
// there need no engine and no server.
QString builtInFolder(const QTemporaryDir &folder)
{
    if (!QFile::copy(TAVREL_EXECUTABLE, folder.filePath("TavrelDictionary"))
        || !QDir(folder.path()).mkdir("session"))
        return QString();
    TestSupport::writeBytes(folder.filePath("session/tavrel.xml"),
                            SettingsFile::buildSettingsXml("tavrel:%word").toUtf8());
    return folder.path();
}

// The inputs the program has said it recorded, from its timing marks; the rest of a line that
// is not whole yet stays in pending.
QStringList recordedMarks(QProcess &program, QByteArray &pending)
{
    pending += program.readAllStandardError();
    QStringList inputs;
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(pending.left(end));
        pending.remove(0, end + 1);
        static const QRegularExpression recorded("tavrel-timing recorded \\d+ (.*)$");
        const QRegularExpressionMatch match = recorded.match(line);
        if (match.hasMatch())
            inputs << match.captured(1);
    }
    return inputs;
}

// Hands words, one after the other, to the copies serving names in turn, from a thread of its
// own, until stopped or done.
class WordFeeder
{
public:
    WordFeeder(const QStringList &names, const QStringList &words)
        : m_offered(names.size())
        , m_taken(names.size())
        , m_thread(QThread::create([this, names, words] {
            for (qsizetype i = 0; i < words.size() && !m_stop; ++i) {
                const qsizetype copy = i % names.size();
                ++m_offered[copy];
                // A loaded machine may keep a copy from answering for a while: a word not handed
                // over would be a fault of the test, not a word the copies lost.
                if (RunningCopy::handOver(names.at(copy), words.at(i), 15000)) {
                    ++m_taken[copy];
                    ++m_handed;
                    QMutexLocker locker(&m_mutex);
                    m_takenWords << words.at(i);
                }
            }
        }))
    {
        m_thread->start();
    }
    ~WordFeeder()
    {
        m_stop = true;
        m_thread->wait();
    }
    // Words said taken, in all and by each copy; and offered to each.
    int handed() const { return m_handed; }
    int taken(qsizetype copy) const { return m_taken.at(copy); }
    int offered(qsizetype copy) const { return m_offered.at(copy); }
    QStringList takenWords() const
    {
        QMutexLocker locker(&m_mutex);
        return m_takenWords;
    }
    bool done() const { return m_thread->isFinished(); }

private:
    std::atomic<bool> m_stop {false};
    std::atomic<int> m_handed {0};
    std::vector<std::atomic<int>> m_offered;
    std::vector<std::atomic<int>> m_taken;
    mutable QMutex m_mutex;
    QStringList m_takenWords;
    std::unique_ptr<QThread> m_thread;
};

QStringList numberedWords(const QString &stem, int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << QStringLiteral("%1 %2").arg(stem).arg(i, 4, 10, QChar(u'0'));
    return words;
}

QStringList storedInputs(const QString &folder)
{
    const Words::Store store(folder + "/session/words.sqlite");
    QStringList inputs;
    for (const Words::HistoryItem &item : store.history())
        inputs << item.input;
    return inputs;
}

} // namespace

// Words given on the command line, or handed to the copy already running from the same folder.
class TestRunningCopy : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_folder;
    TestSupport::PageServer m_pages;

    QString lookupTarget(const QString &word) const { return "/dict?s=" + word; }

    void writeTemplate(const QString &folder)
    {
        QVERIFY(QDir(folder).mkpath("session"));
        TestSupport::writeBytes(
            folder + "/session/tavrel.xml",
            SettingsFile::buildSettingsXml(m_pages.origin() + "/dict?s=%word").toUtf8());
    }

    // Copies started together on one folder, each with a channel of its own, as when the channel
    // can't be shared, are handed words in turn; the last word goes to every copy. Where the
    // test holds SQLite's write lock as the copies start, they meet the file as they would meet a
    // copy in the middle of making it, or of switching it to WAL, for as long as it is held.
    void copiesLoseNoWord(int copies, int run, int lockMs)
    {
        QTemporaryDir folder;
        QVERIFY(!builtInFolder(folder).isEmpty());
        std::unique_ptr<TestSupport::WriteLock> lock;
        if (lockMs > 0) {
            lock = std::make_unique<TestSupport::WriteLock>(folder.filePath("session/words.sqlite"));
            QVERIFY(lock->isHeld());
        }
        std::vector<std::unique_ptr<QProcess>> programs;
        std::vector<std::unique_ptr<QTemporaryDir>> runtimes;
        QStringList names;
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        for (int copy = 0; copy < copies; ++copy) {
            runtimes.push_back(std::make_unique<QTemporaryDir>());
            const QString own = runtimes.back()->path();
            QVERIFY(QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                   | QFileDevice::ExeOwner));
            programs.push_back(std::make_unique<QProcess>());
            start(*programs.back(), {}, true, folder.path(), own);
            qputenv("XDG_RUNTIME_DIR", own.toLocal8Bit());
            names << RunningCopy::serverName(folder.path());
            qputenv("XDG_RUNTIME_DIR", runtime);
        }
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), copies);
        std::vector<QByteArray> pending(copies);
        std::vector<QStringList> recorded(copies);
        for (int copy = 0; copy < copies; ++copy) {
            QTRY_VERIFY_WITH_TIMEOUT((pending[copy] += programs[copy]->readAllStandardError())
                                         .contains("timing claimed"),
                                     30000);
            pending[copy].clear();
        }

        QStringList words = numberedWords(QStringLiteral("run %1 word").arg(run), 1000);
        for (int copy = 0; copy < copies; ++copy)
            words << "every copy";
        const auto report = [&](const WordFeeder &feeder) {
            QStringList perCopy;
            for (int copy = 0; copy < copies; ++copy)
                perCopy << QStringLiteral("copy %1: %2 handed over, %3 taken, %4 recorded")
                               .arg(copy + 1)
                               .arg(feeder.offered(copy))
                               .arg(feeder.taken(copy))
                               .arg(recorded[copy].size());
            return QStringLiteral("run %1: ").arg(run) + perCopy.join(QStringLiteral("; "));
        };
        const auto recordedInAll = [&] {
            qsizetype all = 0;
            for (int copy = 0; copy < copies; ++copy)
                all += (recorded[copy] += recordedMarks(*programs[copy], pending[copy])).size();
            return all;
        };
        {
            WordFeeder feeder(names, words);
            // Words come in while the file is still held: they are said taken only once safe.
            QTest::qWait(lockMs);
            if (lock)
                lock->release();
            QTRY_VERIFY2_WITH_TIMEOUT(feeder.done() && recordedInAll() == feeder.handed(),
                                      qPrintable(report(feeder)), 180000);
            QCOMPARE(feeder.handed(), words.size());
            qInfo("%s", qPrintable(report(feeder)));
            for (int copy = 0; copy < copies; ++copy) {
                QCOMPARE(programs[copy]->state(), QProcess::Running);
                QCOMPARE(recorded[copy].size(), feeder.taken(copy));
            }
        }
        for (auto &program : programs) {
            program->kill();
            QVERIFY(program->waitForFinished());
        }
        const QStringList stored = storedInputs(folder.path());
        const QStringList lost = QSet<QString>(words.begin(), words.end())
                                     .subtract(QSet<QString>(stored.begin(), stored.end()))
                                     .values();
        QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("run %1: %2 words lost, such as \"%3\"")
                                                .arg(run)
                                                .arg(lost.size())
                                                .arg(lost.value(0))));
        QCOMPARE(stored.size(), words.size() - copies + 1);
        // Nothing was taken for damage, and nothing waits in a journal.
        const QStringList left = QDir(folder.filePath("session"))
                                     .entryList({"words.sqlite.damaged-*", "words-waiting-*"},
                                                QDir::Files);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(", ")));
        const Words::Store store(folder.filePath("session/words.sqlite"));
        QCOMPARE(store.historyStartingWith("every copy", 1).value(0).count, copies);
    }

    // The program, started from the test's folder, never from the build tree: its server name
    // is the folder's, which no copy of a user's shares.
    void start(QProcess &program, const QStringList &arguments, bool withDisplay = true,
               const QString &folder = QString(), const QString &runtime = QString())
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        if (withDisplay)
            environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QT_LOGGING_RULES", "tavrel.timing.debug=true");
        if (!runtime.isEmpty())
            environment.insert("XDG_RUNTIME_DIR", runtime);
        program.setProcessEnvironment(environment);
        program.start((folder.isEmpty() ? m_folder.path() : folder) + "/TavrelDictionary",
                      arguments);
        QVERIFY(program.waitForStarted());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pages.listen());
        QVERIFY(m_folder.renew());
        // The sockets of the copies, killed or not, go with the folder.
        QVERIFY(QDir(m_folder.path()).mkdir("runtime"));
        QVERIFY(QFile::setPermissions(m_folder.path("runtime"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", m_folder.path("runtime").toLocal8Bit());
        QVERIFY(QFile::copy(TAVREL_EXECUTABLE, m_folder.path("TavrelDictionary")));
        QVERIFY(QFile::copy(TAVREL_ENGINE, m_folder.path(QFileInfo(TAVREL_ENGINE).fileName())));
        writeTemplate(m_folder.path());
    }

    // Expected texts ending in "Usage: " are followed by the usage; the others are all there is.
    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errors");

        QTest::newRow("help") << QStringList {"--help"} << 0 << "Usage: "
                              << "";
        QTest::newRow("version") << QStringList {"--version"} << 0 << "Tavrel Dictionary 1.1\n"
                                 << "";
        QTest::newRow("unknown option") << QStringList {"--bogus", "word"} << 2 << ""
                                        << "TavrelDictionary: Unknown option 'bogus'.\nUsage: ";
        QTest::newRow("the selection and a word")
            << QStringList {"--selection", "word"} << 2 << ""
            << "TavrelDictionary: Give one of --selection, --clipboard, --background or words.\n"
               "Usage: ";
        QTest::newRow("the selection and the clipboard")
            << QStringList {"--clipboard", "--selection"} << 2 << ""
            << "TavrelDictionary: Give one of --selection, --clipboard, --background or words.\n"
               "Usage: ";
        QTest::newRow("the selection, no display, no copy running")
            << QStringList {"--selection"} << 1 << ""
            << "TavrelDictionary: no display to open a window on; without one, run it as "
               "'xvfb-run -a TavrelDictionary'\n";
        QTest::newRow("a word, no display, no copy running")
            << QStringList {"word"} << 1 << ""
            << "TavrelDictionary: no display to open a window on; without one, run it as "
               "'xvfb-run -a TavrelDictionary'\n";
    }

    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        QProcess program;
        start(program, arguments, false);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const auto matches = [](const QString &text, const QString &expected) {
            return expected.endsWith("Usage: ") ? text.startsWith(expected) : text == expected;
        };
        const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
        QVERIFY2(matches(printed, output), qPrintable(printed));
        const QString complained = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(matches(complained, errors), qPrintable(complained));
    }

    // A word on the command line is looked up; later ones go to that copy, which keeps serving
    // while a client sends nothing, and a copy killed leaves a socket behind that
    // the next copy replaces.
    void wordsReachTheRunningCopy()
    {
        QProcess first;
        start(first, {"--", "-zebra", "crossing"});
        QTRY_VERIFY_WITH_TIMEOUT(m_pages.targets.contains(lookupTarget("-zebra%20crossing")),
                                 60000);

        const QString name = RunningCopy::serverName(m_folder.path());
        QLocalSocket silent;
        silent.connectToServer(name);
        QVERIFY(silent.waitForConnected());

        QProcess second;
        start(second, {"second", "word"});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        // Its timing marks would show an application and a window made.
        const QString errors = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(!errors.contains("tavrel-timing"), qPrintable(errors));
        QTRY_VERIFY_WITH_TIMEOUT(m_pages.targets.contains(lookupTarget("second%20word")), 20000);

        first.kill();
        QVERIFY(first.waitForFinished());
        QVERIFY(QFileInfo::exists(socketFile(name)));
        QProcess third;
        start(third, {"third"});
        QTRY_VERIFY_WITH_TIMEOUT(m_pages.targets.contains(lookupTarget("third")), 60000);
        QProcess fourth;
        start(fourth, {"fourth"});
        QVERIFY(fourth.waitForFinished(30000));
        QCOMPARE(fourth.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_pages.targets.contains(lookupTarget("fourth")), 20000);
        third.kill();
        QVERIFY(third.waitForFinished());
    }

    // Whichever wins, one copy is left, and it has looked up both words.
    void twoCopiesStartedAtOnceEndAsOne()
    {
        QProcess one, other;
        start(one, {"alpha"});
        start(other, {"beta"});
        QTRY_VERIFY_WITH_TIMEOUT(
            one.state() != QProcess::Running || other.state() != QProcess::Running, 30000);
        QProcess &ended = one.state() != QProcess::Running ? one : other;
        QProcess &left = &ended == &one ? other : one;
        QCOMPARE(ended.exitCode(), 0);
        QString marks;
        QTRY_COMPARE_WITH_TIMEOUT(
            (marks += QString::fromUtf8(left.readAllStandardError())).count("timing translate"), 2,
            30000);
        QCOMPARE(left.state(), QProcess::Running);
        left.kill();
        QVERIFY(left.waitForFinished());
    }

    // Each row's client connects, sends its bytes and, if closes is set, disconnects; then a word
    // is handed over while that client may still be connected.
    void messages_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QStringList>("popUps");

        const QByteArray largest(RunningCopy::maxWordBytes, 'x');
        QTest::newRow("Chinese") << header(6) + "詞典" << true << QStringList {"詞典"}
            << QStringList {};
        QTest::newRow("largest") << header(largest.size()) + largest << true
                                 << QStringList {QString::fromLatin1(largest)}
            << QStringList {};
        QTest::newRow("oversized")
            << header(largest.size() + 1) + largest + "x" << true << QStringList {}
            << QStringList {};
        QTest::newRow("garbage") << QByteArray("GET / HTTP/1.1\r\n\r\n") << true << QStringList {}
            << QStringList {};
        QTest::newRow("invalid UTF-8") << header(2) + "\xc3\x28" << true << QStringList {}
            << QStringList {};
        QTest::newRow("bytes after the message") << header(1) + "ab" << true << QStringList {}
            << QStringList {};
        QTest::newRow("truncated") << header(10) + "abc" << true << QStringList {}
            << QStringList {};
        QTest::newRow("silent") << QByteArray() << false << QStringList {}
            << QStringList {};
        using RunningCopy::PopUpRequest;
        QTest::newRow("the pop-up for the selection")
            << RunningCopy::encode(RunningCopy::popUpMessage(PopUpRequest::Selection)) << true
            << QStringList {} << QStringList {"selection"};
        QTest::newRow("the pop-up for the clipboard")
            << RunningCopy::encode(RunningCopy::popUpMessage(PopUpRequest::Clipboard)) << true
            << QStringList {} << QStringList {"clipboard"};
        QTest::newRow("a word that begins as a request")
            << RunningCopy::encode(RunningCopy::popUpMessage(PopUpRequest::Selection) + "s")
            << true << QStringList {RunningCopy::popUpMessage(PopUpRequest::Selection) + "s"}
            << QStringList {};
        QTest::newRow("slow") << header(10) + "abc" << false << QStringList {}
            << QStringList {};
    }

    void messages()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, closes);
        QFETCH(QStringList, taken);
        QFETCH(QStringList, popUps);
        QTemporaryDir folder;
        Server server;
        const QString name = RunningCopy::serverName(folder.path());
        if (server.claim(name, std::nullopt) != Server::Outcome::Serving)
            QSKIP("no local server can listen here");
        QSignalSpy words(&server, &Server::wordReceived);
        QStringList requested;
        connect(&server, &Server::popUpRequested, this, [&](RunningCopy::PopUpRequest request) {
            requested << (request == RunningCopy::PopUpRequest::Selection ? "selection"
                                                                          : "clipboard");
        });

        QLocalSocket client;
        client.connectToServer(name);
        QVERIFY(client.waitForConnected());
        client.write(bytes);
        QVERIFY(client.waitForBytesWritten() || bytes.isEmpty());
        if (closes)
            client.disconnectFromServer();
        QTRY_COMPARE(words.size() + requested.size(), taken.size() + popUps.size());
        QCOMPARE(requested, popUps);

        QVERIFY(handOverFromAnotherThread(name, "after"));
        QCOMPARE(words.size(), taken.size() + 1);
        for (int i = 0; i < taken.size(); ++i)
            QCOMPARE(words.at(i).at(0).toString(), taken.at(i));
        QCOMPARE(words.last().at(0).toString(), QString("after"));
    }

    // Ended in the middle of a thousand lookups, the program has lost none it had committed: its
    // "recorded" mark comes after the commit. Ended as a session ends it, it also takes its socket
    // away, as "Exit" does.
    void everyCommittedLookupSurvivesAKill_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("killed") << SIGKILL;
        QTest::newRow("session ends") << SIGTERM;
    }

    void everyCommittedLookupSurvivesAKill()
    {
        QFETCH(int, signal);
        QTemporaryDir folder;
        QVERIFY(!builtInFolder(folder).isEmpty());
        QProcess program;
        start(program, {}, true, folder.path());
        QString errors;
        QTRY_VERIFY_WITH_TIMEOUT((errors += QString::fromUtf8(program.readAllStandardError()))
                                     .contains("timing claimed"),
                                 30000);
        QByteArray pending;
        QStringList committed, taken;
        {
            WordFeeder feeder({RunningCopy::serverName(folder.path())},
                              numberedWords("lookup", 1000));
            QTRY_VERIFY_WITH_TIMEOUT((committed += recordedMarks(program, pending)).size() >= 400,
                                     120000);
            ::kill(pid_t(program.processId()), signal);
            QVERIFY(program.waitForFinished());
            taken = feeder.takenWords();
        }
        QCOMPARE(program.exitStatus() == QProcess::NormalExit, signal != SIGKILL);
        if (signal != SIGKILL)
            QVERIFY(!QFileInfo::exists(socketFile(RunningCopy::serverName(folder.path()))));
        committed += recordedMarks(program, pending);
        QVERIFY2(committed.size() < 1000, "the program was not killed in the middle");
        const QStringList stored = storedInputs(folder.path());
        for (const QString &input : std::as_const(committed))
            QVERIFY2(stored.contains(input), qPrintable(input + " was lost"));
        // The file was not found damaged: the next start takes it as it is.
        QVERIFY(!QFileInfo::exists(folder.filePath("session/words.sqlite.damaged-"
                                                   + QDate::currentDate().toString(Qt::ISODate))));
        QProcess again;
        start(again, {"after the kill"}, true, folder.path());
        pending.clear();
        QStringList recordedAgain;
        QTRY_VERIFY_WITH_TIMEOUT(
            (recordedAgain += recordedMarks(again, pending)).contains("after the kill"), 30000);
        again.kill();
        QVERIFY(again.waitForFinished());
        // A word said taken was safe, recorded or not when the kill came: the next start has it.
        const QStringList storedAgain = storedInputs(folder.path());
        for (const QString &input : std::as_const(taken))
            QVERIFY2(storedAgain.contains(input), qPrintable(input + " was taken, then lost"));
        // A word kept in the instant before the kill, whose answer never reached its sender, is
        // kept all the same: one more than said taken, never one less.
        QVERIFY(storedAgain.size() >= taken.size() + 1);
        QVERIFY(storedAgain.size() <= taken.size() + 2);
    }

    // Twenty runs of two copies, as the copies race to create the file and a run shows a fault
    // only now and then; then the races made certain.
    void copiesOnOneFolderLoseNoWord_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("lockMs");
        QTest::newRow("two copies, twenty runs") << 2 << 20 << 0;
        QTest::newRow("the write lock held through the switch to WAL") << 2 << 1 << 2500;
        QTest::newRow("the write lock held past the busy timeout") << 2 << 1 << 8000;
        QTest::newRow("four copies on a new folder") << 4 << 3 << 0;
    }

    void copiesOnOneFolderLoseNoWord()
    {
        QFETCH(int, copies);
        QFETCH(int, runs);
        QFETCH(int, lockMs);
        for (int run = 0; run < runs && !QTest::currentTestFailed(); ++run)
            copiesLoseNoWord(copies, run, lockMs);
    }

    // The word waits for the dialog's caller to have put the template back.
    void aWordSentDuringTheOptionsDialogWaitsForItToClose()
    {
        QTemporaryDir folder;
        writeTemplate(folder.path());
        App::setPath(folder.path());
        frmBrowser &main = frmBrowser::instance();
        main.Show();
        WordsFromOutside words;
        bool lookedUpMeanwhile = true;
        TestSupport::whileShownModally(frmOption::instance(), [&] {
            Controls::setText(*frmOption::instance().txtChinese(), "http://elsewhere/%word");
            words.take("later");
            QTest::qWait(200);
            lookedUpMeanwhile = !main.txtWord()->text().isEmpty();
            QTest::mouseClick(frmOption::instance().cmdCancel(), Qt::LeftButton);
        });
        main.mnuQueryString()->trigger();
        QVERIFY(!lookedUpMeanwhile);
        QTRY_COMPARE(main.txtWord()->text(), QString("later"));
        QCOMPARE(main.StatusBar1()->SimpleText(),
                 "goto " + m_pages.origin() + lookupTarget("later"));
        TestSupport::unloadAll();
    }
};

TAVREL_TEST_MAIN(TestRunningCopy)
#include "tst_running_copy.moc"
