#include "testsupport.h"

#include "window_layer/controls.h"
#include "window_layer/modUtility.h"
#include "program/providers.h"
#include "window_layer/twips.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmChinese.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

using TestSupport::stored;
using TestSupport::whileShownModally;

// The provider suggestion dialog, the About box, and centring.
class TestDialogs : public QObject
{
    Q_OBJECT

    enum class Ending { OK, Cancel, CloseThroughFrame };
    enum Box { HongKong = 1, OK88 = 2, China = 4 };

    TestSupport::ScratchFolder m_appFolder;

    static frmChinese &chooser() { return frmChinese::instance(); }
    static frmAbout &about() { return frmAbout::instance(); }
    static QString templateInForce() { return frmOption::instance().txtChinese()->text(); }

    // Presses "Select" and runs inDialog while the provider dialog is shown modally.
    static void select(const std::function<void()> &inDialog)
    {
        bool ran = false;
        whileShownModally(chooser(), [&] {
            ran = true;
            inDialog();
        });
        QTest::mouseClick(frmOption::instance().cmdChinese(), Qt::LeftButton);
        QVERIFY(ran);
        // Whatever happened, the dialog is gone afterwards.
        QVERIFY(!chooser().IsLoaded());
    }

    static void end(Ending ending)
    {
        switch (ending) {
        case Ending::OK:
            QTest::mouseClick(chooser().cmdOK(), Qt::LeftButton);
            break;
        case Ending::Cancel:
            QTest::mouseClick(chooser().cmdCancel(), Qt::LeftButton);
            break;
        case Ending::CloseThroughFrame:
            TestSupport::closeThroughFrame(chooser());
            break;
        }
    }

    // Runs Help, "About" and runs inDialog while the About box is shown.
    static void showAbout(const std::function<void()> &inDialog)
    {
        bool ran = false;
        whileShownModally(about(), [&] {
            ran = true;
            inDialog();
        });
        frmBrowser::instance().mnuAbout()->trigger();
        QVERIFY(ran);
    }

    static QHash<QString, QWidget *> chooserControls()
    {
        frmChinese &f = chooser();
        return {{"Frame1", f.Frame1()}, {"Check1", f.Check1()}, {"Check2", f.Check2()},
                {"Check3", f.Check3()}, {"Label1", f.Label1()}, {"Label2", f.Label2()},
                {"Label3", f.Label3()}, {"cmdOK", f.cmdOK()},   {"cmdCancel", f.cmdCancel()}};
    }

    static QHash<QString, QWidget *> aboutControls()
    {
        frmAbout &f = about();
        return {{"Frame1", f.Frame1()}, {"Frame2", f.Frame2()}, {"Label1", f.Label1()},
                {"Label2", f.Label2()}, {"Label3", f.Label3()}, {"Label4", f.Label4()},
                {"Label5", f.Label5()}, {"Label6", f.Label6()}, {"cmdOK", f.cmdOK()}};
    }

    // Checks a control's container, place and caption against the design table's row.
    static void checkDesign(const QHash<QString, QWidget *> &controls, QWidget *client)
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QString, caption);
        QFETCH(QRect, place);
        QWidget *control = controls.value(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), place);
        QCOMPARE(control->parentWidget(),
                 container == "client" ? client : controls.value(container));
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), caption);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            QCOMPARE(button->text(), caption);
        else
            QCOMPARE(control->focusPolicy(), Qt::NoFocus);
    }

    static void designColumns()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("place");
    }

    static void designRow(const char *name, const char *container, const QString &caption,
                          float left, float top, float width, float height)
    {
        QTest::newRow(name) << name << container << caption << pixels(left, top, width, height);
    }

    static QRect clientOnScreen(Form &form)
    {
        QWidget *client = form.window()->client();
        return QRect(client->mapToGlobal(QPoint(0, 0)), client->size());
    }

    static QRect pixels(float left, float top, float width, float height)
    {
        return QRect(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                     Twips::toPixels(height));
    }

