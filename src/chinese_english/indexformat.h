#pragma once

#include "index_file/mappedindex.h"

#include <QtGlobal>

// The layout of the Chinese-English dictionary's index file, of the family of index_file/, shared
// by the tool that writes it and the program that maps it.
//
//   header     the family's header, with one number of its own: the sum of the word counts
//   records    per entry, UTF-8: traditional \t simplified \t pinyin \t sense \n sense ...
//   entries    per entry: offset of its record, its headword's count in the word list, its
//              share of the senses of the entries with its simplified headword (of 65536)
//   headwords  rows (key offset in records, key length, entry), sorted by key bytes
//   words      rows (key offset in keys, key length, first posting, posting count, the count
//              of the commonest entry that has the word as a plain sense), sorted
//   postings   entry numbers, for each English word best first as the answer to that word
//   pinyin     rows (key offset in keys, key length, entry), sorted: toneless syllables
//   keys       UTF-8 bytes of the English words and pinyin keys
namespace Dictionary::Format {

inline constexpr char magic[8] = {'T', 'A', 'V', 'R', 'D', 'I', 'C', 'T'};
inline constexpr quint32 version = 2;

enum Section : int { Records, Entries, Headwords, Words, Postings, Pinyin, Keys, SectionCount };

inline constexpr IndexFile::Kind kind {magic, version, SectionCount, "dictionary's index",
                                       "a dictionary index", 1};

inline constexpr int CountTotalAt = IndexFile::OwnFieldsAt; // the header's own number
inline constexpr int SectionsAt = IndexFile::sectionsAt(kind.ownFields);
inline constexpr int headerSize = IndexFile::headerSize(SectionCount, kind.ownFields); // 112
inline constexpr int entrySize = 12;
inline constexpr quint32 wholeShare = 65536;
inline constexpr int headwordSize = 12;
inline constexpr int wordSize = 20;
inline constexpr int pinyinSize = 12;

} // namespace Dictionary::Format
