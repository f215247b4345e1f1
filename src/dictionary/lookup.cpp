#include "dictionary/lookup.h"

#include "dictionary/index.h"
#include "dictionary/pinyin.h"
#include "dictionary/text.h"
#include "program/application.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <tuple>

#ifndef TAVREL_DICTIONARY_INSTALLED
#define TAVREL_DICTIONARY_INSTALLED "../share/TavrelDictionary"
#endif

namespace Dictionary {

namespace {

const char indexFileName[] = "cc-cedict.idx";

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), int(text.size())); }

int characters(std::string_view utf8)
{
    return int(std::count_if(utf8.begin(), utf8.end(),
                             [](char c) { return (static_cast<uchar>(c) & 0xC0) != 0x80; }));
}

bool capitalised(std::string_view pinyin)
{
    return !pinyin.empty() && pinyin[0] >= 'A' && pinyin[0] <= 'Z';
}

Entry entry(const Index::Record &record)
{
    Entry result;
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

// The rows [low, high) of a sorted key table whose keys start with prefix, where every key in
// [low, high) already starts with prefix less its last character (or the range is the table).
template <typename Rows>
void narrow(const Rows &rows, std::string_view prefix, quint32 &low, quint32 &high)
{
    quint32 first = low, last = high;
    while (first < last) {
        const quint32 middle = first + (last - first) / 2;
        if (rows(middle).key < prefix)
            first = middle + 1;
        else
            last = middle;
    }
    low = first;
    last = high;
    while (first < last) {
        const quint32 middle = first + (last - first) / 2;
        if (rows(middle).key.substr(0, prefix.size()) <= prefix)
            first = middle + 1;
        else
            last = middle;
    }
    high = first;
}

// The rows whose key is key.
template <typename Rows>
std::pair<quint32, quint32> equalRows(const Rows &rows, quint32 count, std::string_view key)
{
    quint32 low = 0, high = count;
    narrow(rows, key, low, high);
    quint32 end = low;
    while (end < high && rows(end).key == key)
        ++end;
    return {low, end};
}

// The entries of a headword: those that have it as both their forms first (the traditional
// form only differs for variants), common words before names, then in the data's order.
QList<Entry> headwordEntries(const Index &index, std::string_view key, quint32 low, quint32 high)
{
    std::vector<std::tuple<bool, bool, quint32>> found;
    for (quint32 row = low; row < high; ++row) {
        const quint32 number = index.headword(row).entry;
        const Index::Record record = index.record(number);
        if (record.simplified.empty())
            continue;
        found.emplace_back(!(record.traditional == key && record.simplified == key),
                           capitalised(record.pinyin), number);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    QList<Entry> entries;
    for (const auto &item : found)
        entries << entry(index.record(std::get<2>(item)));
    return entries;
}

std::optional<Group> chinese(const Index &index, const QString &input)
{
    const auto rows = [&](quint32 row) { return index.headword(row); };
    const QByteArray utf8 = input.toUtf8();
    const std::string_view text(utf8.constData(), size_t(utf8.size()));
    Group group;
    group.reading = Reading::Chinese;
    if (const auto [low, high] = equalRows(rows, index.headwordCount(), text); low < high) {
        const QList<Entry> entries = headwordEntries(index, text, low, high);
        group.entries = entries.mid(0, maxEntries);
        group.more = int(std::max<qsizetype>(0, entries.size() - maxEntries));
        return group;
    }

    // Not a headword: the longest headword at each place, from the start.
    auto nextCharacter = [&](size_t at) {
        do
            ++at;
        while (at < text.size() && (static_cast<uchar>(text[at]) & 0xC0) == 0x80);
        return at;
    };
    bool anyFound = false;
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] == ' ' || text[at] == '\t') {
            ++at;
            continue;
        }
        size_t longest = 0;
        quint32 low = 0, high = index.headwordCount(), foundLow = 0, foundHigh = 0;
        for (size_t end = nextCharacter(at); low < high; end = nextCharacter(end)) {
            const std::string_view prefix = text.substr(at, end - at);
            narrow(rows, prefix, low, high);
            if (low < high && rows(low).key == prefix) {
                longest = end - at;
                foundLow = low;
                foundHigh = equalRows(rows, index.headwordCount(), prefix).second;
            }
            if (end >= text.size())
                break;
        }
        Word word;
        if (longest > 0) {
            const std::string_view key = text.substr(at, longest);
            word.text = fromUtf8(key);
            word.entries = headwordEntries(index, key, foundLow, foundHigh);
            anyFound = anyFound || !word.entries.isEmpty();
            at += longest;
        } else {
            const size_t end = nextCharacter(at);
            word.text = fromUtf8(text.substr(at, end - at));
            at = end;
        }
        group.words << word;
    }
    if (!anyFound)
        return std::nullopt;
    return group;
}

