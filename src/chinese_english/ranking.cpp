#include "chinese_english/ranking.h"

#include "chinese_english/text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Dictionary::Ranking {

namespace {

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool startsWith(const std::vector<std::string> &words, const std::vector<std::string> &start)
{
    return words.size() >= start.size() && std::equal(start.begin(), start.end(), words.begin());
}

bool contains(const std::vector<std::string> &words, const std::vector<std::string> &part)
{
    return std::search(words.begin(), words.end(), part.begin(), part.end()) != words.end();
}

// The sense without the parenthesised notes it starts with: "(old) variant of" is a variant.
std::string_view withoutLeadingNotes(std::string_view sense)
{
    while (!sense.empty() && sense.front() == '(') {
        const size_t close = sense.find(')');
        if (close == std::string_view::npos)
            break;
        sense.remove_prefix(close + 1);
        while (!sense.empty() && sense.front() == ' ')
            sense.remove_prefix(1);
    }
    return sense;
}

template <typename F> void forEachLine(std::string_view lines, F f)
{
    while (!lines.empty()) {
        const size_t end = std::min(lines.find('\n'), lines.size());
        f(lines.substr(0, end));
        lines.remove_prefix(std::min(end + 1, lines.size()));
    }
}

} // namespace

bool isReference(std::string_view sense)
{
    static constexpr std::string_view references[] = {"surname ",
                                                      "variant of ",
                                                      "old variant of ",
                                                      "archaic variant of ",
                                                      "used in ",
                                                      "see ",
                                                      "see also ",
                                                      "CL:",
                                                      "also written",
                                                      "erhua variant of ",
                                                      "Japanese variant of "};
    const std::string_view text = withoutLeadingNotes(sense);
    return std::any_of(std::begin(references), std::end(references),
                       [&](std::string_view start) { return startsWith(text, start); });
}

bool isLabelled(std::string_view sense)
{
    static constexpr std::string_view registers[]
        = {"(literary)", "(archaic)", "(old)", "(classical)", "(dialect)", "(bound form)"};
    return isReference(sense)
        || std::any_of(std::begin(registers), std::end(registers),
                       [&](std::string_view start) { return startsWith(sense, start); });
}

bool labelsOnly(std::string_view senses)
{
    bool any = false;
    bool all = true;
    forEachLine(senses, [&](std::string_view line) {
        if (isLabelled(line)) {
            any = true;
            return;
        }
        for (std::string_view part : Text::splitSenses(line)) {
            any = true;
            all = all && isLabelled(part);
        }
    });
    return any && all;
}

bool readInput(std::string_view text, Input &input)
{
    input.typed = Text::lowerWords(text);
    input.compared = Text::joinedWords(text);
    Text::dropLeadingArticle(input.compared);
    input.rarest.clear();
    return !input.compared.empty() && !input.typed.empty();
}

int senseCount(std::string_view senses)
{
    int count = 0;
    forEachLine(senses,
                [&](std::string_view line) { count += int(Text::splitSenses(line).size()); });
    return count;
}

Match match(const Input &input, std::string_view senses, quint32 count, double share, bool name,
            const Weights &weights)
{
    Match result;
    double best = -std::numeric_limits<double>::infinity();
    int parts = 0;
    int sense = 0;
    forEachLine(senses, [&](std::string_view line) {
        // "(archaic) many; beautiful": the label is the whole sense's.
        const bool lineLabelled = isLabelled(line);
        int partInSense = -1;
        for (std::string_view part : Text::splitSenses(line)) {
            ++parts;
            ++partInSense;
            // Most senses of a listed entry lack the word; skip them without copying.
            bool uses = false;
            Text::forEachWord(part, [&](std::string_view word) {
                uses = uses || Text::sameWord(word, input.rarest);
            });
            if (!uses)
                continue;
            const std::vector<std::string> words = Text::rankingWords(part);
            Class kind = NoMatch;
            // Words beyond the input's: of the sense, or of all of it, notes in parentheses
            // too, when only a note holds the input ("(Beijing dialect) stupid").
            size_t length = words.size();
            if (words == input.compared) {
                kind = Equal;
            } else if (startsWith(words, input.compared)) {
                kind = StartsWith;
            } else if (contains(words, input.compared)) {
                kind = Other;
            } else if (const std::vector<std::string> all = Text::lowerWords(part);
                       contains(all, input.typed)) {
                kind = Other;
                length = all.size() + input.compared.size() - input.typed.size();
            }
            if (kind == NoMatch)
                continue;
            // "Paris, capital of France": what comes before the comma is the word, the rest says
            // what it is.
            if (kind == StartsWith) {
                const size_t comma = part.find(',');
                if (comma != std::string_view::npos
                    && part.substr(0, comma).find('(') == std::string_view::npos
                    && Text::rankingWords(part.substr(0, comma)) == input.compared)
                    kind = Equal;
            }
            // "surname Hao" does not mean "surname".
            const bool reference = isReference(part);
            if (reference)
                kind = std::max(kind, Other);
            const bool labelled = reference || lineLabelled || isLabelled(part);
            const size_t extra = kind == Equal || length < input.compared.size()
                ? 0
                : length - input.compared.size();
            double here = -weights.position * std::log1p(sense)
                - weights.part * std::log1p(partInSense)
                - weights.extraWords * std::log1p(double(extra));
            if (kind == StartsWith)
                here -= weights.startsWith;
            else if (kind == Other)
                here -= weights.other;
            if (labelled)
                here -= weights.label;
            if (here > best) {
                best = here;
                result.kind = kind;
            }
            result.everyday = result.everyday || (!name && !labelled && kind <= StartsWith);
        }
        ++sense;
    });
    if (result.kind == NoMatch)
        return result;
    result.score = std::log1p(double(count)) + weights.reading * std::log(std::max(share, 1e-6))
        + best - weights.senses * std::log(std::max(1.0, parts / weights.fewSenses))
        - (name ? weights.name : 0.0);
    return result;
}

std::vector<quint32> bestFirst(std::vector<std::pair<double, quint32>> &kept)
{
    std::sort(kept.begin(), kept.end());
    std::vector<quint32> ranked;
    ranked.reserve(kept.size());
    for (const auto &item : kept)
        ranked.push_back(item.second);
    return ranked;
}

} // namespace Dictionary::Ranking
