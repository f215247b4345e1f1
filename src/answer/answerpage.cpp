#include "answer/answerpage.h"

#include "answer/readings.h"
#include "answer/favouritelink.h"

#include "lookup/answer.h"
#include "lookup/lookup.h"
#include "chinese_english/senses.h"
#include "answer/englishchinese.h"
#include "words/store.h"

#include <QCoreApplication>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace {

const QString scheme = QStringLiteral("tavrel");

QString text(const QString &plain) { return plain.toHtmlEscaped(); }

// Once a page rather than on every element: a page has up to sixty entries, and the time to
// read it is most of the time an answer takes.
QString styleSheet()
{
    return QStringLiteral("a.word { text-decoration: none; font-size: x-large }"
                          "a.star { text-decoration: none; font-size: small }"
                          "p.entry { margin-top: 12px; margin-bottom: 2px }"
                          "ol { margin-top: 0px }"
                          ".quiet { color: #555 }"
                          ".band { font-size: small; color: #2e6b3a }"
                          "p.measure { margin-top: 0px; margin-left: 40px }"
                          "p.unreachable { background-color: #fff4ce; padding: 6px }"
                          "p.source { font-size: small; color: #555 }")
        + EnglishChinese::styleSheet();
}

QString readingName(Dictionary::Reading reading)
{
    return AnswerText::readingName(reading, AnswerText::Spelling::Page);
}

// A headword is a link to its own answer, as a word in a page links to its own page.
QString headword(const QString &word)
{
    return QStringLiteral("<a href=\"%1\" class=\"word\">%2</a>")
        .arg(text(AnswerPage::addressOf(word).toString(QUrl::FullyEncoded)), text(word));
}

QString speakerLink(const AnswerPage::Speaker &speaker)
{
    // Named for screen readers by the control laid over it (SpeakerLink).
    return QStringLiteral("&nbsp;<a href=\"%1\" class=\"speaker\"><img src=\"%2\"></a>")
        .arg(text(AnswerPage::speakerAddress(speaker).toString(QUrl::FullyEncoded)),
             QLatin1String(AnswerPage::speakerImage));
}

AnswerPage::Speaker speakerFor(const Dictionary::Entry &entry)
{
    return {entry.numberedPinyin, false, entry.simplified};
}

// The speaker and the star of an English-Chinese entry, after its phonetics as a Chinese
// entry's follow its pinyin; the phonetics are its reading in the favourites.
QString englishChineseLinks(const EnglishChinese::Entry &entry)
{
    const QString reading
        = entry.phonetic.isEmpty() ? QString() : QStringLiteral("/%1/").arg(entry.phonetic);
    return speakerLink({entry.word, true, entry.word}) + QStringLiteral(" &nbsp; ")
        + FavouriteLink::html({entry.word, reading, entry.translations, {}});
}

// A word a sense refers to, "台 臺 (tái)", its forms a link to its answer.
QString reference(const Dictionary::Senses::Reference &word, bool withTraditional = true)
{
    QString forms = word.simplified;
    if (withTraditional && !word.traditional.isEmpty() && word.traditional != word.simplified)
        forms += u' ' + word.traditional;
    QString html
        = QStringLiteral("<a href=\"%1\">%2</a>")
              .arg(text(AnswerPage::addressOf(word.simplified).toString(QUrl::FullyEncoded)),
                   text(forms));
    if (!word.pinyin.isEmpty())
        html += QStringLiteral(" (%1)").arg(text(word.pinyin));
    return html;
}

QString sense(const QString &sense)
{
    QString html;
    for (const Dictionary::Senses::Piece &piece : Dictionary::Senses::pieces(sense))
        html += piece.isReference ? reference(piece.reference) : text(piece.text);
    return html;
}

