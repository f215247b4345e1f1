#include "chinese_english/lookup.h"

#include "chinese_english/index.h"
#include "chinese_english/lookupsteps.h"

#include <exception>
#include <optional>

namespace Dictionary {

namespace {

// How much commoner than the English reading's plain word the commonest word that sounds like
// the input may be while the English reading still comes first.
constexpr qint64 englishShare = 10;

bool isChinese(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80 || c.isSurrogate())
            return true;
    return false;
}

bool hasWordCharacter(const QString &text)
{
    for (const QChar c : text)
        if (c.isLetterOrNumber() || c.isSurrogate())
            return true;
    return false;
}

} // namespace

Result lookUp(const Index &index, const QString &input, const QString &base,
              const QStringList &spellings)
{
    Result answer;
    QString text = input.trimmed();
    if (text.size() > maxInputLength) {
        int length = maxInputLength;
        if (text.at(length - 1).isHighSurrogate())
            --length;
        text = text.left(length).trimmed();
        answer.cut = true;
    }
    answer.input = text;
    if (!index.isOpen()) {
        answer.error = index.errorString().isEmpty()
            ? QStringLiteral("The dictionary's index is not open.")
            : index.errorString();
        return answer;
    }
    answer.dataDate = index.dataDate();
    if (!hasWordCharacter(text))
        return answer;
    try {
        if (isChinese(text)) {
            if (std::optional<Group> group = LookupSteps::chinese(index, text))
                answer.groups << *group;
        } else {
            quint32 everyday = 0;
            std::optional<Group> inEnglish = LookupSteps::english(index, text, base, spellings, &everyday);
            std::optional<Group> inPinyin = LookupSteps::pinyin(index, text);
            // English first when a common word means it plainly, and no much commoner word
            // sounds so: "he" (他, 和), "run", "you"; "ta" and "hao" are pinyin first.
            const bool englishFirst = inEnglish && everyday > 0
                && (!inPinyin
                    || qint64(everyday) * englishShare >= inPinyin->entries.first().count);
            if (inEnglish && englishFirst)
                answer.groups << *inEnglish;
            if (inPinyin)
                answer.groups << *inPinyin;
            if (inEnglish && !englishFirst)
                answer.groups << *inEnglish;
        }
    } catch (const std::exception &e) {
        answer.groups.clear();
        answer.error = QStringLiteral("The dictionary could not answer: %1")
                           .arg(QString::fromLocal8Bit(e.what()));
    }
    return answer;
}

} // namespace Dictionary