struct Ranked
{
    int kind = 0; // 1 a sense equal to the input, 2 one starting with it, 3 any other
    int later = 0; // 1 when the equal sense is not the entry's first
    qint64 common = 0; // how many other headwords contain the headword, negated
    int length = 0; // of the headword
    bool name = false; // a proper name
    quint32 entry = 0;

    auto key() const { return std::tie(kind, later, common, length, name, entry); }
    bool operator<(const Ranked &other) const { return key() < other.key(); }

    // What ranks the entry within its class: the headword's commonness, its length, a name.
    void rank(const Index &index, quint32 number, const Index::Record &record)
    {
        common = -qint64(index.commonness(number));
        length = characters(record.simplified);
        name = capitalised(record.pinyin);
        entry = number;
    }
};

bool startsWith(const std::vector<std::string> &words, const std::vector<std::string> &start)
{
    return words.size() >= start.size() && std::equal(start.begin(), start.end(), words.begin());
}

bool contains(const std::vector<std::string> &words, const std::vector<std::string> &part)
{
    return std::search(words.begin(), words.end(), part.begin(), part.end()) != words.end();
}

Group ranked(const Index &index, Reading reading, std::vector<Ranked> &found)
{
    std::sort(found.begin(), found.end());
    Group group;
    group.reading = reading;
    for (size_t i = 0; i < found.size() && i < size_t(maxEntries); ++i)
        group.entries << entry(index.record(found[i].entry));
    group.more = int(found.size()) - int(group.entries.size());
    return group;
}

// Entries whose senses use the input's words in a row, ignoring case, best first; *everyday
// tells whether one of them has a sense that is the input or starts with it.
std::optional<Group> english(const Index &index, const QString &input, bool *everyday)
{
    const QByteArray utf8 = input.toLower().toUtf8();
    const std::string_view text(utf8.constData(), size_t(utf8.size()));
    const std::vector<std::string> typed = Text::lowerWords(text);
    std::vector<std::string> compared = Text::joinedWords(text);
    Text::dropLeadingArticle(compared);
    std::vector<std::string> needed = typed;
    Text::dropLeadingArticle(needed);
    if (compared.empty() || needed.empty())
        return std::nullopt;

    // Every entry that can match uses all the typed words but a leading article: go through
    // the entries of the rarest one.
    Index::Postings postings;
    std::string rarest;
    for (const std::string &word : needed) {
        const Index::Postings list = index.postings(word);
        if (list.count == 0)
            return std::nullopt;
        if (!postings.data || list.count < postings.count) {
            postings = list;
            rarest = word;
        }
    }

    std::vector<Ranked> found;
    for (quint32 i = 0; i < postings.count; ++i) {
        const quint32 number = postings.at(i);
        const Index::Record record = index.record(number);
        Ranked best;
        best.kind = 4;
        int sense = 0;
        std::string_view lines = record.senses;
        while (!lines.empty()) {
            const size_t end = std::min(lines.find('\n'), lines.size());
            for (std::string_view part : Text::splitSenses(lines.substr(0, end))) {
                const int here = sense++;
                // Most senses of a listed entry lack the word; skip them without copying.
                bool uses = false;
                Text::forEachWord(part, [&](std::string_view word) {
                    uses = uses || Text::sameWord(word, rarest);
                });
                if (!uses)
                    continue;
                const std::vector<std::string> words = Text::rankingWords(part);
                int kind = 4;
                if (words == compared)
                    kind = 1;
                else if (startsWith(words, compared))
                    kind = 2;
                else if (contains(words, compared) || contains(Text::lowerWords(part), typed))
                    kind = 3;
                const int later = kind == 1 && here > 0;
                if (std::tie(kind, later) < std::tie(best.kind, best.later)) {
                    best.kind = kind;
                    best.later = later;
                }
            }
            lines.remove_prefix(std::min(end + 1, lines.size()));
        }
        if (best.kind > 3)
            continue;
        best.rank(index, number, record);
        found.push_back(best);
        *everyday = *everyday || best.kind <= 2;
    }
    if (found.empty())
        return std::nullopt;
    return ranked(index, Reading::English, found);
}

