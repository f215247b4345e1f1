#pragma once

#include "chinese_english/entry.h"

#include <QCoreApplication>
#include <QString>

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

} // namespace AnswerText
