#include "testsupport.h"

#include "common/controls.h"
#include "common/providers.h"
#include "common/webbrowser.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "main_window/lookup.h"

#include <QLineEdit>

class TestLookup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;

    static frmBrowser &form() { return frmBrowser::instance(); }

    void pressTranslate(const QString &word, const QString &queryTemplate)
    {
        frmOption::instance().txtChinese()->setText(queryTemplate);
        form().txtWord()->setText(word);
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_appFolder.isValid());
        App::setPath(m_appFolder.path());
        form().Show();
        QVERIFY(QTest::qWaitForWindowExposed(form().window()));
    }

    void cleanupTestCase() { TestSupport::unloadAll(); }

    void trimRemovesSpacesOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("both ends") << "  a b  "
                                   << "a b";
        QTest::newRow("only spaces") << "   "
                                     << "";
        QTest::newRow("tabs stay") << "\t a \t"
                                   << "\t a \t";
        QTest::newRow("line breaks stay") << "\r\na\n "
                                          << "\r\na\n";
        QTest::newRow("no-break space stays")
            << QStringLiteral("\u00a0a\u00a0") << QStringLiteral("\u00a0a\u00a0");
    }

    void trimRemovesSpacesOnly()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(trimSpaces(text), trimmed);
    }

    void buildsTheAddress_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("queryTemplate");
        QTest::addColumn<QString>("address");

        QTest::newRow("plain") << "apple"
                               << "http://h/dict?s=%word"
                               << "http://h/dict?s=apple";
        QTest::newRow("word trimmed") << "  apple  "
                                      << "s=%word|%firstchar"
                                      << "s=apple|a";
        QTest::newRow("inner spaces kept, unescaped") << " ice  cream "
                                                      << "s=%word"
                                                      << "s=ice  cream";
        QTest::newRow("template trimmed") << "a"
                                          << "   http://h/%word   "
                                          << "http://h/a";
        QTest::newRow("tabs kept") << "\tapple\t"
                                   << "[%firstchar][%word]"
                                   << "[\t][\tapple\t]";
        QTest::newRow("capital first char") << "Apple"
                                            << "/%firstchar/%word.html"
                                            << "/A/Apple.html";
        QTest::newRow("placeholders repeated") << "ab"
                                               << "%word-%firstchar-%word-%firstchar"
                                               << "ab-a-ab-a";
        QTest::newRow("capitals are not placeholders") << "ab"
                                                       << "%WORD %Word %FIRSTCHAR %firstChar"
                                                       << "%WORD %Word %FIRSTCHAR %firstChar";
        QTest::newRow("inserted word not rescanned") << "%word"
                                                     << "s=%word"
                                                     << "s=%word";
        QTest::newRow("word's %firstchar left alone") << "%firstchar"
                                                      << "%firstchar/%word"
                                                      << "%/%firstchar";
        QTest::newRow("second pass scans the first pass's output") << "wxyz"
                                                                   << "%%firstcharord"
                                                                   << "wxyz";
        QTest::newRow("no placeholder") << "apple"
                                        << "http://fixed/"
                                        << "http://fixed/";
        QTest::newRow("empty template") << "apple"
                                        << ""
                                        << "";
        QTest::newRow("template of spaces") << "apple"
                                            << "    "
                                            << "";
        QTest::newRow("blank word removes placeholders") << "   "
                                                         << "a%firstcharb%wordc"
                                                         << "abc";
        QTest::newRow("nothing encoded") << "a&b#c?d%e f"
                                         << "s=%word"
                                         << "s=a&b#c?d%e f";
        QTest::newRow("Chinese") << QStringLiteral("冰淇淋") << "%firstchar/%word"
                                 << QStringLiteral("冰/冰淇淋");
        QTest::newRow("first char is one UTF-16 unit")
            << QStringLiteral("\U0001D49Cb") << "%firstchar" << QString(QChar(0xD835));
    }

    void buildsTheAddress()
    {
        QFETCH(QString, word);
        QFETCH(QString, queryTemplate);
        QFETCH(QString, address);
        QCOMPARE(buildLookupAddress(word, queryTemplate), address);
    }

    void translateAnnouncesAndOpensTheAddress_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("queryTemplate");
        QTest::addColumn<QString>("address");
        QTest::newRow("Hong Kong") << " tea " << Providers::hongKongTemplate()
                                   << "http://hk.dictionary.yahoo.com/dict?s=tea";
        QTest::newRow("first char") << "Tea cup"
                                    << "http://h/%firstchar/%word.html"
                                    << "http://h/T/Tea cup.html";
        QTest::newRow("only tabs is not blank") << "\t"
                                                << "http://h/?s=%word"
                                                << "http://h/?s=\t";
        QTest::newRow("empty template") << "tea"
                                        << "   "
                                        << "";
    }

    void translateAnnouncesAndOpensTheAddress()
    {
        QFETCH(QString, word);
        QFETCH(QString, queryTemplate);
        QFETCH(QString, address);
        pressTranslate(word, queryTemplate);
        QCOMPARE(form().StatusBar1()->SimpleText(), "goto " + address);
        QCOMPARE(form().WebBrowser1()->LocationRequested(), address);
        // The lookup reads both boxes and changes neither.
        QCOMPARE(form().txtWord()->text(), word);
        QCOMPARE(frmOption::instance().txtChinese()->text(), queryTemplate);
    }

    void typedWordIsLookedUp()
    {
        frmOption::instance().txtChinese()->setText("http://h/?s=%word");
        form().txtWord()->clear();
        QTest::keyClicks(form().txtWord(), "pear tree");
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto http://h/?s=pear tree"));
    }

    void blankWordChangesNothing_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("empty") << "";
        QTest::newRow("spaces") << "     ";
    }

    void blankWordChangesNothing()
    {
        QFETCH(QString, word);
        pressTranslate("before", "http://h/%word");
        pressTranslate(word, "http://other/%word");
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto http://h/before"));
        QCOMPARE(form().WebBrowser1()->LocationRequested(), QString("http://h/before"));
    }

    void enterInTheWordBoxStartsNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }

    void enterInTheWordBoxStartsNothing()
    {
        QFETCH(int, key);
        pressTranslate("before", "http://h/%word");
        form().txtWord()->setText("after");
        form().txtWord()->setFocus();
        QTest::keyClick(form().txtWord(), Qt::Key(key));
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto http://h/before"));
        QCOMPARE(form().WebBrowser1()->LocationRequested(), QString("http://h/before"));
    }

    void translateAnswersItsKeysWhileFocused_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Return") << int(Qt::Key_Return);
    }

    void translateAnswersItsKeysWhileFocused()
    {
        QFETCH(int, key);
        pressTranslate("before", "http://h/%word");
        form().txtWord()->setText("after");
        form().cmdGo1()->setFocus();
        QTest::keyClick(form().cmdGo1(), Qt::Key(key));
        QTRY_COMPARE(form().StatusBar1()->SimpleText(), QString("goto http://h/after"));
    }

    void templateIsReadAfreshAtEveryPress()
    {
        pressTranslate("w", "http://first/%word");
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto http://first/w"));
        frmOption::instance().txtChinese()->setText("http://second/%word");
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto http://second/w"));
    }

    void websiteOpensTheMakersSite()
    {
        pressTranslate("before", "http://h/%word");
        form().mnuWebsite()->trigger();
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto http://www.tavrel.example"));
        QCOMPARE(form().WebBrowser1()->LocationRequested(), QString("http://www.tavrel.example"));
    }
};

TAVREL_TEST_MAIN(TestLookup)
#include "tst_lookup.moc"
