#include "dictionary/indexwriter.h"

#include "dictionary/indexformat.h"
#include "dictionary/pinyin.h"
#include "dictionary/ranking.h"
#include "dictionary/text.h"

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

class Writer
{
public:
    void add(quint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        m_data.append(bytes, 4);
    }
    void pad()
    {
        while (m_data.size() % 4)
            m_data.append('\0');
    }
    QByteArray &data() { return m_data; }

private:
    QByteArray m_data;
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
    std::sort(scored.begin(), scored.end());
    std::vector<quint32> result;
    result.reserve(scored.size());
    for (const auto &item : scored)
        result.push_back(item.second);
    return result;
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

QByteArray buildIndex(const QByteArray &allJs, const WordCounts &counts, const QString &dataDate,
                      const QString &dataVersion, QString *error)
{
    std::vector<SourceEntry> entries;
    if (!readEntries(allJs, entries, error))
        return {};
    std::vector<quint32> entryCounts;
    entryCounts.reserve(entries.size());
    for (const SourceEntry &entry : entries) {
        const auto found = counts.counts.find(entry.simplified);
        entryCounts.push_back(found == counts.counts.end() ? 0 : found->second);
    }

    // The records, and the headword rows that point into them.
    std::string records;
    std::vector<quint32> recordOffsets;
    std::vector<std::string> senses(entries.size()); // one a line, as the records hold them
    std::vector<KeyRow> headwords;
    for (quint32 i = 0; i < entries.size(); ++i) {
        const SourceEntry &entry = entries[i];
        recordOffsets.push_back(quint32(records.size()));
        headwords.push_back({{}, quint32(records.size()), i});
        records += entry.traditional;
        records += '\t';
        if (entry.simplified != entry.traditional)
            headwords.push_back({{}, quint32(records.size()), i});
        records += entry.simplified;
        records += '\t';
        records += entry.pinyin;
        records += '\t';
        for (size_t s = 0; s < entry.senses.size(); ++s) {
            if (s)
                senses[i] += '\n';
            senses[i] += entry.senses[s];
        }
        records += senses[i];
    }
    for (KeyRow &row : headwords) {
        const SourceEntry &entry = entries[row.entry];
        const bool traditional = row.offset == recordOffsets[row.entry];
        row.key = traditional ? std::string_view(entry.traditional)
                              : std::string_view(entry.simplified);
    }
    auto byKey = [](const KeyRow &a, const KeyRow &b) {
        return a.key != b.key ? a.key < b.key : a.entry < b.entry;
    };
    std::sort(headwords.begin(), headwords.end(), byKey);

    // Each entry's share of the senses of the entries with its simplified headword.
    std::vector<int> senseCounts(entries.size());
    std::unordered_map<std::string_view, int> headwordSenses;
    for (size_t i = 0; i < entries.size(); ++i) {
        senseCounts[i] = std::max(1, Ranking::senseCount(senses[i]));
        headwordSenses[entries[i].simplified] += senseCounts[i];
    }
    std::vector<double> shares(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        shares[i] = double(senseCounts[i]) / headwordSenses.at(entries[i].simplified);
    if (!counts.readings.empty()) {
        std::vector<std::string_view> simplified, pinyin;
        for (const SourceEntry &entry : entries) {
            simplified.push_back(entry.simplified);
            pinyin.push_back(entry.pinyin);
        }
        ReadingFrequency::applyTo(counts.readings, simplified, pinyin, shares);
    }

    // The English words of the senses, each with the entries that use it, ranked as the answer
    // to that word: a lookup of one word then only reads the first of them.
    struct Word
    {
        std::vector<quint32> entries;
        quint32 everyday = 0; // see Index::Postings
    };
    std::unordered_map<std::string, Word> words;
    std::string lowered;
    for (quint32 i = 0; i < entries.size(); ++i) {
        for (const std::string &sense : entries[i].senses) {
            Text::forEachWord(sense, [&](std::string_view word) {
                lowered.assign(word);
                for (char &c : lowered)
                    c = Text::lower(c);
                std::vector<quint32> &list = words[lowered].entries;
                if (list.empty() || list.back() != i)
                    list.push_back(i);
            });
        }
    }
    std::vector<std::pair<std::string_view, Word *>> postings; // sorted by word
    postings.reserve(words.size());
    for (auto &[word, found] : words)
        postings.emplace_back(word, &found);
    std::sort(postings.begin(), postings.end());
    // Each word on its own, so the words are shared among the processors: this is most of the
    // time the index takes to write.
    std::vector<std::thread> threads(std::max(1u, std::thread::hardware_concurrency()));
    for (size_t t = 0; t < threads.size(); ++t) {
        threads[t] = std::thread([&, t] {
            for (size_t w = t; w < postings.size(); w += threads.size()) {
                Word &found = *postings[w].second;
                found.entries
                    = rankedForWord(std::string(postings[w].first), found.entries, entries, senses,
                                    entryCounts, shares, &found.everyday);
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    // The pinyin keys: the toneless syllables in a row, for entries spelt in Mandarin syllables.
    std::string keys;
    std::vector<std::string> pinyinKeys(entries.size());
    std::vector<KeyRow> pinyinRows;
    std::vector<Pinyin::Syllable> syllables;
    for (quint32 i = 0; i < entries.size(); ++i) {
        if (!Pinyin::syllables(entries[i].pinyin, syllables))
            continue;
        for (const Pinyin::Syllable &syllable : syllables)
            pinyinKeys[i] += syllable.letters;
        pinyinRows.push_back({pinyinKeys[i], 0, i});
    }
    std::sort(pinyinRows.begin(), pinyinRows.end(), byKey);
    for (size_t r = 0; r < pinyinRows.size(); ++r) {
        if (r > 0 && pinyinRows[r].key == pinyinRows[r - 1].key) {
            pinyinRows[r].offset = pinyinRows[r - 1].offset;
            continue;
        }
        pinyinRows[r].offset = quint32(keys.size());
        keys += pinyinRows[r].key;
    }

    Writer out;
    QByteArray &data = out.data();
    data.fill('\0', Format::headerSize);
    out.pad();
    quint32 sections[Format::SectionCount][2] = {};
    auto begin = [&](Format::Section section) { sections[section][0] = quint32(data.size()); };
    auto end = [&](Format::Section section) {
        sections[section][1] = quint32(data.size()) - sections[section][0];
        out.pad();
    };

    begin(Format::Records);
    data.append(records.data(), qsizetype(records.size()));
    end(Format::Records);

    begin(Format::Entries);
    for (quint32 i = 0; i < entries.size(); ++i) {
        out.add(recordOffsets[i]);
        out.add(entryCounts[i]);
        out.add(std::max<quint32>(1, quint32(std::lround(shares[i] * Format::wholeShare))));
    }
    end(Format::Entries);

    begin(Format::Headwords);
    for (const KeyRow &row : headwords) {
        out.add(row.offset);
        out.add(quint32(row.key.size()));
        out.add(row.entry);
    }
    end(Format::Headwords);

    begin(Format::Words);
    quint32 first = 0;
    for (const auto &[word, found] : postings) {
        out.add(quint32(keys.size()));
        out.add(quint32(word.size()));
        out.add(first);
        out.add(quint32(found->entries.size()));
        out.add(found->everyday);
        keys += word;
        first += quint32(found->entries.size());
    }
    end(Format::Words);

    begin(Format::Postings);
    for (const auto &entry : postings)
        for (quint32 i : entry.second->entries)
            out.add(i);
    end(Format::Postings);

    begin(Format::Pinyin);
    for (const KeyRow &row : pinyinRows) {
        out.add(row.offset);
        out.add(quint32(row.key.size()));
        out.add(row.entry);
    }
    end(Format::Pinyin);

    begin(Format::Keys);
    data.append(keys.data(), qsizetype(keys.size()));
    end(Format::Keys);

    // The header, now that the sections are placed.
    char *header = data.data();
    std::copy(std::begin(Format::magic), std::end(Format::magic), header + Format::MagicAt);
    qToLittleEndian(Format::version, header + Format::VersionAt);
    qToLittleEndian(quint32(data.size()), header + Format::FileSizeAt);
    qToLittleEndian(quint32(entries.size()), header + Format::EntryCountAt);
    qToLittleEndian(quint32(std::min<quint64>(counts.total, 0xFFFFFFFFu)),
                    header + Format::CountTotalAt);
    const QByteArray date = dataDate.toLatin1().left(Format::textFieldSize - 1);
    const QByteArray version = dataVersion.toLatin1().left(Format::textFieldSize - 1);
    std::copy(date.begin(), date.end(), header + Format::DataDateAt);
    std::copy(version.begin(), version.end(), header + Format::DataVersionAt);
    for (int s = 0; s < Format::SectionCount; ++s) {
        qToLittleEndian(sections[s][0], header + Format::SectionsAt + 8 * s);
        qToLittleEndian(sections[s][1], header + Format::SectionsAt + 8 * s + 4);
    }
    return data;
}

} // namespace Dictionary
