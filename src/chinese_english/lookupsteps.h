#pragma once

#include "chinese_english/entry.h"

#include <QString>

#include <optional>
#include <string_view>
#include <vector>

// The steps of a look-up in the Chinese-English dictionary, a file for each way of reading the
// input: as a Chinese word or phrase (phrases.cpp), as English (englishlookup.cpp), as pinyin
// (pinyinlookup.cpp). lookup.cpp chooses between them and orders what they find.
namespace Dictionary {

class Index;

namespace LookupSteps {

QString fromUtf8(std::string_view text);

// The entry numbered number, as an answer holds it.
Entry entry(const Index &index, quint32 number);

// The first entries of ranked as a group of the reading; the others are counted in more.
Group group(const Index &index, Reading reading, const std::vector<quint32> &ranked);

// The headword that is the input, or else the words of the phrase; nothing when no word of it
// is in the dictionary.
std::optional<Group> chinese(const Index &index, const QString &input);

// Entries whose senses use the input's words (or its base word's, or those of one of its other
// spellings), ignoring case, best first; *everyday becomes the count of the commonest entry, not
// a name, with an unlabelled sense that equals the input or starts with it.
std::optional<Group> english(const Index &index, const QString &text, const QString &base,
                             const QStringList &spellings, quint32 *everyday);

// Entries whose syllables spell the input and agree with the syllables and tones it gives.
std::optional<Group> pinyin(const Index &index, const QString &input);

} // namespace LookupSteps
} // namespace Dictionary
