#pragma once

#include <QString>

class QUrl;

namespace Dictionary {
struct Answer;
}

// The built-in dictionary's answers as pages of the browser control: their addresses, and the
// document the light view shows for one. Plain functions, so that what a page says can be
// checked without a window.
namespace AnswerPage {

// "tavrel:WORD" asks the built-in dictionary. Everything after the colon is the word, exactly
// as the lookup put it there: no part of it is an address's query or fragment.
bool isAnswerAddress(const QString &address);
QUrl addressOf(const QString &word);
QString wordOf(const QUrl &address);

// The answer page for a word, in Qt's rich text. site is the address of a web lookup that got
// no page from its site and reason why; the page then opens with a line saying so and a link
// that tries the site again. word may be empty there, and then no answer follows.
QUrl fallbackAddressOf(const QString &word, const QString &site, const QString &reason);
QString html(const QUrl &address);

// The page for an answer already looked up; for tests, which bring dictionaries of their own.
QString html(const Dictionary::Answer &answer, const QString &site = QString(),
             const QString &reason = QString());

} // namespace AnswerPage
