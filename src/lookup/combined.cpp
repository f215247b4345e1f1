// The answer of both dictionaries for an input.
#include "lookup/lookup.h"

#include "chinese_english/index.h"
#include "english_chinese/britishamerican.h"
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"
#include "english_chinese/suggestions.h"

#include <algorithm>

namespace Dictionary {

namespace {

bool isLatinInput(const QString &text)
{
    bool letter = false;
    for (const QChar c : text) {
        if (c.unicode() >= 0x2E80 || c.isSurrogate())
            return false;
        letter = letter || c.isLetter();
    }
    return letter;
}

bool isCore(const EnglishChinese::Result &result)
{
    return (result.found() && result.own.first().core())
        || (result.hasBase() && result.base.core());
}

int groupAt(const Answer &answer, Reading reading)
{
    for (int i = 0; i < answer.groups.size(); ++i)
        if (answer.groups.at(i).reading == reading)
            return i;
    return -1;
}

// Whether the English-Chinese entry goes first: for core vocabulary, and for a word more common
// than the pinyin reading's first word.
bool goesFirst(const Index &chineseEnglish, const Answer &answer,
               const EnglishChinese::Result &result)
{
    const int pinyin = groupAt(answer, Reading::Pinyin);
    if (!result.found() || isCore(result) || pinyin < 0
        || answer.groups.at(pinyin).entries.isEmpty())
        return true;
    const int rank = result.own.first().rank();
    return rank > 0
        && quint32(rank)
        < chineseRank(chineseEnglish, answer.groups.at(pinyin).entries.first().count);
}

// The British spellings of an American word and the American of a British one, of the input and
// of its base word, that the English-Chinese dictionary has as headwords: CC-CEDICT writes
// American English, so "colour" finds its entries only as "color".
QStringList otherSpellings(const EnglishChinese::Index &englishChinese, const QString &text,
                           const QString &base)
{
    if (!englishChinese.isOpen())
        return {};
    const auto isWord = [&](const QString &word) {
        const QByteArray utf8 = word.toUtf8();
        const auto [first, last] = englishChinese.find({utf8.constData(), size_t(utf8.size())});
        return first < last;
    };
    QStringList result = EnglishChinese::otherSpellings(text.toLower(), isWord);
    if (!base.isEmpty())
        for (const QString &word : EnglishChinese::otherSpellings(base.toLower(), isWord))
            if (!result.contains(word))
                result << word;
    return result;
}

} // namespace

quint32 chineseRank(const Index &index, quint32 count)
{
    quint32 above = 0;
    for (quint32 entry = 0; entry < index.entryCount(); ++entry)
        above += index.count(entry) > count;
    return above + 1;
}

Answer lookUp(const Index &chineseEnglish, const EnglishChinese::Index &englishChinese,
              const QString &input)
{
    QString text = input.trimmed().left(maxInputLength);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    if (!isLatinInput(text))
        return lookUp(chineseEnglish, input, QString());

    EnglishChinese::Result result;
    if (englishChinese.isOpen())
        result = EnglishChinese::lookUp(englishChinese, text);
    else
        result.error = englishChinese.errorString().isEmpty()
            ? QStringLiteral("The English\u2013Chinese dictionary's index is not open.")
            : englishChinese.errorString();
    Answer answer = lookUp(chineseEnglish, input, result.base.word,
                           otherSpellings(englishChinese, text, result.base.word));
    if (!result.found() && !answer.found() && result.error.isEmpty()) {
        for (const QString &word : EnglishChinese::suggestions(englishChinese, text)) {
            const EnglishChinese::Result suggested = EnglishChinese::lookUp(englishChinese, word);
            const QStringList lines
                = suggested.found() ? suggested.own.first().translations : QStringList();
            result.suggestions.append({word, lines.value(0)});
        }
    }
    if (result.found() || !answer.found() || !result.error.isEmpty()) {
        Group group;
        group.reading = Reading::EnglishChinese;
        if (!result.found() && answer.found()) {
            answer.groups.append(group); // what it could not read, after what the other found
        } else if (goesFirst(chineseEnglish, answer, result)) {
            answer.groups.prepend(group);
        } else {
            // The input reads as pinyin first ("ma", "ta"): the English word, in either
            // dictionary, comes after that.
            answer.groups.move(groupAt(answer, Reading::Pinyin), 0);
            answer.groups.insert(1, group);
        }
    }
    answer.englishChinese = result;
    answer.englishChineseVersion = englishChinese.dataVersion();
    return answer;
}

} // namespace Dictionary
