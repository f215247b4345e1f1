#include "chinese_english/lookupsteps.h"

#include "chinese_english/index.h"
#include "chinese_english/pinyin.h"
#include "chinese_english/ranking.h"
#include "index_file/sortedtable.h"

#include <algorithm>
#include <tuple>

namespace Dictionary::LookupSteps {

namespace {

int characters(std::string_view utf8)
{
    return int(std::count_if(utf8.begin(), utf8.end(),
                             [](char c) { return (static_cast<uchar>(c) & 0xC0) != 0x80; }));
}

} // namespace

// Entries whose syllables spell the input and agree with the syllables and tones it gives: the
// commonest headword first, then as for a headword's entries, then the shorter headword.
std::optional<Group> pinyin(const Index &index, const QString &input)
{
    Pinyin::Typed typed;
    if (!Pinyin::readTyped(input, typed))
        return std::nullopt;
    const auto rows = [&](quint32 row) { return index.pinyin(row); };
    const auto [low, high] = IndexFile::equalRows(rows, index.pinyinCount(), typed.letters);
    std::vector<std::tuple<qint64, bool, bool, double, int, quint32>> found;
    std::vector<Pinyin::Syllable> syllables;
    for (quint32 row = low; row < high; ++row) {
        const quint32 number = rows(row).entry;
        const Index::Record record = index.record(number);
        if (!Pinyin::syllables(record.pinyin, syllables) || !Pinyin::agrees(syllables, typed))
            continue;
        found.emplace_back(-qint64(index.count(number)), Ranking::labelsOnly(record.senses),
                           Ranking::isName(record.pinyin), -index.share(number),
                           characters(record.simplified), number);
    }
    if (found.empty())
        return std::nullopt;
    std::sort(found.begin(), found.end());
    std::vector<quint32> ranked;
    for (const auto &item : found)
        ranked.push_back(std::get<5>(item));
    return group(index, Reading::Pinyin, ranked);
}

} // namespace Dictionary::LookupSteps
