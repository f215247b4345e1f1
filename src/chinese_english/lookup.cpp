#include "chinese_english/lookup.h"

#include "chinese_english/index.h"
#include "chinese_english/pinyin.h"
#include "chinese_english/ranking.h"
#include "chinese_english/text.h"
#include "index_file/sortedtable.h"


#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>
#include <tuple>

namespace Dictionary {

namespace {

// How much commoner than the English reading's plain word the commonest word that sounds like
// the input may be while the English reading still comes first.
constexpr qint64 englishShare = 10;

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), int(text.size())); }

int characters(std::string_view utf8)
{
    return int(std::count_if(utf8.begin(), utf8.end(),
                             [](char c) { return (static_cast<uchar>(c) & 0xC0) != 0x80; }));
}

Entry entry(const Index &index, quint32 number)
{
    const Index::Record record = index.record(number);
    Entry result;
    result.count = index.count(number);
    result.band = frequencyBand(result.count);
    result.traditional = fromUtf8(record.traditional);
    result.simplified = fromUtf8(record.simplified);
    result.pinyin = Pinyin::withToneMarks(record.pinyin);
    result.numberedPinyin = fromUtf8(record.pinyin);
    std::string_view senses = record.senses;
    while (!senses.empty()) {
        const size_t end = std::min(senses.find('\n'), senses.size());
        result.senses << fromUtf8(senses.substr(0, end));
        senses.remove_prefix(std::min(end + 1, senses.size()));
    }
    return result;
}