private slots:
    void init()
    {
        QVERIFY(m_appFolder.renew());
        App::setPath(m_appFolder.path());
        frmBrowser::instance().Show();
        QVERIFY(QTest::qWaitForWindowExposed(frmBrowser::instance().window()));
        Controls::setText(*frmOption::instance().txtChinese(), "http://mine/%word");
    }

    void cleanup() { TestSupport::unloadAll(); }

    void centredOffset_data()
    {
        QTest::addColumn<float>("screen");
        QTest::addColumn<float>("window");
        QTest::addColumn<float>("offset");
        QTest::newRow("even difference") << 15360.0f << 11955.0f << 1702.5f;
        QTest::newRow("odd difference keeps the half") << 12000.0f << 7455.0f << 2272.5f;
        QTest::newRow("same size") << 9000.0f << 9000.0f << 0.0f;
        QTest::newRow("wider than the screen") << 12000.0f << 12015.0f << -7.5f;
        QTest::newRow("far wider than the screen") << 12000.0f << 30000.0f << -9000.0f;
    }

    void centredOffset()
    {
        QFETCH(float, screen);
        QFETCH(float, window);
        QFETCH(float, offset);
        QCOMPARE(modUtility::centredOffset(screen, window), offset);
    }

    void centreFormPlacesTheHiddenWindowExactly_data()
    {
        QTest::addColumn<int>("extraWidth"); // pixels added to the dialog's width
        QTest::addColumn<int>("extraHeight");
        QTest::newRow("design size") << 0 << 0;
        QTest::newRow("odd differences") << 1 << 1;
        QTest::newRow("wider and taller than the screen") << 2000 << 2000;
    }

    void centreFormPlacesTheHiddenWindowExactly()
    {
        QFETCH(int, extraWidth);
        QFETCH(int, extraHeight);
        chooser().Load();
        QWidget *window = chooser().window();
        window->resize(window->width() + extraWidth, window->height() + extraHeight);
        const float width = chooser().Width();
        const float height = chooser().Height();
        modUtility::CenterForm(chooser());
        QVERIFY(!chooser().Visible());
        QCOMPARE(chooser().Left(), (Form::ScreenWidth() - width) / 2);
        QCOMPARE(chooser().Top(), (Form::ScreenHeight() - height) / 2);
        // Not rounded: a half shows whenever the difference is odd, and nothing is clamped.
        const float halfPixel = Twips::perPixel() / 2;
        QCOMPARE(std::fmod(std::abs(chooser().Left()), Twips::perPixel()) == halfPixel,
                 int(std::lround((Form::ScreenWidth() - width) / Twips::perPixel())) % 2 != 0);
        QCOMPARE(chooser().Left() < 0, width > Form::ScreenWidth());
        QCOMPARE(chooser().Top() < 0, height > Form::ScreenHeight());
        // Once the window is moved, its place reads in whole pixels again.
        const int pixelLeft = Twips::toPixels(chooser().Left());
        window->setGeometry(window->geometry().translated(3, 0));
        QCOMPARE(chooser().Left(), Twips::fromPixels(pixelLeft + 3));
    }

    void providerDialogAsDesigned()
    {
        bool centred = false;
        QStringList names;
        bool unticked = false;
        QString caption;
        QSize client;
        select([&] {
            centred = TestSupport::isCentred(chooser());
            const QHash<QString, QWidget *> controls = chooserControls();
            names << controls.key(chooser().window()->focusWidget(), "none");
            for (int i = 0; i < 5; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                names << controls.key(QApplication::focusWidget(), "none");
            }
            unticked = !chooser().Check1()->isChecked() && !chooser().Check2()->isChecked()
                && !chooser().Check3()->isChecked();
            caption = chooser().window()->windowTitle();
            client = chooser().window()->client()->size();
            end(Ending::Cancel);
        });
        QVERIFY(centred);
        QVERIFY(unticked);
        QCOMPARE(caption, QString("Select Online Dictionary Provider Suggestion"));
        QCOMPARE(client, pixels(0, 0, 7455, 2295).size());
        QCOMPARE(names, QStringList({"cmdOK", "cmdCancel", "Check1", "Check2", "Check3", "cmdOK"}));
    }

    void providerDialogLayout_data()
    {
        designColumns();
        designRow("Frame1", "client", QString(), 240, 240, 5655, 1815);
        designRow("Check1", "Frame1", "Check1", 120, 240, 255, 255);
        designRow("Check2", "Frame1", "Check1", 120, 1200, 255, 255);
        designRow("Check3", "Frame1", "Check1", 120, 720, 255, 255);
        designRow("Label1", "Frame1", "Yahoo Dictionary (Hong Kong)", 600, 240, 4815, 375);
        designRow("Label2", "Frame1", "OK88 Dictionary", 600, 1200, 4815, 375);
        designRow("Label3", "Frame1", "Yahoo Dictionary (China)", 600, 720, 4815, 375);
        designRow("cmdOK", "client", "OK", 6000, 360, 1215, 495);
        designRow("cmdCancel", "client", "Cancel", 6000, 960, 1215, 495);
    }

    void providerDialogLayout()
    {
        checkDesign(chooserControls(), chooser().window()->client());
        QCOMPARE(chooser().Label1()->font().pointSizeF(), 12.0);
        QCOMPARE(chooser().Check1()->font(), QApplication::font(chooser().Check1()));
    }

    void providerChoice_data()
    {
        QTest::addColumn<int>("ticked");
        QTest::addColumn<int>("ending");
        QTest::addColumn<QString>("result");
        const QString mine = "http://mine/%word";
        QTest::newRow("OK, nothing ticked") << 0 << int(Ending::OK) << mine;
        QTest::newRow("Hong Kong")
            << int(HongKong) << int(Ending::OK) << Providers::hongKongTemplate();
        QTest::newRow("OK88") << int(OK88) << int(Ending::OK) << Providers::ok88Template();
        QTest::newRow("China") << int(China) << int(Ending::OK) << Providers::chinaTemplate();
        QTest::newRow("Hong Kong and OK88")
            << int(HongKong | OK88) << int(Ending::OK) << Providers::ok88Template();
        QTest::newRow("Hong Kong and China")
            << int(HongKong | China) << int(Ending::OK) << Providers::chinaTemplate();
        QTest::newRow("OK88 and China")
            << int(OK88 | China) << int(Ending::OK) << Providers::chinaTemplate();
        QTest::newRow("all three")
            << int(HongKong | OK88 | China) << int(Ending::OK) << Providers::chinaTemplate();
        QTest::newRow("Cancel after ticking")
            << int(HongKong | China) << int(Ending::Cancel) << mine;
        QTest::newRow("closed after ticking")
            << int(OK88) << int(Ending::CloseThroughFrame) << mine;
    }

    void providerChoice()
    {
        QFETCH(int, ticked);
        QFETCH(int, ending);
        QFETCH(QString, result);
        bool stillShownAfterKeys = false;
        select([&] {
            // Clicking a provider's name ticks nothing; clicking a box toggles it.
            QTest::mouseClick(chooser().Label1(), Qt::LeftButton);
            QTest::mouseClick(chooser().Label2(), Qt::LeftButton);
            QTest::mouseClick(chooser().Label3(), Qt::LeftButton);
            QTest::mouseClick(chooser().Check2(), Qt::LeftButton);
            QTest::mouseClick(chooser().Check2(), Qt::LeftButton);
            const std::pair<Box, QCheckBox *> boxes[] = {
                {HongKong, chooser().Check1()},
                {OK88, chooser().Check2()},
                {China, chooser().Check3()},
            };
            for (const auto &[box, checkBox] : boxes) {
                if (ticked & box)
                    QTest::mouseClick(checkBox, Qt::LeftButton);
            }
            // Neither button is a default or a cancel button.
            QTest::keyClick(chooser().Check1(), Qt::Key_Return);
            QTest::keyClick(chooser().Check1(), Qt::Key_Escape);
            QTest::keyClick(chooser().window(), Qt::Key_Escape);
            stillShownAfterKeys = chooser().Visible();
            end(Ending(ending));
        });
        QVERIFY(stillShownAfterKeys);
        QCOMPARE(templateInForce(), result);
    }

    void spaceTogglesTheFocusedBoxAndEveryUseStartsUnticked()
    {
        bool tickedBySpace = false;
        select([&] {
            chooser().Check3()->setFocus();
            QTest::keyClick(chooser().Check3(), Qt::Key_Space);
            tickedBySpace = chooser().Check3()->isChecked();
            QTest::mouseClick(chooser().Check1(), Qt::LeftButton);
            end(Ending::Cancel);
        });
        QVERIFY(tickedBySpace);
        bool untickedAgain = false;
        select([&] {
            untickedAgain = !chooser().Check1()->isChecked() && !chooser().Check3()->isChecked();
            end(Ending::OK);
        });
        QVERIFY(untickedAgain);
        QCOMPARE(templateInForce(), QString("http://mine/%word"));
    }

    void providerBoxesShowNoCaption()
    {
        // Only the square shows: a box is narrower than its caption would need.
        chooser().Load();
        QCheckBox *box = chooser().Check1();
        QCOMPARE(box->width(), Twips::toPixels(255));
        QVERIFY(box->sizeHint().width() > box->width());
    }

    void aboutBoxAsDesigned()
    {
        QRect client;
        bool focusOnOK = false;
        bool mainTookInput = false;
        showAbout([&] {
            client = clientOnScreen(about());
            focusOnOK = about().window()->focusWidget() == about().cmdOK();
            frmBrowser::instance().txtWord()->setText("during");
            TestSupport::clickThroughWindowSystem(frmBrowser::instance().cmdGo1());
            QTest::qWait(20);
            mainTookInput = !frmBrowser::instance().StatusBar1()->SimpleText().isEmpty();
            QTest::mouseClick(about().cmdOK(), Qt::LeftButton);
        });
        QCOMPARE(client, pixels(5250, 4095, 5475, 3090));
        QVERIFY(focusOnOK);
        QVERIFY(!mainTookInput);
        QVERIFY(!about().IsLoaded());
    }

    void aboutBoxLayout_data()
    {
        designColumns();
        designRow("Frame2", "client", QString(), 240, 0, 3735, 1455);
        designRow("Label1", "Frame2", "         Tavrel Dictionary", 720, 360, 2295, 255);
        designRow("Label3", "Frame2", "              version 1.1", 720, 600, 2175, 255);
        designRow("Label2", "Frame2", "      All rights reserved.", 840, 960, 2175, 255);
        designRow("Frame1", "client", QString(), 240, 1440, 3735, 1455);
        designRow("Label4", "Frame1", "Contact points are:", 120, 360, 3135, 255);
        designRow("Label5", "Frame1", "Url:     http://www.tavrel.example", 120, 600, 3255, 255);
        designRow("Label6", "Frame1", "Email: support@tavrel.example", 120, 840, 3135, 255);
        designRow("cmdOK", "client", "OK", 4080, 240, 1335, 375);
    }

    void aboutBoxLayout()
    {
        QCOMPARE(about().window()->windowTitle(), QString("About Tavrel Dictionary"));
        checkDesign(aboutControls(), about().window()->client());
        // No font is set anywhere in the About box.
        for (QWidget *control : aboutControls())
            QCOMPARE(control->font(), QApplication::font(control));
    }

    void aboutBoxKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
    }

    void aboutBoxKeys()
    {
        QFETCH(int, key);
        QFETCH(bool, closes);
        bool closed = false;
        showAbout([&] {
            QTest::keyClick(about().window()->focusWidget(), Qt::Key(key));
            closed = QTest::qWaitFor([] { return !about().IsLoaded(); }, 200);
            if (!closed)
                TestSupport::closeThroughFrame(about());
        });
        QCOMPARE(closed, closes);
        QVERIFY(!about().IsLoaded());
    }

    void aboutBoxOpensAfreshAtItsPlace()
    {
        showAbout([] {
            about().window()->move(about().window()->pos() + QPoint(40, 30));
            about().window()->resize(200, 100);
            TestSupport::closeThroughFrame(about());
        });
        QVERIFY(!about().IsLoaded());
        QRect client;
        showAbout([&] {
            client = clientOnScreen(about());
            QTest::mouseClick(about().cmdOK(), Qt::LeftButton);
        });
        QCOMPARE(client, pixels(5250, 4095, 5475, 3090));
        // The main window answers again once the About box is gone.
        frmBrowser::instance().txtWord()->setText("after");
        TestSupport::clickThroughWindowSystem(frmBrowser::instance().cmdGo1());
        QTRY_VERIFY(frmBrowser::instance().StatusBar1()->SimpleText().endsWith("/after"));
    }

    void resizingADialogMovesNoControl()
    {
        chooser().Load();
        about().Load();
        frmOption::instance().Load();
        for (Form *form :
             std::initializer_list<Form *> {&chooser(), &about(), &frmOption::instance()}) {
            FormWindow *window = form->window();
            const QList<QWidget *> controls = window->client()->findChildren<QWidget *>();
            QList<QRect> before;
            for (QWidget *control : controls)
                before << control->geometry();
            window->show();
            window->resize(window->size() * 2);
            window->showMaximized();
            QTest::qWait(0);
            QList<QRect> after;
            for (QWidget *control : controls)
                after << control->geometry();
            QCOMPARE(after, before);
            window->hide();
        }
    }
};

TAVREL_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
