// The real program on a real X display (Xvfb), worked through xdotool as a user would, against a
// dictionary server on 127.0.0.1 run by the test.

#include "processtree.h"
#include "xdisplay.h"

#include "preferences/settingsfile.h"

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
    XDisplay m_x;
    QProcess m_program;
    QTcpServer m_server;
    QStringList m_requests;
    QString m_window;
    QList<qint64> m_programProcesses;

    QString settingsPath() const { return m_appFolder.filePath("session/tavrel.xml"); }
    QString origin() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }

    // xdotool types a character missing from the keyboard map by remapping a spare key for a
    // moment, and the program may read the key after the map has changed back. So the test
    // puts such characters on spare keys of its own for good, before the program starts.
    bool mapCharacters(const QString &characters)
    {
        xcb_connection_t *connection = xcb_connect(m_x.name().toLocal8Bit().constData(), nullptr);
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
        m_x.xdotool(keys);
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

        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
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
        env.insert("DISPLAY", m_x.name());
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        m_program.setProcessEnvironment(env);
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.start(m_appFolder.filePath("TavrelDictionary"), {});
        QVERIFY(m_program.waitForStarted());

        m_window = m_x.waitForWindow("^Tavrel Dictionary v1\\.1");
        QVERIFY(!m_window.isEmpty());
        m_x.xdotool({"windowfocus", "--sync", m_window});

        // The focus starts on "Translate"; Tab goes to the word box.
        m_x.xdotool({"key", "Tab"});
        typeText(QStringLiteral("ice cream 冰淇淋"));
        m_x.clickTranslate(m_window);
        QVERIFY2(requested("/dict/i?s=ice%20cream%20%E5%86%B0%E6%B7%87%E6%B7%8B"),
                 qPrintable(m_requests.join('\n')));
        m_programProcesses += ProcessTree::descendantsOf(m_program.processId());

        // Option, "Online Dictionary Query String": the text box has the focus.
        m_x.chooseFromOptionMenu(m_window, 1);
        const QString dialog = m_x.waitForWindow("^Online Dictionary Query String$");
        QVERIFY(!dialog.isEmpty());
        const QString second = origin() + "/v2/%word";
        m_x.xdotool({"key", "ctrl+a"});
        m_x.xdotool({"type", "--delay", "20", second});
        // Tab to "Save" and press it.
        m_x.xdotool({"key", "--delay", "80", "Tab", "space"});
        const QByteArray saved = (SettingsFile::buildSettingsXml(second) + "\r\n").toUtf8();
        QTRY_COMPARE_WITH_TIMEOUT(readFile(settingsPath()), saved, 10000);

        QTest::qWait(200);
        m_x.clickTranslate(m_window);
        QVERIFY2(requested("/v2/ice%20cream%20%E5%86%B0%E6%B7%87%E6%B7%8B"),
                 qPrintable(m_requests.join('\n')));

        // Option, "Exit" ends the program and its browser processes.
        m_programProcesses += ProcessTree::descendantsOf(m_program.processId());
        m_x.chooseFromOptionMenu(m_window, 3);
        QVERIFY(m_program.waitForFinished(20000));
        QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_program.exitCode(), 0);
        for (const qint64 pid : std::as_const(m_programProcesses))
            QTRY_VERIFY_WITH_TIMEOUT(!ProcessTree::isRunning(pid), 10000);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
