// The words the user keeps, through the main window: what is recorded, the "Words" menu and
// the windows it opens.

#include "testsupport.h"

#include "answer/answerpage.h"
#include "browser/answerview.h"
#include "lookup/lookup.h"
#include "main_window/frmBrowser.h"
#include "preferences/settingsfile.h"
#include "window_layer/controls.h"
#include "word_windows/favouriteswindow.h"
#include "word_windows/historywindow.h"
#include "word_windows/suggestionlist.h"
#include "words/store.h"

#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QMessageBox>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTextDocument>

namespace {

frmBrowser &form() { return frmBrowser::instance(); }

QStringList historyInputs()
{
    QStringList inputs;
    for (const Words::HistoryItem &item : form().words()->history())
        inputs << item.input;
    return inputs;
}

// Answers the question box that the code about to run shows, with the button given.
void answerQuestion(QMessageBox::StandardButton button, bool *asked)
{
    QTimer::singleShot(0, [button, asked] {
        QTRY_VERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        *asked = true;
        box->button(button)->click();
    });
}

// Clicks the link whose text holds text, the occurrence-th such link in the answer.
void clickLink(AnswerView *view, const QString &text, int occurrence = 0)
{
    view->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(view->window()));
    QTextCursor found(view->document());
    while (!(found = view->document()->find(text, found)).isNull()) {
        if (!found.charFormat().isAnchor() || occurrence-- > 0)
            continue;
        QTextCursor middle(view->document());
        middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->cursorRect(middle).center() + QPoint(1, 0));
        return;
    }
    QFAIL(qPrintable("no link " + text + " in " + view->toPlainText()));
}

QStringList column(QAbstractItemModel *model, int column = 0)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

} // namespace

class TestWordWindows : public QObject
{
    Q_OBJECT

    TestSupport::ScratchFolder m_folder;

    static SuggestionList *list() { return form().suggestionList(); }

    static QStringList shown()
    {
        QStringList texts;
        if (list()->isVisible())
            for (const Words::Suggestion &suggestion : list()->suggestions())
                texts << suggestion.text;
        return texts;
    }

    // The word box with the focus and nothing in it, as the user starts typing.
    static void focusWordBox()
    {
        QVERIFY(QTest::qWaitForWindowActive(form().window()));
        form().txtWord()->setFocus();
        QTRY_VERIFY(form().txtWord()->hasFocus());
        form().txtWord()->clear();
    }

    // Keys typed into the word box, one a character, Chinese ones as a keyboard of their own
    // would send them.
    static void type(const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(form().txtWord(), &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(form().txtWord(), &release);
        }
    }

    void translate(const QString &word)
    {
        Controls::setText(*form().txtWord(), word);
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QTRY_COMPARE(form().WebBrowser1()->url(), AnswerPage::addressOf(word));
    }

private slots:
    void init()
    {
        TestSupport::unloadAll();
        QVERIFY(m_folder.renew());
        App::setPath(m_folder.path());
        QVERIFY(QDir(m_folder.path()).mkdir("session"));
        TestSupport::writeBytes(m_folder.path("session/tavrel.xml"),
                                SettingsFile::buildSettingsXml("tavrel:%word").toUtf8());
        form().Show();
        QVERIFY(QTest::qWaitForWindowExposed(form().window()));
    }

    void cleanupTestCase() { TestSupport::unloadAll(); }

    // Translate, a word from outside (the command line, a running copy) and a link in an answer.
    void everyLookupIsRecordedAsTyped()
    {
        translate("love");
        form().LookUp("ice cream");
        QTRY_COMPARE(form().WebBrowser1()->url(), AnswerPage::addressOf("ice cream"));
        AnswerView *answer = form().WebBrowser1()->answerView();
        QTRY_VERIFY(answer->toPlainText().contains("bīng"));
        clickLink(answer, "冰淇淋");
        QTRY_COMPARE(historyInputs(), QStringList({"冰淇淋", "ice cream", "love"}));
        // An address typed into the box is the input, not the address the template made of it.
        translate("http://example.org/?q=1");
        translate("love");
        QCOMPARE(historyInputs(),
                 QStringList({"love", "http://example.org/?q=1", "冰淇淋", "ice cream"}));
        QCOMPARE(form().words()->history().first().count, 2);
        // Nor is a blank word, which looks nothing up.
        Controls::setText(*form().txtWord(), "   ");
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QCOMPARE(historyInputs().size(), 4);
        // Back and Forward go to answers looked up already, and record nothing.
        form().WebBrowser1()->answerView()->backward();
        QCOMPARE(historyInputs().size(), 4);
    }

