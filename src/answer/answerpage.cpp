#include "answer/answerpage.h"

#include "answer/favouritelink.h"
#include "answer/readings.h"
#include "answer/strokeorderlink.h"
#include "chinese_english/senses.h"
#include "english_chinese/lookup.h"
#include "english_chinese/spellings.h"
#include "lookup/answer.h"
#include "words/store.h"

#include <QCoreApplication>
#include <QUrl>

#include <algorithm>

namespace {

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
                          "p.source { font-size: small; color: #555 }"
                          "span.english { font-size: x-large; font-weight: bold }"
                          "p.marks { color: #555; margin-top: 0px }"
                          "p.translation { margin-top: 2px; margin-bottom: 2px }"
                          "span.pos { color: #555; font-style: italic }"
                          "p.heading { font-size: small; font-weight: bold; color: #555;"
                          " margin-top: 8px; margin-bottom: 0px }"
                          "p.definition { margin-top: 2px }"
                          "p.form { margin-top: 10px }");
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

// The speaker and the star of an English-Chinese entry, after its phonetics as a Chinese
// entry's follow its pinyin; the phonetics are its reading in the favourites.
QString englishChineseLinks(const EnglishChinese::Entry &entry,
                            const AnswerPage::IsFavourite &isFavourite)
{
    const QString reading
        = entry.phonetic.isEmpty() ? QString() : QStringLiteral("/%1/").arg(entry.phonetic);
    return speakerLink({entry.word, true, entry.word}) + QStringLiteral(" &nbsp; ")
        + FavouriteLink::html({entry.word, reading, entry.translations, {}},
                              isFavourite && isFavourite(entry.word, reading));
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

QString entry(const Dictionary::Entry &entry, const AnswerPage::Options &options)
{
    QString html = QStringLiteral("<p class=\"entry\">")
        + StrokeOrderLink::html(entry.simplified, entry.pinyin, options.tones);
    if (entry.traditional != entry.simplified)
        html += QStringLiteral(" &nbsp;")
            + StrokeOrderLink::html(entry.traditional, entry.pinyin, options.tones);
    html += QStringLiteral(" &nbsp; <span class=\"quiet\">%1</span>")
                .arg(ToneColours::pinyinHtml(entry.pinyin, options.tones.palette));
    if (!entry.numberedPinyin.isEmpty())
        html += speakerLink(AnswerPage::entrySpeaker(entry));
    html += band(entry.band);
    html += QStringLiteral(" &nbsp; ")
        + FavouriteLink::html({entry.simplified, entry.pinyin, entry.senses, {}},
                              options.isFavourite
                                  && options.isFavourite(entry.simplified, entry.pinyin))
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
              Entries &entries, const AnswerPage::Options &options)
{
    QString html;
    if (group.reading == Dictionary::Reading::EnglishChinese) {
        if (titled)
            html += QStringLiteral("<h3>%1</h3>")
                        .arg(AnswerText::readingName(group.reading, AnswerText::Spelling::Page));
        if (entries.take())
            html += EnglishChinese::html(answer.englishChinese, link,
                                         [&](const EnglishChinese::Entry &entry) {
                                             return englishChineseLinks(entry, options.isFavourite);
                                         });
        return html;
    }
    if (titled)
        html += QStringLiteral("<h3>%1</h3>")
                    .arg(text(AnswerText::readAs(group, AnswerText::Spelling::Page)));
    for (const Dictionary::Entry &each : group.entries) {
        if (entries.take())
            html += entry(each, options);
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
                    html += entry(each, options);
            }
        }
    }
    return html;
}

} // namespace

