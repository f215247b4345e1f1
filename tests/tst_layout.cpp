#include "testsupport.h"

#include "browser/webbrowser.h"
#include "main_window/browserlayout.h"
#include "main_window/frmBrowser.h"
#include "window_layer/controls.h"
#include "window_layer/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QWebEngineView>

using TestSupport::stored;

class TestLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;

    static frmBrowser &form() { return frmBrowser::instance(); }

    // What the resize rule must give at the window's current outer size, read back from the
    // controls, with the status bar docked below them.
    static void verifyLayout()
    {
        const float W = form().Width();
        const float H = form().Height();
        const float wordWidth = stored(std::max(0.0f, W - 1575 - 1800));
        QTRY_COMPARE(Twips::width(*form().txtWord()), wordWidth);
        QCOMPARE(Twips::left(*form().cmdGo1()), stored(1320 + wordWidth + 200));
        QCOMPARE(Twips::width(*form().WebBrowser1()), stored(std::max(0.0f, W - 700)));
        QCOMPARE(Twips::height(*form().WebBrowser1()), stored(std::max(0.0f, H - 2300)));
        // Never touched by the rule.
        QCOMPARE(form().txtWord()->x(), Twips::toPixels(1320));
        QCOMPARE(form().cmdGo1()->geometry().top(), Twips::toPixels(240));
        QCOMPARE(form().cmdGo1()->width(), Twips::toPixels(1575));
        QCOMPARE(form().WebBrowser1()->pos(), QPoint(Twips::toPixels(360), Twips::toPixels(960)));

        const QRect bar = form().StatusBar1()->geometry();
        QTRY_COMPARE(bar.bottom(), form().window()->height() - 1);
        QCOMPARE(bar.left(), 0);
        QCOMPARE(bar.width(), form().window()->width());
        QCOMPARE(bar.height(), Twips::toPixels(420));
    }

    // A newly loaded main window, shown: the rule has run once, for the design size.
    static bool showAfresh()
    {
        TestSupport::unloadAll();
        form().Show();
        return QTest::qWaitForWindowExposed(form().window());
    }

    static void resizeWindowTo(const QSize &size)
    {
        form().window()->resize(size);
        QTRY_COMPARE(form().window()->size(), size);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_appFolder.isValid());
        App::setPath(m_appFolder.path());
    }

    void cleanupTestCase() { TestSupport::unloadAll(); }

    void rule_data()
    {
        QTest::addColumn<QSizeF>("outer");
        QTest::addColumn<QRectF>("expected"); // word width, button left, browser width, height
        // Word box left 1320, button width 1575 as created.
        QTest::newRow("word box at its created width")
            << QSizeF(12150, 10000) << QRectF(8775, 10295, 11450, 7700);
        QTest::newRow("exactly the narrowest") << QSizeF(3375, 2300) << QRectF(0, 1520, 2675, 0);
        QTest::newRow("below the narrowest: held at 0")
            << QSizeF(600, 1000) << QRectF(0, 1520, 0, 0);
        QTest::newRow("half twips kept")
            << QSizeF(3375.5, 2300.5) << QRectF(0.5, 1520.5, 2675.5, 0.5);
    }

    void rule()
    {
        QFETCH(QSizeF, outer);
        QFETCH(QRectF, expected);
        const float wordWidth = BrowserLayout::wordBoxWidth(float(outer.width()), 1575);
        QCOMPARE(wordWidth, float(expected.x()));
        QCOMPARE(BrowserLayout::buttonLeft(1320, wordWidth), float(expected.y()));
        QCOMPARE(BrowserLayout::browserWidth(float(outer.width())), float(expected.width()));
        QCOMPARE(BrowserLayout::browserHeight(float(outer.height())), float(expected.height()));
        QVERIFY(!BrowserLayout::appliesTo(0, 0));
        QVERIFY(BrowserLayout::appliesTo(0, 15) && BrowserLayout::appliesTo(15, 0));
    }

    void windowAtCreation()
    {
        TestSupport::unloadAll();
        form().Load(); // loaded, not yet shown: the rule has not run
        QVERIFY(!form().Visible());
        QCOMPARE(form().window()->windowTitle(),
                 QString("Tavrel Dictionary v1.1 (English <> Chinese Dictionary)"));
        QCOMPARE(form().ScaleWidth(), stored(11880));
        QCOMPARE(form().ScaleHeight(), stored(9210));
        // The client area, below the menu bar, starts at 1650, 1350 on the screen.
        const QRect interior = form().window()->geometry();
        QCOMPARE(interior.left(), Twips::toPixels(1650));
        QCOMPARE(interior.top() + form().window()->menuBar()->heightForWidth(interior.width()),
                 Twips::toPixels(1350));

        const struct
        {
            QWidget *control;
            QRectF twips;
            qreal pointSize;
        } controls[] = {{form().Label2(), {360, 265, 975, 375}, 13.5},
                        {form().txtWord(), {1320, 240, 8775, 495}, 13.5},
                        {form().cmdGo1(), {10200, 240, 1575, 495}, 12},
                        {form().WebBrowser1(), {360, 960, 11415, 7695}, 0}};
        for (const auto &c : controls) {
            QCOMPARE(c.control->geometry(),
                     QRect(Twips::toPixels(float(c.twips.x())), Twips::toPixels(float(c.twips.y())),
                           Twips::toPixels(float(c.twips.width())),
                           Twips::toPixels(float(c.twips.height()))));
            QVERIFY(c.control->isEnabled() && !c.control->isHidden());
            if (c.pointSize > 0) {
                QCOMPARE(c.control->font().families().value(0), QString("MS Sans Serif"));
                QCOMPARE(c.control->font().pointSizeF(), c.pointSize);
                QVERIFY(!c.control->font().bold());
            }
        }
        QCOMPARE(form().Label2()->text(), QString("Word:"));
        QCOMPARE(form().cmdGo1()->text(), QString("Translate"));
        QVERIFY(form().txtWord()->text().isEmpty() && form().StatusBar1()->SimpleText().isEmpty());
        QVERIFY(!form().cmdGo1()->isDefault() && !form().cmdGo1()->autoDefault());
    }

    void menuTree()
    {
        QMenuBar *bar = form().window()->menuBar();
        // "Words" stands between the two menus of old, which keep their items.
        QCOMPARE(bar->actions().size(), 3);
        QCOMPARE(bar->actions().at(0)->menu(), form().mnuDictionary());
        QCOMPARE(bar->actions().at(1)->menu(), form().mnuWords());
        QCOMPARE(bar->actions().at(2)->menu(), form().mnuHelp());
        QCOMPARE(form().mnuWords()->title(), QString("Words"));
        QCOMPARE(form().mnuDictionary()->title(), QString("Option"));
        QCOMPARE(form().mnuHelp()->title(), QString("Help"));
        const auto items = [](QMenu *menu) {
            QList<QAction *> result;
            for (QAction *action : menu->actions())
                result << (action->isSeparator() ? nullptr : action);
            return result;
        };
        for (QAction *action : form().mnuDictionary()->actions() + form().mnuHelp()->actions())
            QVERIFY(action->shortcut().isEmpty() && action->isEnabled() && action->isVisible()
                    && !action->isCheckable());
        QCOMPARE(items(form().mnuDictionary()),
                 QList<QAction *>({form().mnuQueryString(), form().mnuPreferences(), nullptr,
                                   form().mnuExit()}));
        QCOMPARE(items(form().mnuHelp()),
                 QList<QAction *>({form().mnuWebsite(), nullptr, form().mnuAbout()}));
        QCOMPARE(form().mnuQueryString()->text(), QString("Online Dictionary Query String"));
        QCOMPARE(form().mnuPreferences()->text(), QString("Preferences..."));
        QCOMPARE(form().mnuExit()->text(), QString("Exit"));
        QCOMPARE(form().mnuWebsite()->text(), QString("Website"));
        QCOMPARE(form().mnuAbout()->text(), QString("About"));

        QCOMPARE(items(form().mnuWords()),
                 QList<QAction *>({form().mnuHistory(), form().mnuKeepHistory(), nullptr,
                                   form().mnuFavourites()}));
        QCOMPARE(form().mnuHistory()->text(), QString("History…"));
        QCOMPARE(form().mnuKeepHistory()->text(), QString("Keep History"));
        QVERIFY(form().mnuKeepHistory()->isCheckable() && form().mnuKeepHistory()->isChecked());
        QCOMPARE(form().mnuFavourites()->text(), QString("Favourites…"));
    }

    void opensWithTheFocusOnTranslateAndTabsToTheWordBox()
    {
        TestSupport::unloadAll();
        form().Show();
        QVERIFY(QTest::qWaitForWindowActive(form().window()));
        QTRY_COMPARE(QApplication::focusWidget(), form().cmdGo1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), form().txtWord());
        // The browser engine arrives after the first paint and still comes last in the order,
        // after the status bar, which takes no focus.
        const auto browserArea = [] {
            auto *view = form().WebBrowser1()->findChild<QWebEngineView *>();
            return view ? view->focusProxy() : nullptr;
        };
        QTRY_VERIFY(browserArea() && browserArea()->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(form().WebBrowser1()->isAncestorOf(QApplication::focusWidget()));
    }

    void ruleFollowsTheSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as shown") << QSize();
        QTest::newRow("larger") << QSize(1000, 700);
        QTest::newRow("smaller") << QSize(500, 300);
        QTest::newRow("just above the narrowest") << QSize(240, 160);
        QTest::newRow("below the narrowest") << QSize(120, 100);
    }

    void ruleFollowsTheSize()
    {
        QFETCH(QSize, size);
        if (!size.isValid())
            QVERIFY(showAfresh());
        else
            resizeWindowTo(size);
        QCOMPARE(form().Width(), Twips::fromPixels(form().window()->frameGeometry().width()));
        QCOMPARE(form().Height(), Twips::fromPixels(form().window()->frameGeometry().height()));
        verifyLayout();
    }

    void minimizedChangesNothingAndRestoreRelaysOut()
    {
        QVERIFY(showAfresh());
        resizeWindowTo(QSize(900, 650));
        const int wordWidth = form().txtWord()->width();
        const QSize browser = form().WebBrowser1()->size();

        form().window()->showMinimized();
        QTRY_VERIFY(form().window()->isMinimized());
        QCOMPARE(form().ScaleWidth(), 0.0f);
        QCOMPARE(form().ScaleHeight(), 0.0f);
        QTest::qWait(50);
        QCOMPARE(form().txtWord()->width(), wordWidth);
        QCOMPARE(form().WebBrowser1()->size(), browser);

        // Spoil the layout while minimized: only a new run of the rule on restore mends it.
        form().txtWord()->resize(1, form().txtWord()->height());
        form().WebBrowser1()->resize(1, 1);
        form().window()->showNormal();
        QTRY_VERIFY(!form().window()->isMinimized());
        verifyLayout();
    }

    void maximizingGivesTheWholeGainToWordBoxAndBrowser()
    {
        QVERIFY(showAfresh());
        resizeWindowTo(QSize(400, 300));
        const QSizeF outer(form().Width(), form().Height());
        const QRectF before(Twips::left(*form().cmdGo1()), Twips::width(*form().txtWord()),
                            Twips::width(*form().WebBrowser1()),
                            Twips::height(*form().WebBrowser1()));

        form().window()->showMaximized();
        QTRY_VERIFY(form().Width() > outer.width());
        verifyLayout();
        const float gainW = form().Width() - float(outer.width());
        QCOMPARE(Twips::left(*form().cmdGo1()) - float(before.x()), gainW);
        QCOMPARE(Twips::width(*form().txtWord()) - float(before.y()), gainW);
        QCOMPARE(Twips::width(*form().WebBrowser1()) - float(before.width()), gainW);
        QCOMPARE(Twips::height(*form().WebBrowser1()) - float(before.height()),
                 form().Height() - float(outer.height()));
    }
};

TAVREL_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
