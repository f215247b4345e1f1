#pragma once

#include "index_file/mappedindex.h"

#include <string>
#include <string_view>

// The layout of the English-Chinese dictionary's index (ECDICT), in the family of the program's
// mapped indexes. Entries are sorted by their headword's key, so that the entries table is also
// the table a word is looked up in:
//
//   records  per entry, UTF-8: word \t phonetic \t translation lines \t definition lines
//            \t forms ("p:went/d:gone/...") \t base word \t the kinds of form it is of the base
//            ("p", "pd", ...); lines are separated by \n
//   entries  per entry: offset of its record, marks (below), ranks (BNC low, contemporary high)
namespace EnglishChinese::Format {

inline constexpr char magic[8] = {'T', 'A', 'V', 'R', 'E', 'C', 'D', 'I'};
inline constexpr quint32 version = 1;

enum Section : int { Records, Entries, SectionCount };
enum RecordField : int {
    Word,
    Phonetic,
    Translation,
    Definition,
    Forms,
    Base,
    BaseKind,
    FieldCount
};

inline constexpr int entrySize = 12;

// The marks word of an entry.
inline constexpr quint32 collinsMask = 0x7; // stars, 0 to 5
inline constexpr quint32 oxfordBit = 0x8;
inline constexpr int tagShift = 4; // one bit for each of tagCodes, in order
inline constexpr quint32 onlyAFormBit = 0x1000; // its translation says only whose form it is

// ECDICT's exam tags, in the order the marks keep them.
inline constexpr const char *tagCodes[]
    = {"zk", "gk", "cet4", "cet6", "ky", "toefl", "ielts", "gre"};
inline constexpr int tagCount = 8;

inline constexpr IndexFile::Kind kind {magic, version, SectionCount,
                                       "English\u2013Chinese dictionary's index",
                                       "an English\u2013Chinese dictionary index"};

// The key a headword is found by: its bytes without spaces and hyphens, ASCII letters in lower
// case ("Ice-Cream" and "ice cream" are both "icecream"). Other letters keep their case, as in
// the data's own case-blind order, which makes no two headwords differ in ASCII case alone.
inline bool ignored(char c) { return c == ' ' || c == '-'; }
inline char folded(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string key(std::string_view word);
// The order of keys, of a word to a key, without making the word's key.
int compareKey(std::string_view word, std::string_view key);

} // namespace EnglishChinese::Format
