#pragma once

#include "dictionary/dictionary.h"

#include <QTextBrowser>

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

    // The dictionary's answer for word, looked up already: pages for the word use it.
    void setKnownAnswer(const QString &word, const Dictionary::Answer &answer);

signals:
    // A link out of the answers, such as "Try again" for a site that couldn't be reached.
    void webLinkClicked(const QUrl &address);
    void answerShown(const QUrl &address);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void followLink(const QUrl &address);
    void completePage(const QUrl &address);
    QString page(const QUrl &address, int firstEntries = 0, bool *whole = nullptr) const;

    QString m_knownWord;
    Dictionary::Answer m_knownAnswer;
};
