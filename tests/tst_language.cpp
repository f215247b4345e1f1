#include "testsupport.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmChinese.h"
#include "dialogs/frmOption.h"
#include "dialogs/frmPreferences.h"
#include "dialogs/languagepage.h"
#include "language/language.h"
#include "main_window/frmBrowser.h"
#include "preferences/preferences.h"
#include "program/application.h"
#include "window_layer/controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QListWidget>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include <functional>

using Language::Choice;
using Language::Translation;

// Which translation the locale and the user's choice give, and the interface it makes: the
// second half runs under the LANG that CMake sets for each run of the suite.
class TestLanguage : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_appFolder;
    Translation m_translation = Translation::English;

private slots:
    void initTestCase()
    {
        // Nothing is written beside the build tree, and no word is read aloud.
        QVERIFY(m_appFolder.renew());
        App::setPath(m_appFolder.path());
        qputenv("PULSE_SERVER", "unix:/nonexistent/tavrel-test");
        // As the program does: before any window, whose caption is set when it is made.
        m_translation = Language::install(*QCoreApplication::instance());
    }

    void cleanup() { TestSupport::unloadAll(); }

    void choosesTheTranslation_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<Choice>("choice");
        QTest::addColumn<Translation>("expected");
        const auto S = Choice::System;
        QTest::newRow("zh_CN") << QStringList {"zh_CN.UTF-8"} << S << Translation::Simplified;
        QTest::newRow("zh-SG") << QStringList {"zh-SG"} << S << Translation::Simplified;
        QTest::newRow("zh-Hans-CN") << QStringList {"zh-Hans-CN"} << S << Translation::Simplified;
        QTest::newRow("bare zh") << QStringList {"zh"} << S << Translation::Simplified;
        QTest::newRow("zh_TW") << QStringList {"zh_TW.UTF-8"} << S << Translation::Traditional;
        QTest::newRow("zh-HK") << QStringList {"zh-HK"} << S << Translation::Traditional;
        QTest::newRow("zh_MO") << QStringList {"zh_MO"} << S << Translation::Traditional;
        QTest::newRow("zh-Hant-HK") << QStringList {"zh-Hant-HK"} << S << Translation::Traditional;
        QTest::newRow("zh-Hant") << QStringList {"zh-Hant"} << S << Translation::Traditional;
        QTest::newRow("en_US") << QStringList {"en-US", "en"} << S << Translation::English;
        QTest::newRow("C") << QStringList {"C"} << S << Translation::English;
        QTest::newRow("nothing") << QStringList {} << S << Translation::English;
        QTest::newRow("French only") << QStringList {"fr-FR"} << S << Translation::English;
        QTest::newRow("French then zh_TW")
            << QStringList {"fr_FR", "zh_TW"} << S << Translation::Traditional;
        QTest::newRow("en before zh")
            << QStringList {"en_GB", "zh_CN"} << S << Translation::English;
        QTest::newRow("override English")
            << QStringList {"zh_CN"} << Choice::English << Translation::English;
        QTest::newRow("override Simplified")
            << QStringList {"zh_TW"} << Choice::Simplified << Translation::Simplified;
        QTest::newRow("override Traditional")
            << QStringList {"C"} << Choice::Traditional << Translation::Traditional;
    }

    void choosesTheTranslation()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(Choice, choice);
        QFETCH(Translation, expected);
        QCOMPARE(Language::choose(uiLanguages, choice), expected);
    }

    // The choice kept in the preferences, shown on the Language page, changed there and saved.
    void languagePage_data()
    {
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<Choice>("shown");
        QTest::addColumn<Choice>("picked");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no file") << QByteArray() << Choice::System << Choice::Traditional << "zh_TW";
        QTest::newRow("English") << QByteArray("en") << Choice::English << Choice::System
                                 << "system";
        QTest::newRow("Simplified") << QByteArray("zh_CN") << Choice::Simplified
                                    << Choice::English << "en";
        QTest::newRow("Traditional") << QByteArray("zh_TW") << Choice::Traditional
                                     << Choice::Simplified << "zh_CN";
        QTest::newRow("a language it lacks") << QByteArray("fr") << Choice::System
                                             << Choice::Simplified << "zh_CN";
    }

    void languagePage()
    {
        QFETCH(QByteArray, kept);
        QFETCH(Choice, shown);
        QFETCH(Choice, picked);
        QFETCH(QString, saved);
        TestSupport::ScratchFolder folder;
        QVERIFY(folder.renew());
        if (!kept.isNull())
            TestSupport::writeBytes(folder.path(PreferencesFile::fileName),
                                    "<preferences><interface language=\"" + kept
                                        + "\"/></preferences>");
        Preferences preferences = PreferencesFile::load(folder.path(), true);
        QCOMPARE(preferences.language, shown);
        frmPreferences &dialog = frmPreferences::instance();
        dialog.Load();
        dialog.showValues(preferences);
        const QList<QRadioButton *> &choices = dialog.languagePage()->choices();
        for (int i = 0; i < choices.size(); ++i)
            QCOMPARE(choices.at(i)->isChecked(), i == int(shown));
        choices.at(int(picked))->click();
        dialog.takeValues(preferences);
        QVERIFY(PreferencesFile::save(folder.path(), preferences));
        QVERIFY(TestSupport::readBytes(folder.path(PreferencesFile::fileName))
                    .contains("<interface language=\"" + saved.toUtf8() + "\"/>"));
        QCOMPARE(PreferencesFile::load(folder.path(), true).language, picked);
    }

    // The menus and the Translate button in the language of the LANG the suite runs under.
    void theMainWindowSpeaksTheLocale_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("translate");
        QTest::addColumn<QString>("title");
        QTest::newRow("zh_CN") << "zh_CN.UTF-8" << QStringList {"选项", "单词", "帮助"} << "翻译"
                               << "Tavrel 词典 v1.1（英汉 <> 汉英词典）";
        QTest::newRow("zh_TW") << "zh_TW.UTF-8" << QStringList {"選項", "單字", "說明"} << "翻譯"
                               << "Tavrel 字典 v1.1（英漢 <> 漢英字典）";
        QTest::newRow("C") << "C" << QStringList {"Option", "Words", "Help"} << "Translate"
                           << "Tavrel Dictionary v1.1 (English <> Chinese Dictionary)";
    }

    void theMainWindowSpeaksTheLocale()
    {
        QFETCH(QString, lang);
        QFETCH(QStringList, menus);
        QFETCH(QString, translate);
        QFETCH(QString, title);
        if (qEnvironmentVariable("LANG") != lang)
            QSKIP("This run of the suite is under another LANG");
        QCOMPARE(m_translation != Translation::English, lang != QLatin1String("C"));
        frmBrowser::instance().Load();
        QStringList shown;
        for (QAction *menu : frmBrowser::instance().window()->menuBar()->actions())
            shown << menu->text();
        QCOMPARE(shown, menus);
        QCOMPARE(frmBrowser::instance().cmdGo1()->text(), translate);
        QCOMPARE(frmBrowser::instance().window()->windowTitle(), title);
    }

    // Every label and button of every window shows its whole caption in the language of the
    // run, at the scale factor of the run.
    void noCaptionIsClipped_data()
    {
        QTest::addColumn<int>("form");
        QTest::newRow("main window") << 0;
        QTest::newRow("query string") << 1;
        QTest::newRow("providers") << 2;
        QTest::newRow("preferences") << 3;
        QTest::newRow("about") << 4;
    }

    void noCaptionIsClipped()
    {
        QFETCH(int, form);
        const std::function<Form &()> forms[]
            = {[]() -> Form & { return frmBrowser::instance(); },
               []() -> Form & { return frmOption::instance(); },
               []() -> Form & { return frmChinese::instance(); },
               []() -> Form & { return frmPreferences::instance(); },
               []() -> Form & { return frmAbout::instance(); }};
        Form &shown = forms[form]();
        shown.Load();
        shown.Show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.window()));
        // Every page of the preferences in turn; other windows have none.
        QListWidget *subjects = shown.window()->findChild<QListWidget *>();
        for (int page = 0; page < (subjects ? subjects->count() : 1); ++page) {
            if (subjects)
                subjects->setCurrentRow(page);
            checkCaptions(shown);
            if (QTest::currentTestFailed())
                return;
        }
        shown.window()->close();
    }

private:
    static void checkCaptions(Form &shown)
    {
        for (QLabel *label : shown.window()->findChildren<QLabel *>()) {
            if (!label->isVisible() || label->wordWrap() || label->text().contains(u'<'))
                continue;
            const QString caption = QString(label->text()).remove(u'&');
            QVERIFY2(label->fontMetrics().horizontalAdvance(caption)
                         <= label->contentsRect().width(),
                     qPrintable(caption));
        }
        for (QAbstractButton *button : shown.window()->findChildren<QAbstractButton *>()) {
            // A box named otherwise shows only its square, by design, beside a label.
            const QString name = button->accessibleName();
            if (!button->isVisible() || button->text().isEmpty()
                || (!name.isEmpty() && name != button->text()))
                continue;
            // A tool button that shows only its icon keeps its caption for the tooltip.
            const auto *tool = qobject_cast<QToolButton *>(button);
            if (tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                continue;
            const bool box
                = qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button);
            const int needed = box
                ? button->sizeHint().width()
                : button->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&'));
            QVERIFY2(needed <= button->width(), qPrintable(button->text()));
        }
    }
};

TAVREL_TEST_MAIN(TestLanguage)
#include "tst_language.moc"
