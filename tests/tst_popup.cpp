#include "testsupport.h"
#include "processtree.h"
#include "xdisplay.h"

#include "browser/answerview.h"
#include "dialogs/popuppage.h"
#include "popup/entrypoints.h"
#include "preferences/preferences.h"
#include "popup/popuplookup.h"
#include "popup/popupwindow.h"
#include "popup/rules.h"
#include "popup/selectionwatcher.h"
#include "popup/x11shortcut.h"

#include <QDir>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QScopeGuard>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace {

// The suite's own X server, started before its application so that the pop-up runs on xcb.
XDisplay *display = nullptr;

// Holds a selection of the X server's with xclip until it ends.
class SelectionOwner
{
public:
    ~SelectionOwner()
    {
        m_xclip.kill();
        m_xclip.waitForFinished();
    }
    bool own(const QString &selection, const QByteArray &bytes, const QString &type)
    {
        if (!start(selection, bytes, type))
            return false;
        // xclip says nothing once it owns the selection; a short wait lets it take it.
        QTest::qWait(300);
        return m_xclip.state() == QProcess::Running;
    }
    // Starts taking the selection, without waiting for it to be taken.
    bool start(const QString &selection, const QByteArray &bytes, const QString &type)
    {
        QStringList arguments {"-quiet", "-selection", selection, "-i"};
        if (!type.isEmpty())
            arguments << "-t" << type;
        m_xclip.start("xclip", arguments);
        if (!m_xclip.waitForStarted())
            return false;
        m_xclip.write(bytes);
        m_xclip.closeWriteChannel();
        return true;
    }

private:
    QProcess m_xclip;
};

// An owner that takes a selection and never answers for it, as a hung program does.
class SilentOwner
{
public:
    ~SilentOwner()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
    }
    bool own(const char *selection)
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return false;
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1,
                          0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(qstrlen(selection)), selection),
            nullptr);
        if (!atom)
            return false;
        xcb_set_selection_owner(m_connection, window, atom->atom, XCB_CURRENT_TIME);
        std::free(atom);
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection),
                                            nullptr));
        return true;
    }

private:
    xcb_connection_t *m_connection = nullptr;
};

// A private session bus that starts services from the given folder.
class SessionBus
{
public:
    ~SessionBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QString start(const QString &folder, const QString &services)
    {
        const QString config = QDir(folder).filePath("bus.conf");
        TestSupport::writeBytes(
            config, QStringLiteral("<busconfig><type>session</type>"
                                   "<listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                   "<servicedir>%2</servicedir>"
                                   "<policy context=\"default\"><allow send_destination=\"*\" "
                                   "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                   "<allow own=\"*\"/></policy></busconfig>")
                        .arg(folder, services)
                        .toUtf8());
        m_daemon.start("dbus-daemon", {"--config-file=" + config, "--nofork",
                                       "--print-address=1"});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10000))
            return QString();
        return QString::fromLatin1(m_daemon.readLine()).trimmed();
    }

private:
    QProcess m_daemon;
};

// The inputs the program says it recorded, from its timing marks.
QStringList recorded(const QString &errors)
{
    QStringList inputs;
    static const QRegularExpression mark("tavrel-timing recorded \\d+ (.*)$",
                                         QRegularExpression::MultilineOption);
    for (auto match = mark.globalMatch(errors); match.hasNext();)
        inputs << match.next().captured(1);
    return inputs;
}

// A folder of the program's own, beside its dictionaries, with the built-in template.
bool installProgram(const QString &folder)
{
    for (const QString &file : {QStringLiteral(TAVREL_EXECUTABLE), QStringLiteral(TAVREL_ENGINE),
                                QStringLiteral(TAVREL_DICTIONARY_INDEX),
                                QStringLiteral(TAVREL_ENGLISH_INDEX)}) {
        if (!QFile::copy(file, QDir(folder).filePath(QFileInfo(file).fileName())))
            return false;
    }
    return QDir(folder).mkdir("session");
}

} // namespace

class TestPopUp : public QObject
{
    Q_OBJECT

    QString m_runtime;
    QTemporaryDir m_runtimeFolder;

