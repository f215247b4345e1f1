#include "chinese_english/text.h"

namespace Dictionary::Text {

std::string lowered(std::string_view text)
{
    std::string result(text);
    for (char &c : result)
        c = lower(c);
    return result;
}

std::vector<std::string> lowerWords(std::string_view text)
{
    std::vector<std::string> words;
    forEachWord(text, [&](std::string_view word) { words.push_back(lowered(word)); });
    return words;
}

std::vector<std::string> joinedWords(std::string_view text)
{
    std::vector<std::string> words;
    size_t i = 0;
    auto wordAt = [&](size_t at) {
        return at < text.size() && isWordByte(static_cast<unsigned char>(text[at]));
    };
    while (i < text.size()) {
        while (i < text.size() && !wordAt(i))
            ++i;
        if (i >= text.size())
            break;
        std::string word;
        while (wordAt(i)
               || (i < text.size() && text[i] == '-' && i > 0 && wordAt(i - 1) && wordAt(i + 1)))
            word += lower(text[i++]);
        words.push_back(std::move(word));
    }
    return words;
}

bool sameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != b[i])
            return false;
    return true;
}

static std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> splitSenses(std::string_view text)
{
    std::vector<std::string_view> senses;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ';';
        if (c == '(' || c == '[')
            ++depth;
        else if ((c == ')' || c == ']') && depth > 0)
            --depth;
        else if (c == ';' && (depth == 0 || i == text.size())) {
            const std::string_view sense = trimmed(text.substr(start, i - start));
            if (!sense.empty())
                senses.push_back(sense);
            start = i + 1;
            depth = 0;
        }
    }
    return senses;
}

void dropLeadingArticle(std::vector<std::string> &words)
{
    if (words.size() > 1 && (words[0] == "to" || words[0] == "a" || words[0] == "the"))
        words.erase(words.begin());
}

std::vector<std::string> rankingWords(std::string_view sense)
{
    std::string outside;
    outside.reserve(sense.size());
    int depth = 0;
    for (char c : sense) {
        if (c == '(' || c == '[')
            ++depth;
        else if ((c == ')' || c == ']') && depth > 0)
            --depth;
        else if (depth == 0)
            outside += c;
        else
            continue;
        if (depth > 0 || c == ')' || c == ']')
            outside += ' '; // keeps the words either side of a parenthesis apart
    }
    std::vector<std::string> words = joinedWords(outside);
    dropLeadingArticle(words);
    return words;
}

} // namespace Dictionary::Text
