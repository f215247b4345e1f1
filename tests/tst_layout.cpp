#include "testsupport.h"

#include "common/controls.h"
#include "common/twips.h"
#include "common/webbrowser.h"
#include "main_window/browserlayout.h"
#include "main_window/frmBrowser.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

using TestSupport::stored;

class TestLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;

    static frmBrowser &form() { return frmBrowser::instance(); }

    // What the resize rule must give at the window's current outer size.
    static void verifyRuleApplied()
    {
        const float W = form().Width();
        const float H = form().Height();
        const float wordWidth = stored(std::max(0.0f, W - 1575 - 1800));
        QTRY_COMPARE(Twips::width(*form().txtWord()), wordWidth);
        QCOMPARE(Twips::left(*form().cmdGo1()), stored(1320 + wordWidth + 200));
        QCOMPARE(Twips::width(*form().WebBrowser1()), stored(std::max(0.0f, W - 700)));
        QCOMPARE(Twips::height(*form().WebBrowser1()), stored(std::max(0.0f, H - 2300)));
        // Never touched by the rule.
        QCOMPARE(Twips::left(*form().txtWord()), stored(1320));
        QCOMPARE(Twips::top(*form().cmdGo1()), stored(240));
        QCOMPARE(Twips::width(*form().cmdGo1()), stored(1575));
        QCOMPARE(form().WebBrowser1()->pos(), QPoint(Twips::toPixels(360), Twips::toPixels(960)));
    }

    static void verifyStatusBarDocked()
    {
        FormWindow *window = form().window();
        const QRect bar = form().StatusBar1()->geometry();
        QTRY_COMPARE(bar.bottom(), window->height() - 1);
        QCOMPARE(bar.left(), 0);
        QCOMPARE(bar.width(), window->width());
        QCOMPARE(bar.height(), Twips::toPixels(420));
    }

    // A newly loaded main window, shown: the rule has run once, for the design size.
    static bool showAfresh()
    {
        TestSupport::unloadAll();
        form().Show();
        return QTest::qWaitForWindowExposed(form().window());
    }

    static void resizeWindowTo(int width, int height)
    {
        form().window()->resize(width, height);
        QTRY_COMPARE(form().window()->size(), QSize(width, height));
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
        QTest::addColumn<float>("outerWidth");
        QTest::addColumn<float>("outerHeight");
        QTest::addColumn<float>("wordWidth");
        QTest::addColumn<float>("buttonLeft");
        QTest::addColumn<float>("browserWidth");
        QTest::addColumn<float>("browserHeight");
        // Word box left 1320, button width 1575 as created.
        QTest::newRow("word box at its created width")
            << 12150.0f << 10000.0f << 8775.0f << 10295.0f << 11450.0f << 7700.0f;
        QTest::newRow("exactly the narrowest")
            << 3375.0f << 2300.0f << 0.0f << 1520.0f << 2675.0f << 0.0f;
        QTest::newRow("narrower than the rule: held at 0")
            << 2000.0f << 1000.0f << 0.0f << 1520.0f << 1300.0f << 0.0f;
        QTest::newRow("browser width held at 0")
            << 600.0f << 2299.5f << 0.0f << 1520.0f << 0.0f << 0.0f;
        QTest::newRow("half twips kept")
            << 3375.5f << 2300.5f << 0.5f << 1520.5f << 2675.5f << 0.5f;
        QTest::newRow("large") << 28800.0f << 16200.0f << 25425.0f << 26945.0f << 28100.0f
                               << 13900.0f;
    }

    void rule()
    {
        QFETCH(float, outerWidth);
        QFETCH(float, outerHeight);
        QFETCH(float, wordWidth);
        QFETCH(float, buttonLeft);
        QFETCH(float, browserWidth);
        QFETCH(float, browserHeight);
        const float computedWordWidth = BrowserLayout::wordBoxWidth(outerWidth, 1575);
        QCOMPARE(computedWordWidth, wordWidth);
        QCOMPARE(BrowserLayout::buttonLeft(1320, computedWordWidth), buttonLeft);
        QCOMPARE(BrowserLayout::browserWidth(outerWidth), browserWidth);
        QCOMPARE(BrowserLayout::browserHeight(outerHeight), browserHeight);
    }

    void ruleSkipsOnlyAMinimizedWindow_data()
    {
        QTest::addColumn<float>("clientWidth");
        QTest::addColumn<float>("clientHeight");
        QTest::addColumn<bool>("applies");
        QTest::newRow("minimized") << 0.0f << 0.0f << false;
        QTest::newRow("no width") << 0.0f << 4500.0f << true;
        QTest::newRow("no height") << 4500.0f << 0.0f << true;
        QTest::newRow("normal") << 11880.0f << 9210.0f << true;
    }

    void ruleSkipsOnlyAMinimizedWindow()
    {
        QFETCH(float, clientWidth);
        QFETCH(float, clientHeight);
        QFETCH(bool, applies);
        QCOMPARE(BrowserLayout::appliesTo(clientWidth, clientHeight), applies);
    }

    void controlsAtCreation_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRectF>("twips");
        QTest::newRow("Label2") << "Label2" << QRectF(360, 265, 975, 375);
        QTest::newRow("txtWord") << "txtWord" << QRectF(1320, 240, 8775, 495);
        QTest::newRow("cmdGo1") << "cmdGo1" << QRectF(10200, 240, 1575, 495);
        QTest::newRow("WebBrowser1") << "WebBrowser1" << QRectF(360, 960, 11415, 7695);
    }

    void controlsAtCreation()
    {
        QFETCH(QString, name);
        QFETCH(QRectF, twips);
        TestSupport::unloadAll();
        form().Load(); // loaded, not yet shown: the rule has not run
        const QHash<QString, QWidget *> controls {{"Label2", form().Label2()},
                                                  {"txtWord", form().txtWord()},
                                                  {"cmdGo1", form().cmdGo1()},
                                                  {"WebBrowser1", form().WebBrowser1()}};
        QWidget *control = controls.value(name);
        QVERIFY(control);
        QCOMPARE(Twips::left(*control), stored(float(twips.left())));
        QCOMPARE(Twips::top(*control), stored(float(twips.top())));
        QCOMPARE(Twips::width(*control), stored(float(twips.width())));
        QCOMPARE(Twips::height(*control), stored(float(twips.height())));
        QVERIFY(control->isEnabled());
        QVERIFY(!control->isHidden());
    }

    void windowAtCreation()
    {
        TestSupport::unloadAll();
        form().Load();
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
        QCOMPARE(form().StatusBar1()->SimpleText(), QString());

        QCOMPARE(form().Label2()->text(), QString("Word:"));
        QCOMPARE(form().cmdGo1()->text(), QString("Translate"));
        QCOMPARE(form().txtWord()->text(), QString());
        QVERIFY(!form().cmdGo1()->isDefault());
        QVERIFY(!form().cmdGo1()->autoDefault());

        QCOMPARE(form().Label2()->font().families().value(0), QString("MS Sans Serif"));
        QCOMPARE(form().Label2()->font().pointSizeF(), 13.5);
        QCOMPARE(form().txtWord()->font().pointSizeF(), 13.5);
        QCOMPARE(form().cmdGo1()->font().pointSizeF(), 12.0);
        QVERIFY(!form().Label2()->font().bold());
    }

    void menuTree()
    {
        QMenuBar *bar = form().window()->menuBar();
        QCOMPARE(bar->actions().size(), 2);
        QCOMPARE(bar->actions().at(0)->menu(), form().mnuDictionary());
        QCOMPARE(bar->actions().at(1)->menu(), form().mnuHelp());
        QCOMPARE(form().mnuDictionary()->title(), QString("Option"));
        QCOMPARE(form().mnuHelp()->title(), QString("Help"));

        const auto captions = [](QMenu *menu) {
            QStringList result;
            for (QAction *action : menu->actions()) {
                result << (action->isSeparator() ? "-" : action->text());
                if (!action->shortcut().isEmpty() || !action->isEnabled() || !action->isVisible()
                    || action->isCheckable())
                    result << "unexpected state: " + action->text();
            }
            return result;
        };
        QCOMPARE(captions(form().mnuDictionary()),
                 QStringList({"Online Dictionary Query String", "-", "Exit"}));
        QCOMPARE(captions(form().mnuHelp()), QStringList({"Website", "-", "About"}));
        QCOMPARE(form().mnuQueryString()->text(), QString("Online Dictionary Query String"));
        QCOMPARE(form().mnuExit()->text(), QString("Exit"));
        QCOMPARE(form().mnuWebsite()->text(), QString("Website"));
        QCOMPARE(form().mnuAbout()->text(), QString("About"));
    }

    void opensWithTheFocusOnTranslateAndTabsToTheWordBox()
    {
        TestSupport::unloadAll();
        form().Show();
        QVERIFY(QTest::qWaitForWindowActive(form().window()));
        QTRY_COMPARE(QApplication::focusWidget(), form().cmdGo1());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), form().txtWord());
    }

    void ruleRunsWhenShown()
    {
        QVERIFY(showAfresh());
        QCOMPARE(form().Width(), Twips::fromPixels(form().window()->frameGeometry().width()));
        QCOMPARE(form().Height(), Twips::fromPixels(form().window()->frameGeometry().height()));
        verifyRuleApplied();
        verifyStatusBarDocked();
    }

    void ruleFollowsTheSize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("larger") << QSize(1000, 700);
        QTest::newRow("smaller") << QSize(500, 300);
        QTest::newRow("just above the narrowest") << QSize(240, 160);
        QTest::newRow("below the narrowest") << QSize(120, 100);
        QTest::newRow("back to the design size") << QSize(792, 633);
    }

    void ruleFollowsTheSize()
    {
        QFETCH(QSize, size);
        if (!form().Visible()) {
            form().Show();
            QVERIFY(QTest::qWaitForWindowExposed(form().window()));
        }
        resizeWindowTo(size.width(), size.height());
        verifyRuleApplied();
        verifyStatusBarDocked();
    }

    void minimizedChangesNothingAndRestoreRelaysOut()
    {
        QVERIFY(showAfresh());
        resizeWindowTo(900, 650);
        verifyRuleApplied();
        const int wordWidth = form().txtWord()->width();
        const int buttonLeft = form().cmdGo1()->x();
        const QSize browser = form().WebBrowser1()->size();

        form().window()->showMinimized();
        QTRY_VERIFY(form().window()->isMinimized());
        QCOMPARE(form().ScaleWidth(), 0.0f);
        QCOMPARE(form().ScaleHeight(), 0.0f);
        QTest::qWait(50);
        QCOMPARE(form().txtWord()->width(), wordWidth);
        QCOMPARE(form().cmdGo1()->x(), buttonLeft);
        QCOMPARE(form().WebBrowser1()->size(), browser);

        // Spoil the layout while minimized: only a new run of the rule on restore mends it.
        form().txtWord()->resize(1, form().txtWord()->height());
        form().WebBrowser1()->resize(1, 1);
        form().window()->showNormal();
        QTRY_VERIFY(!form().window()->isMinimized());
        verifyRuleApplied();
    }

    void maximizingGivesTheWholeGainToWordBoxAndBrowser()
    {
        QVERIFY(showAfresh());
        resizeWindowTo(400, 300);
        const float width = form().Width();
        const float height = form().Height();
        const float wordWidth = Twips::width(*form().txtWord());
        const float buttonLeft = Twips::left(*form().cmdGo1());
        const float browserWidth = Twips::width(*form().WebBrowser1());
        const float browserHeight = Twips::height(*form().WebBrowser1());

        form().window()->showMaximized();
        QTRY_VERIFY(form().Width() > width);
        verifyRuleApplied();
        const float gainW = form().Width() - width;
        const float gainH = form().Height() - height;
        QCOMPARE(Twips::width(*form().txtWord()) - wordWidth, gainW);
        QCOMPARE(Twips::left(*form().cmdGo1()) - buttonLeft, gainW);
        QCOMPARE(Twips::width(*form().WebBrowser1()) - browserWidth, gainW);
        QCOMPARE(Twips::height(*form().WebBrowser1()) - browserHeight, gainH);
        verifyStatusBarDocked();
        form().window()->showNormal();
    }
};

TAVREL_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