// How common the headword is, in words: what a reader sees and a screen reader reads, with
// what the band means when the pointer rests on it.
QString band(int band)
{
    static const char *const meanings[] = {"",
                                           QT_TRANSLATE_NOOP("AnswerPage", "10,000 or more"),
                                           QT_TRANSLATE_NOOP("AnswerPage", "1,000 to 9,999"),
                                           QT_TRANSLATE_NOOP("AnswerPage", "100 to 999"),
                                           QT_TRANSLATE_NOOP("AnswerPage", "10 to 99"),
                                           QT_TRANSLATE_NOOP("AnswerPage", "fewer than 10")};
    // The band's names as the dictionary gives them, for the translations to find.
    static const char *const names[] = {"",
                                        QT_TRANSLATE_NOOP("AnswerPage", "very common"),
                                        QT_TRANSLATE_NOOP("AnswerPage", "common"),
                                        QT_TRANSLATE_NOOP("AnswerPage", "less common"),
                                        QT_TRANSLATE_NOOP("AnswerPage", "uncommon"),
                                        QT_TRANSLATE_NOOP("AnswerPage", "rare")};
    if (band < 1 || band > 5)
        return QString();
    const QString name = QCoreApplication::translate("AnswerPage", names[band]);
    const QString title = QCoreApplication::translate(
        "AnswerPage", "How common: %1, %2 times in the 60 million words of jieba's word list");
    return QStringLiteral(" &nbsp; <span class=\"band\" title=\"%1\">%2</span>")
        .arg(title.arg(name, QCoreApplication::translate("AnswerPage", meanings[band])), name);
}

QString entry(const Dictionary::Entry &entry)
{
    QString html = QStringLiteral("<p class=\"entry\">") + headword(entry.simplified);
    if (entry.traditional != entry.simplified)
        html += QStringLiteral(" &nbsp;") + headword(entry.traditional);
    html += QStringLiteral(" &nbsp; <span class=\"quiet\">%1</span>").arg(text(entry.pinyin));
    if (!entry.numberedPinyin.isEmpty())
        html += speakerLink(speakerFor(entry));
    html += band(entry.band);
    html += QStringLiteral(" &nbsp; ")
        + FavouriteLink::html({entry.simplified, entry.pinyin, entry.senses, {}})
        + QStringLiteral("</p><ol>");
    const Dictionary::Senses::Shown shown = Dictionary::Senses::shown(entry.senses);
    for (const QString &each : shown.meanings)
        html += QStringLiteral("<li>") + sense(each) + QStringLiteral("</li>");
    html += QStringLiteral("</ol>");
    if (!shown.measureWords.isEmpty()) {
        QStringList words;
        for (const Dictionary::Senses::Reference &word : shown.measureWords)
            words << reference(word, false);
        html += QStringLiteral("<p class=\"measure\">%1 %2</p>")
                    .arg(QCoreApplication::translate(
                             "AnswerPage",
                             Dictionary::Senses::measureWordsTitle(shown.measureWords.size())
                                 .toUtf8()
                                 .constData()),
                         words.join(QStringLiteral(", ")));
    }
    return html;
}

// The entries put into a page so far, up to a number when only the first are wanted.
struct Entries
{
    int left = -1; // any number
    bool whole = true;

    bool take()
    {
        if (left == 0) {
            whole = false;
            return false;
        }
        if (left > 0)
            --left;
        return true;
    }
};

// A word in a line of text as a link to its own answer.
QString link(const QString &word, const QString &shown)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(text(AnswerPage::addressOf(word).toString(QUrl::FullyEncoded)), shown);
}

