#pragma once

#include <QString>

namespace EnglishChinese {

struct Entry;
struct Result;

// Folds the typed word's entries that differ only by spaces, hyphens or case ("ice cream",
// "ice-cream", "icecream") into one: the entry written as input is, else the one with the most to
// say, keeps its place and takes the translations only the others have; the others' spellings
// go into its alsoWritten.
void foldSpellings(Result &result, const QString &input);

// "Also written: ice-cream, icecream", or nothing for an entry with one spelling.
QString alsoWrittenLine(const Entry &entry);

// The spelling with spaces, hyphens and case left out: "icecream" for "Ice-cream".
QString spellingKey(const QString &word);

} // namespace EnglishChinese
