#include "chinese_english/lookup.h"
#include "chinese_english/lookupsteps.h"

#include "chinese_english/index.h"
#include "chinese_english/ranking.h"
#include "chinese_english/text.h"

#include <algorithm>
#include <unordered_map>

namespace Dictionary {
namespace LookupSteps {

namespace {

// Keeps an entry that matched, by its score, and the count of the commonest everyday one.
void kept(std::vector<std::pair<double, quint32>> &found, const Index &index, quint32 number,
          const Ranking::Match &match, quint32 *everyday)
{
    found.emplace_back(-match.score, number);
    if (match.everyday)
        *everyday = std::max(*everyday, index.count(number));
}

// The entries whose senses use all the input's words (but a leading article), scored one by
// one; *everyday becomes the count of the commonest entry, not a name, with an unlabelled sense
// that equals the input or starts with it.
std::vector<quint32> scoredEnglish(const Index &index, const Ranking::Input &input,
                                   Index::Postings postings, const Ranking::Weights &weights,
                                   quint32 *everyday)
{
    std::vector<std::pair<double, quint32>> found;
    for (quint32 i = 0; i < postings.count; ++i) {
        const quint32 number = postings.at(i);
        const Index::Record record = index.record(number);
        const Ranking::Match match
            = Ranking::match(input, record.senses, index.count(number), index.share(number),
                             Ranking::isName(record.pinyin), weights);
        if (match.kind == Ranking::NoMatch)
            continue;
        kept(found, index, number, match, everyday);
    }
    return Ranking::bestFirst(found);
}

// The input's words, and the entries of its rarest word (but a leading article); false when a
// word is in no sense.
bool englishInput(const Index &index, const QString &text, Ranking::Input &input,
                  Index::Postings &postings)
{
    const QByteArray utf8 = text.toLower().toUtf8();
    if (!Ranking::readInput(std::string_view(utf8.constData(), size_t(utf8.size())), input))
        return false;
    std::vector<std::string> needed = input.typed;
    Text::dropLeadingArticle(needed);
    postings = {};
    for (const std::string &word : needed) {
        const Index::Postings list = index.postings(word);
        if (list.count == 0)
            return false;
        if (!postings.data || list.count < postings.count) {
            postings = list;
            input.rarest = word;
        }
    }
    return postings.count > 0;
}

// The entries that answer any of words (the input, its base word "run" for "running", its other
// spellings), all scored by the one score, where a match of another word counts as a match of
// the input; *everyday as for scoredEnglish(), *firstBy the word that matched the first entry.
std::vector<quint32> scoredTogether(const Index &index, const QStringList &words,
                                    quint32 *everyday, int *firstBy)
{
    struct Typed
    {
        Ranking::Input input;
        Index::Postings postings;
    };
    std::vector<Typed> typed(size_t(words.size()));
    std::vector<quint32> candidates;
    for (size_t w = 0; w < typed.size(); ++w) {
        if (!englishInput(index, words.at(qsizetype(w)), typed[w].input, typed[w].postings))
            typed[w].postings = {};
        for (quint32 i = 0; i < typed[w].postings.count; ++i)
            candidates.push_back(typed[w].postings.at(i));
    }
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    std::vector<std::pair<double, quint32>> found;
    std::unordered_map<quint32, int> matchedBy;
    for (const quint32 number : candidates) {
        const Index::Record record = index.record(number);
        Ranking::Match best;
        for (size_t w = 0; w < typed.size(); ++w) {
            if (typed[w].postings.count == 0)
                continue;
            const Ranking::Match match
                = Ranking::match(typed[w].input, record.senses, index.count(number),
                                 index.share(number), Ranking::isName(record.pinyin));
            if (match.kind != Ranking::NoMatch
                && (best.kind == Ranking::NoMatch || match.score > best.score)) {
                best = match;
                matchedBy[number] = int(w);
            }
        }
        if (best.kind == Ranking::NoMatch)
            continue;
        kept(found, index, number, best, everyday);
    }
    std::vector<quint32> ranked = Ranking::bestFirst(found);
    if (!ranked.empty())
        *firstBy = matchedBy.at(ranked.front());
    return ranked;
}

} // namespace

// Entries whose senses use the input's words (or its base word's, or its other spellings'),
// ignoring case, best first; *everyday as for scoredEnglish().
std::optional<Group> english(const Index &index, const QString &text, const QString &base,
                             const QStringList &spellings, quint32 *everyday)
{
    QStringList words{text};
    if (!base.isEmpty() && base.compare(text, Qt::CaseInsensitive) != 0)
        words << base;
    const qsizetype ownWords = words.size();
    for (const QString &spelling : spellings)
        if (!words.contains(spelling, Qt::CaseInsensitive))
            words << spelling;
    if (words.size() > 1) {
        int firstBy = 0;
        const std::vector<quint32> ranked = scoredTogether(index, words, everyday, &firstBy);
        if (ranked.empty())
            return std::nullopt;
        Group found = group(index, Reading::English, ranked);
        if (firstBy >= ownWords)
            found.spelling = words.at(firstBy);
        return found;
    }
    Ranking::Input input;
    Index::Postings postings;
    if (!englishInput(index, text, input, postings))
        return std::nullopt;
    // One word: the index holds its entries ranked already.
    if (input.typed.size() == 1 && input.compared == input.typed) {
        std::vector<quint32> first;
        for (quint32 i = 0; i < postings.count && i < quint32(maxEntries); ++i)
            first.push_back(postings.at(i));
        Group found = group(index, Reading::English, first);
        found.more = int(postings.count) - int(found.entries.size());
        *everyday = postings.everyday;
        return found;
    }
    const std::vector<quint32> ranked
        = scoredEnglish(index, input, postings, Ranking::Weights(), everyday);
    if (ranked.empty())
        return std::nullopt;
    return group(index, Reading::English, ranked);
}

} // namespace LookupSteps

std::vector<quint32> rankEnglish(const Index &index, const QString &input,
                                 const Ranking::Weights &weights)
{
    Ranking::Input typed;
    Index::Postings postings;
    if (!index.isOpen() || !LookupSteps::englishInput(index, input, typed, postings))
        return {};
    quint32 everyday = 0;
    return LookupSteps::scoredEnglish(index, typed, postings, weights, &everyday);
}

} // namespace Dictionary
