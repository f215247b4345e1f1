#pragma once

#include "dictionary/dictionary.h"

#include <functional>
#include <vector>

namespace Dictionary {

class Index;
namespace Ranking {
struct Weights;
}

// Looks input up in the program's own index: beside the program in the build tree, or where an
// installation keeps it. The index is mapped on the first call and stays mapped; when it cannot
// be read, the answer's error says why.
Answer lookUp(const QString &input);

// Runs use on the program's own index, opened as lookUp() opens it, while no lookup runs;
// false, without running it, when the index can't be read.
bool withIndex(const std::function<void(const Index &)> &use);

// Makes lookUp() read the index at path from then on (tests and the benchmark); an empty path
// goes back to the program's own.
void setIndexPath(const QString &path);

// Looks input up in index. Never throws; an index that is not open gives its error.
Answer lookUp(const Index &index, const QString &input);

// Every entry that answers an English input, best first, each scored with weights: the order
// lookUp gives (for one word, the order the index was written with), for measuring the ranking.
std::vector<quint32> rankEnglish(const Index &index, const QString &input,
                                 const Ranking::Weights &weights);

} // namespace Dictionary
