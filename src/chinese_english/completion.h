#pragma once

#include <QList>
#include <QString>

namespace Dictionary {

class Index;

// A headword of the dictionary that starts with what the user has typed so far.
struct Completion
{
    QString text; // what goes into the word box: a Chinese headword, or an English word
    QString detail; // pinyin with tone marks, shown beside it; may be empty
};

// The dictionary's headwords that start with prefix, most common first, at most limit of them:
// Chinese headwords for Chinese input; for Latin input the Chinese headwords whose pinyin starts
// so (tones and syllable breaks as typed are not minded) and the English words of the senses,
// in turn. The prefix itself is not among them.
QList<Completion> completions(const Index &index, const QString &prefix, int limit);

} // namespace Dictionary
