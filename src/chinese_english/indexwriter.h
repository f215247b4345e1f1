#pragma once

#include "chinese_english/readingfrequency.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <unordered_map>

namespace Dictionary {

// How often each word occurs in a corpus, from a word list in the form of jieba's dict.txt: one
// word a line, then its count and its part of speech, separated by spaces.
struct WordCounts
{
    std::unordered_map<std::string, quint32> counts;
    quint64 total = 0; // the sum of every count in the list
    // How often each reading of a character is used: orders a character's entries.
    ReadingFrequency::Table readings;
};
WordCounts readWordCounts(const QByteArray &list);

// The index file for the data of cc-cedict's data/all.js ("export default " and a JSON object
// whose "all" holds [traditional, simplified, pinyin, senses, ...] arrays). Each entry gets the
// count of its simplified headword, 0 when counts lacks it. dataDate and dataVersion go into the
// header. An empty result and *error when the data cannot be read.
QByteArray buildIndex(const QByteArray &allJs, const WordCounts &counts, const QString &dataDate,
                      const QString &dataVersion, QString *error = nullptr);

} // namespace Dictionary
