// The real program on a real X display (Xvfb), worked through xdotool as a user would, against a
// dictionary server on 127.0.0.1 run by the test.

#include "processtree.h"

#include "main_window/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <csignal>
#include <sys/types.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;
    QProcess m_xvfb;
    QProcess m_program;
    QTcpServer m_server;
    QStringList m_requests;
    QString m_display;
    QString m_window;
    QList<qint64> m_programProcesses;

    QString settingsPath() const { return m_appFolder.filePath("session/tavrel.xml"); }
    QString origin() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }

    // Runs xdotool on the test's display and returns what it printed.
    QString xdotool(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        process.setProcessEnvironment(env);
        process.start("xdotool", arguments);
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            return QString();
        }
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    QString waitForWindow(const QString &title)
    {
        return xdotool({"search", "--sync", "--onlyvisible", "--name", title}).section('\n', 0, 0);
    }

    // The window's top-left corner on the screen; the menu bar is at the top of the window.
    QPoint windowPlace(const QString &window)
    {
        QPoint place;
        for (const QString &line : xdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
            if (line.startsWith("X="))
                place.setX(line.mid(2).toInt());
            if (line.startsWith("Y="))
                place.setY(line.mid(2).toInt());
        }
        return place;
    }

    // xdotool types a character missing from the keyboard map by remapping a spare key for a
    // moment, and the program may read the key after the map has changed back. So the test
    // puts such characters on spare keys of its own for good, before the program starts.
    bool mapCharacters(const QString &characters)
    {
        xcb_connection_t *connection = xcb_connect(m_display.toLocal8Bit().constData(), nullptr);
        if (xcb_connection_has_error(connection)) {
            xcb_disconnect(connection);
            return false;
        }
        const xcb_setup_t *setup = xcb_get_setup(connection);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t *reply = xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, uint8_t(count)),
            nullptr);
        if (!reply) {
            xcb_disconnect(connection);
            return false;
        }
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        const int perKey = reply->keysyms_per_keycode;
        qsizetype placed = 0;
        // Keys with nothing on them, from the top down.
        for (int keycode = setup->max_keycode;
             keycode >= setup->min_keycode && placed < characters.size(); --keycode) {
            const xcb_keysym_t *current = keysyms + (keycode - setup->min_keycode) * perKey;
            if (std::any_of(current, current + perKey, [](xcb_keysym_t k) { return k != 0; }))
                continue;
            // The character's keysym without and with Shift; nothing in the other groups.
            std::vector<xcb_keysym_t> mapping(size_t(perKey), 0);
            mapping[0] = mapping[1] = 0x01000000 | characters[placed++].unicode();
            xcb_change_keyboard_mapping(connection, 1, xcb_keycode_t(keycode), uint8_t(perKey),
                                        mapping.data());
        }
        free(reply);
        xcb_flush(connection);
        xcb_disconnect(connection);
        return placed == characters.size();
    }

    // Types the text key by key, each character by its keysym.
    void typeText(const QString &text)
    {
        QStringList keys {"key", "--delay", "120"};
        for (const QChar c : text)
            keys << (c == u' ' ? QStringLiteral("space")
                               : QStringLiteral("U%1").arg(c.unicode(), 4, 16, QChar('0')));
        xdotool(keys);
    }

    void click(QPoint at)
    {
        xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
        xdotool({"click", "1"});
    }

    // "Translate" stands at 10200, 240 twips in the client area below the menu bar, 1575 x 495.
    void clickTranslate()
    {
        const QPoint window = windowPlace(m_window);
        click(window + QPoint(10200 / 15 + 50, 22 + 240 / 15 + 17));
    }

    void chooseFromOptionMenu(int downPresses)
    {
        click(windowPlace(m_window) + QPoint(20, 10));
        QStringList keys {"key", "--delay", "80"};
        for (int i = 0; i < downPresses; ++i)
            keys << "Down";
        keys << "Return";
        QTest::qWait(300);
        xdotool(keys);
    }

    bool requested(const QString &target)
    {
        return QTest::qWaitFor([&] { return m_requests.contains("GET " + target + " HTTP/1.1"); },
                               20000);
    }

    void answer(QTcpSocket *socket)
    {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            m_requests << QString::fromUtf8(socket->readLine()).trimmed();
            const QByteArray page = "<html><body>answer</body></html>";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
                          "Content-Length: "
                          + QByteArray::number(page.size()) + "\r\n\r\n" + page);
            socket->disconnectFromHost();
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_appFolder.isValid());
        // The program and its browser engine module, as an installation would have them.
        QVERIFY(QFile::copy(QStringLiteral(TAVREL_EXECUTABLE),
                            m_appFolder.filePath("TavrelDictionary")));
        QVERIFY(QFile::copy(QStringLiteral(TAVREL_ENGINE),
                            m_appFolder.filePath(QFileInfo(TAVREL_ENGINE).fileName())));

        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                answer(socket);
        });

        // Xvfb picks a free display and writes its number.
        m_xvfb.start("Xvfb",
                     {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        QVERIFY2(m_xvfb.waitForStarted(), qPrintable(m_xvfb.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(m_xvfb.canReadLine(), 20000);
        m_display = ':' + QString::fromLatin1(m_xvfb.readLine()).trimmed();
        QVERIFY(mapCharacters(QStringLiteral("冰淇淋")));
    }

    void cleanupTestCase()
    {
        // Everything started here is ended by its id, the program's own children included.
        if (m_program.state() != QProcess::NotRunning) {
            m_programProcesses += ProcessTree::descendantsOf(m_program.processId());
            m_program.kill();
            m_program.waitForFinished();
        }
        for (const qint64 pid : std::as_const(m_programProcesses)) {
            if (ProcessTree::isRunning(pid))
                ::kill(pid_t(pid), SIGKILL);
        }
        m_xvfb.terminate();
        if (!m_xvfb.waitForFinished(5000)) {
            m_xvfb.kill();
            m_xvfb.waitForFinished();
        }
    }

    void looksUpSavesAndLooksUpAgain()
    {
        QVERIFY(QDir(m_appFolder.path()).mkdir("session"));
        const QString first = origin() + "/dict/%firstchar?s=%word";
        QFile settings(settingsPath());
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write((SettingsFile::buildSettingsXml(first) + "\r\n").toUtf8());
        settings.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        m_program.setProcessEnvironment(env);
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.start(m_appFolder.filePath("TavrelDictionary"), {});
        QVERIFY(m_program.waitForStarted());

        m_window = waitForWindow("^Tavrel Dictionary v1\\.1");
        QVERIFY(!m_window.isEmpty());
        xdotool({"windowfocus", "--sync", m_window});

        // The focus starts on "Translate"; Tab goes to the word box.
        xdotool({"key", "Tab"});
        typeText(QStringLiteral("ice cream 冰淇淋"));
        clickTranslate();
        QVERIFY2(requested("/dict/i?s=ice%20cream%20%E5%86%B0%E6%B7%87%E6%B7%8B"),
                 qPrintable(m_requests.join('\n')));
        m_programProcesses += ProcessTree::descendantsOf(m_program.processId());

        // Option, "Online Dictionary Query String": the text box has the focus.
        chooseFromOptionMenu(1);
        const QString dialog = waitForWindow("^Online Dictionary Query String$");
        QVERIFY(!dialog.isEmpty());
        const QString second = origin() + "/v2/%word";
        xdotool({"key", "ctrl+a"});
        xdotool({"type", "--delay", "20", second});
        // Tab to "Save" and press it.
        xdotool({"key", "--delay", "80", "Tab", "space"});
        const QByteArray saved = (SettingsFile::buildSettingsXml(second) + "\r\n").toUtf8();
        QTRY_COMPARE_WITH_TIMEOUT(readFile(settingsPath()), saved, 10000);

        QTest::qWait(200);
        clickTranslate();
        QVERIFY2(requested("/v2/ice%20cream%20%E5%86%B0%E6%B7%87%E6%B7%8B"),
                 qPrintable(m_requests.join('\n')));

        // Option, "Exit" ends the program and its browser processes.
        m_programProcesses += ProcessTree::descendantsOf(m_program.processId());
        chooseFromOptionMenu(2);
        QVERIFY(m_program.waitForFinished(20000));
        QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_program.exitCode(), 0);
        for (const qint64 pid : std::as_const(m_programProcesses))
            QTRY_VERIFY_WITH_TIMEOUT(!ProcessTree::isRunning(pid), 10000);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
