// The answer page's HTML: whatever the words, senses, site and reason, the page holds no markup
// that came from them. The page is read by the rich-text reader that shows it, and compared
// with the page for the same answer in neutral texts, each character that is not white space
// made one ideograph (one for each different text, so that texts equal before are equal after
// and no others): the same blocks and formats, links only to the answer's own words and to the
// site, and text of the same length.
#include "answer/answerpage.h"
#include "answer/favouritelink.h"
#include "answer/strokeorderlink.h"
#include "lookup/answer.h"
#include "fuzzing.h"
#include "words/store.h"

#include <QGuiApplication>
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QUrl>

namespace {

// Each character that is not white space becomes "x": what the text looks like to markup.
QString shape(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (!c.isSpace())
            c = u'x';
    }
    return result;
}

// Texts made neutral, different ones differently.
class Neutral
{
public:
    QString operator()(const QString &text)
    {
        const QChar mark(char16_t(0x4E00 + m_marks.size()));
        const QChar used = *m_marks.insert(text, m_marks.value(text, mark));
        QString result = text;
        for (QChar &c : result) {
            if (!c.isSpace())
                c = used;
        }
        return result;
    }

private:
    QHash<QString, QChar> m_marks;
};

struct Page
{
    Dictionary::Answer answer;
    QString site;
    QString reason;
};

Dictionary::Entry entry(Fuzzing::Reader &input)
{
    Dictionary::Entry entry;
    entry.simplified = input.utf8();
    entry.traditional = input.number(2) ? input.utf8() : entry.simplified;
    entry.pinyin = input.utf8();
    // Read aloud from the same text, which the input's older cases never gave apart.
    entry.numberedPinyin = entry.pinyin;
    // A sense's references to other entries ("台|臺[tai2]", "[di4]") are the data's own markup,
    // which the page draws as linked words by design; they would make the neutral page differ,
    // so the senses here carry none, and every other character still reaches the page.
    for (int senses = input.number(4); senses > 0; --senses)
        entry.senses << input.utf8().replace(u'[', u'(').replace(u'|', u'/');
    return entry;
}

Page page(Fuzzing::Reader &input)
{
    Page page;
    Dictionary::Answer &answer = page.answer;
    answer.input = input.utf8();
    answer.cut = input.number(2);
    if (input.number(4) == 0)
        answer.error = input.utf8();
    answer.dataDate = input.utf8();
    if (input.number(2))
        page.site = input.utf8();
    page.reason = input.utf8();
    for (int groups = input.number(4); groups > 0; --groups) {
        Dictionary::Group group;
        group.reading = Dictionary::Reading(input.number(3));
        for (int entries = input.number(4); entries > 0; --entries)
            group.entries << entry(input);
        group.more = input.number(3);
        for (int words = input.number(3); words > 0; --words) {
            Dictionary::Word word;
            word.text = input.utf8();
            for (int entries = input.number(3); entries > 0; --entries)
                word.entries << entry(input);
            group.words << word;
        }
        answer.groups << group;
    }
    return page;
}

Dictionary::Entry neutralEntry(Dictionary::Entry entry, Neutral &neutral)
{
    entry.simplified = neutral(entry.simplified);
    entry.traditional = neutral(entry.traditional);
    entry.pinyin = neutral(entry.pinyin);
    entry.numberedPinyin = neutral(entry.numberedPinyin);
    for (QString &sense : entry.senses)
        sense = neutral(sense);
    return entry;
}

// The same page with its texts made neutral; the site too, unless keepSite.
Page neutralPage(Page page, bool keepSite)
{
    Neutral neutral;
    Dictionary::Answer &answer = page.answer;
    answer.input = neutral(answer.input);
    answer.error = neutral(answer.error);
    answer.dataDate = neutral(answer.dataDate);
    for (Dictionary::Group &group : answer.groups) {
        for (Dictionary::Entry &each : group.entries)
            each = neutralEntry(each, neutral);
        for (Dictionary::Word &word : group.words) {
            word.text = neutral(word.text);
            for (Dictionary::Entry &each : word.entries)
                each = neutralEntry(each, neutral);
        }
    }
    // A site of the same kind: none, an address, or text that is no address.
    if (!keepSite && !page.site.isEmpty())
        page.site = QUrl(page.site, QUrl::TolerantMode).isValid() ? QStringLiteral("x")
                                                                  : QStringLiteral("http://[");
    page.reason = neutral(page.reason);
    return page;
}

