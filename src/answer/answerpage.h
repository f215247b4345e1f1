#pragma once

#include "answer/tonecolours.h"

#include <QString>

#include <functional>
#include <utility>

class QUrl;

namespace Dictionary {
struct Answer;
struct Entry;
}

namespace EnglishChinese {
struct Entry;
struct Result;
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

// What the speaker of a Chinese-English entry says: its numbered pinyin.
Speaker entrySpeaker(const Dictionary::Entry &entry);

// What "Pronounce" reads for an answer: the English word when the answer reads the input as
// English first, the first entry otherwise; nothing when nothing was found.
Speaker firstSpeaker(const Dictionary::Answer &answer);

// The speaker's picture, which a page's links show; its name in a page is speakerImage.
inline constexpr char speakerImage[] = "tavrel-image:speaker";

// What the dictionary answers for the word of a page; nothing for an empty word.
Dictionary::Answer answerFor(const QString &word);

// Whether the entry for word, read as reading, is one of the favourites.
using IsFavourite = std::function<bool(const QString &word, const QString &reading)>;

// What a page shows besides the answer.
struct Options
{
    // The line for a web lookup that got no page from its site, when site is given.
    QString site;
    QString reason;
    // With firstEntries, only the first so many entries are put in.
    int firstEntries = 0;
    // What each entry's star says; without it, no entry is a favourite.
    IsFavourite isFavourite;
    // How the pinyin, and the headwords' characters if they say so, are coloured.
    ToneColours::Options tones;
};

// The page for an answer, in Qt's rich text; whole says whether all its entries were put in.
QString html(const Dictionary::Answer &answer, const Options &options = {}, bool *whole = nullptr);

} // namespace AnswerPage

// The English-Chinese dictionary's entries as html() puts them in a page, in parts that can be
// checked alone.
namespace EnglishChinese {

// A link to the answer for word, shown as shown (already escaped).
using Link = std::function<QString(const QString &word, const QString &shown)>;

// The part of speech a translation line starts with, and the rest: "vt." and "锯, 锯开".
std::pair<QString, QString> partOfSpeech(const QString &line);

// The line with every run of Chinese characters a link to its own answer, the rest escaped.
QString linkedChinese(const QString &line, const Link &link);

// What the page puts after an entry's phonetics: its speaker and star.
using AfterHeadword = std::function<QString(const Entry &entry)>;

// The page's rich text for the result.
QString html(const Result &result, const Link &link, const AfterHeadword &after = {});

} // namespace EnglishChinese
