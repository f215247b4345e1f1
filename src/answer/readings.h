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

// The name of a reading, as "Read as …" shows it: "Chinese", "English", "pinyin". The page's
// names are in the interface's language; the terminal's text and the JSON keep them English.
inline QString readingName(Dictionary::Reading reading, Spelling spelling)
{
    const char *name = "";
    switch (reading) {
    case Dictionary::Reading::Chinese:
        name = QT_TRANSLATE_NOOP("AnswerPage", "Chinese");
        break;
    case Dictionary::Reading::English:
        name = QT_TRANSLATE_NOOP("AnswerPage", "English");
        break;
    case Dictionary::Reading::Pinyin:
        name = QT_TRANSLATE_NOOP("AnswerPage", "pinyin");
        break;
    case Dictionary::Reading::EnglishChinese:
        if (spelling == Spelling::Plain)
            return QStringLiteral("English-Chinese");
        name = QT_TRANSLATE_NOOP("AnswerPage", "English–Chinese");
        break;
    }
    if (spelling == Spelling::Plain)
        return QString::fromUtf8(name);
    return QCoreApplication::translate("AnswerPage", name);
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
