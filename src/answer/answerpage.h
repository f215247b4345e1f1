#pragma once

#include "answer/tonecolours.h"

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
// The page an answer address typed or made from the template asks for.
QUrl addressOfRequest(const QString &address);
QString wordOf(const QUrl &address);

// The page for a web lookup that got no page from its site: the answer for word under a line
// that names the site and why, with a link that tries the site again. word may be empty, and
// then no answer follows.
QUrl fallbackAddressOf(const QString &word, const QString &site, const QString &reason);
QString siteOf(const QUrl &address);
QString reasonOf(const QUrl &address);

// What a speaker link says: the dictionary's numbered pinyin of an entry, or an English word,
// and the word it is named after ("Pronounce 银行").
struct Speaker
{
    QString text;
    bool english = false;
    QString word;

    bool isNull() const { return text.isEmpty(); }
    QString name() const { return QStringLiteral("Pronounce ") + word; }
};

bool isSpeakerAddress(const QUrl &address);
QUrl speakerAddress(const Speaker &speaker);
Speaker speakerOf(const QUrl &address);

// What "Pronounce" reads for an answer: the English word when the answer reads the input as
// English first, the first entry otherwise; nothing when nothing was found.
Speaker firstSpeaker(const Dictionary::Answer &answer);

// The speaker's picture, which a page's links show; its name in a page is speakerImage.
inline constexpr char speakerImage[] = "tavrel-image:speaker";

// What the dictionary answers for the word of a page; nothing for an empty word.
Dictionary::Answer answerFor(const QString &word);

// The page for an answer, in Qt's rich text, with the line for site and reason when site is
// given. With firstEntries, only the first so many entries are put in, and whole says whether
// that was all of them. tones colour the pinyin, and the headwords' characters if they say so.
QString html(const Dictionary::Answer &answer, const QString &site = QString(),
             const QString &reason = QString(), int firstEntries = 0, bool *whole = nullptr,
             const ToneColours::Options &tones = {});

} // namespace AnswerPage
