#pragma once

#include <QByteArray>

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// How often each reading of a character is used, from Unihan's kHanyuPinlu field (the counts of
// a frequency dictionary of modern Chinese): 了 le(30101) liǎo(654) liào(19). jieba counts a
// headword, not its readings, so without this every reading of 了 would be as common as le.
namespace Dictionary::ReadingFrequency {

// A character's readings with their counts, commonest first; readings in lower case with tone
// marks and no mark for the neutral tone, as the field writes them.
using Readings = std::vector<std::pair<std::string, quint32>>;
// The characters (UTF-8) of the field, each with its readings.
using Table = std::unordered_map<std::string, Readings>;

// The kHanyuPinlu lines of Unihan_Readings.txt ("U+4E86<tab>kHanyuPinlu<tab>le(30101) …");
// other lines are skipped.
Table read(const QByteArray &unihanReadings);

// The shares of the entries of one character's headword, in the order they are given: readings
// are each entry's pinyin (with tone marks, in any case), senseShares what the entries share by
// their senses alone. An entry whose reading is commoner gets a larger share; entries of one
// reading keep the order of their senses' shares; a reading the field lacks comes after those it
// names. The shares stay between 0 and 1. Without the character's readings, senseShares.
std::vector<double> shares(const Readings &readings, const std::vector<std::string> &pinyin,
                           const std::vector<double> &senseShares);

// Replaces the shares of the entries whose simplified headword is one character the table
// holds, as shares() gives them for the entries with that headword; pinyin as the data writes
// it, with tone numbers ("le5").
void applyTo(const Table &table, const std::vector<std::string_view> &simplified,
             const std::vector<std::string_view> &pinyin, std::vector<double> &entryShares);

} // namespace Dictionary::ReadingFrequency