    QProcessEnvironment programEnvironment(const QString &bus = QString()) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_runtimeFolder.path());
        env.insert("QT_LOGGING_RULES", "tavrel.timing.debug=true");
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus.isEmpty() ? "unix:path=/nonexistent" : bus);
        return env;
    }

private slots:
    void lookupText_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("looked");

        QTest::newRow("a word") << "hello" << "hello";
        QTest::newRow("spaces and tabs around") << " \t 你好 \t" << "你好";
        QTest::newRow("only the first line") << "first line\nsecond" << "first line";
        QTest::newRow("a blank first line") << "\n\n  word \nnext" << "word";
        QTest::newRow("Windows line ends") << "one\r\ntwo" << "one";
        QTest::newRow("a paragraph separator") << QString("one") + QChar::ParagraphSeparator + "two"
                                               << "one";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("only white space") << " \n\t\r\n " << "";
        QTest::newRow("cut to 200") << QString(250, u'a') << QString(200, u'a');
        QTest::newRow("cut where it ends in a space") << QString(199, u'a') + "  b"
                                                      << QString(199, u'a');
        QString emoji;
        for (int i = 0; i < 120; ++i)
            emoji += QString::fromUtf8("😀");
        QTest::newRow("no half a surrogate pair") << "a" + emoji << "a" + emoji.left(198);
    }

    void lookupText()
    {
        QFETCH(QString, selected);
        QFETCH(QString, looked);
        QCOMPARE(PopUpRules::lookupText(selected), looked);
    }

    void decodedSelection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QString>("text");

        QTest::newRow("UTF-8") << QByteArray("n\xc7\x90 h\xc7\x8eo") << true << "nǐ hǎo";
        QTest::newRow("Latin-1") << QByteArray("caf\xe9") << false << "café";
        QTest::newRow("not UTF-8") << QByteArray("caf\xe9") << true << "";
        QTest::newRow("a NUL: binary") << QByteArray("PNG\0\x01\x02", 6) << true << "";
        QTest::newRow("a NUL in Latin-1") << QByteArray("a\0b", 3) << false << "";
        QTest::newRow("nothing") << QByteArray() << true << "";
        QTest::newRow("STRING: ASCII") << QByteArray("water") << false << "water";
        // Bridges from Wayland answer STRING with the text's UTF-8.
        QTest::newRow("STRING: UTF-8 Chinese") << QByteArray("\xe7\xa0\x94\xe7\xa9\xb6") << false
                                               << "研究";
        QTest::newRow("STRING: UTF-8 accents") << QByteArray("caf\xc3\xa9 cr\xc3\xa8me") << false
                                               << "café crème";
        QTest::newRow("STRING: UTF-8 beyond the BMP")
            << QByteArray("\xf0\xa0\x80\x80") << false << QString::fromUcs4(U"\U00020000", 1);
        QTest::newRow("STRING: Latin-1 accents") << QByteArray("na\xefve") << false << "naïve";
        QTest::newRow("STRING: a Latin-1 sign alone") << QByteArray("\xa9 2024") << false
                                                      << "© 2024";
        QTest::newRow("STRING: an accented capital before a space") << QByteArray("\xc0 la") << false
                                                                    << "À la";
        QTest::newRow("STRING: an overlong form is Latin-1")
            << QByteArray("\xc0\xaf") << false << QString(QChar(0xc0)) + QChar(0xaf);
        QTest::newRow("STRING: a cut sequence is Latin-1")
            << QByteArray("\xe7\xa0") << false << QString(QChar(0xe7)) + QChar(0xa0);
        QTest::newRow("STRING: a surrogate's bytes are Latin-1")
            << QByteArray("\xed\xa0\x80") << false
            << QString(QChar(0xed)) + QChar(0xa0) + QChar(0x80);
        QTest::newRow("UTF8_STRING: a cut sequence") << QByteArray("\xe7\xa0") << true << "";
    }

    void decodedSelection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QFETCH(QString, text);
        QCOMPARE(PopUpRules::decodedSelection(bytes, utf8), text);
    }

    void offersText_data()
    {
        QTest::addColumn<QByteArrayList>("targets");
        QTest::addColumn<bool>("text");

        QTest::newRow("a bridge from Wayland")
            << QByteArrayList {"TARGETS", "TIMESTAMP", "text/plain;charset=utf-8", "UTF8_STRING"}
            << true;
        QTest::newRow("Latin-1 only") << QByteArrayList {"TARGETS", "STRING"} << true;
        QTest::newRow("an image") << QByteArrayList {"TARGETS", "TIMESTAMP", "image/png"} << false;
        QTest::newRow("files")
            << QByteArrayList {"TARGETS", "text/uri-list", "x-special/gnome-copied-files"} << false;
        QTest::newRow("MIME text only, never asked for")
            << QByteArrayList {"TARGETS", "text/plain;charset=utf-8"} << false;
        QTest::newRow("names are case-sensitive") << QByteArrayList {"utf8_string", "string"}
                                                  << false;
        QTest::newRow("nothing") << QByteArrayList {} << false;
    }

    void offersText()
    {
        QFETCH(QByteArrayList, targets);
        QFETCH(bool, text);
        QCOMPARE(PopUpRules::offersText(targets), text);
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<QRect>("placed");

        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("below right of the pointer")
            << screen << QPoint(100, 100) << false << QRect(112, 112, 420, 320);
        QTest::newRow("left of the pointer at the right edge")
            << screen << QPoint(1200, 100) << false << QRect(768, 112, 420, 320);
        QTest::newRow("above the pointer at the bottom")
            << screen << QPoint(100, 1000) << false << QRect(112, 668, 420, 320);
        QTest::newRow("a panel at the top") << QRect(0, 30, 1280, 994) << QPoint(600, 40)
                                            << false << QRect(612, 52, 420, 320);
        QTest::newRow("a second screen on the right")
            << QRect(1280, 0, 1024, 768) << QPoint(2290, 760) << false
            << QRect(1858, 428, 420, 320);
        QTest::newRow("a screen smaller than the pop-up")
            << QRect(0, 0, 400, 300) << QPoint(200, 150) << false << QRect(0, 0, 400, 300);
        QTest::newRow("a pointer off the area") << QRect(0, 0, 800, 600) << QPoint(-50, 900)
                                                << false << QRect(0, 280, 420, 320);
        QTest::newRow("centred") << screen << QPoint(5, 5) << true << QRect(430, 352, 420, 320);
        QTest::newRow("centred on a second screen")
            << QRect(1280, 0, 1024, 768) << QPoint() << true << QRect(1582, 224, 420, 320);
    }

    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, pointer);
        QFETCH(bool, centred);
        QFETCH(QRect, placed);
        const QRect rect = PopUpRules::placement(available, pointer, centred);
        QCOMPARE(rect, placed);
        QVERIFY(available.contains(rect));
    }

    void watchedSelection_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("watched");

        QTest::newRow("a word") << "word" << true;
        QTest::newRow("one character") << "字" << true;
        QTest::newRow("40 characters") << QString(40, u'a') << true;
        QTest::newRow("41 characters") << QString(41, u'a') << false;
        QTest::newRow("two lines") << "one\ntwo" << false;
        QTest::newRow("white space") << "  " << false;
    }

    void watchedSelection()
    {
        QFETCH(QString, selected);
        QFETCH(bool, watched);
        QCOMPARE(PopUpRules::isWatchedSelection(selected), watched);
    }

    void selectionInThePopUp_data();
    void selectionInThePopUp();
    void selectionCommand();
    void clickElsewhere_data();
    void clickElsewhere();
    void shortcut_data();
    void shortcut();
    void watchedSelectionOpensThePopUp_data();
    void watchedSelectionOpensThePopUp();
    void sessionBus_data();
    void sessionBus();
};

