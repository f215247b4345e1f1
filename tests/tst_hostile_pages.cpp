#include "testsupport.h"

#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "window_layer/controls.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <csignal>

namespace {

using TestSupport::response;

// The page reports through its title, which reaches the program even while its script is busy.
// It says "ready" once loaded, and "clicked" when clicked, unless it has said more by then.
QByteArray page(const QByteArray &content)
{
    return response("200 OK\r\nContent-Type: text/html; charset=utf-8",
                    "<!DOCTYPE html><html><head><title>loading</title><script>"
                    "function show(text) { document.title = text; }"
                    "addEventListener('load', () => { if (document.title == 'loading') "
                    "show('ready'); });"
                    "addEventListener('click', () => show('clicked'));</script></head>"
                    "<body style='height: 100vh'><p>A page</p>"
                        + content + "</body></html>");
}

// A link over the whole page, so that a click anywhere follows it.
QByteArray link(const QByteArray &attributes)
{
    return page("<a " + attributes + " style='position: fixed; inset: 0'>link</a>");
}

} // namespace

class TestHostilePages : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;
    TestSupport::PageServer m_server;
    QStringList m_handedToDesktop;

    static frmBrowser &form() { return frmBrowser::instance(); }
    static QWebEngineView *view()
    {
        return qobject_cast<QWebEngineView *>(form().WebBrowser1()->view());
    }

    static void row(const char *name, const QByteArray &content, const char *gesture,
                    const char *shown, const QString &handedToDesktop = {})
    {
        QTest::newRow(name) << content << QString(gesture) << QString(shown) << handedToDesktop;
    }

    void lookUp(const QString &word)
    {
        form().txtWord()->setText(word);
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
    }

public slots:
    // Stands in for the desktop's web browser and mail program.
    void openOnDesktop(const QUrl &url) { m_handedToDesktop << url.toString(); }

