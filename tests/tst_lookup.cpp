#include "testsupport.h"

#include "window_layer/controls.h"
#include "program/providers.h"
#include "browser/webbrowser.h"
#include "dialogs/frmOption.h"
#include "main_window/frmBrowser.h"
#include "main_window/lookup.h"

#include <QLineEdit>

class TestLookup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_appFolder;

    static frmBrowser &form() { return frmBrowser::instance(); }
    static QString statusText() { return form().StatusBar1()->SimpleText(); }
    static QString requested() { return form().WebBrowser1()->LocationRequested(); }

    static void pressTranslate(const QString &word, const QString &queryTemplate)
    {
        frmOption::instance().txtChinese()->setText(queryTemplate);
        form().txtWord()->setText(word);
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
    }

    static void row(const char *name, const QString &word, const QString &queryTemplate,
                    const QString &address)
    {
        QTest::newRow(name) << word << queryTemplate << address;
    }

    static void columns()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("queryTemplate");
        QTest::addColumn<QString>("address");
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

    void buildsTheAddress_data()
    {
        columns();
        row("plain", "apple", "http://h/dict?s=%word", "http://h/dict?s=apple");
        row("word trimmed", "  apple  ", "s=%word|%firstchar", "s=apple|a");
        row("inner spaces kept, unescaped", " ice  cream ", "s=%word", "s=ice  cream");
        row("template trimmed", "a", "   http://h/%word   ", "http://h/a");
        row("tabs kept", "\tapple\t", "[%firstchar][%word]", "[\t][\tapple\t]");
        row("capital first char", "Apple", "/%firstchar/%word.html", "/A/Apple.html");
        row("placeholders repeated", "ab", "%word-%firstchar-%word-%firstchar", "ab-a-ab-a");
        row("capitals are not placeholders", "ab", "%WORD %Word %FIRSTCHAR %firstChar",
            "%WORD %Word %FIRSTCHAR %firstChar");
        row("inserted word not rescanned", "%word", "s=%word", "s=%word");
        row("word's %firstchar left alone", "%firstchar", "%firstchar/%word", "%/%firstchar");
        row("second pass scans the first pass's output", "wxyz", "%%firstcharord", "wxyz");
        row("no placeholder", "apple", "http://fixed/", "http://fixed/");
        row("empty template", "apple", "", "");
        row("template of spaces", "apple", "    ", "");
        row("blank word removes placeholders", "   ", "a%firstcharb%wordc", "abc");
        row("nothing encoded", "a&b#c?d%e f", "s=%word", "s=a&b#c?d%e f");
        row("Chinese", QStringLiteral("冰淇淋"), "%firstchar/%word", QStringLiteral("冰/冰淇淋"));
        row("first char is one UTF-16 unit", QStringLiteral("\U0001D49Cb"), "%firstchar",
            QString(QChar(0xD835)));
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
        columns();
        row("Hong Kong", " tea ", Providers::hongKongTemplate(),
            "http://hk.dictionary.yahoo.com/dict?s=tea");
        row("first char", "Tea cup", "http://h/%firstchar/%word.html", "http://h/T/Tea cup.html");
        row("only tabs is not blank", "\t", "http://h/?s=%word", "http://h/?s=\t");
        row("empty template", "tea", "   ", "");
    }

    void translateAnnouncesAndOpensTheAddress()
    {
        QFETCH(QString, word);
        QFETCH(QString, queryTemplate);
        QFETCH(QString, address);
        pressTranslate(word, queryTemplate);
        QCOMPARE(statusText(), "goto " + address);
        QCOMPARE(requested(), address);
        // The lookup reads both boxes and changes neither.
        QCOMPARE(form().txtWord()->text(), word);
        QCOMPARE(frmOption::instance().txtChinese()->text(), queryTemplate);
    }

    void nothingElseStartsALookup_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("key"); // 0: a click on "Translate"
        QTest::newRow("empty word") << "" << 0;
        QTest::newRow("word of spaces") << "     " << 0;
        QTest::newRow("Return in the word box") << "pear" << int(Qt::Key_Return);
        QTest::newRow("Enter in the word box") << "pear" << int(Qt::Key_Enter);
    }

    void nothingElseStartsALookup()
    {
        QFETCH(QString, word);
        QFETCH(int, key);
        pressTranslate("before", "http://h/%word");
        frmOption::instance().txtChinese()->setText("http://other/%word");
        form().txtWord()->setText(word);
        if (key)
            QTest::keyClick(form().txtWord(), Qt::Key(key));
        else
            QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QCOMPARE(statusText(), QString("goto http://h/before"));
        QCOMPARE(requested(), QString("http://h/before"));
    }

    void translateAnswersItsKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Return") << int(Qt::Key_Return);
    }

    void translateAnswersItsKeys()
    {
        QFETCH(int, key);
        pressTranslate("before", "http://h/%word");
        form().txtWord()->clear();
        QTest::keyClicks(form().txtWord(), "pear tree");
        QTest::keyClick(form().cmdGo1(), Qt::Key(key));
        QTRY_COMPARE(statusText(), QString("goto http://h/pear tree"));
    }

    void templateIsReadAfreshAtEveryPress()
    {
        pressTranslate("w", "http://first/%word");
        frmOption::instance().txtChinese()->setText("http://second/%word");
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QCOMPARE(statusText(), QString("goto http://second/w"));
    }

    void websiteOpensTheMakersSite()
    {
        pressTranslate("before", "http://h/%word");
        form().mnuWebsite()->trigger();
        QCOMPARE(statusText(), QString("goto http://www.tavrel.example"));
        QCOMPARE(requested(), QString("http://www.tavrel.example"));
    }
};

TAVREL_TEST_MAIN(TestLookup)
#include "tst_lookup.moc"