// The English-Chinese dictionary's entries, in the page's style and with its links.
namespace EnglishChinese {

namespace {

bool isHan(char32_t c)
{
    return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF);
}

QString entryHtml(const Entry &entry, const Link &link, const AfterHeadword &after)
{
    QString html = QStringLiteral("<p class=\"entry\"><span class=\"english\">%1</span>")
                       .arg(text(entry.word));
    if (!entry.phonetic.isEmpty())
        html += QStringLiteral(" &nbsp; <span class=\"quiet\">/%1/</span>")
                    .arg(text(entry.phonetic));
    if (after)
        html += after(entry);
    html += QStringLiteral("</p>");
    if (const QString also = alsoWrittenLine(entry); !also.isEmpty())
        html += QStringLiteral("<p class=\"marks\">%1</p>").arg(text(also));
    const QStringList entryMarks = AnswerText::marks(entry);
    if (!entryMarks.isEmpty())
        html += QStringLiteral("<p class=\"marks\">%1</p>")
                    .arg(text(entryMarks.join(QStringLiteral(" \u00b7 "))));
    for (const QString &line : entry.translations) {
        const auto [pos, rest] = partOfSpeech(line);
        html += QStringLiteral("<p class=\"translation\">");
        if (!pos.isEmpty())
            html += QStringLiteral("<span class=\"pos\">%1</span> ").arg(text(pos));
        html += linkedChinese(rest, link) + QStringLiteral("</p>");
    }
    if (!entry.definition.isEmpty()) {
        html += QStringLiteral("<p class=\"heading\">%1</p><p class=\"definition\">")
                    .arg(QCoreApplication::translate("EnglishChineseAnswer", "English definition"));
        QStringList lines;
        for (const QString &line : entry.definition)
            lines << text(line);
        html += lines.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
    }
    const QString forms = AnswerText::formsLine(entry);
    if (!forms.isEmpty())
        html += QStringLiteral("<p class=\"forms\">%1</p>").arg(text(forms));
    return html;
}

} // namespace

std::pair<QString, QString> partOfSpeech(const QString &line)
{
    // "n.", "vt.", "adj.", "abbr.": a few lower-case letters and a full stop, then a space.
    int at = 0;
    while (at < line.size() && at < 8 && line.at(at).isLower() && line.at(at).unicode() < 0x80)
        ++at;
    if (at == 0 || at >= line.size() || line.at(at) != u'.'
        || (at + 1 < line.size() && !line.at(at + 1).isSpace() && line.at(at + 1).unicode() < 0x80))
        return {QString(), line};
    return {line.left(at + 1), line.mid(at + 1).trimmed()};
}

QString linkedChinese(const QString &line, const Link &link)
{
    QString html;
    const std::u32string chars = line.toStdU32String();
    size_t at = 0;
    while (at < chars.size()) {
        size_t end = at;
        if (chars[at] == U'[') {
            // A subject label ("[计]") stays as it is.
            end = std::min(chars.find(U']', at), chars.size() - 1) + 1;
            html += text(QString::fromStdU32String(chars.substr(at, end - at)));
            at = end;
            continue;
        }
        const bool han = isHan(chars[at]);
        while (end < chars.size() && isHan(chars[end]) == han && (han || chars[end] != U'['))
            ++end;
        const QString part = QString::fromStdU32String(chars.substr(at, end - at));
        html += han ? link(part, text(part)) : text(part);
        at = end;
    }
    return html;
}

QString html(const Result &result, const Link &link, const AfterHeadword &after)
{
    if (!result.error.isEmpty())
        return QStringLiteral("<p>%1</p>")
            .arg(QCoreApplication::translate("EnglishChineseAnswer",
                                             "The English–Chinese dictionary could not be read: %1")
                     .arg(text(result.error)));
    QString html;
    for (const Entry &entry : result.shownOwn())
        html += entryHtml(entry, link, after);
    if (result.hasBase()) {
        if (result.shownOwn().isEmpty() && result.found()) {
            // The typed word says only whose form it is: its headword and sound, then that.
            Entry heading = result.own.first();
            heading.translations.clear();
            heading.definition.clear();
            heading.forms.clear();
            html += entryHtml(heading, link, after);
        }
        html += QStringLiteral("<p class=\"form\">%1 of %2</p>")
                    .arg(text(result.form), link(result.base.word, text(result.base.word)));
        html += entryHtml(result.base, link, after);
    }
    if (!result.suggestions.isEmpty()) {
        html += QStringLiteral("<p>%1</p><ul>")
                    .arg(QCoreApplication::translate("EnglishChineseAnswer", "Did you mean:"));
        for (const Suggestion &suggestion : result.suggestions)
            html += QStringLiteral("<li>%1 &nbsp; <span class=\"quiet\">%2</span></li>")
                        .arg(link(suggestion.word, text(suggestion.word)),
                             text(suggestion.translation));
        html += QStringLiteral("</ul>");
    }
    return html;
}

} // namespace EnglishChinese

namespace AnswerPage {

QString html(const Dictionary::Answer &answer, const Options &options, bool *whole)
{
    const QString &site = options.site;
    const QString &reason = options.reason;
    Entries entries;
    if (options.firstEntries > 0)
        entries.left = options.firstEntries;
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
                    .arg(text(AnswerText::readAs(answer.groups.first(),
                                                 AnswerText::Spelling::Page)));
    for (const Dictionary::Group &each : answer.groups)
        html += group(answer, each, answer.groups.size() > 1, entries, options);
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
