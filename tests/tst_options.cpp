#include "testsupport.h"

#include "dialogs/frmChinese.h"
#include "dialogs/frmOption.h"
#include "dialogs/frmPreferences.h"
#include "dialogs/pronunciationpage.h"
#include "main_window/frmBrowser.h"
#include "main_window/lookup.h"
#include "preferences/preferences.h"
#include "preferences/pronunciationsettings.h"
#include "preferences/settingsfile.h"
#include "program/providers.h"
#include "window_layer/controls.h"

#include <QCheckBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>

#include <sys/stat.h>

using TestSupport::readBytes;
using TestSupport::whileShownModally;

// Editing the query template through Option, "Online Dictionary Query String".
class TestOptions : public QObject
{
    Q_OBJECT

    enum class Ending { Save, Cancel, CloseThroughFrame };

    TestSupport::ScratchFolder m_appFolder;

    static frmBrowser &main() { return frmBrowser::instance(); }
    static frmOption &options() { return frmOption::instance(); }
    static QString templateInForce() { return options().txtChinese()->text(); }
    QString settingsPath() const { return m_appFolder.path("session/tavrel.xml"); }
    static QByteArray document(const QString &queryTemplate)
    {
        return (SettingsFile::buildSettingsXml(queryTemplate) + "\r\n").toUtf8();
    }

    // An earlier run's file, with LF line ends so that a rewrite shows even for the same template.
    static QByteArray oldFile()
    {
        return "<TavrelDictionary>\n<Chinese>http://old/%word</Chinese>\n";
    }

    static void end(Ending ending)
    {
        switch (ending) {
        case Ending::Save:
            QTest::mouseClick(options().cmdSave(), Qt::LeftButton);
            break;
        case Ending::Cancel:
            QTest::mouseClick(options().cmdCancel(), Qt::LeftButton);
            break;
        case Ending::CloseThroughFrame:
            TestSupport::closeThroughFrame(options());
            break;
        }
    }

    // Chooses the menu item and runs inDialog while the options dialog is shown. Returns once
    // the command has finished, as the user sees it.
    static void editTemplate(const std::function<void()> &inDialog)
    {
        bool ran = false;
        whileShownModally(options(), [&] {
            ran = true;
            inDialog();
        });
        main().mnuQueryString()->trigger();
        QVERIFY(ran);
        QVERIFY(!options().Visible());
    }

    // Typed as the user does; characters beyond ASCII come through the input method.
    static void retype(const QString &text)
    {
        QLineEdit *box = options().txtChinese();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, c.toLatin1());
            } else {
                QInputMethodEvent typed;
                typed.setCommitString(c);
                QCoreApplication::sendEvent(box, &typed);
            }
        }
        QCOMPARE(box->text(), text);
    }

    static QString lookUp(const QString &word)
    {
        main().txtWord()->setText(word);
        QTest::mouseClick(main().cmdGo1(), Qt::LeftButton);
        return main().StatusBar1()->SimpleText();
    }

