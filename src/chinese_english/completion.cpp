#include "chinese_english/completion.h"

#include "chinese_english/index.h"
#include "chinese_english/lookup.h"
#include "chinese_english/pinyin.h"
#include "index_file/sortedtable.h"

#include <QSet>

#include <algorithm>
#include <string>
#include <vector>

namespace Dictionary {

namespace {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), int(text.size())); }

bool isChinese(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80 || c.isSurrogate())
            return true;
    return false;
}

bool isName(std::string_view pinyin)
{
    return !pinyin.empty() && pinyin.front() >= 'A' && pinyin.front() <= 'Z';
}

struct Candidate
{
    quint32 common = 0;
    bool name = false; // a name's entry: its pinyin is capitalised
    quint32 length = 0;
    quint32 entry = 0;
    std::string_view text;
};

// Most common first; of two as common, a word before a name, the shorter, then the earlier in
// the data.
void best(std::vector<Candidate> &candidates, size_t limit)
{
    const auto before = [](const Candidate &a, const Candidate &b) {
        if (a.common != b.common)
            return a.common > b.common;
        if (a.name != b.name)
            return b.name;
        if (a.length != b.length)
            return a.length < b.length;
        return a.entry < b.entry;
    };
    std::sort(candidates.begin(), candidates.end(), before);
    std::vector<Candidate> kept;
    QSet<QByteArray> seen;
    for (const Candidate &candidate : candidates) {
        if (kept.size() == limit)
            break;
        const QByteArray text(candidate.text.data(), qsizetype(candidate.text.size()));
        if (seen.contains(text))
            continue;
        seen.insert(text);
        kept.push_back(candidate);
    }
    candidates.swap(kept);
}

Completion chineseCompletion(const Index &index, const Candidate &candidate)
{
    return {fromUtf8(candidate.text), Pinyin::withToneMarks(index.record(candidate.entry).pinyin)};
}

QList<Completion> chinese(const Index &index, const QString &prefix, int limit)
{
    const QByteArray utf8 = prefix.toUtf8();
    const std::string_view key(utf8.constData(), size_t(utf8.size()));
    const auto [low, high] = IndexFile::prefixRows(
        [&](quint32 row) { return index.headword(row); }, index.headwordCount(), key);
    std::vector<Candidate> candidates;
    for (quint32 row = low; row < high; ++row) {
        const Index::Row headword = index.headword(row);
        if (headword.key.size() == key.size())
            continue;
        // A traditional form whose simplified form is suggested as well adds nothing.
        const std::string_view simplified = index.record(headword.entry).simplified;
        if (simplified != headword.key && simplified.substr(0, key.size()) == key)
            continue;
        candidates.push_back({index.count(headword.entry),
                              isName(index.record(headword.entry).pinyin),
                              quint32(headword.key.size()), headword.entry, headword.key});
    }
    best(candidates, size_t(limit));
    QList<Completion> result;
    for (const Candidate &candidate : candidates)
        result << chineseCompletion(index, candidate);
    return result;
}

QList<Completion> pinyin(const Index &index, const QString &prefix, int limit)
{
    Pinyin::Typed typed;
    if (!Pinyin::readTyped(prefix, typed) || typed.letters.empty())
        return {};
    const std::string_view key = typed.letters;
    const auto [low, high]
        = IndexFile::prefixRows([&](quint32 row) { return index.pinyin(row); },
                               index.pinyinCount(), key);
    std::vector<Candidate> candidates;
    for (quint32 row = low; row < high; ++row) {
        const Index::Row reading = index.pinyin(row);
        const Index::Record record = index.record(reading.entry);
        candidates.push_back({index.count(reading.entry), isName(record.pinyin),
                              quint32(record.simplified.size()), reading.entry, record.simplified});
    }
    best(candidates, size_t(limit));
    QList<Completion> result;
    for (const Candidate &candidate : candidates)
        result << chineseCompletion(index, candidate);
    return result;
}

// The English words the senses use, those used by more entries first.
QList<Completion> english(const Index &index, const QString &prefix, int limit)
{
    for (const QChar c : prefix)
        if (c.unicode() >= 0x80 || !(c.isLetterOrNumber() || c == u'-' || c == u'\''))
            return {};
    const QByteArray lower = prefix.toLower().toUtf8();
    const std::string_view key(lower.constData(), size_t(lower.size()));
    const auto [low, high]
        = IndexFile::prefixRows([&](quint32 row) { return index.word(row); },
                               index.wordCount(), key);
    std::vector<Candidate> candidates;
    for (quint32 row = low; row < high; ++row) {
        const Index::WordRow word = index.word(row);
        // Digits are the pinyin of the senses' cross-references ("hou4"), not English.
        if (word.key.size() == key.size()
            || std::any_of(word.key.begin(), word.key.end(),
                           [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        candidates.push_back({word.postingCount, false, quint32(word.key.size()), row, word.key});
    }
    best(candidates, size_t(limit));
    QList<Completion> result;
    for (const Candidate &candidate : candidates)
        result << Completion {fromUtf8(candidate.text), QString()};
    return result;
}

} // namespace

QList<Completion> completions(const Index &index, const QString &prefix, int limit)
{
    if (!index.isOpen() || prefix.trimmed().isEmpty() || limit <= 0)
        return {};
    if (isChinese(prefix))
        return chinese(index, prefix, limit);
    const QList<Completion> inEnglish = english(index, prefix, limit);
    const QList<Completion> inPinyin = pinyin(index, prefix, limit);
    // In turn: a prefix in Latin letters may be the start of either.
    QList<Completion> result;
    for (int i = 0; result.size() < limit && (i < inEnglish.size() || i < inPinyin.size()); ++i) {
        if (i < inEnglish.size())
            result << inEnglish.at(i);
        if (i < inPinyin.size() && result.size() < limit)
            result << inPinyin.at(i);
    }
    return result;
}

} // namespace Dictionary