void TestPopUp::selectionInThePopUp_data()
{
    QTest::addColumn<QByteArray>("primary");
    QTest::addColumn<QString>("primaryType");
    QTest::addColumn<QByteArray>("clipboard");
    QTest::addColumn<QString>("clipboardType");
    QTest::addColumn<bool>("primaryHangs");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("shown");
    // How long after the pop-up asks the selection's owner comes, as a compositor's bridge does.
    QTest::addColumn<int>("primaryAfterMs");

    QTest::newRow("the selection") << QByteArray("  你好\nnext line") << "" << QByteArray("clip")
                                   << "" << false << "你好" << "nǐ hǎo" << 0;
    QTest::newRow("no selection: the clipboard") << QByteArray() << "" << QByteArray("你好") << ""
                                                 << false << "你好" << "nǐ hǎo" << 0;
    QTest::newRow("a blank selection: the clipboard")
        << QByteArray(" \n ") << "" << QByteArray("你好") << "" << false << "你好" << "nǐ hǎo" << 0;
    // A slow owner is the selection all the same: the clipboard holds something else.
    QTest::newRow("an owner that never answers: not the clipboard")
        << QByteArray() << "" << QByteArray("你好") << "" << true << "" << "Nothing selected" << 0;
    QTest::newRow("an owner that never answers and no clipboard")
        << QByteArray() << "" << QByteArray() << "" << true << "" << "Nothing selected" << 0;
    QTest::newRow("an image") << QByteArray() << "" << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)
                              << "image/png" << false << "" << "Nothing selected" << 0;
    QTest::newRow("binary bytes said to be text")
        << QByteArray("\x7f" "ELF\x02\x01\0\0\xff\xfe", 10) << "UTF8_STRING" << QByteArray() << ""
        << false << "" << "Nothing selected" << 0;
    QTest::newRow("a megabyte of text, read in pieces")
        << QByteArray("你好 ") + QByteArray(1024 * 1024, 'x') << "" << QByteArray() << "" << false
        << QString("你好 ") + QString(197, u'x') << "" << 0;
    QTest::newRow("an owner that comes late: not the clipboard")
        << QByteArray("研究") << "" << QByteArray("water") << "" << false << "研究" << "yán jiū"
        << 200;
    QTest::newRow("STRING only, in UTF-8") << QByteArray("研究") << "STRING" << QByteArray("water")
                                           << "" << false << "研究" << "yán jiū" << 0;
    QTest::newRow("an image selected: the clipboard")
        << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << "image/png" << QByteArray("你好") << ""
        << false << "你好" << "nǐ hǎo" << 0;
}