QString group(const Dictionary::Answer &answer, const Dictionary::Group &group, bool titled,
              Entries &entries)
{
    QString html;
    if (group.reading == Dictionary::Reading::EnglishChinese) {
        if (titled)
            html += QStringLiteral("<h3>%1</h3>").arg(readingName(group.reading));
        if (entries.take())
            html += EnglishChinese::html(answer.englishChinese, link, englishChineseLinks);
        return html;
    }
    if (titled)
        html += QStringLiteral("<h3>%1</h3>")
                    .arg(QCoreApplication::translate("AnswerPage", "Read as %1")
                             .arg(readingName(group.reading)));
    for (const Dictionary::Entry &each : group.entries) {
        if (entries.take())
            html += entry(each);
    }
    if (group.more > 0)
        html += QStringLiteral("<p><i>%1</i></p>")
                    .arg(QCoreApplication::translate("AnswerPage", "%1 more %2 not shown.")
                             .arg(group.more)
                             .arg(group.more == 1
                                      ? QCoreApplication::translate("AnswerPage", "entry")
                                      : QCoreApplication::translate("AnswerPage", "entries")));
    if (!group.words.isEmpty()) {
        // The phrase's words in their order, each with what it means.
        html += QStringLiteral("<p>") + QCoreApplication::translate("AnswerPage", "Its words: ");
        for (const Dictionary::Word &word : group.words)
            html += (word.entries.isEmpty() ? text(word.text) : headword(word.text))
                + QStringLiteral(" ");
        html += QStringLiteral("</p>");
        for (const Dictionary::Word &word : group.words) {
            for (const Dictionary::Entry &each : word.entries) {
                if (entries.take())
                    html += entry(each);
            }
        }
    }
    return html;
}

QString queryValue(const QUrl &address, const QString &key)
{
    return QUrl::fromPercentEncoding(
        QUrlQuery(address).queryItemValue(key, QUrl::FullyEncoded).toLatin1());
}

} // namespace

namespace AnswerPage {

bool isAnswerAddress(const QString &address)
{
    return address.startsWith(scheme + u':', Qt::CaseInsensitive);
}

QUrl addressOf(const QString &word)
{
    QUrl address;
    address.setScheme(scheme);
    address.setPath(word, QUrl::DecodedMode);
    // Written out, as a link is, a path that starts with "//" would read as a host and the word
    // would be lost: its first slash is written encoded, which reads back as the same word.
    if (word.startsWith(QLatin1String("//")))
        address.setPath(QStringLiteral("%2F") + address.path(QUrl::FullyEncoded).mid(1),
                        QUrl::TolerantMode);
    return address;
}

QUrl addressOfRequest(const QString &address)
{
    return addressOf(address.mid(address.indexOf(u':') + 1));
}

QString wordOf(const QUrl &address) { return address.path(QUrl::FullyDecoded); }

QUrl fallbackAddressOf(const QString &word, const QString &site, const QString &reason)
{
    QUrl address = addressOf(word);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("unreachable"),
                       QString::fromLatin1(QUrl::toPercentEncoding(site)));
    query.addQueryItem(QStringLiteral("reason"),
                       QString::fromLatin1(QUrl::toPercentEncoding(reason)));
    address.setQuery(query);
    return address;
}

QString siteOf(const QUrl &address) { return queryValue(address, QStringLiteral("unreachable")); }

QString reasonOf(const QUrl &address) { return queryValue(address, QStringLiteral("reason")); }

bool isSpeakerAddress(const QUrl &address)
{
    return address.scheme() == QLatin1String("tavrel-say");
}

QUrl speakerAddress(const Speaker &speaker)
{
    QUrl address;
    address.setScheme(QStringLiteral("tavrel-say"));
    QUrlQuery query;
    query.addQueryItem(speaker.english ? QStringLiteral("english") : QStringLiteral("pinyin"),
                       QString::fromLatin1(QUrl::toPercentEncoding(speaker.text)));
    query.addQueryItem(QStringLiteral("word"),
                       QString::fromLatin1(QUrl::toPercentEncoding(speaker.word)));
    address.setQuery(query);
    return address;
}

Speaker speakerOf(const QUrl &address)
{
    if (!isSpeakerAddress(address))
        return {};
    const bool english = QUrlQuery(address).hasQueryItem(QStringLiteral("english"));
    return {queryValue(address, english ? QStringLiteral("english") : QStringLiteral("pinyin")),
            english, queryValue(address, QStringLiteral("word"))};
}