// The entries of a headword: those that say what it means before those that only point at
// other entries or are labelled ("used in …", "variant of …", "(classical) …"), the commoner
// first (a traditional form can stand for two simplified words), common words before names,
// the reading with more senses first, those that have it as both their forms (the traditional
// form only differs for variants), then in the data's order.
QList<Entry> headwordEntries(const Index &index, std::string_view key, quint32 low, quint32 high)
{
    std::vector<std::tuple<bool, qint64, bool, double, bool, quint32>> found;
    for (quint32 row = low; row < high; ++row) {
        const quint32 number = index.headword(row).entry;
        const Index::Record record = index.record(number);
        if (record.simplified.empty())
            continue;
        found.emplace_back(Ranking::labelsOnly(record.senses), -qint64(index.count(number)),
                           Ranking::isName(record.pinyin), -index.share(number),
                           !(record.traditional == key && record.simplified == key), number);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    QList<Entry> entries;
    for (const auto &item : found)
        entries << entry(index, std::get<5>(item));
    return entries;
}

size_t nextCharacter(std::string_view text, size_t at)
{
    do
        ++at;
    while (at < text.size() && (static_cast<uchar>(text[at]) & 0xC0) == 0x80);
    return at;
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

Group group(const Index &index, Reading reading, const std::vector<quint32> &ranked)
{
    Group group;
    group.reading = reading;
    for (size_t i = 0; i < ranked.size() && i < size_t(maxEntries); ++i)
        group.entries << entry(index, ranked[i]);
    group.more = int(ranked.size()) - int(group.entries.size());
    return group;
}

// Keeps an entry that matched, by its score, and the count of the commonest everyday one.
void kept(std::vector<std::pair<double, quint32>> &found, const Index &index, quint32 number,
          const Ranking::Match &match, quint32 *everyday)
{
    found.emplace_back(-match.score, number);
    if (match.everyday)
        *everyday = std::max(*everyday, index.count(number));
}

// The entries kept, best first.
std::vector<quint32> inOrder(std::vector<std::pair<double, quint32>> &found)
{
    std::sort(found.begin(), found.end());
    std::vector<quint32> ranked;
    ranked.reserve(found.size());
    for (const auto &item : found)
        ranked.push_back(item.second);
    return ranked;
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
    return inOrder(found);
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

// The entries that answer the input or its base word ("run" for "running"), all scored by the
// one score, where a match of the base counts as a match of the input; *everyday as for
// scoredEnglish().
std::vector<quint32> scoredWithBase(const Index &index, const QString &text, const QString &base,
                                    quint32 *everyday)
{
    struct Typed
    {
        Ranking::Input input;
        Index::Postings postings;
        bool found = false;
    } typed[2];
    typed[0].found = englishInput(index, text, typed[0].input, typed[0].postings);
    typed[1].found = englishInput(index, base, typed[1].input, typed[1].postings);
    std::vector<quint32> candidates;
    for (const Typed &word : typed)
        for (quint32 i = 0; word.found && i < word.postings.count; ++i)
            candidates.push_back(word.postings.at(i));
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    std::vector<std::pair<double, quint32>> found;
    for (const quint32 number : candidates) {
        const Index::Record record = index.record(number);
        Ranking::Match best;
        for (const Typed &word : typed) {
            if (!word.found)
                continue;
            const Ranking::Match match
                = Ranking::match(word.input, record.senses, index.count(number),
                                 index.share(number), Ranking::isName(record.pinyin));
            if (match.kind != Ranking::NoMatch
                && (best.kind == Ranking::NoMatch || match.score > best.score))
                best = match;
        }
        if (best.kind == Ranking::NoMatch)
            continue;
        kept(found, index, number, best, everyday);
    }
    return inOrder(found);
}

// Entries whose senses use the input's words (or its base word's), ignoring case, best first;
// *everyday as for scoredEnglish().
std::optional<Group> english(const Index &index, const QString &text, const QString &base,
                             quint32 *everyday)
{
    if (!base.isEmpty() && base.compare(text, Qt::CaseInsensitive) != 0) {
        const std::vector<quint32> ranked = scoredWithBase(index, text, base, everyday);
        if (ranked.empty())
            return std::nullopt;
        return group(index, Reading::English, ranked);
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

bool isChinese(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80 || c.isSurrogate())
            return true;
    return false;
}

bool hasWordCharacter(const QString &text)
{
    for (const QChar c : text)
        if (c.isLetterOrNumber() || c.isSurrogate())
            return true;
    return false;
}

} // namespace

Result lookUp(const Index &index, const QString &input, const QString &base)
{
    Result answer;
    QString text = input.trimmed();
    if (text.size() > maxInputLength) {
        int length = maxInputLength;
        if (text.at(length - 1).isHighSurrogate())
            --length;
        text = text.left(length).trimmed();
        answer.cut = true;
    }
    answer.input = text;
    if (!index.isOpen()) {
        answer.error = index.errorString().isEmpty()
            ? QStringLiteral("The dictionary's index is not open.")
            : index.errorString();
        return answer;
    }
    answer.dataDate = index.dataDate();
    if (!hasWordCharacter(text))
        return answer;
    try {
        if (isChinese(text)) {
            if (std::optional<Group> group = chinese(index, text))
                answer.groups << *group;
        } else {
            quint32 everyday = 0;
            std::optional<Group> inEnglish = english(index, text, base, &everyday);
            std::optional<Group> inPinyin = pinyin(index, text);
            // English first when a common word means it plainly, and no much commoner word
            // sounds so: "he" (他, 和), "run", "you"; "ta" and "hao" are pinyin first.
            const bool englishFirst = inEnglish && everyday > 0
                && (!inPinyin
                    || qint64(everyday) * englishShare >= inPinyin->entries.first().count);
            if (inEnglish && englishFirst)
                answer.groups << *inEnglish;
            if (inPinyin)
                answer.groups << *inPinyin;
            if (inEnglish && !englishFirst)
                answer.groups << *inEnglish;
        }
    } catch (const std::exception &e) {
        answer.groups.clear();
        answer.error = QStringLiteral("The dictionary could not answer: %1")
                           .arg(QString::fromLocal8Bit(e.what()));
    }
    return answer;
}

std::vector<quint32> rankEnglish(const Index &index, const QString &input,
                                 const Ranking::Weights &weights)
{
    Ranking::Input typed;
    Index::Postings postings;
    if (!index.isOpen() || !englishInput(index, input, typed, postings))
        return {};
    quint32 everyday = 0;
    return scoredEnglish(index, typed, postings, weights, &everyday);
}

} // namespace Dictionary
