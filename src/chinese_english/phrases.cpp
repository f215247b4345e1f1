#include "chinese_english/lookupsteps.h"

#include "chinese_english/index.h"
#include "chinese_english/ranking.h"
#include "index_file/sortedtable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace Dictionary::LookupSteps {

namespace {

// The entries of a headword: those that say what it means before those that only point at
// other entries or are labelled ("used in …", "variant of …", "(classical) …"), the commoner
// first (a traditional form can stand for two simplified words), common words before names,
// the reading with more senses first, those that have it as both their forms (the traditional
// form only differs for variants), then in the data's order.
size_t nextCharacter(std::string_view text, size_t at)
{
    do
        ++at;
    while (at < text.size() && (static_cast<uchar>(text[at]) & 0xC0) == 0x80);
    return at;
}

QList<Entry> headwordEntries(const Index &index, std::string_view key, quint32 low, quint32 high)
{
    // A character's shares are those of its readings' use, which a label does not outweigh:
    // 甚 is read shén ("variant of 什") far more often than shèn.
    const bool character = nextCharacter(key, 0) == key.size();
    std::vector<std::tuple<bool, qint64, bool, double, bool, bool, quint32>> found;
    for (quint32 row = low; row < high; ++row) {
        const quint32 number = index.headword(row).entry;
        const Index::Record record = index.record(number);
        if (record.simplified.empty())
            continue;
        const bool labelled = Ranking::labelsOnly(record.senses);
        found.emplace_back(labelled && !character, -qint64(index.count(number)),
                           Ranking::isName(record.pinyin), -index.share(number),
                           labelled, !(record.traditional == key && record.simplified == key),
                           number);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    QList<Entry> entries;
    for (const auto &item : found)
        entries << entry(index, std::get<6>(item));
    return entries;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLatin(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The most probable way to cut a Chinese phrase into words: every headword that starts at a
// place is a way on, weighed by the log of its share of the word list's counts, and the best
// path through the phrase is found from its end. A run of digits or of Latin letters is one
// word; a character the dictionary lacks is a word of its own.
QList<Word> split(const Index &index, std::string_view text)
{
    const auto rows = [&](quint32 row) { return index.headword(row); };
    const double total = std::max<double>(index.countTotal(), 1.0);
    // A headword the list lacks is still a word, but a rarer one than any it has.
    const double floorWeight = std::log(0.5 / total);
    auto weight
        = [&](quint32 count) { return count ? std::log(double(count) / total) : floorWeight; };

    struct Step
    {
        double best = -std::numeric_limits<double>::infinity(); // of the rest, from here
        size_t end = 0; // of the word that starts here
        quint32 low = 0, high = 0; // its headword rows, when it is one
    };
    std::vector<Step> steps(text.size() + 1);
    steps[text.size()].best = 0;
    // Where a run of digits or letters that covers a place ends; 0 outside runs.
    std::vector<size_t> runEnd(text.size() + 1, 0);
    for (size_t at = 0; at < text.size();) {
        const bool digit = isDigit(text[at]);
        if (!digit && !isLatin(text[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < text.size() && (digit ? isDigit(text[end]) : isLatin(text[end])))
            ++end;
        for (size_t i = at + 1; i < end; ++i)
            runEnd[i] = end;
        runEnd[at] = end;
        at = end;
    }
    auto insideRun = [&](size_t at) {
        return at < text.size() && runEnd[at] && at > 0 && runEnd[at - 1] == runEnd[at];
    };

    for (size_t at = text.size(); at-- > 0;) {
        if ((static_cast<uchar>(text[at]) & 0xC0) == 0x80 || insideRun(at))
            continue;
        Step &step = steps[at];
        if (text[at] == ' ' || text[at] == '\t') {
            step = {steps[at + 1].best, at + 1, 0, 0};
            continue;
        }
        auto consider = [&](size_t end, double value, quint32 low, quint32 high) {
            if (insideRun(end))
                return;
            const double whole = value + steps[end].best;
            // Of two equal ways, the one with the longer word.
            if (whole > step.best || (whole == step.best && end > step.end))
                step = {whole, end, low, high};
        };
        const size_t first = runEnd[at] ? runEnd[at] : nextCharacter(text, at);
        consider(first, floorWeight, 0, 0);
        quint32 low = 0, high = index.headwordCount();
        for (size_t end = nextCharacter(text, at); low < high; end = nextCharacter(text, end)) {
            const std::string_view prefix = text.substr(at, end - at);
            IndexFile::narrow(rows, prefix, low, high);
            quint32 equal = low;
            quint32 count = 0;
            for (; equal < high && rows(equal).key == prefix; ++equal)
                count = std::max(count, index.count(rows(equal).entry));
            if (equal > low)
                consider(end, weight(count), low, equal);
            if (end >= text.size())
                break;
        }
    }

    QList<Word> words;
    for (size_t at = 0; at < text.size();) {
        const Step &step = steps[at];
        if (step.end <= at)
            break;
        if (text[at] != ' ' && text[at] != '\t') {
            Word word;
            const std::string_view key = text.substr(at, step.end - at);
            word.text = fromUtf8(key);
            if (step.high > step.low)
                word.entries = headwordEntries(index, key, step.low, step.high);
            words << word;
        }
        at = step.end;
    }
    return words;
}

} // namespace

std::optional<Group> chinese(const Index &index, const QString &input)
{
    const auto rows = [&](quint32 row) { return index.headword(row); };
    const QByteArray utf8 = input.toUtf8();
    const std::string_view text(utf8.constData(), size_t(utf8.size()));
    Group group;
    group.reading = Reading::Chinese;
    if (const auto [low, high] = IndexFile::equalRows(rows, index.headwordCount(), text); low < high) {
        const QList<Entry> entries = headwordEntries(index, text, low, high);
        group.entries = entries.mid(0, maxEntries);
        group.more = int(std::max<qsizetype>(0, entries.size() - maxEntries));
        return group;
    }
    group.words = split(index, text);
    if (std::none_of(group.words.begin(), group.words.end(),
                     [](const Word &word) { return !word.entries.isEmpty(); }))
        return std::nullopt;
    return group;
}

} // namespace Dictionary::LookupSteps
