#include "answer/answerformat.h"

#include "answer/readings.h"
#include "chinese_english/senses.h"
#include "english_chinese/lookup.h"
#include "english_chinese/spellings.h"
#include "strokes/strokeindex.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Dictionary;

namespace {

QJsonArray entriesJson(const QList<Entry> &entries)
{
    QJsonArray result;
    for (const Entry &entry : entries)
        result.append(AnswerFormat::entryJson(entry));
    return result;
}

// Columns a character takes in a terminal: two for Chinese and other wide characters.
int columns(char32_t c)
{
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

int columns(const QString &text)
{
    int result = 0;
    for (char32_t c : text.toUcs4())
        result += columns(c);
    return result;
}

// text in lines of at most width columns, broken at spaces (or anywhere in a word longer than a
// line, as Chinese has no spaces), the first line starting with first and the others with as
// many spaces.
QString wrapped(const QString &text, int width, const QString &first)
{
    const QString indent(columns(first), u' ');
    const int room = std::max(10, width - int(indent.size()));
    QString result;
    QString line;
    int used = 0;
    auto endLine = [&] {
        result += (result.isEmpty() ? first : indent) + line + u'\n';
        line.clear();
        used = 0;
    };
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const int wordColumns = columns(word);
        if (used > 0 && used + 1 + wordColumns > room)
            endLine();
        if (used > 0) {
            line += u' ';
            ++used;
        }
        if (wordColumns <= room - used) {
            line += word;
            used += wordColumns;
            continue;
        }
        for (char32_t c : word.toUcs4()) {
            if (used + columns(c) > room)
                endLine();
            line += QString::fromUcs4(&c, 1);
            used += columns(c);
        }
    }
    if (used > 0 || result.isEmpty())
        endLine();
    return result;
}

QString readingName(Dictionary::Reading reading)
{
    return AnswerText::readingName(reading, AnswerText::Spelling::Plain);
}

QString entryText(const Entry &entry, int width, const ToneColours::Palette &tones)
{
    QString headline = entry.simplified;
    if (entry.traditional != entry.simplified)
        headline += u' ' + entry.traditional;
    headline += QStringLiteral("  ") + entry.pinyin;
    if (entry.band)
        headline += QStringLiteral("  (%1)").arg(frequencyBandName(entry.band));
    QString text = wrapped(headline, width, QString());
    // Coloured once wrapped, where the escapes take no columns; pinyin that a narrow terminal
    // broke over two lines stays plain.
    const qsizetype pinyinAt = text.indexOf(entry.pinyin);
    if (!tones.isNone() && !entry.pinyin.isEmpty() && pinyinAt >= 0)
        text.replace(pinyinAt, entry.pinyin.size(), ToneColours::pinyinAnsi(entry.pinyin, tones));
    const Senses::Shown shown = Senses::shown(entry.senses);
    for (int i = 0; i < shown.meanings.size(); ++i)
        text += wrapped(Senses::plain(shown.meanings.at(i)), width,
                        QStringLiteral("%1. ").arg(i + 1, 4));
    if (!shown.measureWords.isEmpty())
        text += wrapped(Senses::measureWordsLine(shown.measureWords), width,
                        QStringLiteral("      "));
    return text;
}

QString groupText(const Answer &answer, const Group &group, bool titled, int width,
                  const ToneColours::Palette &tones)
{
    QString text;
    if (group.reading == Reading::EnglishChinese) {
        if (titled)
            text += QStringLiteral("\nEnglish\u2013Chinese\n");
        for (const QString &line : EnglishChinese::textLines(answer.englishChinese)) {
            const qsizetype indent = line.size() - QString(line).trimmed().size();
            text += wrapped(line.trimmed(), width, QString(indent, u' '));
        }
        return text;
    }
    if (titled)
        text += u'\n' + AnswerText::readAs(group, AnswerText::Spelling::Plain) + u'\n';
    for (const Entry &entry : group.entries)
        text += entryText(entry, width, tones);
    if (group.more > 0)
        text += wrapped(
            QStringLiteral("%1 more %2 not shown.")
                .arg(group.more)
                .arg(group.more == 1 ? QStringLiteral("entry") : QStringLiteral("entries")),
            width, QString());
    if (!group.words.isEmpty()) {
        QStringList words;
        for (const Word &word : group.words)
            words << word.text;
        text += wrapped(words.join(u' '), width, QStringLiteral("Its words: "));
        for (const Word &word : group.words)
            for (const Entry &entry : word.entries)
                text += entryText(entry, width, tones);
    }
    return text;
}

} // namespace