void TestPopUp::selectionInThePopUp()
{
    if (!display)
        QSKIP("Xvfb does not start here");
    QFETCH(QByteArray, primary);
    QFETCH(QString, primaryType);
    QFETCH(QByteArray, clipboard);
    QFETCH(QString, clipboardType);
    QFETCH(bool, primaryHangs);
    QFETCH(QString, word);
    QFETCH(QString, shown);
    QFETCH(int, primaryAfterMs);

    SelectionOwner primaryOwner;
    SelectionOwner clipboardOwner;
    SilentOwner silent;
    if (primaryHangs)
        QVERIFY(silent.own("PRIMARY"));
    else if (!primary.isNull() && primaryAfterMs == 0)
        QVERIFY(primaryOwner.own("primary", primary, primaryType));
    // Ends with the test function, so that a failure leaves nothing to fire.
    QTimer later;
    later.setSingleShot(true);
    bool late = true;
    connect(&later, &QTimer::timeout, this,
            [&] { late = primaryOwner.start("primary", primary, primaryType); });
    if (!clipboard.isNull())
        QVERIFY(clipboardOwner.own("clipboard", clipboard, clipboardType));

    // Without --sync, which waits for a move that a pointer already there never makes.
    display->xdotool({"mousemove", "300", "200"});
    QTRY_COMPARE(QCursor::pos(), QPoint(300, 200));
    PopUpLookup lookup;
    QStringList lookedUp;
    connect(&lookup, &PopUpLookup::lookedUp, this, [&](const QString &w) { lookedUp << w; });
    if (primaryAfterMs > 0)
        later.start(primaryAfterMs);
    lookup.lookUpSelection();
    PopUpWindow *window = lookup.window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), "Tavrel Dictionary Pop-up");
    // Shown at once, answered once the selection is read; Qt's own clipboard would wait 5 s.
    if (word.isEmpty()) {
        const auto says = [window](const QString &text) {
            for (QLabel *label : window->findChildren<QLabel *>()) {
                if (label->isVisible() && label->text() == text)
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(says(shown), 4000);
        QVERIFY(lookedUp.isEmpty());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(window->word(), word, 4000);
        QTRY_VERIFY(window->answerView()->toPlainText().contains(shown));
        QCOMPARE(lookedUp, QStringList {word});
    }
    QVERIFY(late);
    const QRect placed = window->geometry();
    QCOMPARE(placed.size(), QSize(420, 320));
    QCOMPARE(placed.topLeft(), QPoint(312, 212));

    // Used again for the next lookup, and closed by Escape.
    lookup.lookUp("你好");
    QCOMPARE(lookup.window(), window);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
}

void TestPopUp::selectionCommand()
{
    if (!display)
        QSKIP("Xvfb does not start here");
    QTemporaryDir folder;
    QVERIFY(installProgram(folder.path()));
    SelectionOwner owner;
    QVERIFY(owner.own("primary", " 你好 \nand more", QString()));
    display->xdotool({"mousemove", "1250", "1000"});
    QTRY_COMPARE(QCursor::pos(), QPoint(1250, 1000));

    QProcess program;
    program.setProcessEnvironment(programEnvironment());
    program.start(folder.filePath("TavrelDictionary"), {"--selection"});
    QVERIFY(program.waitForStarted());
    const QString window = display->waitForWindow("^Tavrel Dictionary Pop-up$");
    QVERIFY(!window.isEmpty());
    QString errors;
    QTRY_COMPARE_WITH_TIMEOUT(recorded(errors += QString::fromUtf8(program.readAllStandardError())),
                              QStringList {"你好"}, 20000);
    // Beside the pointer and wholly on the screen: above and to the left of it.
    QCOMPARE(display->windowPlace(window), QPoint(1250 - 12 - 420, 1000 - 12 - 320));
    // Only the pop-up was shown: with it closed, the program ends.
    QCOMPARE(display->xdotool({"search", "--onlyvisible", "--name", "^Tavrel Dictionary$"}),
             QString());
    display->xdotool({"windowactivate", "--sync", window});
    display->xdotool({"key", "--window", window, "Escape"});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 0);
}

