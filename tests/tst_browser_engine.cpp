#include "testsupport.h"

#include "browser/answerview.h"
#include "browser/webbrowser.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "window_layer/controls.h"

#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextDocument>
#include <QToolTip>
#include <QWebEngineView>

class TestBrowserEngine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;
    TestSupport::PageServer m_server;

    static frmBrowser &form() { return frmBrowser::instance(); }

    // Sends the view to the server through the lookup and waits until the page has loaded.
    void lookUpAndWait(const QString &word, const QString &expectedTarget)
    {
        QSignalSpy loaded(form().WebBrowser1(), &WebBrowser::loadFinished);
        m_server.targets.clear();
        frmOption::instance().txtChinese()->setText(m_server.origin() + "/dict/%firstchar?s=%word");
        form().txtWord()->setText(word);
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.targets.contains(expectedTarget), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && loaded.last().at(0).toBool(), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(form().WebBrowser1()->title(), QString("answer"), 60000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_appFolder.isValid());
        App::setPath(m_appFolder.path());
        QVERIFY(m_server.listen());
        form().Show();
        QVERIFY(QTest::qWaitForWindowExposed(form().window()));
    }

    void cleanupTestCase() { TestSupport::unloadAll(); }

    void theEngineStartsOnceTheWindowIsOnTheScreen()
    {
        TestSupport::unloadAll();
        form().Load();
        // Loaded but never shown: no engine yet, and the blank page waits for it.
        QTest::qWait(50);
        QCOMPARE(form().WebBrowser1()->findChild<QWebEngineView *>(), nullptr);
        QCOMPARE(form().WebBrowser1()->LocationRequested(), QString("about:blank"));
        form().Show();
        QTRY_VERIFY(form().WebBrowser1()->findChild<QWebEngineView *>());
        QTRY_COMPARE(form().WebBrowser1()->url(), QUrl("about:blank"));
        // The blank page has no address to hand to the desktop's browser.
        QWidget *area = form().WebBrowser1()->view()->focusProxy();
        QTRY_VERIFY(area);
        QTest::mouseClick(area, Qt::RightButton, {}, area->rect().center());
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
        QStringList entries;
        for (QAction *entry : menu->actions())
            entries << entry->text();
        menu->close();
        QVERIFY2(entries.contains("&Reload") || entries.contains("Reload"),
                 qPrintable(entries.join('|')));
        QVERIFY(!entries.contains("Open Page in Web Browser"));
        // A lookup right after start-up goes through as usual.
        lookUpAndWait("first", "/dict/f?s=first");
    }

    void wordWithSpacesAndChineseReachesTheServer()
    {
        lookUpAndWait(QStringLiteral("  ice cream 冰淇淋 "),
                      "/dict/i?s=ice%20cream%20%E5%86%B0%E6%B7%87%E6%B7%8B");
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(form().StatusBar1()->SimpleText(),
                 "goto " + m_server.origin() + QStringLiteral("/dict/i?s=ice cream 冰淇淋"));
    }

    void oddAddressesNeitherCrashNorHang_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("empty") << "";
        QTest::newRow("no scheme") << "not an address at all";
        QTest::newRow("broken host") << "http://[::1";
        QTest::newRow("unknown scheme") << "tavrel://x/%word";
        QTest::newRow("unreachable port") << "http://127.0.0.1:1/";
    }

    void oddAddressesNeitherCrashNorHang()
    {
        QFETCH(QString, address);
        form().WebBrowser1()->Navigate(address);
        QTest::qWait(200);
        // The view still answers: a real lookup after it loads as usual.
        lookUpAndWait("tea", "/dict/t?s=tea");
    }

    // What the area shows for a lookup: the built-in dictionary's answer, drawn without the
    // engine, for "tavrel:" and for a site that gives no page; otherwise the page itself.
    void answersAndFallbacks_data()
    {
        QTest::addColumn<QString>("queryTemplate");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QStringList>("shown"); // in the answer; none: the web page is shown

        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QString refused = QString("http://127.0.0.1:%1/%word").arg(closed.serverPort());
        closed.close();
        m_server.responses.insert("/busy/tea",
                                  TestSupport::response("503 Service Unavailable", "busy"));
        m_server.responses.insert("/gone/tea",
                                  TestSupport::response("404 Not Found\r\nContent-Type: text/html",
                                                        "<title>answer</title>no such word"));

        QTest::newRow("built-in answer")
            << "tavrel:%word"
            << "ice cream"
            << QStringList {"ice cream", "Read as English", "冰淇淋",      "bīng qí lín",
                            "霜淇淋",    "CC-CEDICT",       "CC BY-SA 4.0"};
        QTest::newRow("markup in the word shown as text")
            << "tavrel:%word"
            << "<b>tea</b><img src=x>" << QStringList {"<b>tea</b><img src=x>", "Nothing found"};
        QTest::newRow("refused connection")
            << refused << "tea"
            << QStringList {"The site 127.0.0.1 couldn't be reached: the connection was refused.",
                            "Try again", "茶"};
        QTest::newRow("unresolvable name")
            << "http://no-such-host.invalid/%word"
            << "tea"
            << QStringList {"The site no-such-host.invalid couldn't be reached: its name could "
                            "not be resolved.",
                            "茶"};
        QTest::newRow("HTTP 503") << m_server.origin() + "/busy/%word"
                                  << "tea"
                                  << QStringList {"The site 127.0.0.1 couldn't be reached: the "
                                                  "server answered with HTTP status 503.",
                                                  "茶"};
        QTest::newRow("HTTP 404 shown as it is") << m_server.origin() + "/gone/%word"
                                                 << "tea" << QStringList();
        QTest::newRow("local page that answers") << m_server.origin() + "/dict/%word"
                                                 << "tea" << QStringList();
    }

    void answersAndFallbacks()
    {
        QFETCH(QString, queryTemplate);
        QFETCH(QString, word);
        QFETCH(QStringList, shown);

        WebBrowser *browser = form().WebBrowser1();
        // From a web page, so that each row shows its own.
        lookUpAndWait("tea", "/dict/t?s=tea");
        QSignalSpy loaded(browser, &WebBrowser::loadFinished);
        frmOption::instance().txtChinese()->setText(queryTemplate);
        form().txtWord()->setText(word);
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        const QString address = QString(queryTemplate).replace("%word", word);
        const auto answerShown = [&] {
            return browser->answerView() && browser->answerView()->isVisible()
                && browser->url().scheme() == "tavrel";
        };
        if (shown.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 20000);
            QTRY_COMPARE_WITH_TIMEOUT(browser->title(), QString("answer"), 20000);
            QTest::qWait(300);
            QVERIFY(!answerShown());
            QCOMPARE(browser->url(), QUrl(address));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(answerShown(), 20000);
            // An answer opens at its top, whatever was shown before.
            QCOMPARE(browser->answerView()->verticalScrollBar()->value(), 0);
            // Its first screen comes first, the rest right after.
            for (const QString &part : shown) {
                QTRY_VERIFY2(
                    browser->answerView()->toPlainText().contains(part),
                    qPrintable(part + " not in:\n" + browser->answerView()->toPlainText()));
            }
            QCOMPARE(browser->answerView()->verticalScrollBar()->value(), 0);
            QCOMPARE(browser->answerView()->accessibleName(),
                     queryTemplate.startsWith("tavrel") ? "Dictionary page: " + word
                                                        : "Dictionary page: tea");
        }
        // The status bar names the lookup's address, whatever the area shows.
        QCOMPARE(form().StatusBar1()->SimpleText(), "goto " + address);
        QCOMPARE(form().txtWord()->text(), word);

        // "Try again" asks the site once more, and shows what it answers now.
        if (address.startsWith(m_server.origin()) && answerShown()) {
            const QString target = QUrl(address).path();
            const QByteArray busy = m_server.responses.take(target);
            const auto restore = qScopeGuard([&] { m_server.responses.insert(target, busy); });
            AnswerView *answers = browser->answerView();
            const QTextCursor link = answers->document()->find("Try again");
            QVERIFY(!link.isNull());
            QTest::mouseClick(answers->viewport(), Qt::LeftButton, {},
                              answers->cursorRect(link).center() - QPoint(3, 0));
            QTRY_COMPARE_WITH_TIMEOUT(browser->title(), QString("answer"), 20000);
            QCOMPARE(browser->url(), QUrl(address));
            QCOMPARE(form().StatusBar1()->SimpleText(), "goto " + address);
        }
    }

    void anAnswersLinksLeadToOtherAnswersAndBack()
    {
        frmOption::instance().txtChinese()->setText("tavrel:%word");
        form().txtWord()->setText("ice cream");
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        WebBrowser *browser = form().WebBrowser1();
        QTRY_COMPARE(browser->title(), QString("ice cream"));
        AnswerView *answers = browser->answerView();

        // The first 冰淇淋 is its headword, a link to its own answer.
        const QTextCursor link = answers->document()->find("冰淇淋");
        QVERIFY(!link.isNull());
        const QPoint at = answers->cursorRect(link).center() - QPoint(3, 0);
        QTest::mouseClick(answers->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(browser->title(), QString("冰淇淋"));
        QVERIFY2(answers->toPlainText().contains("ice cream"), qPrintable(answers->toPlainText()));
        QCOMPARE(browser->accessibleName(), QString("Dictionary page: 冰淇淋"));
        // A link in a page: the word box and the status bar stay the lookup's.
        QCOMPARE(form().txtWord()->text(), QString("ice cream"));
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto tavrel:ice cream"));

        QTest::keyClick(answers, Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE(browser->title(), QString("ice cream"));
        QTest::keyClick(answers, Qt::Key_Right, Qt::AltModifier);
        QTRY_COMPARE(browser->title(), QString("冰淇淋"));
    }

    // A sense's reference is the word it names, a link to its answer; how common a word is
    // shows in words, and its tooltip says what that means.
    void referencesAndFrequencyBands()
    {
        frmOption::instance().txtChinese()->setText("tavrel:%word");
        form().txtWord()->setText("吗");
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        WebBrowser *browser = form().WebBrowser1();
        QTRY_COMPARE(browser->title(), QString("吗"));
        AnswerView *answers = browser->answerView();
        QTRY_VERIFY(answers->toPlainText().contains("used in 吗啡 嗎啡 (mǎ fēi)"));
        QVERIFY2(!answers->toPlainText().contains("|"), qPrintable(answers->toPlainText()));

        const QTextCursor band = answers->document()->find("very common");
        QVERIFY(!band.isNull());
        QHelpEvent help(QEvent::ToolTip, answers->cursorRect(band).center() - QPoint(6, 0),
                        answers->viewport()->mapToGlobal(answers->cursorRect(band).center()));
        QApplication::sendEvent(answers->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY2(QToolTip::text().startsWith("How common: very common, 10,000 or more"),
                 qPrintable(QToolTip::text()));
        QToolTip::hideText();

        const QTextCursor link = answers->document()->find("吗啡 嗎啡");
        QVERIFY(!link.isNull());
        QTest::mouseClick(answers->viewport(), Qt::LeftButton, {},
                          answers->cursorRect(link).center() - QPoint(3, 0));
        QTRY_COMPARE(browser->title(), QString("吗啡"));
    }
};

TAVREL_TEST_MAIN(TestBrowserEngine)
#include "tst_browser_engine.moc"