// Entries whose syllables spell the input and agree with the syllables and tones it gives.
std::optional<Group> pinyin(const Index &index, const QString &input)
{
    Pinyin::Typed typed;
    if (!Pinyin::readTyped(input, typed))
        return std::nullopt;
    const auto rows = [&](quint32 row) { return index.pinyin(row); };
    const auto [low, high] = equalRows(rows, index.pinyinCount(), typed.letters);
    std::vector<Ranked> found;
    std::vector<Pinyin::Syllable> syllables;
    for (quint32 row = low; row < high; ++row) {
        const quint32 number = rows(row).entry;
        const Index::Record record = index.record(number);
        if (!Pinyin::syllables(record.pinyin, syllables) || !Pinyin::agrees(syllables, typed))
            continue;
        Ranked item;
        item.rank(index, number, record);
        found.push_back(item);
    }
    if (found.empty())
        return std::nullopt;
    return ranked(index, Reading::Pinyin, found);
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

struct Shared
{
    QMutex mutex;
    QString path; // set by setIndexPath, else empty
    std::unique_ptr<Index> index; // once one has opened
};

Shared &shared()
{
    static Shared instance;
    return instance;
}

QStringList programIndexPaths()
{
    // The program's folder, as for its settings; tests point it elsewhere.
    const QString folder = App::Path();
    return {QDir(folder).filePath(QLatin1String(indexFileName)),
            QDir::cleanPath(QDir(folder).filePath(QStringLiteral(TAVREL_DICTIONARY_INSTALLED "/")
                                                  + QLatin1String(indexFileName)))};
}

} // namespace

Answer lookUp(const Index &index, const QString &input)
{
    Answer answer;
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
            bool everyday = false;
            std::optional<Group> inEnglish = english(index, text, &everyday);
            std::optional<Group> inPinyin = pinyin(index, text);
            if (inEnglish && everyday)
                answer.groups << *inEnglish;
            if (inPinyin)
                answer.groups << *inPinyin;
            if (inEnglish && !everyday)
                answer.groups << *inEnglish;
        }
    } catch (const std::exception &e) {
        answer.groups.clear();
        answer.error = QStringLiteral("The dictionary could not answer: %1")
                           .arg(QString::fromLocal8Bit(e.what()));
    }
    return answer;
}

namespace {

// The program's index, opened on first use; null, with the reason, when it can't be read. The
// caller holds the mutex.
const Index *sharedIndex(Shared &state, QString *error)
{
    if (!state.index || !state.index->isOpen()) {
        QString path = state.path;
        if (path.isEmpty()) {
            const QStringList paths = programIndexPaths();
            const auto there = std::find_if(paths.begin(), paths.end(),
                                            [](const QString &p) { return QFileInfo::exists(p); });
            if (there == paths.end()) {
                *error = QStringLiteral("The dictionary's index %1 was not found in:\n%2")
                             .arg(QLatin1String(indexFileName), paths.join(u'\n'));
                return nullptr;
            }
            path = *there;
        }
        state.index = std::make_unique<Index>(path);
    }
    return state.index.get();
}

} // namespace

Answer lookUp(const QString &input)
{
    Shared &state = shared();
    QMutexLocker lock(&state.mutex);
    QString error;
    const Index *index = sharedIndex(state, &error);
    if (!index) {
        Answer answer = lookUp(Index(), input);
        answer.error = error;
        return answer;
    }
    return lookUp(*index, input);
}

bool withIndex(const std::function<void(const Index &)> &use)
{
    Shared &state = shared();
    QMutexLocker lock(&state.mutex);
    QString error;
    const Index *index = sharedIndex(state, &error);
    if (!index || !index->isOpen())
        return false;
    use(*index);
    return true;
}

void setIndexPath(const QString &path)
{
    Shared &state = shared();
    QMutexLocker lock(&state.mutex);
    state.path = path;
    state.index.reset();
}

} // namespace Dictionary
