// The real program's four windows as a screen reader reads them: through the accessibility bus
// (AT-SPI), from a process of its own, on an X display (Xvfb).

#include "desktopsession.h"
#include "testsupport.h"
#include "xdisplay.h"

#include "preferences/settingsfile.h"

#include <QProcess>
#include <QtTest>

namespace {
const QString mainWindow = "Tavrel Dictionary v1.1 (English <> Chinese Dictionary)";
const QString options = "Online Dictionary Query String";
const QString providers = "Select Online Dictionary Provider Suggestion";
const QString about = "About Tavrel Dictionary";
const QString strokeOrder = "Stroke order of 茶";
const QString chineseWindow = "Tavrel 词典 v1.1（英汉 <> 汉英词典）";
} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;
    QTemporaryDir m_chineseFolder;
    QTemporaryDir m_chosenFolder;
    XDisplay m_x;
    DesktopSession m_session;
    TestSupport::PageServer m_server;
    // What the screen reader read, a "window<TAB>role<TAB>name" line per control.
    QSet<QString> m_read;

    // Waits until the control shows, then keeps what every window shows.
    bool readOnceShowing(const QString &window, const QString &role, const QString &name)
    {
        const QString line = window + '\t' + role + '\t' + name;
        QStringList tree;
        if (!QTest::qWaitFor([&] { return (tree = m_session.tree()).contains(line); }, 30000))
            return false;
        for (const QString &read : std::as_const(tree))
            m_read.insert(read);
        return true;
    }

    // The pen in the word box opens the pad; a stroke drawn across its middle with the mouse
    // offers 一, which a screen reader presses into the word box.
    bool readHandwriting(const QString &window)
    {
        m_session.press("push button", "Handwriting");
        const auto padShown = [&] {
            const QStringList tree = m_session.tree();
            return std::any_of(tree.begin(), tree.end(), [](const QString &line) {
                return line.startsWith(mainWindow) && line.endsWith("\tHandwriting pad");
            });
        };
        if (!QTest::qWaitFor(padShown, 30000))
            return false;
        m_x.xdotool({"mousemove", "--window", window, "450", "200", "mousedown", "1"});
        for (const char *x : {"490", "530", "570", "610", "640"})
            m_x.xdotool({"mousemove", "--window", window, x, "200"});
        m_x.xdotool({"mouseup", "1"});
        if (!readOnceShowing(mainWindow, "push button", "一"))
            return false;
        m_session.press("push button", "一");
        return QTest::qWaitFor([&] { return m_session.text("text", "Word").contains("一"); },
                               20000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_appFolder.isValid());
        QString whyNot;
        if (!m_x.start(&whyNot))
            QSKIP(qPrintable("Xvfb does not start: " + whyNot));
        const QString why = m_session.start();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));

        QVERIFY(m_server.listen());
        QVERIFY(QDir(m_appFolder.path()).mkdir("session"));
        TestSupport::writeBytes(
            m_appFolder.filePath("session/tavrel.xml"),
            SettingsFile::buildSettingsXml(m_server.origin() + "/dict/%word").toUtf8());
        // No sound server: a speaker link then says so.
        QVERIFY(m_session.startProgram(
            m_appFolder.path(),
            {"DISPLAY=" + m_x.name(), "PULSE_SERVER=unix:" + m_appFolder.filePath("no-server")}));
        QVERIFY(readOnceShowing(mainWindow, "text", "Word"));

        // A lookup, worked as a screen reader user would; the page is titled "answer".
        QVERIFY(m_session.setText("Word", "ice"));
        m_session.press("push button", "Translate");
        QVERIFY(readOnceShowing(mainWindow, "filler", "Dictionary page: answer"));
        QVERIFY(readOnceShowing(mainWindow, "document web", "answer"));
        QVERIFY(m_server.targets.contains("/dict/ice"));

        // A site that can't answer: the built-in dictionary answers, and is read as text.
        m_server.responses.insert("/dict/tea",
                                  TestSupport::response("503 Service Unavailable", ""));
        QVERIFY(m_session.setText("Word", "tea"));
        m_session.press("push button", "Translate");
        QVERIFY(readOnceShowing(mainWindow, "filler", "Dictionary page: tea"));
        // Qt gives text that can't be edited the role of a label.
        const QString answer = m_session.text("label", "Dictionary page: tea");
        QVERIFY2(answer.contains("127.0.0.1 couldn't be reached") && answer.contains("茶"),
                 qPrintable(answer));
        // Each entry's star is read with it.
        QVERIFY2(answer.contains("茶 ") && answer.contains("\u2606 Add to favourites"),
                 qPrintable(answer));

        // Suggestions, typed as the user types: real keys into the word box.
        const QString window = m_x.waitForWindow("^Tavrel Dictionary v1");
        m_x.xdotool({"mousemove", "--window", window, "200", "40", "click", "1", "key", "ctrl+a",
                     "type", "--delay", "50", "bingq"});
        QVERIFY(readOnceShowing(mainWindow, "list", "Suggestions"));
        m_x.xdotool({"key", "Escape"});
        QTRY_VERIFY_WITH_TIMEOUT(!m_session.tree().contains(mainWindow + "\tlist\tSuggestions"),
                                 20000);
        QVERIFY(readHandwriting(window));
        // Its speaker links are links named for their word, which a screen reader presses.
        QVERIFY(readOnceShowing(mainWindow, "link", "Pronounce 茶"));
        m_session.press("link", "Pronounce 茶");
        QVERIFY(readOnceShowing(mainWindow, "status bar", "No sound output"));
        // Each character of a headword leads to its stroke order, in a window of its own.
        QVERIFY(readOnceShowing(mainWindow, "link", "Stroke order of 茶"));
        m_session.press("link", "Stroke order of 茶");
        QVERIFY2(readOnceShowing(strokeOrder, "push button", "Step"),
                 qPrintable(m_session.tree().filter(QRegularExpression("^(?!Tavrel)")).join('\n')));

        m_session.press("menu item", options);
        QVERIFY(readOnceShowing(options, "text", "Query String"));
        m_session.press("push button", "Select");
        QVERIFY(readOnceShowing(providers, "push button", "OK"));
        m_session.press("push button", "OK");
        m_session.press("push button", "Cancel");
        QTRY_VERIFY_WITH_TIMEOUT(!m_session.tree().join('\n').contains(options), 20000);

        m_session.press("menu item", "About");
        QVERIFY(readOnceShowing(about, "push button", "OK"));
    }

    void cleanupTestCase() { m_session.endProgram(); }

    void namesEveryControl_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("read");

        QTest::newRow("word box") << mainWindow << "text"
                                  << "Word" << true;
        QTest::newRow("no unnamed box in the main window") << mainWindow << "text"
                                                           << "" << false;
        QTest::newRow("page, with its title") << mainWindow << "filler"
                                              << "Dictionary page: answer" << true;
        QTest::newRow("the page's own content, titled") << mainWindow << "document web"
                                                        << "answer" << true;
        QTest::newRow("status bar says its text") << mainWindow << "status bar"
                                                  << "goto %origin/dict/ice" << true;
        QTest::newRow("the suggestions") << mainWindow << "list"
                                         << "Suggestions" << true;
        QTest::newRow("a suggestion, with its pinyin") << mainWindow << "list item"
                                                       << "冰淇淋    bīng qí lín" << true;
        QTest::newRow("the pen in the word box") << mainWindow << "push button"
                                                 << "Handwriting" << true;
        QTest::newRow("a handwriting candidate") << mainWindow << "push button"
                                                 << "一" << true;
        QTest::newRow("speaker link") << mainWindow << "link"
                                      << "Pronounce 茶" << true;
        QTest::newRow("no unnamed link") << mainWindow << "link"
                                         << "" << false;
        QTest::newRow("status bar says there is no sound") << mainWindow << "status bar"
                                                           << "No sound output" << true;
        QTest::newRow("stroke-order link") << mainWindow << "link"
                                           << "Stroke order of 茶" << true;
        QTest::newRow("the stroke-order panel") << strokeOrder << "filler"
                                                << "Stroke order of 茶" << true;
        QTest::newRow("the character, its strokes") << strokeOrder << "filler"
                                                    << "茶, 9 strokes" << true;
        QTest::newRow("template box") << options << "text"
                                      << "Query String" << true;
        QTest::newRow("no unnamed box in the options") << options << "text"
                                                       << "" << false;
        QTest::newRow("Hong Kong") << providers << "check box"
                                   << "Yahoo Dictionary (Hong Kong)" << true;
        QTest::newRow("OK88") << providers << "check box"
                              << "OK88 Dictionary" << true;
        QTest::newRow("China") << providers << "check box"
                               << "Yahoo Dictionary (China)" << true;
        QTest::newRow("no cut-off caption") << providers << "check box"
                                            << "Check1" << false;
        QTest::newRow("provider group") << providers << "panel"
                                        << "Provider suggestions" << true;
        QTest::newRow("no frame inside a window") << providers << "frame"
                                                  << "" << false;
        QTest::newRow("product group") << about << "panel"
                                       << "Product" << true;
        QTest::newRow("contact group") << about << "panel"
                                       << "Contact points" << true;
    }

    void namesEveryControl()
    {
        QFETCH(QString, window);
        QFETCH(QString, role);
        QFETCH(QString, name);
        QFETCH(bool, read);
        name.replace("%origin", m_server.origin());
        QVERIFY2(m_read.contains(window + '\t' + role + '\t' + name) == read,
                 qPrintable(QStringList(m_read.values()).join('\n')));
    }

    // The main window again in Chinese, as a screen reader reads it: under a Chinese LANG, and
    // under the C locale with Traditional Chinese chosen in the preferences.
    void readsTheMainWindowInChinese_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("word box") << false << "text" << "单词";
        QTest::newRow("its label") << false << "label" << "单词：";
        QTest::newRow("Translate") << false << "push button" << "翻译";
        QTest::newRow("Option") << false << "menu item" << "选项";
        QTest::newRow("Words") << false << "menu item" << "单词";
        QTest::newRow("Help") << false << "menu item" << "帮助";
        QTest::newRow("the empty page") << false << "filler" << "词典页面";
        QTest::newRow("chosen: word box") << true << "text" << "單字";
        QTest::newRow("chosen: Translate") << true << "push button" << "翻譯";
        QTest::newRow("chosen: Help") << true << "menu item" << "說明";
    }

    void readsTheMainWindowInChinese()
    {
        QFETCH(bool, chosen);
        QFETCH(QString, role);
        QFETCH(QString, name);
        const QString window = chosen ? "Tavrel 字典 v1.1（英漢 <> 漢英字典）" : chineseWindow;
        static QStringList tree;
        static bool treeChosen = false;
        if (tree.isEmpty() || treeChosen != chosen) {
            m_session.endProgram();
            const QString folder = chosen ? m_chosenFolder.path() : m_chineseFolder.path();
            QVERIFY(QDir(folder).mkpath("session"));
            if (chosen)
                TestSupport::writeBytes(folder + "/session/preferences.xml",
                                        "<preferences><interface language=\"zh_TW\"/>"
                                        "</preferences>");
            QVERIFY(m_session.startProgram(
                folder, {"DISPLAY=" + m_x.name(), chosen ? "LANG=C" : "LANG=zh_CN.UTF-8",
                         "LC_ALL=-", "LC_MESSAGES=-", "LANGUAGE=-",
                         "PULSE_SERVER=unix:" + folder + "/no-server"}));
            const QString word = window + (chosen ? "\ttext\t單字" : "\ttext\t单词");
            QVERIFY2(QTest::qWaitFor([&] { return (tree = m_session.tree()).contains(word); },
                                     30000),
                     qPrintable(tree.join('\n') + m_session.programErrors()));
            treeChosen = chosen;
        }
        QVERIFY2(tree.contains(window + '\t' + role + '\t' + name), qPrintable(tree.join('\n')));
    }
};

TAVREL_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
