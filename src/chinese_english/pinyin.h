#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

// Pinyin as the data writes it ("bing1 qi2 lin2", "lu:4", "Ding1") and as a user types it.
namespace Dictionary::Pinyin {

// One syllable of the data: lower-case letters with "v" for ü, and its tone (5: neutral).
struct Syllable
{
    std::string letters;
    int tone = 5;
};

// Whether letters (lower case, "v" for ü, no tone) are a syllable of standard Mandarin.
bool isSyllable(std::string_view letters);

// The syllables of the data's pinyin; false when one of them is not a Mandarin syllable (letters
// spelt out, digits). The separators "," and "·" of names are skipped.
bool syllables(std::string_view pinyin, std::vector<Syllable> &result);

// The data's pinyin with tone marks instead of numbers and ü for "u:": "bīng qí lín".
QString withToneMarks(std::string_view pinyin);

// Typed pinyin, read as letters in a row with what the user said about syllables: where one
// ends (a space, an apostrophe, a tone number) and which tone a letter's syllable has (a tone
// number after it, or a tone mark on it).
struct Typed
{
    std::string letters; // lower case, "v" for ü
    std::vector<int> boundaries; // positions in letters where a syllable starts
    std::vector<std::pair<int, int>> tones; // (position in letters, tone 1-5)
};

// False when the input cannot be pinyin (other characters, no letters).
bool readTyped(const QString &input, Typed &result);

// Whether the data's syllables, which spell typed.letters, agree with what was typed.
bool agrees(const std::vector<Syllable> &syllables, const Typed &typed);

} // namespace Dictionary::Pinyin
