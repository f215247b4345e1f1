#pragma once

#include "chinese_english/entry.h"

#include <vector>

// Looking up in the Chinese-English dictionary: a Chinese word or phrase, an English word, pinyin.
namespace Dictionary {

class Index;
namespace Ranking {
struct Weights;
}

// Looks input up in index. Never throws; an index that is not open gives its error. base, the
// word the input is a form of ("run" for "running"), and spellings, the input's other spellings
// ("color" for "colour"), are looked up by the English reading too, all scored together.
Result lookUp(const Index &index, const QString &input, const QString &base = QString(),
              const QStringList &spellings = {});

// Every entry that answers an English input, best first, each scored with weights: the order
// lookUp gives (for one word, the order the index was written with), for measuring the ranking.
std::vector<quint32> rankEnglish(const Index &index, const QString &input,
                                 const Ranking::Weights &weights);

} // namespace Dictionary