void TestPopUp::clickElsewhere_data()
{
    QTest::addColumn<bool>("pinned");
    QTest::addColumn<bool>("staysOpen");

    QTest::newRow("not pinned") << false << false;
    QTest::newRow("pinned") << true << true;
}

void TestPopUp::clickElsewhere()
{
    if (!display)
        QSKIP("Xvfb does not start here");
    QFETCH(bool, pinned);
    QFETCH(bool, staysOpen);
    PopUpLookup lookup;
    lookup.lookUp("你好");
    PopUpWindow *window = lookup.window();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QToolButton *pin = nullptr;
    for (QToolButton *button : window->findChildren<QToolButton *>()) {
        if (button->text() == "Pin")
            pin = button;
    }
    QVERIFY(pin && pin->isCheckable());
    if (pinned)
        pin->click();
    QWidget elsewhere;
    elsewhere.setGeometry(900, 700, 200, 100);
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QTRY_COMPARE(window->isVisible(), staysOpen);
    QCOMPARE(window->isPinned(), pinned);

    // "Open in Main Window" hands the word on and closes the pop-up, pinned or not.
    QStringList opened;
    connect(&lookup, &PopUpLookup::openInMainWindow, this, [&](const QString &w) { opened << w; });
    lookup.lookUp("学习");
    for (QToolButton *button : window->findChildren<QToolButton *>()) {
        if (button->text() == "Open in Main Window")
            button->click();
    }
    QCOMPARE(opened, QStringList {"学习"});
    QVERIFY(!window->isVisible());
}

void TestPopUp::shortcut_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("heldElsewhere");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<int>("activations");

    QTest::newRow("the default key") << "Ctrl+Alt+Z" << false << "ctrl+alt+z" << 1;
    QTest::newRow("with Num Lock on") << "Ctrl+Alt+Z" << false << "Num_Lock ctrl+alt+z Num_Lock"
                                      << 1;
    QTest::newRow("other modifiers") << "Ctrl+Alt+Z" << false << "ctrl+z" << 0;
    QTest::newRow("a function key") << "Shift+F8" << false << "shift+F8" << 1;
    QTest::newRow("held by another program") << "Ctrl+Alt+Z" << true << "ctrl+alt+z" << 0;
}

