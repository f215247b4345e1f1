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
// Of a page for a site that couldn't be reached: the site's address and why.
QString siteOf(const QUrl &address);
QString reasonOf(const QUrl &address);

// With firstEntries, only the first so many entries are put in, and whole says whether that
// was all of them.
QUrl fallbackAddressOf(const QString &word, const QString &site, const QString &reason);
QString html(const QUrl &address, int firstEntries = 0, bool *whole = nullptr);

// The page for an answer already looked up; for tests, which bring dictionaries of their own.
QString html(const Dictionary::Answer &answer, const QString &site = QString(),
             const QString &reason = QString(), int firstEntries = 0, bool *whole = nullptr);

} // namespace AnswerPage