// The English-Chinese dictionary's entries, as the text and the JSON say them.
namespace EnglishChinese {

namespace {

QStringList entryText(const Entry &entry)
{
    QStringList lines;
    lines << entry.word
            + (entry.phonetic.isEmpty() ? QString() : QStringLiteral("  /%1/").arg(entry.phonetic));
    if (const QString also = alsoWrittenLine(entry); !also.isEmpty())
        lines << also;
    const QStringList entryMarks = AnswerText::marks(entry);
    if (!entryMarks.isEmpty())
        lines << entryMarks.join(QStringLiteral(" \u00b7 "));
    for (const QString &line : entry.translations)
        lines << QStringLiteral("  ") + line;
    if (!entry.definition.isEmpty()) {
        lines << QStringLiteral("English definition:");
        for (const QString &line : entry.definition)
            lines << QStringLiteral("  ") + line;
    }
    const QString forms = AnswerText::formsLine(entry);
    if (!forms.isEmpty())
        lines << forms;
    return lines;
}

QJsonObject entryJson(const Entry &entry)
{
    QJsonObject forms;
    for (const auto &[kind, word] : entry.forms)
        forms.insert(kind, word);
    QJsonObject json{{QStringLiteral("word"), entry.word},
                     {QStringLiteral("phonetic"), entry.phonetic},
                     {QStringLiteral("translations"), QJsonArray::fromStringList(entry.translations)},
                     {QStringLiteral("definition"), entry.definition.join(u'\n')},
                     {QStringLiteral("forms"), forms},
                     {QStringLiteral("tags"), QJsonArray::fromStringList(entry.tags)},
                     {QStringLiteral("collins"), entry.collins},
                     {QStringLiteral("oxford"), entry.oxford}};
    if (!entry.alsoWritten.isEmpty())
        json.insert(QStringLiteral("alsoWritten"), QJsonArray::fromStringList(entry.alsoWritten));
    return json;
}

} // namespace

QStringList textLines(const Result &result)
{
    if (!result.error.isEmpty())
        return {QStringLiteral("The English\u2013Chinese dictionary could not be read: ")
                + result.error};
    QStringList lines;
    for (const Entry &entry : result.shownOwn())
        lines << entryText(entry);
    if (result.hasBase()) {
        if (result.shownOwn().isEmpty() && result.found())
            lines << entryText(result.own.first()).first();
        lines << result.form + QStringLiteral(" of ") + result.base.word;
        lines << entryText(result.base);
    }
    if (!result.suggestions.isEmpty()) {
        lines << QStringLiteral("Did you mean:");
        for (const Suggestion &suggestion : result.suggestions)
            lines << QStringLiteral("  ") + suggestion.word + QStringLiteral("  ")
                    + suggestion.translation;
    }
    return lines;
}

QJsonObject json(const Result &result)
{
    QJsonArray entries;
    for (const Entry &entry : result.shownOwn())
        entries.append(entryJson(entry));
    if (result.hasBase())
        entries.append(entryJson(result.base));
    QJsonObject group {{QStringLiteral("reading"), QStringLiteral("english-chinese")},
                       {QStringLiteral("entries"), entries}};
    if (result.hasBase())
        group.insert(QStringLiteral("base"),
                     QJsonObject {{QStringLiteral("word"), result.base.word},
                                  {QStringLiteral("form"), result.form}});
    if (!result.found()) {
        QJsonArray words;
        for (const Suggestion &suggestion : result.suggestions)
            words.append(suggestion.word);
        group.insert(QStringLiteral("suggestions"), words);
    }
    if (!result.error.isEmpty())
        group.insert(QStringLiteral("error"), result.error);
    return group;
}

} // namespace EnglishChinese