void TestPopUp::shortcut()
{
    if (!display)
        QSKIP("Xvfb does not start here");
    QFETCH(QString, keys);
    QFETCH(bool, heldElsewhere);
    QFETCH(QString, pressed);
    QFETCH(int, activations);

    // Another program that took the key first, with a connection of its own.
    xcb_connection_t *other = xcb_connect(nullptr, nullptr);
    const auto closeOther = qScopeGuard([other] { xcb_disconnect(other); });
    if (heldElsewhere) {
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(other);
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, 'z');
        QVERIFY(codes);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
        xcb_grab_key(other, 1, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, codes[0],
                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        std::free(codes);
        xcb_key_symbols_free(symbols);
        std::free(xcb_get_input_focus_reply(other, xcb_get_input_focus(other), nullptr));
    }
    // "Pop-up Lookup" in Preferences says whether the key can be the program's, and keeps it.
    PopUpEntryPoints entryPoints;
    PopUpPage::setKeyCheck([&entryPoints](const QKeySequence &k) { return entryPoints.keyProblem(k); });
    const auto forgetCheck = qScopeGuard([] { PopUpPage::setKeyCheck({}); });
    PopUpPage page;
    Preferences preferences;
    preferences.popUp.shortcut = keys;
    page.showValues(preferences);
    QCOMPARE(page.lblKeyProblem()->text().isEmpty(), !heldElsewhere);
    page.takeValues(preferences);
    QCOMPARE(preferences.popUp.shortcut, keys);

    X11Shortcut shortcut;
    QCOMPARE(shortcut.grab(QKeySequence(keys)) == X11Shortcut::Result::Held, heldElsewhere);
    QCOMPARE(shortcut.problem(), page.lblKeyProblem()->text());
    int activated = 0;
    connect(&shortcut, &X11Shortcut::activated, this, [&activated] { ++activated; });
    if (heldElsewhere)
        QVERIFY(shortcut.problem().contains(QKeySequence(keys).toString(QKeySequence::NativeText)));
    display->xdotool(QStringList {"key"} + pressed.split(' '));
    QTest::qWait(300);
    QCOMPARE(activated, activations);
    // Released, the key reaches whoever has the focus again.
    shortcut.release();
    display->xdotool(QStringList {"key"} + pressed.split(' '));
    QTest::qWait(300);
    QCOMPARE(activated, activations);
}

void TestPopUp::watchedSelectionOpensThePopUp_data()
{
    QTest::addColumn<QByteArray>("selected");
    QTest::addColumn<bool>("opens");

    QTest::newRow("a word") << QByteArray("你好") << true;
    QTest::newRow("a sentence too long") << QByteArray(60, 'a') << false;
    QTest::newRow("an empty selection") << QByteArray() << false;
}

void TestPopUp::watchedSelectionOpensThePopUp()
{
    if (!display)
        QSKIP("Xvfb does not start here");
    QFETCH(QByteArray, selected);
    QFETCH(bool, opens);

    PopUpLookup lookup;
    SelectionWatcher watcher;
    connect(&watcher, &SelectionWatcher::selectionMade, &lookup,
            &PopUpLookup::lookUpWatchedSelection);
    QVERIFY(watcher.start(300));
    // Selected in another program, with the mouse buttons up.
    SelectionOwner owner;
    QVERIFY(owner.own("primary", selected, QString()));
    QTest::qWait(1500);
    QCOMPARE(lookup.window() != nullptr && lookup.window()->isVisible(), opens);
    if (opens)
        QCOMPARE(lookup.window()->word(), QString::fromUtf8(selected));

    // The program's own selection opens nothing.
    if (lookup.window())
        lookup.window()->close();
    QGuiApplication::clipboard()->setText("自己", QClipboard::Selection);
    QTest::qWait(1500);
    QVERIFY(!lookup.window() || !lookup.window()->isVisible());
}

