#include "testsupport.h"

#include "window_layer/controls.h"
#include "window_layer/form.h"
#include "window_layer/twips.h"
#include "dialogs/frmOption.h"

#include <QLineEdit>

#include <cmath>
#include <limits>

// A window class of its own, so the layer is tested apart from the program's windows.
class frmTest : public Form
{
    Q_OBJECT
public:
    static frmTest &instance() { return sharedInstance<frmTest>(); }
    QLineEdit *txtValue() { return control(m_txtValue); }

    QString strMember;
    int loads = 0;
    int unloads = 0;

protected:
    void CreateControls(FormWindow &window) override
    {
        m_txtValue = Controls::textBox(window.client(), "design", 120, 120, 2400, 375);
    }
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }

private:
    frmTest()
        : Form("Test window", 6000, 3000)
    { }
    friend class Form;
    QPointer<QLineEdit> m_txtValue;
};

class TestFormLayer : public QObject
{
    Q_OBJECT

    static frmTest &form() { return frmTest::instance(); }

    enum class Ending { Hide, Unload, CloseThroughFrame };

    static void end(Ending ending)
    {
        switch (ending) {
        case Ending::Hide:
            form().Hide();
            break;
        case Ending::Unload:
            form().Unload();
            break;
        case Ending::CloseThroughFrame:
            form().window()->close();
            break;
        }
    }

private slots:
    void init()
    {
        form().Unload();
        frmOption::instance().Unload();
        QTest::qWait(0);
        form().loads = form().unloads = 0;
    }

    void twipsToPixels_data()
    {
        QTest::addColumn<float>("twips");
        QTest::addColumn<float>("perPixel");
        QTest::addColumn<int>("pixels");
        QTest::newRow("one pixel") << 15.0f << 15.0f << 1;
        QTest::newRow("rounds to the nearest") << 8.0f << 15.0f << 1;
        QTest::newRow("negative") << -1650.0f << 15.0f << -110;
        QTest::newRow("192 dpi") << 11880.0f << 7.5f << 1584;
        QTest::newRow("huge is clamped") << 1e30f << 15.0f << int(QWIDGETSIZE_MAX);
        QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 15.0f << 0;
    }

    void twipsToPixels()
    {
        QFETCH(float, twips);
        QFETCH(float, perPixel);
        QFETCH(int, pixels);
        QCOMPARE(Twips::toPixels(twips, perPixel), pixels);
    }

    void loadCreatesTheWindowHiddenOnce()
    {
        QCOMPARE(&frmTest::instance(), &form());
        QVERIFY(!form().IsLoaded());
        form().Load();
        QVERIFY(form().IsLoaded());
        QVERIFY(!form().Visible());
        QCOMPARE(form().txtValue()->text(), QString("design"));
        FormWindow *window = form().window();
        form().Load();
        QCOMPARE(form().window(), window);
        QCOMPARE(form().loads, 1);
        QCOMPARE(form().ScaleWidth(), TestSupport::stored(6000));
        QCOMPARE(form().ScaleHeight(), TestSupport::stored(3000));
    }

    void unloadKeepsMembersAndControlAccessLoadsAgain()
    {
        form().strMember = "kept";
        form().txtValue()->setText("typed");
        QPointer<FormWindow> window = form().window();
        QPointer<QLineEdit> box = form().txtValue();
        form().Unload();
        QVERIFY(!form().IsLoaded());
        QTRY_VERIFY(window.isNull());
        QVERIFY(box.isNull());
        QCOMPARE(form().unloads, 1);
        QCOMPARE(form().strMember, QString("kept"));

        QCOMPARE(form().txtValue()->text(), QString("design"));
        QVERIFY(form().IsLoaded());
        QVERIFY(!form().Visible());
        QCOMPARE(form().loads, 2);
    }

    void outerGeometryIncludesFrameAndMenu()
    {
        form().Show();
        QVERIFY(QTest::qWaitForWindowExposed(form().window()));
        FormWindow *window = form().window();
        QCOMPARE(form().Width(), Twips::fromPixels(window->frameGeometry().width()));
        QCOMPARE(form().Height(), Twips::fromPixels(window->frameGeometry().height()));
        form().setLeft(1500);
        form().setTop(1215);
        QTRY_COMPARE(window->frameGeometry().topLeft(),
                     QPoint(Twips::toPixels(1500), Twips::toPixels(1215)));
        QCOMPARE(form().Left(), TestSupport::stored(1500));
        QCOMPARE(form().Top(), TestSupport::stored(1215));
    }

    void modalShowReturnsOnlyWhenHiddenOrUnloaded_data()
    {
        QTest::addColumn<int>("ending");
        QTest::newRow("hide") << int(Ending::Hide);
        QTest::newRow("unload") << int(Ending::Unload);
        QTest::newRow("close through the frame") << int(Ending::CloseThroughFrame);
    }

    void modalShowReturnsOnlyWhenHiddenOrUnloaded()
    {
        QFETCH(int, ending);
        bool returned = false;
        bool sawItModal = false;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(form().Visible());
            sawItModal = QApplication::activeModalWidget() == form().window() && !returned;
            end(Ending(ending));
        });
        form().ShowModal();
        returned = true;
        QVERIFY(sawItModal);
        QVERIFY(!form().Visible());
        QCOMPARE(form().IsLoaded(), Ending(ending) == Ending::Hide);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void otherWindowsTakeNoInputDuringAModalShow()
    {
        frmOption &other = frmOption::instance();
        other.bSaveFlag = false;
        other.Show();
        QVERIFY(QTest::qWaitForWindowExposed(other.window()));
        // Clicked the way the window system delivers it, so that modality can intervene.
        const auto clickSave = [&other] {
            QWidget *button = other.cmdSave();
            QTest::mouseClick(other.window()->windowHandle(), Qt::LeftButton, {},
                              button->mapTo(other.window(), button->rect().center()));
        };
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(form().Visible());
            clickSave();
            QTest::qWait(20);
            form().Hide();
        });
        form().ShowModal();
        QVERIFY(!other.bSaveFlag);
        QVERIFY(other.Visible());
        // Once the show is over the other window answers again.
        clickSave();
        QTRY_VERIFY(other.bSaveFlag);
    }

    void nestedModalShowsReturnInOrder()
    {
        QStringList order;
        QTimer::singleShot(0, this, [&] {
            QTimer::singleShot(0, this, [&] {
                order << "inner shown";
                frmOption::instance().Hide();
            });
            frmOption::instance().ShowModal();
            order << "inner returned";
            form().Hide();
        });
        form().ShowModal();
        order << "outer returned";
        QCOMPARE(order, QStringList({"inner shown", "inner returned", "outer returned"}));
    }

    void modalShowStillWaitsAfterTheLastWindowWasUnloadedOutsideTheLoop()
    {
        // Every window is unloaded by init(), outside any event loop: the program-ending step
        // must not leave later event loops returning at once.
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            ran = true;
            form().Hide();
        });
        form().ShowModal();
        QVERIFY(ran);
    }
};

TAVREL_TEST_MAIN(TestFormLayer)
#include "tst_formlayer.moc"
