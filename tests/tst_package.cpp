// The Debian package as a user gets it: made by CPack, checked by lintian, unpacked (never
// installed) and run as the ordinary user nobody on a private X server, its browser sandbox on.

#include "processtree.h"
#include "testsupport.h"
#include "xdisplay.h"

#include "lookup/lookup.h"
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"
#include "preferences/settingsfile.h"
#include "program/application.h"
#include "strokes/strokeindex.h"

#include <QDirIterator>
#include <QProcess>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint Nobody = 65534;

// setpriv's arguments that make the command after them run as nobody.
QStringList asNobody()
{
    return {"--reuid",        QString::number(Nobody),
            "--regid",        QString::number(Nobody),
            "--clear-groups", "--"};
}

struct Outcome
{
    int code = -1;
    QString output;
};

// Runs a command to its end, both output channels together.
Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        return {-1, program + ": " + process.errorString()};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromLocal8Bit(process.readAll())};
}

// What the unpacked tree holds: every entry with its size and time of change.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        entries << QStringLiteral("%1 %2 %3")
                       .arg(entry.filePath())
                       .arg(entry.size())
                       .arg(entry.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

QByteArray procFile(qint64 pid, const char *name)
{
    return TestSupport::readBytes(QStringLiteral("/proc/%1/%2").arg(pid).arg(name));
}

} // namespace

class TestPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    QString m_package;
    TestSupport::PageServer m_server;
    XDisplay m_x;
    QList<qint64> m_started;

    QString tree(const QString &path = QString()) const
    {
        return m_scratch.filePath("tree/" + path);
    }
    QString home(const QString &path) const { return m_scratch.filePath("home/" + path); }
    QString userSettings() const
    {
        return home(".local/share/TavrelDictionary/session/tavrel.xml");
    }

    // The unpacked program as nobody, in a home of its own, on the test's display.
    void startAsNobody(QProcess &program)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "XDG_DATA_HOME",
                                 "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "QTWEBENGINE_CHROMIUM_FLAGS",
                                 "QTWEBENGINE_DISABLE_SANDBOX", "XAUTHORITY"})
            env.remove(name);
        env.insert("DISPLAY", m_x.name());
        env.insert("HOME", home(""));
        env.insert("XDG_RUNTIME_DIR", m_scratch.filePath("runtime"));
        env.insert("USER", "nobody");
        program.setProcessEnvironment(env);
        program.start("setpriv", asNobody() + QStringList {tree("usr/bin/TavrelDictionary")});
    }

    // Types a word into the word box and presses "Translate".
    void lookUp(const QString &window, const QString &word)
    {
        m_x.xdotool({"windowfocus", "--sync", window});
        // The focus starts on "Translate"; Tab goes to the word box.
        m_x.xdotool({"key", "Tab"});
        m_x.xdotool({"type", "--delay", "40", word});
        m_x.clickTranslate(window);
    }

    bool requested(const QString &target)
    {
        return QTest::qWaitFor([&] { return m_server.targets.contains(target); }, 20000);
    }

    void endThroughExit(QProcess &program, const QString &window)
    {
        m_started += ProcessTree::descendantsOf(program.processId());
        m_x.chooseFromOptionMenu(window, 3);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_scratch.isValid());
        // The user nobody must reach the unpacked program.
        QVERIFY(::chmod(QFile::encodeName(m_scratch.path()).constData(), 0755) == 0);
        const QString out = m_scratch.filePath("cpack");
        const Outcome made = run(QStringLiteral(TAVREL_CPACK),
                                 {"-G", "DEB", "-B", out, "--config",
                                  QStringLiteral(TAVREL_BINARY_DIR "/CPackConfig.cmake")});
        QVERIFY2(made.code == 0, qPrintable(made.output));
        const QStringList packages = QDir(out).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        QVERIFY2(packages.first().startsWith("tavrel-dictionary_1.1_"),
                 qPrintable(packages.first()));
        m_package = out + '/' + packages.first();
        const Outcome unpacked = run("dpkg-deb", {"-x", m_package, tree()});
        QVERIFY2(unpacked.code == 0, qPrintable(unpacked.output));
        QVERIFY(m_server.listen());
    }

    void cleanupTestCase()
    {
        for (const qint64 pid : std::as_const(m_started)) {
            if (ProcessTree::isRunning(pid))
                ::kill(pid_t(pid), SIGKILL);
        }
    }

    void lintianFindsNoError()
    {
        const Outcome checked = run("lintian", {"--fail-on", "error", m_package});
        qInfo().noquote() << "lintian:" << (checked.output.isEmpty() ? "nothing" : checked.output);
        QVERIFY2(checked.code == 0, qPrintable(checked.output));
    }

    void controlFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("name") << "Package"
                              << "^tavrel-dictionary$";
        QTest::newRow("version") << "Version"
                                 << "^1\\.1$";
        // Found by dpkg-shlibdeps in the program and in the engine module.
        QTest::newRow("depends on Qt") << "Depends"
                                       << "(^|, )libqt6widgets6 \\(>=";
        QTest::newRow("depends on the engine") << "Depends"
                                               << "(^|, )libqt6webenginecore6 \\(>=";
        // Found in the sound output's module only.
        QTest::newRow("depends on the sound output") << "Depends"
                                                     << "(^|, )libqt6multimedia6 \\(>=";
        // Opened by name, out of dpkg-shlibdeps' sight.
        QTest::newRow("depends on the speech library") << "Depends"
                                                       << "(^|, )libespeak-ng1(, |$)";
        QTest::newRow("depends on the voices") << "Depends"
                                               << "(^|, )espeak-ng-data(, |$)";
        // libzinnia0's shlibs give no version.
        QTest::newRow("depends on the handwriting recogniser") << "Depends"
                                                               << "(^|, )libzinnia0( \\(>=|, |$)";
        QTest::newRow("depends on the handwriting model")
            << "Depends" << "(^|, )tegaki-zinnia-simplified-chinese(, |$)";
        QTest::newRow("recommends a CJK font") << "Recommends"
                                               << "^fonts-noto-cjk \\| fonts-wqy";
        QTest::newRow("recommends the input method") << "Recommends"
                                                     << ", fcitx5-frontend-qt6,";
        QTest::newRow("recommends the spelling dictionary") << "Recommends"
                                                            << ", hunspell-en-us$";
    }

    void controlFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, pattern);
        const Outcome value = run("dpkg-deb", {"--field", m_package, field});
        QVERIFY2(value.code == 0, qPrintable(value.output));
        QVERIFY2(QRegularExpression(pattern).match(value.output.trimmed()).hasMatch(),
                 qPrintable(value.output));
    }

    // The built-in dictionary's index lies where the installed program looks for it, relative
    // to its folder, and the copyright file names the data's licence.
    void holdsTheDictionary()
    {
        App::setPath(tree("usr/bin"));
        Dictionary::setIndexPath(QString());
        const Dictionary::Answer answer = Dictionary::lookUp(QStringLiteral("ice cream"));
        App::setPath(QString());
        QVERIFY2(answer.error.isEmpty(), qPrintable(answer.error));
        QVERIFY(answer.found());
        QFile copyright(tree("usr/share/doc/tavrel-dictionary/copyright"));
        QVERIFY(copyright.open(QIODevice::ReadOnly));
        const QByteArray text = copyright.readAll();
        QVERIFY(text.contains("Files: usr/share/TavrelDictionary/cc-cedict.idx"));
        QVERIFY(text.contains("\nLicense: CC-BY-SA-4.0\n CC-CEDICT"));
        // Its counts of how common words are come from jieba's word list, its readings' shares
        // from Unihan's.
        QVERIFY(text.contains(
            "\nLicense: CC-BY-SA-4.0 and MIT and Unicode-DFS\nComment: The built-in"));
        QVERIFY(text.contains("Sun Junyi (jieba's word list)"));
        QVERIFY(text.contains("\nLicense: Unicode-DFS\n UNICODE, INC. LICENSE AGREEMENT"));
        QVERIFY(text.contains("Files: usr/share/TavrelDictionary/ecdict.idx"));
        QVERIFY(text.contains("\nLicense: MIT\n Permission is hereby granted"));
        const EnglishChinese::Index english(tree("usr/share/TavrelDictionary/ecdict.idx"));
        QVERIFY2(english.isOpen(), qPrintable(english.errorString()));
        QVERIFY(EnglishChinese::lookUp(english, QStringLiteral("went")).hasBase());
        QVERIFY(text.contains("Files: usr/share/TavrelDictionary/strokes.idx"));
        QVERIFY(text.contains("\nLicense: Arphic-1999\nComment: The stroke-order index"));
        QVERIFY(text.contains("\nLicense: Arphic-1999\n ARPHIC PUBLIC LICENSE"));
        const Strokes::Index strokes(tree("usr/share/TavrelDictionary/strokes.idx"));
        QVERIFY2(strokes.isOpen(), qPrintable(strokes.errorString()));
        QCOMPARE(strokes.strokeCount(U'\u4F60'), 7);
    }

    void runsForAnOrdinaryUser()
    {
        if (geteuid() != 0)
            QSKIP("only root can start the unpacked program as the user nobody");
        const Outcome switched = run("setpriv", asNobody() + QStringList {"true"});
        if (switched.code != 0)
            QSKIP(qPrintable("setpriv may not switch to the user nobody here: " + switched.output));
        // The browser's sandbox needs user namespaces for an ordinary user.
        const Outcome sandbox = run(
            "setpriv",
            asNobody() + QStringList {"unshare", "--user", "--pid", "--net", "--fork", "true"});
        if (sandbox.code != 0)
            QSKIP(qPrintable("nobody may not have the user namespaces the browser sandbox needs "
                             "here: "
                             + sandbox.output));
        for (const QString &folder : {m_scratch.filePath("home"), m_scratch.filePath("runtime")}) {
            QVERIFY(QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QVERIFY(::chown(QFile::encodeName(folder).constData(), Nobody, Nobody) == 0);
        }
        // An administrator's default beside the program, which nobody may read but not change.
        QVERIFY(QDir().mkdir(tree("usr/bin/session")));
        TestSupport::writeBytes(
            tree("usr/bin/session/tavrel.xml"),
            SettingsFile::buildSettingsXml(m_server.origin() + "/admin/%word").toUtf8());
        const QStringList before = snapshot(tree());
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));

        QProcess first;
        startAsNobody(first);
        QVERIFY2(first.waitForStarted(), qPrintable(first.errorString()));
        const QString window = m_x.waitForWindow("^Tavrel Dictionary v1\\.1");
        QVERIFY2(!window.isEmpty(), first.readAllStandardError().constData());
        lookUp(window, "ice");
        QVERIFY2(requested("/admin/ice"), qPrintable(m_server.targets.join('\n')));

        // Every process of the program runs as nobody, none with the sandbox off, and the
        // render process (forked by the engine's zygote, whose command line it keeps) is
        // confined by its system call filter.
        const QList<qint64> processes
            = QList<qint64> {first.processId()} + ProcessTree::descendantsOf(first.processId());
        m_started += processes;
        bool filteredRenderer = false;
        for (const qint64 pid : processes) {
            const QByteArray command = procFile(pid, "cmdline").replace('\0', ' ');
            const QByteArray status = procFile(pid, "status");
            QVERIFY2(!command.contains("--no-sandbox"), command.constData());
            QVERIFY2(status.contains("\nUid:\t65534\t65534\t65534\t65534\n"), command.constData());
            filteredRenderer = filteredRenderer || status.contains("\nSeccomp:\t2\n");
        }
        QVERIFY(filteredRenderer);

        // "Save" in the options writes the user's own settings file.
        m_x.chooseFromOptionMenu(window, 1);
        QVERIFY(!m_x.waitForWindow("^Online Dictionary Query String$").isEmpty());
        const QString saved = m_server.origin() + "/saved/%word";
        m_x.xdotool({"key", "ctrl+a"});
        m_x.xdotool({"type", "--delay", "20", saved});
        m_x.xdotool({"key", "--delay", "80", "Tab", "space"});
        const QByteArray document = (SettingsFile::buildSettingsXml(saved) + "\r\n").toUtf8();
        QTRY_COMPARE_WITH_TIMEOUT(TestSupport::readBytes(userSettings()), document, 10000);
        QTest::qWait(200);
        endThroughExit(first, window);
        if (QTest::currentTestFailed())
            return;
        const QString errors = QString::fromLocal8Bit(first.readAllStandardError());
        QVERIFY2(!errors.contains("running as root"), qPrintable(errors));

        // The next start reads the saved template.
        QProcess second;
        startAsNobody(second);
        QVERIFY2(second.waitForStarted(), qPrintable(second.errorString()));
        const QString again = m_x.waitForWindow("^Tavrel Dictionary v1\\.1");
        QVERIFY(!again.isEmpty());
        lookUp(again, "tea");
        QVERIFY2(requested("/saved/tea"), qPrintable(m_server.targets.join('\n')));
        endThroughExit(second, again);

        QCOMPARE(snapshot(tree()), before);
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