Speaker firstSpeaker(const Dictionary::Answer &answer)
{
    if (answer.groups.isEmpty())
        return {};
    const Dictionary::Group &first = answer.groups.first();
    if (first.reading == Dictionary::Reading::EnglishChinese)
        return answer.englishChinese.found() ? Speaker {answer.input, true, answer.input}
                                             : Speaker();
    if (first.reading == Dictionary::Reading::English)
        return first.entries.isEmpty() ? Speaker() : Speaker {answer.input, true, answer.input};
    if (!first.entries.isEmpty())
        return speakerFor(first.entries.first());
    for (const Dictionary::Word &word : first.words) {
        if (!word.entries.isEmpty())
            return speakerFor(word.entries.first());
    }
    return {};
}

Dictionary::Answer answerFor(const QString &word)
{
    return word.trimmed().isEmpty() ? Dictionary::Answer() : Dictionary::lookUp(word);
}

QString html(const Dictionary::Answer &answer, const QString &site, const QString &reason,
             int firstEntries, bool *whole)
{
    Entries entries;
    if (firstEntries > 0)
        entries.left = firstEntries;
    QString html = QStringLiteral("<html><head><title>%1</title><style>%2</style></head><body>")
                       .arg(text(answer.input), styleSheet());
    if (!site.isEmpty()) {
        const QUrl url(site, QUrl::TolerantMode);
        const QString host = url.host().isEmpty() ? site : url.host();
        // An address the browser cannot be given has nothing to try again.
        const QString again = url.isValid() && !url.isEmpty()
            ? QStringLiteral(" <a href=\"%1\">%2</a>")
                  .arg(text(url.toString(QUrl::FullyEncoded)),
                       QCoreApplication::translate("AnswerPage", "Try again"))
            : QString();
        html += QStringLiteral("<p class=\"unreachable\">%1</p>")
                    .arg(QCoreApplication::translate("AnswerPage",
                                                     "The site %1 couldn't be reached: %2.%3")
                             .arg(text(host), text(reason), again));
        if (answer.input.isEmpty())
            return html + QStringLiteral("</body></html>");
    }
    const bool english = answer.englishChinese.found()
        || std::any_of(answer.groups.begin(), answer.groups.end(),
                       [](const Dictionary::Group &group) {
                           return group.reading == Dictionary::Reading::English
                               && !group.entries.isEmpty();
                       });
    html += QStringLiteral("<h2>%1%2</h2>")
                .arg(text(answer.input),
                     english ? speakerLink({answer.input, true, answer.input}) : QString());
    if (answer.cut)
        html += QStringLiteral("<p><i>%1</i></p>")
                    .arg(QCoreApplication::translate("AnswerPage",
                                                     "Only the first %1 characters were looked up.")
                             .arg(Dictionary::maxInputLength));
    // Either dictionary answers without the other: the English-Chinese group says its own
    // error, and offers what a word that found nothing may have meant.
    if (!answer.error.isEmpty())
        html += QStringLiteral("<p>%1</p>")
                    .arg(QCoreApplication::translate(
                             "AnswerPage", "The built-in dictionary could not be read: %1")
                             .arg(text(answer.error)));
    else if (!answer.found())
        html += QStringLiteral("<p>%1</p>")
                    .arg(QCoreApplication::translate("AnswerPage", "Nothing found for “%1”.")
                             .arg(text(answer.input)));
    if (answer.found() && answer.groups.size() == 1
        && answer.groups.first().reading != Dictionary::Reading::EnglishChinese)
        html += QStringLiteral("<p class=\"quiet\">%1</p>")
                    .arg(QCoreApplication::translate("AnswerPage", "Read as %1")
                             .arg(readingName(answer.groups.first().reading)));
    for (const Dictionary::Group &each : answer.groups)
        html += group(answer, each, answer.groups.size() > 1, entries);
    html += QStringLiteral("<hr><p class=\"source\">%1</p>")
                .arg(QCoreApplication::translate(
                         "AnswerPage", "From ECDICT, MIT licence, and CC-CEDICT, CC BY-SA 4.0%1.")
                         .arg(answer.dataDate.isEmpty()
                                  ? QString()
                                  : QStringLiteral(", ") + text(answer.dataDate)));
    if (whole)
        *whole = entries.whole;
    return html + QStringLiteral("</body></html>");
}

} // namespace AnswerPage
