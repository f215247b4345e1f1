#pragma once

#include "chinese_english/completion.h"
#include "chinese_english/lookup.h"
#include "lookup/answer.h"

#include <functional>

namespace EnglishChinese {
class Index;
}

// The lookup layer: finds and maps both dictionaries' index files, and joins what each finds into
// one answer.
namespace Dictionary {

// Looks input up in the program's own indexes, of both dictionaries: beside the program in the
// build tree, or where an installation keeps them. Each is mapped on the first call and stays
// mapped; when one cannot be read, the answer's error (or its English-Chinese part's) says why.
Answer lookUp(const QString &input);

// Runs use on the program's own index, opened as lookUp() opens it, while no lookup runs;
// false, without running it, when the index can't be read.
bool withIndex(const std::function<void(const Index &)> &use);

// The completions of prefix in the program's own index; nothing when it can't be read.
QList<Completion> completions(const QString &prefix, int limit);

// Makes lookUp() read the index at path from then on (tests and the benchmark); an empty path
// goes back to the program's own.
void setIndexPath(const QString &path);

// Makes lookUp() read the English-Chinese index at path from then on, as setIndexPath().
void setEnglishIndexPath(const QString &path);

// Looks input up in both dictionaries. A Latin input is looked up in the English-Chinese one too,
// and the English reading then looks up the base word of a form as well ("run" for
// "running"). The English-Chinese entry comes first when the word is core vocabulary, or more
// common than the pinyin reading's first word; otherwise the pinyin reading comes first, and the
// English-Chinese entry right after it. When nothing is found at all, it suggests what a
// misspelt word may have meant. Either dictionary answers without the other.
Answer lookUp(const Index &chineseEnglish, const EnglishChinese::Index &englishChinese,
              const QString &input);

// The place of a word with count among the Chinese-English dictionary's headwords, commonest
// first: 1 for the commonest.
quint32 chineseRank(const Index &index, quint32 count);

} // namespace Dictionary
