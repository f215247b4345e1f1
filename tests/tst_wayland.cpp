// The real program in a Wayland session under a headless compositor (weston), native and through
// XWayland, worked through the accessibility bus, which needs no X server.

#include "desktopsession.h"
#include "processtree.h"
#include "testsupport.h"

#include "preferences/settingsfile.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

class TestWayland : public QObject
{
    Q_OBJECT

    DesktopSession m_session;
    TestSupport::PageServer m_server;
    QProcess m_compositor;
    QString m_sessionMissing;

    // Starts weston on a socket of the session; the X display it serves, if asked for one.
    QString startCompositor(bool xwayland, QString *display)
    {
        QStringList arguments {"--backend=headless-backend.so", "--socket=tavrel-wayland",
                               "--idle-time=0"};
        if (xwayland)
            arguments << "--xwayland";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_session.runtimeFolder());
        m_compositor.setProcessEnvironment(env);
        m_compositor.setProcessChannelMode(QProcess::MergedChannels);
        m_compositor.start("weston", arguments);
        if (!m_compositor.waitForStarted())
            return "weston does not start: " + m_compositor.errorString();
        const QString socket = m_session.runtimeFolder() + "/tavrel-wayland";
        QString log;
        static const QRegularExpression xserver("xserver listening on display (:\\d+)");
        const bool ready = QTest::qWaitFor(
            [&] {
                log += QString::fromUtf8(m_compositor.readAll());
                *display = xserver.match(log).captured(1);
                return m_compositor.state() == QProcess::NotRunning
                    || (QFileInfo::exists(socket) && (!xwayland || !display->isEmpty()));
            },
            20000);
        if (!ready || m_compositor.state() == QProcess::NotRunning)
            return "weston does not serve: " + log.right(600);
        return QString();
    }

    void stopCompositor()
    {
        m_compositor.terminate();
        if (!m_compositor.waitForFinished(10000)) {
            m_compositor.kill();
            m_compositor.waitForFinished();
        }
    }

private slots:
    void initTestCase()
    {
        m_sessionMissing = m_session.start();
        QVERIFY(m_server.listen());
    }

    void cleanup()
    {
        m_session.endProgram();
        stopCompositor();
    }

    void looksUpAndSaves_data()
    {
        QTest::addColumn<bool>("xwayland");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("plugin");

        // Without XWayland Qt decides; with it, the user's choice of platform does.
        QTest::newRow("Wayland") << false << "-"
                                 << "libqwayland";
        QTest::newRow("XWayland, user picks xcb") << true << "xcb"
                                                  << "libqxcb";
        QTest::newRow("XWayland, user picks wayland") << true << "wayland"
                                                      << "libqwayland";
    }

    void looksUpAndSaves()
    {
        QFETCH(bool, xwayland);
        QFETCH(QString, platform);
        QFETCH(QString, plugin);
        if (!m_sessionMissing.isEmpty())
            QSKIP(qPrintable(m_sessionMissing));
        QString display;
        const QString why = startCompositor(xwayland, &display);
        if (!why.isEmpty())
            QSKIP(qPrintable(why));

        QTemporaryDir appFolder;
        QVERIFY(QDir(appFolder.path()).mkdir("session"));
        const QString settings = appFolder.filePath("session/tavrel.xml");
        TestSupport::writeBytes(
            settings, SettingsFile::buildSettingsXml(m_server.origin() + "/wl/%word").toUtf8());
        m_server.targets.clear();
        QStringList variables {"WAYLAND_DISPLAY=tavrel-wayland", "QT_QPA_PLATFORM=" + platform};
        if (xwayland)
            variables << "DISPLAY=" + display;
        QVERIFY(m_session.startProgram(appFolder.path(), variables));
        const QString mainWindow = "Tavrel Dictionary v1.1 (English <> Chinese Dictionary)";
        QTRY_VERIFY_WITH_TIMEOUT(m_session.tree().contains(mainWindow + "\ttext\tWord"), 30000);

        QVERIFY(m_session.setText("Word", "ice"));
        m_session.press("push button", "Translate");
        // The engine may ask for the site's icon as well.
        QTRY_VERIFY_WITH_TIMEOUT(m_server.targets.contains("/wl/ice"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(
            m_session.tree().contains(mainWindow + "\tfiller\tDictionary page: answer"), 20000);

        const qint64 pid = m_session.program().processId();
        qInfo("memory (PSS) of the program and its engine after the first lookup: %lld KiB",
              ProcessTree::pssKiB(pid));
        // The platform is the one expected, and it draws without OpenGL.
        const QByteArray maps = TestSupport::readBytes(QStringLiteral("/proc/%1/maps").arg(pid));
        QVERIFY(maps.contains(plugin.toLatin1()));
        QVERIFY2(!maps.contains("/dri/"), "an OpenGL driver was loaded");

        const QString saved = m_server.origin() + "/saved/%word";
        m_session.press("menu item", "Online Dictionary Query String");
        QTRY_VERIFY_WITH_TIMEOUT(m_session.setText("Query String", saved), 20000);
        m_session.press("push button", "Save");
        QTRY_COMPARE_WITH_TIMEOUT(TestSupport::readBytes(settings),
                                  (SettingsFile::buildSettingsXml(saved) + "\r\n").toUtf8(), 20000);

        m_session.press("menu item", "Exit");
        QVERIFY(m_session.program().waitForFinished(20000));
        QCOMPARE(m_session.program().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_session.program().exitCode(), 0);
        // Nothing from Qt's platform layer: no window placement refused, no protocol error.
        QVERIFY2(!m_session.programErrors().contains("qt.qpa."),
                 qPrintable(m_session.programErrors()));
    }

    // The pop-up on Wayland, where the selection is the focused window's only: it is shown
    // first, then read. The headless compositor has no other client to own a selection.
    void popUpShowsBeforeReading_data()
    {
        QTest::addColumn<QString>("option");
        QTest::newRow("the selection") << "--selection";
        QTest::newRow("the clipboard") << "--clipboard";
    }

    void popUpShowsBeforeReading()
    {
        QFETCH(QString, option);
        if (!m_sessionMissing.isEmpty())
            QSKIP(qPrintable(m_sessionMissing));
        QString display;
        const QString why = startCompositor(false, &display);
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        QTemporaryDir appFolder;
        QVERIFY(QDir(appFolder.path()).mkdir("session"));
        QVERIFY(m_session.startProgram(appFolder.path(),
                                       {"WAYLAND_DISPLAY=tavrel-wayland", "QT_QPA_PLATFORM=-"},
                                       {option}));
        const QString popUp = "Tavrel Dictionary Pop-up";
        QTRY_VERIFY_WITH_TIMEOUT(m_session.tree().contains(popUp + "\tlabel\tNothing selected"),
                                 30000);
        const QStringList tree = m_session.tree();
        QVERIFY2(tree.contains(popUp + "\tcheck box\tPin"), qPrintable(tree.join(u'\n')));
        // Only the pop-up: the main window is not shown.
        for (const QString &line : m_session.tree())
            QVERIFY2(line.startsWith(popUp + '\t'), qPrintable(line));
        QVERIFY2(!m_session.programErrors().contains("qt.qpa."),
                 qPrintable(m_session.programErrors()));
    }
};

TAVREL_TEST_MAIN(TestWayland)
#include "tst_wayland.moc"
