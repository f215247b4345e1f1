#pragma once

#include "dictionary/dictionary.h"

namespace Dictionary {

class Index;

// Looks input up in the program's own indexes, of both dictionaries: beside the program in the
// build tree, or where an installation keeps them. Each is mapped on the first call and stays
// mapped; when one cannot be read, the answer's error (or its English-Chinese part's) says why.
Answer lookUp(const QString &input);

// Makes lookUp() read the index at path from then on (tests and the benchmark); an empty path
// goes back to the program's own.
void setIndexPath(const QString &path);

// Makes lookUp() read the English-Chinese index at path from then on, as setIndexPath().
void setEnglishIndexPath(const QString &path);

// Looks input up in index. Never throws; an index that is not open gives its error.
Answer lookUp(const Index &index, const QString &input);

} // namespace Dictionary
