#pragma once

#include "dictionary/dictionary.h"

namespace Dictionary {

class Index;

// Looks input up in the program's own index: beside the program in the build tree, or where an
// installation keeps it. The index is mapped on the first call and stays mapped; when it cannot
// be read, the answer's error says why.
Answer lookUp(const QString &input);

// Makes lookUp() read the index at path from then on (tests and the benchmark); an empty path
// goes back to the program's own.
void setIndexPath(const QString &path);

// Looks input up in index. Never throws; an index that is not open gives its error.
Answer lookUp(const Index &index, const QString &input);

} // namespace Dictionary
