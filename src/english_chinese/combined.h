#pragma once

#include "dictionary/dictionary.h"

namespace Dictionary {
class Index;
}

namespace EnglishChinese {

class Index;

// The answer of both dictionaries. A Latin input is looked up in the English-Chinese one too,
// and the Chinese-English English reading then looks up the base word of a form as well
// ("run" for "running"). The English-Chinese entry comes first when the word is core
// vocabulary, or more common than the pinyin reading's first word; otherwise it follows the
// pinyin reading. When nothing is found at all, it suggests what a misspelt word may have
// meant. Either dictionary answers without the other.
Dictionary::Answer lookUpBoth(const Dictionary::Index &chineseEnglish, const Index &englishChinese,
                              const QString &input);

// The place of a word with count among the Chinese-English dictionary's headwords, commonest
// first: 1 for the commonest.
quint32 chineseRank(const Dictionary::Index &index, quint32 count);

} // namespace EnglishChinese