private slots:
    void initTestCase()
    {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::setUrlHandler(scheme, this, "openOnDesktop");
        QVERIFY(m_appFolder.isValid());
        App::setPath(m_appFolder.path());
        QVERIFY(m_server.listen());
        m_server.responses.insert(
            "/file",
            response("200 OK\r\nContent-Type: application/octet-stream\r\n"
                     "Content-Disposition: attachment; filename=\"words.txt\"",
                     "a file\n"));
        m_server.responses.insert(
            "/to-mail", response("302 Found\r\nLocation: mailto:someone@example.org", ""));
        form().Show();
        QVERIFY(QTest::qWaitForWindowExposed(form().window()));
        Controls::setText(*frmOption::instance().txtChinese(), m_server.origin() + "/%word");
        QTRY_VERIFY_WITH_TIMEOUT(view(), 60000);
    }

    void cleanupTestCase()
    {
        for (const char *scheme : {"http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
        TestSupport::unloadAll();
    }

    void thePageNeverHoldsTheProgram_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("handedToDesktop");

        const QByteArray mail = "mailto:someone@example.org";
        row("alert loop",
            page("<script>for (let i = 0; i < 1000; ++i) alert(i);"
                 "show('read');</script>"),
            "", "read");
        row("confirm loop",
            page("<script>let yes = 0; for (let i = 0; i < 1000; ++i) "
                 "if (confirm('Stay?')) ++yes; show('yes ' + yes);</script>"),
            "", "yes 0");
        row("prompt", page("<script>show('answer ' + prompt('Word?', 'tea'));</script>"), "",
            "answer null");
        row("endless script",
            page("<script>addEventListener('load', () => setTimeout(() => { for (;;) {} }));"
                 "</script>"),
            "", "ready");
        row("leave prompt after a click",
            page("<script>addEventListener('beforeunload', event => { "
                 "event.preventDefault(); event.returnValue = 'Stay?'; });</script>"),
            "click", "clicked");
        row("window.open at load and from a timer",
            page("<script>window.open('/popup'); setTimeout(() => { window.open('/popup'); "
                 "show('opened'); }, 100);</script>"),
            "", "opened");
        row("clicked link to a new window", link("href='/elsewhere' target='_blank'"), "click link",
            "clicked", m_server.origin() + "/elsewhere");
        row("mail link clicked", link("href='" + mail + "'"), "click link", "clicked", mail);
        row("mail address from a script",
            page("<script>addEventListener('load', () => { location.href = '" + mail
                 + "'; show('sent'); });</script>"),
            "", "sent");
        row("mail address from a redirect", link("href='/to-mail'"), "click link", "clicked");
        row("download link clicked", link("href='/file'"), "click link", "clicked");
        row("download at load",
            page("<script>addEventListener('load', () => { location.href = '/file'; "
                 "setTimeout(() => show('stayed'), 1000); });</script>"),
            "", "stayed");
        // Each request is either refused or left unanswered, which keeps the title at "clicked".
        row("permissions",
            page("<script>addEventListener('click', () => Promise.allSettled(["
                 "new Promise((yes, no) => navigator.geolocation.getCurrentPosition(yes, no)),"
                 "navigator.mediaDevices.getUserMedia({video: true, audio: true}),"
                 "Notification.requestPermission().then(answer => answer == 'granted' || "
                 "Promise.reject()),"
                 "navigator.mediaDevices.getDisplayMedia(), navigator.clipboard.readText(),"
                 "document.body.requestFullscreen(), document.body.requestPointerLock()])"
                 ".then(all => show(all.map(each => each.status).join(' '))));</script>"),
            "click", "rejected rejected rejected rejected rejected rejected rejected");
        row("menu on a link", link("href='/elsewhere'"), "menu", "ready");
        row("menu opens the page in the web browser", page(""), "open in web browser", "ready",
            m_server.origin() + "/menu-opens-the-page-in-the-web-browser");
        row("killed page process", page(""), "kill", "");
    }

    void thePageNeverHoldsTheProgram()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, gesture);
        QFETCH(QString, shown);
        QFETCH(QString, handedToDesktop);

        const QString path = QString(QTest::currentDataTag()).replace(' ', '-');
        m_server.responses.insert('/' + path, content);
        m_server.targets.clear();
        m_server.userAgents.clear();
        m_handedToDesktop.clear();
        QWebEnginePage *page = view()->page();
        QList<QWebEngineDownloadRequest::DownloadState> downloads;
        const QMetaObject::Connection watch = connect(
            page->profile(), &QWebEngineProfile::downloadRequested, this,
            [&downloads](QWebEngineDownloadRequest *download) { downloads << download->state(); });
        const auto cleanup = qScopeGuard([&] { disconnect(watch); });

        lookUp(path);
        if (!gesture.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(form().WebBrowser1()->url().path().endsWith(path)
                                         && form().WebBrowser1()->title() == "ready",
                                     20000);
        }
        QWidget *area = view()->focusProxy();
        const QPoint middle = area->rect().center();
        const bool menuGesture = gesture == "menu" || gesture == "open in web browser";
        if (gesture.startsWith("click") || menuGesture) {
            // As a user's pointer does, it comes to rest on the page before it clicks.
            QSignalSpy hovered(page, &QWebEnginePage::linkHovered);
            QTest::mouseMove(area, middle - QPoint(5, 5));
            QTest::qWait(200);
            QTest::mouseMove(area, middle);
            if (gesture.startsWith("click link") || gesture == "menu")
                QTRY_VERIFY_WITH_TIMEOUT(!hovered.isEmpty(), 20000);
            QTest::mouseClick(area, menuGesture ? Qt::RightButton : Qt::LeftButton, {}, middle);
        }
        QMenu *menu = nullptr;
        QAction *openInWebBrowser = nullptr;
        if (menuGesture) {
            QTRY_VERIFY_WITH_TIMEOUT(
                (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())), 20000);
            const QList<QAction *> entries = menu->actions();
            for (QAction *entry : entries) {
                if (entry->text() == "Open Page in Web Browser")
                    openInWebBrowser = entry;
            }
            QVERIFY(openInWebBrowser);
        }
        if (gesture == "open in web browser") {
            // On the page itself it comes right after Reload.
            const QList<QAction *> entries = menu->actions();
            QCOMPARE(entries.indexOf(openInWebBrowser),
                     entries.indexOf(page->action(QWebEnginePage::Reload)) + 1);
            openInWebBrowser->trigger();
            menu->close();
        } else if (gesture == "menu") {
            // Only entries that work: nothing that saves, nor a window the program lacks.
            QVERIFY(menu->actions().contains(page->action(QWebEnginePage::CopyLinkToClipboard)));
            for (auto action : {QWebEnginePage::SavePage, QWebEnginePage::ViewSource,
                                QWebEnginePage::DownloadLinkToDisk})
                QVERIFY(!menu->actions().contains(page->action(action)));
            menu->close();
        } else if (gesture == "kill") {
            QVERIFY(::kill(pid_t(page->renderProcessPid()), SIGKILL) == 0);
            // Asked again and again: a question to a process that is starting may go unanswered.
            const auto text = std::make_shared<QString>();
            QTRY_VERIFY_WITH_TIMEOUT(
                [&] {
                    page->toPlainText([text](const QString &plain) { *text = plain; });
                    return text->contains("ended; press Translate to look it up again");
                }(),
                20000);
        }
        if (!shown.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(form().WebBrowser1()->title(), shown, 20000);
        QTRY_COMPARE(m_handedToDesktop,
                     handedToDesktop.isEmpty() ? QStringList() : QStringList {handedToDesktop});
        QVERIFY(!m_server.targets.contains("/popup"));
        if (content.contains("'/file'"))
            QTRY_VERIFY_WITH_TIMEOUT(!downloads.isEmpty(), 20000);
        else
            QVERIFY(downloads.isEmpty());
        for (QWebEngineDownloadRequest::DownloadState state : downloads)
            QCOMPARE(state, QWebEngineDownloadRequest::DownloadCancelled);
        QCOMPARE(form().StatusBar1()->SimpleText(), "goto " + m_server.origin() + '/' + path);
        // Sites that turn embedded engines away never hear of one, nor of another browser.
        for (const QString &userAgent : m_server.userAgents) {
            QVERIFY2(!userAgent.contains("QtWebEngine") && userAgent.contains("Chrome/"),
                     qPrintable(userAgent));
        }

        for (QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible() || window == form().window(),
                     qPrintable(window->metaObject()->className()));
        // The next lookup goes ahead as usual.
        lookUp("after");
        QTRY_VERIFY_WITH_TIMEOUT(m_server.targets.contains("/after"), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(form().WebBrowser1()->title(), QString("answer"), 20000);
        QCOMPARE(form().WebBrowser1()->url().path(), QString("/after"));
    }
};

TAVREL_TEST_MAIN(TestHostilePages)
#include "tst_hostile_pages.moc"
