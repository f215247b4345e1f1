#pragma once

#include <string>
#include <string_view>
#include <vector>

// How English senses are cut into senses and words, the same when the index is written and when
// it is searched, so that what the index finds is what the lookup then checks.
namespace Dictionary::Text {

// A word is a run of ASCII letters and digits and of any non-ASCII characters (accented Latin
// letters, and the Chinese of cross-references, which then never equal an English word).
inline bool isWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 0x80;
}

inline char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Calls f(word) for each word of text, as views into text (not lowered).
template <typename F> void forEachWord(std::string_view text, F f)
{
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !isWordByte(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t start = i;
        while (i < text.size() && isWordByte(static_cast<unsigned char>(text[i])))
            ++i;
        if (i > start)
            f(text.substr(start, i - start));
    }
}

std::string lowered(std::string_view text);
std::vector<std::string> lowerWords(std::string_view text);

// True when the words equal, ignoring ASCII case (b is lower case already).
bool sameWord(std::string_view a, std::string_view b);

// The words as the ranking compares them, lower case: a hyphen between two words joins them
// ("ice-cream" is one word there, and not the same as "ice cream").
std::vector<std::string> joinedWords(std::string_view text);

// The senses of one sense string of the data, split at ";" outside parentheses and trimmed.
std::vector<std::string_view> splitSenses(std::string_view text);

// A sense's joined words: without what is in parentheses or brackets and
// without a leading "to", "a" or "the" (unless that is all there is), lower case.
std::vector<std::string> rankingWords(std::string_view sense);

// The same for an input, which has no parentheses to drop.
void dropLeadingArticle(std::vector<std::string> &words);

} // namespace Dictionary::Text
