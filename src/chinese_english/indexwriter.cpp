#include "chinese_english/indexwriter.h"

#include "chinese_english/indexformat.h"
#include "chinese_english/pinyin.h"
#include "chinese_english/ranking.h"
#include "chinese_english/text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace Dictionary {

namespace {

struct SourceEntry
{
    std::string traditional;
    std::string simplified;
    std::string pinyin;
    std::vector<std::string> senses;
};

struct KeyRow
{
    std::string_view key;
    quint32 offset = 0; // of key, in its section
    quint32 entry = 0;
};

bool readEntries(const QByteArray &allJs, std::vector<SourceEntry> &entries, QString *error)
{
    QByteArray json = allJs.trimmed();
    const QByteArray prefix = "export default";
    if (json.startsWith(prefix))
        json.remove(0, prefix.size());
    while (json.endsWith(';'))
        json.chop(1);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        if (error)
            *error = QStringLiteral("the data is not JSON: %1").arg(parseError.errorString());
        return false;
    }
    const QJsonArray all = document.object().value(QLatin1String("all")).toArray();
    if (all.isEmpty()) {
        if (error)
            *error = QStringLiteral("the data has no entries (\"all\")");
        return false;
    }
    entries.reserve(size_t(all.size()));
    for (const QJsonValue &value : all) {
        const QJsonArray fields = value.toArray();
        SourceEntry entry;
        entry.traditional = fields.at(0).toString().toStdString();
        entry.simplified = fields.at(1).toString().toStdString();
        entry.pinyin = fields.at(2).toString().simplified().toStdString();
        const QJsonValue senses = fields.at(3);
        if (senses.isArray()) {
            for (const QJsonValue &sense : senses.toArray())
                entry.senses.push_back(sense.toString().simplified().toStdString());
        } else {
            entry.senses.push_back(senses.toString().simplified().toStdString());
        }
        // Tabs and line ends separate the fields of a record; the data has none, but a stray
        // one must not shift the fields.
        auto clean = [](std::string &text) {
            std::replace_if(
                text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
        };
        clean(entry.traditional);
        clean(entry.simplified);
        clean(entry.pinyin);
        for (std::string &sense : entry.senses)
            clean(sense);
        entry.senses.erase(std::remove(entry.senses.begin(), entry.senses.end(), std::string()),
                           entry.senses.end());
        if (entry.traditional.empty() || entry.simplified.empty()) {
            if (error)
                *error = QStringLiteral("an entry without a headword: %1")
                             .arg(QString::fromUtf8(QJsonDocument(fields).toJson()));
            return false;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

// The entries of one English word, best first as the answer to that word alone, without those
// that do not answer it; *everyday becomes the count of the commonest entry that has the word
// as a plain sense.
std::vector<quint32> rankedForWord(const std::string &word, const std::vector<quint32> &list,
                                   const std::vector<SourceEntry> &entries,
                                   const std::vector<std::string> &senses,
                                   const std::vector<quint32> &counts,
                                   const std::vector<double> &shares, quint32 *everyday)
{
    Ranking::Input input;
    input.typed = {word};
    input.compared = {word};
    input.rarest = word;
    std::vector<std::pair<double, quint32>> scored;
    scored.reserve(list.size());
    for (quint32 i : list) {
        const Ranking::Match match = Ranking::match(input, senses[i], counts[i], shares[i],
                                                    Ranking::isName(entries[i].pinyin));
        if (match.kind == Ranking::NoMatch)
            continue;
        if (match.everyday)
            *everyday = std::max(*everyday, counts[i]);
        scored.emplace_back(-match.score, i);
    }
    return Ranking::bestFirst(scored);
}

} // namespace

WordCounts readWordCounts(const QByteArray &list)
{
    WordCounts result;
    for (const QByteArray &line : list.split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() < 2)
            continue;
        bool ok = false;
        const quint32 count = fields.at(1).toUInt(&ok);
        if (!ok)
            continue;
        quint32 &kept = result.counts[fields.at(0).toStdString()];
        kept = std::max(kept, count);
        result.total += count;
    }
    return result;
}

namespace {

// What the index is made of, filled in step by step.
struct Tables
{
    std::vector<SourceEntry> entries;
    std::vector<quint32> entryCounts;
    std::string records;
    std::vector<quint32> recordOffsets;
    std::vector<std::string> senses; // one a line, as the records hold them
    std::vector<KeyRow> headwords;
    std::vector<double> shares;
    // The English words of the senses, each with the entries that use it.
    struct Word
    {
        std::vector<quint32> entries;
        quint32 everyday = 0; // see Index::Postings
    };
    std::unordered_map<std::string, Word> words;
    std::vector<std::pair<std::string_view, Word *>> postings; // sorted by word
    std::string keys;
    std::vector<std::string> pinyinKeys;
    std::vector<KeyRow> pinyinRows;
};

bool byKey(const KeyRow &a, const KeyRow &b)
{
    return a.key != b.key ? a.key < b.key : a.entry < b.entry;
}

// The records, and the headword rows that point into them.
void addRecords(Tables &t)
{
    const std::vector<SourceEntry> &entries = t.entries;
    t.senses.resize(entries.size());
    for (quint32 i = 0; i < entries.size(); ++i) {
        const SourceEntry &entry = entries[i];
        t.recordOffsets.push_back(quint32(t.records.size()));
        t.headwords.push_back({{}, quint32(t.records.size()), i});
        t.records += entry.traditional;
        t.records += '\t';
        if (entry.simplified != entry.traditional)
            t.headwords.push_back({{}, quint32(t.records.size()), i});
        t.records += entry.simplified;
        t.records += '\t';
        t.records += entry.pinyin;
        t.records += '\t';
        for (size_t s = 0; s < entry.senses.size(); ++s) {
            if (s)
                t.senses[i] += '\n';
            t.senses[i] += entry.senses[s];
        }
        t.records += t.senses[i];
    }
    for (KeyRow &row : t.headwords) {
        const SourceEntry &entry = entries[row.entry];
        const bool traditional = row.offset == t.recordOffsets[row.entry];
        row.key = traditional ? std::string_view(entry.traditional)
                              : std::string_view(entry.simplified);
    }
    std::sort(t.headwords.begin(), t.headwords.end(), byKey);
}

// Each entry's share of the senses of the entries with its simplified headword, then, for single
// characters, the share of its reading in the reading counts.
void addShares(Tables &t, const WordCounts &counts)
{
    std::vector<int> senseCounts(t.entries.size());
    std::unordered_map<std::string_view, int> headwordSenses;
    for (size_t i = 0; i < t.entries.size(); ++i) {
        senseCounts[i] = std::max(1, Ranking::senseCount(t.senses[i]));
        headwordSenses[t.entries[i].simplified] += senseCounts[i];
    }
    t.shares.resize(t.entries.size());
    for (size_t i = 0; i < t.entries.size(); ++i)
        t.shares[i] = double(senseCounts[i]) / headwordSenses.at(t.entries[i].simplified);
    if (!counts.readings.empty()) {
        std::vector<std::string_view> simplified, pinyin;
        for (const SourceEntry &entry : t.entries) {
            simplified.push_back(entry.simplified);
            pinyin.push_back(entry.pinyin);
        }
        ReadingFrequency::applyTo(counts.readings, simplified, pinyin, t.shares);
    }
}

// The English words of the senses, each with the entries that use it, ranked as the answer
// to that word: a lookup of one word then only reads the first of them.
void addWords(Tables &t)
{
    std::string lowered;
    for (quint32 i = 0; i < t.entries.size(); ++i) {
        for (const std::string &sense : t.entries[i].senses) {
            Text::forEachWord(sense, [&](std::string_view word) {
                lowered.assign(word);
                for (char &c : lowered)
                    c = Text::lower(c);
                std::vector<quint32> &list = t.words[lowered].entries;
                if (list.empty() || list.back() != i)
                    list.push_back(i);
            });
        }
    }
    t.postings.reserve(t.words.size());
    for (auto &[word, found] : t.words)
        t.postings.emplace_back(word, &found);
    std::sort(t.postings.begin(), t.postings.end());
    // Each word on its own, so the words are shared among the processors: this is most of the
    // time the index takes to write.
    std::vector<std::thread> threads(std::max(1u, std::thread::hardware_concurrency()));
    for (size_t n = 0; n < threads.size(); ++n) {
        threads[n] = std::thread([&, n] {
            for (size_t w = n; w < t.postings.size(); w += threads.size()) {
                Tables::Word &found = *t.postings[w].second;
                found.entries = rankedForWord(std::string(t.postings[w].first), found.entries,
                                              t.entries, t.senses, t.entryCounts, t.shares,
                                              &found.everyday);
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
}

// The pinyin keys: the toneless syllables in a row, for entries spelt in Mandarin syllables.
void addPinyin(Tables &t)
{
    t.pinyinKeys.resize(t.entries.size());
    std::vector<Pinyin::Syllable> syllables;
    for (quint32 i = 0; i < t.entries.size(); ++i) {
        if (!Pinyin::syllables(t.entries[i].pinyin, syllables))
            continue;
        for (const Pinyin::Syllable &syllable : syllables)
            t.pinyinKeys[i] += syllable.letters;
        t.pinyinRows.push_back({t.pinyinKeys[i], 0, i});
    }
    std::sort(t.pinyinRows.begin(), t.pinyinRows.end(), byKey);
    for (size_t r = 0; r < t.pinyinRows.size(); ++r) {
        if (r > 0 && t.pinyinRows[r].key == t.pinyinRows[r - 1].key) {
            t.pinyinRows[r].offset = t.pinyinRows[r - 1].offset;
            continue;
        }
        t.pinyinRows[r].offset = quint32(t.keys.size());
        t.keys += t.pinyinRows[r].key;
    }
}

void writeKeyRows(IndexFile::Writer &out, Format::Section section, const std::vector<KeyRow> &rows)
{
    out.beginSection(section);
    for (const KeyRow &row : rows) {
        out.add(row.offset);
        out.add(quint32(row.key.size()));
        out.add(row.entry);
    }
    out.endSection(section);
}

void writeSections(IndexFile::Writer &out, Tables &t)
{
    out.beginSection(Format::Records);
    out.append(t.records);
    out.endSection(Format::Records);

    out.beginSection(Format::Entries);
    for (quint32 i = 0; i < t.entries.size(); ++i) {
        out.add(t.recordOffsets[i]);
        out.add(t.entryCounts[i]);
        out.add(std::max<quint32>(1, quint32(std::lround(t.shares[i] * Format::wholeShare))));
    }
    out.endSection(Format::Entries);

    writeKeyRows(out, Format::Headwords, t.headwords);

    out.beginSection(Format::Words);
    quint32 first = 0;
    for (const auto &[word, found] : t.postings) {
        out.add(quint32(t.keys.size()));
        out.add(quint32(word.size()));
        out.add(first);
        out.add(quint32(found->entries.size()));
        out.add(found->everyday);
        t.keys += word;
        first += quint32(found->entries.size());
    }
    out.endSection(Format::Words);

    out.beginSection(Format::Postings);
    for (const auto &entry : t.postings)
        for (quint32 i : entry.second->entries)
            out.add(i);
    out.endSection(Format::Postings);

    writeKeyRows(out, Format::Pinyin, t.pinyinRows);

    out.beginSection(Format::Keys);
    out.append(t.keys);
    out.endSection(Format::Keys);
}

} // namespace

QByteArray buildIndex(const QByteArray &allJs, const WordCounts &counts, const QString &dataDate,
                      const QString &dataVersion, QString *error)
{
    Tables tables;
    if (!readEntries(allJs, tables.entries, error))
        return {};
    tables.entryCounts.reserve(tables.entries.size());
    for (const SourceEntry &entry : tables.entries) {
        const auto found = counts.counts.find(entry.simplified);
        tables.entryCounts.push_back(found == counts.counts.end() ? 0 : found->second);
    }
    addRecords(tables);
    addShares(tables, counts);
    addWords(tables);
    addPinyin(tables);

    IndexFile::Writer out(Format::kind);
    writeSections(out, tables);
    out.setOwnField(0, quint32(std::min<quint64>(counts.total, 0xFFFFFFFFu)));
    return out.finish(quint32(tables.entries.size()), dataDate, dataVersion);
}

} // namespace Dictionary
