#pragma once

#include "chinese_english/entry.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace EnglishChinese {
struct Entry;
}

namespace AnswerText {

// How a name is spelt: the page sets the dash of "English–Chinese"; the terminal's text and the
// JSON keep to ASCII ("English-Chinese", and "english-chinese" as a key).
enum class Spelling { Page, Plain };

// The name of a reading, as "Read as …" shows it: "Chinese", "English", "pinyin".
inline QString readingName(Dictionary::Reading reading, Spelling spelling)
{
    switch (reading) {
    case Dictionary::Reading::Chinese:
        return QStringLiteral("Chinese");
    case Dictionary::Reading::English:
        return QStringLiteral("English");
    case Dictionary::Reading::Pinyin:
        return QStringLiteral("pinyin");
    case Dictionary::Reading::EnglishChinese:
        return spelling == Spelling::Page ? QStringLiteral("English\u2013Chinese")
                                          : QStringLiteral("English-Chinese");
    }
    return QString();
}

// "Collins ★★★★☆", "Oxford 3000" and the exam tags, as an English-Chinese entry's marks line
// says them.
QStringList marks(const EnglishChinese::Entry &entry);

// "past went, past participle gone, -ing going".
QString formsLine(const EnglishChinese::Entry &entry);

// A group's caption: "Read as English", and "Read as English (as color)" where the word's other
// spelling found the entries. The page's is translated; the terminal's text stays English.
inline QString readAs(const Dictionary::Group &group, Spelling spelling)
{
    const QString name = readingName(group.reading, spelling);
    if (spelling == Spelling::Plain)
        return group.spelling.isEmpty()
            ? QStringLiteral("Read as %1").arg(name)
            : QStringLiteral("Read as %1 (as %2)").arg(name, group.spelling);
    return group.spelling.isEmpty()
        ? QCoreApplication::translate("AnswerPage", "Read as %1").arg(name)
        : QCoreApplication::translate("AnswerPage", "Read as %1 (as %2)").arg(name, group.spelling);
}

} // namespace AnswerText
