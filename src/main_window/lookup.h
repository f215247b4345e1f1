#pragma once

#include <QString>

// Removes leading and trailing spaces (U+0020) only; tabs and line breaks stay.
QString trimSpaces(const QString &text);

// The lookup address for a word: the trimmed template with every "%firstchar" replaced by the
// trimmed word's first UTF-16 unit, then every "%word" by the trimmed word. Case-sensitive, no
// rescanning of inserted text, no encoding of any kind.
QString buildLookupAddress(const QString &word, const QString &queryTemplate);
