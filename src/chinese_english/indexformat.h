#pragma once

#include <QtGlobal>

// The layout of the dictionary's index file, shared by the tool that writes it and the program
// that maps it. Every number is a little-endian quint32 and every section starts on a multiple
// of four, so that the program reads the mapped file in place.
//
//   header     magic, version, file size, entry count, data date and version, the sum of the
//              word counts, section table
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

inline constexpr int textFieldSize = 16; // NUL-padded ASCII

enum Field : int {
    MagicAt = 0,
    VersionAt = 8,
    FileSizeAt = 12,
    EntryCountAt = 16,
    DataDateAt = 20,
    DataVersionAt = 36,
    CountTotalAt = 52,
    SectionsAt = 56,
};

enum Section : int { Records, Entries, Headwords, Words, Postings, Pinyin, Keys, SectionCount };

inline constexpr int headerSize = SectionsAt + SectionCount * 8; // 112
inline constexpr int entrySize = 12;
inline constexpr quint32 wholeShare = 65536;
inline constexpr int headwordSize = 12;
inline constexpr int wordSize = 20;
inline constexpr int pinyinSize = 12;

} // namespace Dictionary::Format