namespace AnswerFormat {

QString readingKey(Reading reading) { return readingName(reading).toLower(); }

QJsonObject entryJson(const Entry &entry)
{
    const Senses::Shown shown = Senses::shown(entry.senses);
    QStringList senses;
    for (const QString &sense : shown.meanings)
        senses << Senses::plain(sense);
    // In the order the object keeps its keys, which is the cheapest to build.
    QJsonObject object {
        {QStringLiteral("band"), entry.band ? QJsonValue(entry.band) : QJsonValue()},
        {QStringLiteral("count"), qint64(entry.count)},
        {QStringLiteral("pinyin"), entry.pinyin},
        {QStringLiteral("senses"), QJsonArray::fromStringList(senses)},
        {QStringLiteral("simplified"), entry.simplified},
        {QStringLiteral("traditional"), entry.traditional}};
    if (!shown.measureWords.isEmpty()) {
        QJsonArray words;
        for (const Senses::Reference &word : shown.measureWords)
            words.append(QJsonObject {{QStringLiteral("traditional"), word.traditional},
                                      {QStringLiteral("simplified"), word.simplified},
                                      {QStringLiteral("pinyin"), word.pinyin}});
        object.insert(QStringLiteral("measureWords"), words);
    }
    if (const char32_t character = Strokes::singleCharacter(entry.simplified)) {
        if (const int strokes = Strokes::installedIndex().strokeCount(character))
            object.insert(QStringLiteral("strokes"), strokes);
    }
    return object;
}

QJsonObject groupJson(const Group &group)
{
    QJsonObject object {{QStringLiteral("reading"), readingKey(group.reading)},
                        {QStringLiteral("entries"), entriesJson(group.entries)},
                        {QStringLiteral("more"), group.more}};
    if (!group.spelling.isEmpty())
        object.insert(QStringLiteral("spelling"), group.spelling);
    if (!group.words.isEmpty()) {
        QJsonArray words;
        for (const Word &word : group.words)
            words.append(QJsonObject {{QStringLiteral("text"), word.text},
                                      {QStringLiteral("entries"), entriesJson(word.entries)}});
        object.insert(QStringLiteral("words"), words);
    }
    return object;
}

QJsonObject answerJson(const Answer &answer)
{
    QJsonArray groups;
    for (const Group &group : answer.groups)
        groups.append(group.reading == Reading::EnglishChinese
                          ? EnglishChinese::json(answer.englishChinese)
                          : groupJson(group));
    QJsonObject object {{QStringLiteral("input"), answer.input},
                        {QStringLiteral("cut"), answer.cut},
                        {QStringLiteral("groups"), groups}};
    if (!answer.error.isEmpty())
        object.insert(QStringLiteral("error"), answer.error);
    if (!answer.dataDate.isEmpty())
        object.insert(QStringLiteral("dataDate"), answer.dataDate);
    return object;
}

QByteArray jsonLine(const Answer &answer)
{
    return QJsonDocument(answerJson(answer)).toJson(QJsonDocument::Compact) + '\n';
}

QString plainText(const Answer &answer, int width, const ToneColours::Palette &tones)
{
    QString text = wrapped(answer.input, width, QString());
    if (answer.cut)
        text += wrapped(
            QStringLiteral("Only the first %1 characters were looked up.").arg(maxInputLength),
            width, QString());
    if (!answer.error.isEmpty())
        text
            += wrapped(QStringLiteral("The built-in dictionary could not be read: ") + answer.error,
                       width, QString());
    else if (!answer.found())
        text += wrapped(QStringLiteral("Nothing found for \u201c%1\u201d.").arg(answer.input),
                        width, QString());
    if (answer.found() && answer.groups.size() == 1
        && answer.groups.first().reading != Reading::EnglishChinese)
        text += AnswerText::readAs(answer.groups.first(), AnswerText::Spelling::Plain) + u'\n';
    for (const Group &group : answer.groups)
        text += groupText(answer, group, answer.groups.size() > 1, width, tones);
    text += u'\n'
        + wrapped(QStringLiteral("From ECDICT, MIT licence, and CC-CEDICT, CC BY-SA 4.0%1.")
                      .arg(answer.dataDate.isEmpty() ? QString()
                                                     : QStringLiteral(", ") + answer.dataDate),
                  width, QString());
    return text;
}

} // namespace AnswerFormat