void TestPopUp::sessionBus_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QStringList>("recordedInputs");

    QTest::newRow("a word") << "LookUp" << QVariantList {"你好"} << QStringList {"你好"};
    QTest::newRow("a word on two lines")
        << "LookUp" << QVariantList {" hello \nworld"} << QStringList {"hello"};
    QTest::newRow("the clipboard, empty") << "LookUpClipboard" << QVariantList() << QStringList();
    QTest::newRow("the selection, empty") << "LookUpSelection" << QVariantList() << QStringList();
}

// The call starts the program from the service file the package installs, then the running
// program answers.
void TestPopUp::sessionBus()
{
    QFETCH(QString, method);
    QFETCH(QVariantList, arguments);
    QFETCH(QStringList, recordedInputs);

    QTemporaryDir folder;
    QVERIFY(installProgram(folder.path()));
    QVERIFY(QDir(folder.path()).mkdir("services"));
    QString service = QString::fromUtf8(TestSupport::readBytes(TAVREL_SERVICE_FILE));
    QVERIFY(service.contains("@TAVREL_BINDIR@/TavrelDictionary"));
    service.replace("@TAVREL_BINDIR@", folder.path());
    // The environment the bus starts the program with is its own: what the program needs to
    // find goes through a wrapper.
    const QString wrapper = folder.filePath("start");
    const QProcessEnvironment env = programEnvironment();
    TestSupport::writeBytes(
        wrapper, QStringLiteral("#!/bin/sh\nexport XDG_RUNTIME_DIR='%1' QT_QPA_PLATFORM=offscreen "
                                "QT_LOGGING_RULES=tavrel.timing.debug=true\n"
                                "exec \"$@\" 2>'%2'\n")
                     .arg(env.value("XDG_RUNTIME_DIR"), folder.filePath("errors"))
                     .toUtf8());
    QVERIFY(QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::ExeOwner));
    service.replace("Exec=", "Exec=" + wrapper + " ");
    TestSupport::writeBytes(folder.filePath("services/org.tavrel.Dictionary.service"),
                            service.toUtf8());

    SessionBus bus;
    const QString address = bus.start(folder.path(), folder.filePath("services"));
    if (address.isEmpty())
        QSKIP("dbus-daemon does not start here");
    // Called as a desktop's shortcut settings call it, with a client of the bus's own.
    const auto send = [&address](const QStringList &arguments, QString *output = nullptr) {
        QProcess client;
        client.start("dbus-send", QStringList {"--bus=" + address, "--print-reply",
                                               "--reply-timeout=30000"} + arguments);
        const bool answered = client.waitForFinished(40000) && client.exitCode() == 0;
        if (output)
            *output = QString::fromUtf8(client.readAllStandardOutput());
        if (!answered)
            qWarning().noquote() << "dbus-send:" << client.readAllStandardError();
        return answered;
    };
    QStringList callArguments {"--dest=org.tavrel.Dictionary", "/org/tavrel/Dictionary",
                               "org.tavrel.Dictionary." + method};
    for (const QVariant &argument : arguments)
        callArguments << "string:" + argument.toString();
    QVERIFY(send(callArguments));
    const auto owner = [&send] {
        QString output;
        send({"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
              "org.freedesktop.DBus.GetConnectionUnixProcessID", "string:org.tavrel.Dictionary"},
             &output);
        return output.section("uint32 ", 1).trimmed().toLongLong();
    };
    const qint64 pid = owner();
    QVERIFY(pid > 0);
    const auto errors = [&] {
        return QString::fromUtf8(TestSupport::readBytes(folder.filePath("errors")));
    };
    if (recordedInputs.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(errors().contains("tavrel-timing loaded"), 20000);
        QTest::qWait(1500);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!recorded(errors()).isEmpty(), 20000);
    }
    QCOMPARE(recorded(errors()), recordedInputs);
    // A second call reaches the program already running.
    QVERIFY(send(callArguments));
    QCOMPARE(owner(), pid);
    ProcessTree::kill(pid);
}

int main(int argc, char *argv[])
{
    // Each bus the suite talks to is its own: none is looked for, nor started for the X server.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
    XDisplay x;
    QString error;
    if (x.start(&error)) {
        display = &x;
        qputenv("DISPLAY", x.name().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    return TestSupport::runTests<TestPopUp>(argc, argv);
}

#include "tst_popup.moc"