private slots:
    void initTestCase()
    {
        // Words read after a lookup go to a sound server that isn't there, never to the
        // speakers of whoever runs the suite.
        qputenv("PULSE_SERVER", "unix:/nonexistent/tavrel-test");
    }

    void init()
    {
        QVERIFY(m_appFolder.renew());
        App::setPath(m_appFolder.path());
        QVERIFY(QDir().mkdir(m_appFolder.path("session")));
        TestSupport::writeBytes(settingsPath(), oldFile());
        main().Show();
        QVERIFY(QTest::qWaitForWindowExposed(main().window()));
        QCOMPARE(templateInForce(), QString("http://old/%word"));
    }

    void cleanup() { TestSupport::unloadAll(); }

    void opensCentredAndModalOnTheTemplateInForce()
    {
        Controls::setText(*options().txtChinese(), "http://in-force/%word");
        lookUp("before");
        QString shownText;
        QWidget *focus = nullptr;
        bool centred = false;
        editTemplate([&] {
            shownText = options().txtChinese()->text();
            focus = options().window()->focusWidget();
            centred = TestSupport::isCentred(options());
            // The main window takes no input meanwhile.
            main().txtWord()->setText("during");
            TestSupport::clickThroughWindowSystem(main().cmdGo1());
            QTest::qWait(20);
            end(Ending::Cancel);
        });
        QCOMPARE(shownText, QString("http://in-force/%word"));
        QCOMPARE(focus, options().txtChinese());
        QVERIFY(centred);
        QCOMPARE(main().StatusBar1()->SimpleText(), QString("goto http://in-force/before"));
    }

    void endingTheDialog_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("inForce");
        QTest::addColumn<bool>("saved");
        const auto row
            = [](const char *name, Ending ending, const QString &typed, const QString &inForce,
                 bool saved) { QTest::newRow(name) << int(ending) << typed << inForce << saved; };
        const QString typed = QStringLiteral("http://new/?q=%word&f=%firstchar 冰");
        row("Save", Ending::Save, typed, typed, true);
        row("Save unchanged rewrites the file", Ending::Save, "http://old/%word",
            "http://old/%word", true);
        row("Save empty", Ending::Save, "", "", true);
        row("Save stores untrimmed", Ending::Save, "  http://new/%word  ", "  http://new/%word  ",
            true);
        row("Cancel", Ending::Cancel, typed, "http://old/%word", false);
        row("close through the frame", Ending::CloseThroughFrame, typed, "http://old/%word", false);
    }

    void endingTheDialog()
    {
        QFETCH(int, ending);
        QFETCH(QString, typed);
        QFETCH(QString, inForce);
        QFETCH(bool, saved);
        bool stillShownAfterEnterAndEsc = false;
        editTemplate([&] {
            retype(typed);
            // No button is a default or a cancel button.
            QTest::keyClick(options().txtChinese(), Qt::Key_Return);
            QTest::keyClick(options().txtChinese(), Qt::Key_Escape);
            QTest::keyClick(options().window(), Qt::Key_Escape);
            stillShownAfterEnterAndEsc = options().Visible();
            end(Ending(ending));
        });
        QVERIFY(stillShownAfterEnterAndEsc);
        QCOMPARE(templateInForce(), inForce);
        QCOMPARE(readBytes(settingsPath()), saved ? document(inForce) : oldFile());
        QVERIFY(options().IsLoaded());
        QCOMPARE(main().saveWarning(), nullptr);
        QCOMPARE(lookUp("tea"), "goto " + buildLookupAddress("tea", inForce));
    }

    void aSaveDoesNotCarryOverToTheNextShow()
    {
        bool flagAtSecondShow = true;
        editTemplate([] {
            retype("http://first/%word");
            end(Ending::Save);
        });
        QVERIFY(options().bSaveFlag);
        editTemplate([&] {
            flagAtSecondShow = options().bSaveFlag;
            retype("http://second/%word");
            end(Ending::Cancel);
        });
        QVERIFY(!flagAtSecondShow);
        QCOMPARE(templateInForce(), QString("http://first/%word"));
        QCOMPARE(readBytes(settingsPath()), document("http://first/%word"));
    }

    void reopensAfterAFrameCloseWithThePreviousTemplate()
    {
        editTemplate([] {
            retype("http://dropped/%word");
            end(Ending::CloseThroughFrame);
        });
        QVERIFY(options().IsLoaded());
        QVERIFY(!options().Visible());
        QString shownText;
        editTemplate([&] {
            shownText = options().txtChinese()->text();
            retype("http://kept/%word");
            end(Ending::Save);
        });
        QCOMPARE(shownText, QString("http://old/%word"));
        QCOMPARE(readBytes(settingsPath()), document("http://kept/%word"));
    }

    void aChosenProviderIsStoredOrDropped_data()
    {
        QTest::addColumn<int>("ending");
        QTest::addColumn<QString>("inForce");
        QTest::newRow("Save") << int(Ending::Save) << Providers::chinaTemplate();
        QTest::newRow("Cancel") << int(Ending::Cancel) << "http://old/%word";
        QTest::newRow("close through the frame")
            << int(Ending::CloseThroughFrame) << "http://old/%word";
    }

    void aChosenProviderIsStoredOrDropped()
    {
        QFETCH(int, ending);
        QFETCH(QString, inForce);
        QString afterSelect;
        bool optionsShownAfterSelect = false;
        editTemplate([&] {
            frmChinese &chooser = frmChinese::instance();
            whileShownModally(chooser, [&chooser] {
                QTest::mouseClick(chooser.Check3(), Qt::LeftButton);
                QTest::mouseClick(chooser.cmdOK(), Qt::LeftButton);
            });
            QTest::mouseClick(options().cmdChinese(), Qt::LeftButton);
            afterSelect = options().txtChinese()->text();
            optionsShownAfterSelect = options().Visible()
                && QGuiApplication::modalWindow() == options().window()->windowHandle();
            end(Ending(ending));
        });
        QCOMPARE(afterSelect, Providers::chinaTemplate());
        QVERIFY(optionsShownAfterSelect);
        QCOMPARE(templateInForce(), inForce);
        QCOMPARE(readBytes(settingsPath()),
                 Ending(ending) == Ending::Save ? document(inForce) : oldFile());
    }

    void aFailedSaveWarnsWithoutBlocking_data()
    {
        QTest::addColumn<bool>("readOnlyFile");
        QTest::newRow("session folder gone") << false;
        QTest::newRow("settings file read-only") << true;
    }

    void aFailedSaveWarnsWithoutBlocking()
    {
        QFETCH(bool, readOnlyFile);
        if (readOnlyFile) {
            QVERIFY(::chmod(QFile::encodeName(settingsPath()).constData(), 0444) == 0);
        } else {
            // With the words database in it, which the program keeps open.
            QVERIFY(QFile::exists(m_appFolder.path("session/words.sqlite")));
            QVERIFY(QDir(m_appFolder.path("session")).removeRecursively());
        }
        editTemplate([] {
            retype("http://unsaved/%word");
            end(Ending::Save);
        });
        // The command has returned: the warning does not hold it up.
        QMessageBox *warning = main().saveWarning();
        QVERIFY(warning);
        QVERIFY(warning->isVisible());
        QVERIFY(!warning->isModal());
        QCOMPARE(QGuiApplication::modalWindow(), nullptr);
        QVERIFY2(warning->text().contains(QDir::toNativeSeparators(settingsPath())),
                 qPrintable(warning->text()));
        QVERIFY2(warning->text().contains("until the program ends"), qPrintable(warning->text()));
        if (readOnlyFile)
            QVERIFY2(warning->text().contains("read-only"), qPrintable(warning->text()));

        // The template is in force for this run, and the main window still answers.
        QCOMPARE(templateInForce(), QString("http://unsaved/%word"));
        QCOMPARE(lookUp("tea"), QString("goto http://unsaved/tea"));
        QCOMPARE(readBytes(settingsPath()), readOnlyFile ? oldFile() : QByteArray("<unreadable>"));

        // A second failure reuses the open warning rather than stacking another.
        editTemplate([] { end(Ending::Save); });
        QCOMPARE(main().saveWarning(), warning);
        QCOMPARE(main().window()->findChildren<QMessageBox *>().size(), 1);
    }

    // Option, "Preferences...", "Pronunciation": kept in the preferences beside the template's
    // file, which stays as it was, and in force at once. An earlier version's own file for it is
    // carried over, and left as it was.
    void pronunciationSettings_data()
    {
        QTest::addColumn<QByteArray>("fileAtStart");
        QTest::addColumn<bool>("british");
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("readAfterLookup");
        QTest::addColumn<int>("ending");
        QTest::newRow("saved") << QByteArray() << true << 200 << true << int(Ending::Save);
        QTest::newRow("cancelled") << QByteArray() << true << 200 << true << int(Ending::Cancel);
        QTest::newRow("closed") << QByteArray() << true << 90 << false
                                << int(Ending::CloseThroughFrame);
        QTest::newRow("saved over an earlier file")
            << QByteArray("english-voice=en-gb\nspeed=120\nread-after-lookup=yes\n") << false << 150
            << false << int(Ending::Save);
        QTest::newRow("earlier file, cancelled")
            << QByteArray("english-voice=en-gb\nspeed=120\nread-after-lookup=yes\n") << false << 250
            << false << int(Ending::Cancel);
    }

    void pronunciationSettings()
    {
        QFETCH(QByteArray, fileAtStart);
        QFETCH(bool, british);
        QFETCH(int, speed);
        QFETCH(bool, readAfterLookup);
        QFETCH(int, ending);
        const QString path = m_appFolder.path("session/") + PronunciationSettings::fileName;
        const QString kept = m_appFolder.path("session/") + PreferencesFile::fileName;
        if (!fileAtStart.isNull()) {
            TestSupport::unloadAll();
            TestSupport::writeBytes(path, fileAtStart);
            main().Show();
        }
        TestSupport::writeBytes(settingsPath(),
                                SettingsFile::buildSettingsXml("tavrel:%word").toUtf8());
        const PronunciationSettings::Settings before = PronunciationSettings::read(path);
        PronunciationSettings::Settings shown, reopened;
        const auto page = [] { return frmPreferences::instance().pronunciationPage(); };
        const auto showing = [&page] {
            return PronunciationSettings::Settings {
                page()->optBritish()->isChecked() ? Speech::Voice::BritishEnglish
                                                  : Speech::Voice::AmericanEnglish,
                page()->txtSpeed()->value(), page()->chkReadAfterLookup()->isChecked()};
        };
        whileShownModally(frmPreferences::instance(), [&] {
            frmPreferences &dialog = frmPreferences::instance();
            shown = showing();
            (british ? page()->optBritish() : page()->optAmerican())->click();
            page()->txtSpeed()->setValue(speed);
            page()->chkReadAfterLookup()->setChecked(readAfterLookup);
            switch (Ending(ending)) {
            case Ending::Save:
                QTest::mouseClick(dialog.cmdSave(), Qt::LeftButton);
                break;
            case Ending::Cancel:
                QTest::mouseClick(dialog.cmdCancel(), Qt::LeftButton);
                break;
            case Ending::CloseThroughFrame:
                TestSupport::closeThroughFrame(dialog);
                break;
            }
        });
        main().mnuPreferences()->trigger();
        QVERIFY(shown == before);

        const bool saved = Ending(ending) == Ending::Save;
        const PronunciationSettings::Settings chosen {british ? Speech::Voice::BritishEnglish
                                                              : Speech::Voice::AmericanEnglish,
                                                      speed, readAfterLookup};
        QCOMPARE(QFileInfo::exists(kept), saved);
        QCOMPARE(QFileInfo::exists(path), !fileAtStart.isNull());
        QVERIFY(PreferencesFile::load(m_appFolder.path("session"), true).pronunciation
                == (saved ? chosen : before));
        QCOMPARE(readBytes(settingsPath()),
                 SettingsFile::buildSettingsXml("tavrel:%word").toUtf8());
        whileShownModally(frmPreferences::instance(), [&] {
            reopened = showing();
            QTest::mouseClick(frmPreferences::instance().cmdCancel(), Qt::LeftButton);
        });
        main().mnuPreferences()->trigger();
        QVERIFY(reopened == (saved ? chosen : before));

        // The answer of a lookup is read once it is shown, or not.
        Controls::setText(*options().txtChinese(), "tavrel:%word");
        QSignalSpy asked(main().WebBrowser1(), &WebBrowser::pronounce);
        lookUp(QStringLiteral("银行"));
        QTRY_COMPARE(main().WebBrowser1()->title(), QStringLiteral("银行"));
        QTest::qWait(100);
        QCOMPARE(asked.size(), (saved ? chosen : before).readAfterLookup ? 1 : 0);
    }
};

TAVREL_TEST_MAIN(TestOptions)
#include "tst_options.moc"