// Where the page's links may go: the answer's own words, reading them aloud, and the site.
QSet<QString> linkTargets(const Page &page)
{
    QSet<QString> targets;
    auto add = [&](const QString &word) {
        targets << AnswerPage::addressOf(word).toString(QUrl::FullyEncoded);
    };
    auto addEntry = [&](const Dictionary::Entry &entry) {
        add(entry.simplified), add(entry.traditional);
        for (const QString &headword : {entry.simplified, entry.traditional})
            for (const uint c : headword.toUcs4()) {
                const auto character = char32_t(c);
                targets << StrokeOrderLink::addressOf(QString::fromUcs4(&character, 1))
                               .toString(QUrl::FullyEncoded);
            }
        targets << AnswerPage::speakerAddress({entry.numberedPinyin, false, entry.simplified})
                       .toString(QUrl::FullyEncoded);
        targets << FavouriteLink::addressOf({entry.simplified, entry.pinyin, entry.senses, {}})
                       .toString(QUrl::FullyEncoded);
    };
    targets << AnswerPage::speakerAddress({page.answer.input, true, page.answer.input})
                   .toString(QUrl::FullyEncoded);
    for (const Dictionary::Group &group : page.answer.groups) {
        for (const Dictionary::Entry &each : group.entries)
            addEntry(each);
        for (const Dictionary::Word &word : group.words) {
            add(word.text);
            for (const Dictionary::Entry &each : word.entries)
                addEntry(each);
        }
    }
    if (!page.site.isEmpty())
        targets << QUrl(page.site, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
    return targets;
}

struct Read
{
    QList<QTextFormat> formats; // of every frame, block and run of text, in order
    QSet<QString> links;
    QString text;
    QString title;
};

void readFrame(QTextFrame *frame, Read &read)
{
    read.formats << frame->frameFormat();
    for (auto each = frame->begin(); !each.atEnd(); ++each) {
        if (QTextFrame *child = each.currentFrame()) {
            readFrame(child, read);
            continue;
        }
        const QTextBlock block = each.currentBlock();
        read.formats << block.blockFormat() << block.charFormat();
        if (block.textList())
            read.formats << block.textList()->format();
        for (auto run = block.begin(); !run.atEnd(); ++run) {
            QTextCharFormat format = run.fragment().charFormat();
            if (format.isAnchor())
                read.links << format.anchorHref();
            // The link's target is checked on its own; neighbouring runs of one format are one.
            format.clearProperty(QTextFormat::AnchorHref);
            if (read.formats.isEmpty() || read.formats.last() != format)
                read.formats << format;
        }
    }
}

Read read(const Page &page, int firstEntries)
{
    QTextDocument document;
    document.setHtml(AnswerPage::html(page.answer, {page.site, page.reason, firstEntries, {}, {}}));
    Read read;
    readFrame(document.rootFrame(), read);
    read.text = shape(document.toPlainText());
    read.title = shape(document.metaInformation(QTextDocument::DocumentTitle));
    return read;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The rich-text reader lays out with fonts, which need an application; none of the
    // fuzzer's options are for it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "answer_page";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzzing::Reader input(Fuzzing::bytes(data, size));
    const int firstEntries = input.number(6);
    const Page given = page(input);
    const Read asGiven = read(given, firstEntries);
    const Read plain = read(neutralPage(given, false), firstEntries);
    const Read plainWithSite = read(neutralPage(given, true), firstEntries);

    FUZZ_CHECK(asGiven.formats == plain.formats);
    FUZZ_CHECK(plainWithSite.formats == plain.formats);
    FUZZ_CHECK(asGiven.text == plainWithSite.text);
    FUZZ_CHECK(asGiven.title == plainWithSite.title);
    // Every link leads somewhere, and only where the page meant it to.
    FUZZ_CHECK(!asGiven.links.contains(QString()));
    FUZZ_CHECK(linkTargets(given).contains(asGiven.links));
    return 0;
}
