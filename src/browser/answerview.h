#pragma once

#include "answer/answerpage.h"
#include "answer/tonecolours.h"
#include "lookup/answer.h"
#include "words/store.h"

#include <QTextBrowser>

#include <optional>

// Draws the built-in dictionary's answers, which are a few lines of text and need no browser
// engine. A page of its own: its links lead to other answers with Back and Forward, text can be
// selected and copied, Ctrl and the wheel zoom, and screen readers read it.
class AnswerView : public QTextBrowser
{
    Q_OBJECT
public:
    explicit AnswerView(QWidget *parent = nullptr);

    // Shows the answer page at a "tavrel:" address, as a link to it would.
    void open(const QUrl &address);

    // The word the page shown answers.
    QString word() const;

    // Which entries are favourites, as their stars say; without it, none is.
    void setIsFavourite(AnswerPage::IsFavourite isFavourite);

    // Draws the page shown again from its answer, where it was scrolled to: its stars may have
    // changed, and the answer has not.
    void refresh();

    // The dictionary's answer for word, looked up already: the next page for the word uses it.
    void keepAnswer(const QString &word, const Dictionary::Answer &answer);

    // Colours the tones of the pages from now on, made readable on the view's background, and
    // draws the page shown again with them.
    void setToneColours(const ToneColours::Options &tones);

    // Reads the page's first entry aloud, as "Pronounce" does; nothing when it has none.
    void pronounceFirst();

signals:
    // A speaker link was used: text is numbered pinyin, or an English word.
    void pronounce(const QString &text, bool english);
    // A link out of the answers, such as "Try again" for a site that couldn't be reached.
    void webLinkClicked(const QUrl &address);
    void answerShown(const QUrl &address);
    // A link to another answer was followed: the user looked that word up.
    void wordLinkFollowed(const QString &word);
    // The star of an entry was clicked.
    void favouriteClicked(const Words::Favourite &entry);
    // A character of a headword was clicked, for its stroke order.
    void strokeOrderClicked(const QString &character);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void followLink(const QUrl &address);
    void nameLink(const QUrl &address);
    void completePage(const QUrl &address);
    QString page(const Dictionary::Answer &answer, const QUrl &address, int firstEntries = 0,
                 bool *whole = nullptr) const;
    void showWhole(const Dictionary::Answer &answer, const QUrl &address);
    Dictionary::Answer takeAnswer(const QString &word);
    void placeSpeakers();
    ToneColours::Options readableTones() const;

    // Looked up for the next page of m_answerWord: ahead of it, or for the first screen of a
    // page, whose rest then needs no second lookup.
    QString m_answerWord;
    std::optional<Dictionary::Answer> m_answer;
    std::optional<Dictionary::Answer> m_shown; // the answer of the page shown
    AnswerPage::IsFavourite m_isFavourite;
    AnswerPage::Speaker m_firstSpeaker; // of the page shown
    QAction *m_pronounce = nullptr;
    bool m_placingDue = false;
    ToneColours::Options m_tones; // as set, before they are made readable
};
