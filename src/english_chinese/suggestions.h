#pragma once

#include <QString>
#include <QStringList>

namespace EnglishChinese {

class Index;

// What a misspelt English word may have meant: Hunspell's suggestions (the closest spelling
// first) that have an entry in index, at most max of them. Hunspell and its American English
// dictionary are loaded on the first call, not before: most lookups never need them. Empty when
// the spelling dictionary is not installed.
QStringList suggestions(const Index &index, const QString &word, int max = 5);

// Whether the spelling dictionary can be loaded, and where it was looked for when it cannot.
bool spellingAvailable(QString *where = nullptr);

} // namespace EnglishChinese
