#include "chinese_english/readingfrequency.h"

#include "chinese_english/pinyin.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Dictionary::ReadingFrequency {

namespace {

// "le(30101) liǎo(654)": the readings with their counts, commonest first.
Readings readField(QByteArrayView field)
{
    Readings result;
    for (const QByteArray &item : field.toByteArray().split(' ')) {
        const qsizetype open = item.indexOf('(');
        if (open <= 0 || !item.endsWith(')'))
            continue;
        bool ok = false;
        const quint32 count = item.mid(open + 1, item.size() - open - 2).toUInt(&ok);
        if (ok)
            result.emplace_back(QString::fromUtf8(item.left(open)).toLower().toStdString(), count);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const auto &a, const auto &b) { return a.second > b.second; });
    return result;
}

} // namespace

Table read(const QByteArray &unihanReadings)
{
    Table table;
    for (const QByteArray &line : unihanReadings.split('\n')) {
        if (!line.startsWith("U+"))
            continue;
        const QList<QByteArray> fields = line.trimmed().split('\t');
        if (fields.size() != 3 || fields.at(1) != "kHanyuPinlu")
            continue;
        bool ok = false;
        const char32_t code = char32_t(fields.at(0).mid(2).toUInt(&ok, 16));
        Readings readings = readField(fields.at(2));
        if (!ok || readings.empty())
            continue;
        table[QString::fromUcs4(&code, 1).toStdString()] = std::move(readings);
    }
    return table;
}

std::vector<double> shares(const Readings &readings, const std::vector<std::string> &pinyin,
                           const std::vector<double> &senseShares)
{
    const size_t size = pinyin.size();
    std::vector<double> result = senseShares;
    if (readings.empty() || size != senseShares.size())
        return result;
    const double total = std::accumulate(readings.begin(), readings.end(), 0.0,
                                         [](double sum, const auto &r) { return sum + r.second; });
    if (total <= 0)
        return result;
    // Each entry's reading's share of the field's counts, 0 for a reading it lacks.
    std::vector<double> readingShare(size, 0.0);
    for (size_t i = 0; i < size; ++i) {
        const std::string lowered = QString::fromStdString(pinyin[i]).toLower().toStdString();
        for (const auto &[reading, count] : readings)
            if (reading == lowered)
                readingShare[i] = count / total;
    }
    double rarest = 1.0;
    for (double share : readingShare)
        if (share > 0)
            rarest = std::min(rarest, share);
    // Entries of one reading in the order of their senses' shares, each a little below the one
    // before, so the order holds without turning a reading's share into its entries' sum.
    std::vector<size_t> order(size);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return senseShares[a] > senseShares[b]; });
    std::unordered_map<std::string, int> seen;
    double unnamedSenses = 0;
    for (size_t i = 0; i < size; ++i)
        if (readingShare[i] == 0)
            unnamedSenses = std::max(unnamedSenses, senseShares[i]);
    for (size_t i : order) {
        if (readingShare[i] > 0) {
            result[i] = readingShare[i] * std::pow(0.99, seen[pinyin[i]]++);
        } else {
            // Below every reading the field names, in the order of the senses.
            const double senses = unnamedSenses > 0 ? senseShares[i] / unnamedSenses : 1.0;
            result[i] = rarest * 0.5 * std::clamp(senses, 0.01, 1.0);
        }
    }
    return result;
}

void applyTo(const Table &table, const std::vector<std::string_view> &simplified,
             const std::vector<std::string_view> &pinyin, std::vector<double> &entryShares)
{
    std::unordered_map<std::string_view, std::vector<size_t>> byHeadword;
    for (size_t i = 0; i < simplified.size(); ++i)
        if (table.count(std::string(simplified[i])))
            byHeadword[simplified[i]].push_back(i);
    for (const auto &[headword, entries] : byHeadword) {
        std::vector<std::string> marked;
        std::vector<double> senseShares;
        for (size_t i : entries) {
            marked.push_back(Pinyin::withToneMarks(pinyin[i]).toStdString());
            senseShares.push_back(entryShares[i]);
        }
        const std::vector<double> ordered
            = shares(table.at(std::string(headword)), marked, senseShares);
        for (size_t k = 0; k < entries.size(); ++k)
            entryShares[entries[k]] = ordered[k];
    }
}

} // namespace Dictionary::ReadingFrequency
