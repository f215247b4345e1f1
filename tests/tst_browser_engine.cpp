#include "testsupport.h"

#include "browser/webbrowser.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "window_layer/controls.h"

#include <QLineEdit>
#include <QMenu>
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
};

TAVREL_TEST_MAIN(TestBrowserEngine)
#include "tst_browser_engine.moc"