    void keepHistoryOffRecordsNothing()
    {
        translate("before");
        form().mnuKeepHistory()->trigger();
        QVERIFY(!form().mnuKeepHistory()->isChecked());
        translate("while off");
        form().LookUp("from outside");
        QCOMPARE(historyInputs(), QStringList({"before"}));
        // The choice holds for the next start too.
        TestSupport::unloadAll();
        form().Show();
        QVERIFY(!form().mnuKeepHistory()->isChecked());
        form().mnuKeepHistory()->trigger();
        translate("after");
        QCOMPARE(historyInputs(), QStringList({"after", "before"}));
    }

    void historyWindowFiltersAndLooksUpAgain()
    {
        for (const char *word : {"apple", "banana", "apricot", "cherry"})
            translate(word);
        form().mnuHistory()->trigger();
        HistoryWindow *window = form().historyWindow();
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        QCOMPARE(column(window->table()->model()),
                 QStringList({"cherry", "apricot", "banana", "apple"}));
        QCOMPARE(window->table()->model()->index(0, 1).data().toInt(), 1);

        QTest::keyClicks(window->filterBox(), "AP");
        QCOMPARE(column(window->table()->model()), QStringList({"apricot", "apple"}));
        // Enter on a row looks its word up again, which records it again.
        window->table()->setFocus();
        window->table()->setCurrentIndex(window->table()->model()->index(1, 0));
        QTest::keyClick(window->table(), Qt::Key_Return);
        QCOMPARE(form().txtWord()->text(), QString("apple"));
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto tavrel:apple"));
        QCOMPARE(historyInputs().first(), QString("apple"));
        // As does a double-click.
        const QModelIndex apricot = window->table()->model()->index(0, 0);
        const QPoint at = window->table()->visualRect(apricot).center();
        QTest::mouseClick(window->table()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(window->table()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(form().txtWord()->text(), QString("apricot"));
        QCOMPARE(form().words()->history().first().count, 2);
    }

    void clearHistoryAsksFirst()
    {
        translate("one");
        translate("two");
        form().mnuHistory()->trigger();
        HistoryWindow *window = form().historyWindow();
        bool asked = false;
        answerQuestion(QMessageBox::Cancel, &asked);
        window->clearButton()->click();
        QVERIFY(asked);
        QCOMPARE(historyInputs(), QStringList({"two", "one"}));
        QCOMPARE(window->table()->model()->rowCount(), 2);
        asked = false;
        answerQuestion(QMessageBox::Yes, &asked);
        window->clearButton()->click();
        QVERIFY(asked);
        QVERIFY(historyInputs().isEmpty());
        QCOMPARE(window->table()->model()->rowCount(), 0);
    }

    void typingShowsTheListAndEachKeyUpdatesIt()
    {
        translate("冰箱");
        focusWordBox();
        type("冰");
        QTRY_VERIFY(list()->isVisible());
        const QStringList afterOne = shown();
        // The history first, then the dictionary's headwords that start so.
        QCOMPARE(afterOne.first(), QString("冰箱"));
        QCOMPARE(afterOne.size(), Words::maxSuggestions);
        type("淇");
        QVERIFY(shown() != afterOne);
        QVERIFY2(shown().contains("冰淇淋"), qPrintable(shown().join(' ')));
        // Under the box, as wide, over the page; the box keeps the focus and the keys.
        QCOMPARE(list()->geometry().top(), form().txtWord()->geometry().bottom() + 1);
        QCOMPARE(list()->width(), form().txtWord()->width());
        QVERIFY(form().txtWord()->hasFocus());
        QCOMPARE(form().txtWord()->text(), QString("冰淇"));
        QCOMPARE(list()->chosenRow(), -1);
        // Text the program puts in suggests nothing.
        const QStringList before = shown();
        Controls::setText(*form().txtWord(), "love");
        QCOMPARE(shown(), before);
        // Nothing to suggest: no list.
        type("qqq");
        QVERIFY(list()->isHidden());
    }

    void downAndEnterTranslateTheSuggestion()
    {
        focusWordBox();
        type("bingq");
        QTRY_VERIFY(list()->isVisible());
        const QStringList offered = shown();
        QTest::keyClick(form().txtWord(), Qt::Key_Down);
        QTest::keyClick(form().txtWord(), Qt::Key_Down);
        QTest::keyClick(form().txtWord(), Qt::Key_Up);
        QCOMPARE(list()->chosenRow(), 0);
        QTest::keyClick(form().txtWord(), Qt::Key_Down);
        QCOMPARE(list()->chosenRow(), 1);
        QTest::keyClick(form().txtWord(), Qt::Key_Return);
        QCOMPARE(form().txtWord()->text(), offered.at(1));
        QCOMPARE(form().StatusBar1()->SimpleText(), "goto tavrel:" + offered.at(1));
        QTRY_COMPARE(form().WebBrowser1()->url(), AnswerPage::addressOf(offered.at(1)));
        QVERIFY(list()->isHidden());
        QCOMPARE(historyInputs(), QStringList({offered.at(1)}));
    }

    // Enter in the word box starts no lookup, as before there was a list; Translate looks up
    // what was typed, never a suggestion.
    void withNoSuggestionChosenTheTypedTextIsLookedUp()
    {
        focusWordBox();
        type("bingq");
        QTRY_VERIFY(list()->isVisible());
        QTest::keyClick(form().txtWord(), Qt::Key_Return);
        QCOMPARE(form().txtWord()->text(), QString("bingq"));
        QVERIFY(form().StatusBar1()->SimpleText().isEmpty());
        QVERIFY(historyInputs().isEmpty());
        // Down then Up again: none chosen.
        QTest::keyClick(form().txtWord(), Qt::Key_Down);
        QTest::keyClick(form().txtWord(), Qt::Key_Up);
        QCOMPARE(list()->chosenRow(), -1);
        QTest::mouseClick(form().cmdGo1(), Qt::LeftButton);
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto tavrel:bingq"));
        QCOMPARE(historyInputs(), QStringList({"bingq"}));
        QVERIFY(list()->isHidden());
    }

    void escapeOrAClickElsewhereClosesTheList()
    {
        focusWordBox();
        type("ice");
        QTRY_VERIFY(list()->isVisible());
        QTest::keyClick(form().txtWord(), Qt::Key_Escape);
        QVERIFY(list()->isHidden());
        QVERIFY(form().txtWord()->hasFocus());
        QCOMPARE(form().txtWord()->text(), QString("ice"));
        QTest::keyClick(form().txtWord(), Qt::Key_Backspace);
        QTRY_VERIFY(list()->isVisible());
        TestSupport::clickThroughWindowSystem(form().Label2());
        QVERIFY(list()->isHidden());
        // A click on a suggestion takes it.
        type("e");
        QTRY_VERIFY(list()->isVisible());
        const QString second = shown().at(1);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(list()->model()->index(1, 0)).center());
        QCOMPARE(form().txtWord()->text(), second);
        QCOMPARE(form().StatusBar1()->SimpleText(), "goto tavrel:" + second);
    }

    // While an input method composes, only what it has committed counts.
    void followsCommittedTextOnly()
    {
        focusWordBox();
        QInputMethodEvent composing("bing", {});
        QApplication::sendEvent(form().txtWord(), &composing);
        QVERIFY(list()->isHidden());
        QInputMethodEvent committed;
        committed.setCommitString("冰");
        QApplication::sendEvent(form().txtWord(), &committed);
        QCOMPARE(form().txtWord()->text(), QString("冰"));
        QTRY_VERIFY(list()->isVisible());
        QVERIFY(shown().first().startsWith("冰"));
        QInputMethodEvent composingMore("qi", {});
        QApplication::sendEvent(form().txtWord(), &composingMore);
        QVERIFY(shown().first().startsWith("冰"));
        QCOMPARE(form().txtWord()->text(), QString("冰"));
    }

    // The star after an entry makes it a favourite, which the favourites window lists; clicked
    // again, it is one no more.
    void starLinkAddsAndFavouritesWindowLists()
    {
        translate("冰淇淋");
        AnswerView *answer = form().WebBrowser1()->answerView();
        QTRY_VERIFY(answer->toPlainText().contains("\u2606 Add to favourites"));
        {
            // The star is drawn again from the answer shown: with no index to ask, the
            // answer stays.
            Dictionary::setIndexPath(m_folder.path("no-index"));
            const auto restore = qScopeGuard(
                [] { Dictionary::setIndexPath(QStringLiteral(TAVREL_DICTIONARY_INDEX)); });
            clickLink(answer, "Add to favourites");
            QTRY_VERIFY(answer->toPlainText().contains("\u2605 In favourites"));
            QVERIFY(answer->toPlainText().contains("ice cream"));
        }
        QVERIFY(form().words()->isFavourite("冰淇淋", "bīng qí lín"));

        form().mnuFavourites()->trigger();
        FavouritesWindow *window = form().favouritesWindow();
        QVERIFY(window && QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->table()->model()->rowCount(), 1);
        QCOMPARE(window->table()->model()->index(0, 0).data().toString(), QString("冰淇淋"));
        QCOMPARE(window->table()->model()->index(0, 1).data().toString(), QString("bīng qí lín"));
        QCOMPARE(window->table()->model()->index(0, 2).data().toString(), QString("ice cream"));

        // Another, from an English answer: newest first.
        translate("book");
        QTRY_VERIFY(answer->toPlainText().contains("书"));
        clickLink(answer, "Add to favourites");
        QTRY_COMPARE(window->table()->model()->rowCount(), 2);
        // The first star is the English-Chinese entry's, kept with its phonetics.
        QCOMPARE(window->table()->model()->index(0, 0).data().toString(), QString("book"));
        const QString phonetics = window->table()->model()->index(0, 1).data().toString();
        QVERIFY2(phonetics.startsWith('/') && phonetics.endsWith('/'), qPrintable(phonetics));
        QVERIFY(form().words()->isFavourite("book", phonetics));
        QVERIFY(answer->toPlainText().contains("\u2605 In favourites"));

        // Looked up again from the window.
        window->table()->setCurrentIndex(window->table()->model()->index(1, 0));
        window->lookUpButton()->click();
        QCOMPARE(form().txtWord()->text(), QString("冰淇淋"));
        QTRY_COMPARE(answer->source(), AnswerPage::addressOf("冰淇淋"));
        QVERIFY(answer->toPlainText().contains("\u2605 In favourites"));

        // Exported, both.
        QVERIFY(window->exportTo(m_folder.path("cards.txt")));
        const QString cards = QString::fromUtf8(TestSupport::readBytes(m_folder.path("cards.txt")));
        QVERIFY2(cards.endsWith("冰淇淋\tbīng qí lín\tice cream\n"), qPrintable(cards));
        QCOMPARE(cards.count('\n'), 5);

        // Removed in the window: the answer's star says so.
        window->table()->setCurrentIndex(window->table()->model()->index(1, 0));
        window->removeButton()->click();
        QCOMPARE(window->table()->model()->rowCount(), 1);
        QVERIFY(!form().words()->isFavourite("冰淇淋", "bīng qí lín"));
        QTRY_VERIFY(answer->toPlainText().contains("\u2606 Add to favourites"));
        // Clicked twice in the answer: on and off again.
        clickLink(answer, "Add to favourites");
        QTRY_VERIFY(form().words()->isFavourite("冰淇淋", "bīng qí lín"));
        clickLink(answer, "In favourites");
        QTRY_VERIFY(!form().words()->isFavourite("冰淇淋", "bīng qí lín"));
        QCOMPARE(window->table()->model()->rowCount(), 1);
    }

    // Qt's text view has no accessible object for a link: the one reached with Tab is named in
    // the view's description.
    void theStarLinkHasAnAccessibleName()
    {
        translate("冰淇淋");
        AnswerView *answer = form().WebBrowser1()->answerView();
        QTRY_VERIFY(answer->toPlainText().contains("Add to favourites"));
        QVERIFY(QTest::qWaitForWindowActive(form().window()));
        answer->setFocus();
        QTRY_VERIFY(answer->hasFocus());
        // The headword's characters first, each its stroke order, then its speaker and its star.
        QTest::keyClick(answer, Qt::Key_Tab);
        QCOMPARE(answer->accessibleDescription(), QString("Stroke order of 冰"));
        for (int tab = 0; tab < 5 && !answer->textCursor().selectedText().contains("favourites");
             ++tab)
            QTest::keyClick(answer, Qt::Key_Tab);
        QCOMPARE(answer->accessibleDescription(), QString("Add 冰淇淋 to favourites"));
        QTest::keyClick(answer, Qt::Key_Return);
        QTRY_VERIFY(form().words()->isFavourite("冰淇淋", "bīng qí lín"));
    }

    // A damaged file is set aside, and the status bar says so once; lookups go on being kept.
    void aDamagedFileIsSetAsideAndSaidOnce()
    {
        TestSupport::unloadAll();
        TestSupport::writeBytes(m_folder.path("session/words.sqlite"), QByteArray(5000, '\x17'));
        form().Show();
        const QString notice = form().StatusBar1()->SimpleText();
        QVERIFY2(notice.contains("set aside as words.sqlite.damaged-"), qPrintable(notice));
        translate("still kept");
        QCOMPARE(form().StatusBar1()->SimpleText(), QString("goto tavrel:still kept"));
        QCOMPARE(historyInputs(), QStringList({"still kept"}));
    }
};

TAVREL_TEST_MAIN(TestWordWindows)
#include "tst_word_windows.moc"
