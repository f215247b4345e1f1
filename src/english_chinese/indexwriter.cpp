#include "english_chinese/indexwriter.h"

#include "english_chinese/format.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <unordered_map>

namespace EnglishChinese {

namespace {

bool hasHan(std::string_view utf8)
{
    // Characters from U+3000 on (lead bytes E3 and above, the four-byte planes among them) but
    // the half- and full-width forms, and the compatibility ideographs among those.
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0xE3 && c != 0xEF)
            return true;
        if (c == 0xEF && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0xA4
            && static_cast<unsigned char>(utf8[i + 1]) <= 0xAB) // U+F900..U+FAFF
            return true;
    }
    return false;
}

std::string trimmed(std::string_view text)
{
    const size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    return std::string(text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1));
}

// One field on one line: a tab or line end inside it must not shift the record's fields.
std::string oneLine(std::string_view text)
{
    std::string result = trimmed(text);
    std::replace_if(
        result.begin(), result.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
        ' ');
    return result;
}

// Lines, trimmed, without empty ones, joined by \n.
std::string lines(std::string_view text)
{
    std::string result;
    while (!text.empty()) {
        const size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string line = oneLine(text.substr(0, end));
        if (!line.empty())
            result += (result.empty() ? "" : "\n") + line;
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return result;
}

// The exchange field's parts, kind letter to word.
std::vector<std::pair<char, std::string>> exchangeParts(std::string_view exchange)
{
    std::vector<std::pair<char, std::string>> parts;
    while (!exchange.empty()) {
        const size_t end = std::min(exchange.find('/'), exchange.size());
        const std::string_view part = exchange.substr(0, end);
        if (part.size() > 2 && part[1] == ':')
            parts.emplace_back(part[0], oneLine(part.substr(2)));
        exchange.remove_prefix(std::min(end + 1, exchange.size()));
    }
    return parts;
}

const char formOrder[] = "pdi3srt";

// The notes a translation gives of the word being a form of another ("go的过去式", "(kin的复数)").
struct FormNote
{
    std::string base;
    std::string kind; // letters as in the exchange field, and "n" for a present tense
};

const QRegularExpression &formNotePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("[(\uFF08]?\\s*([A-Za-z][A-Za-z'\u2019-]*)\\s*\u7684\\s*"
                       "(\u8fc7\u53bb\u5f0f[\u548c\u4e0e\u53ca,\uFF0C]\\s*"
                       "\u8fc7\u53bb\u5206\u8bcd" // 过去式和过去分词
                       "|\u8fc7\u53bb\u5f0f|\u8fc7\u53bb\u65f6" // 过去式, 过去时
                       "|\u8fc7\u53bb\u5206\u8bcd|\u73b0\u5728\u5206\u8bcd" // 过去分词,
                                                                            // 现在分词
                       "|\u73b0\u5728\u5f0f\u7b2c\u4e09\u4eba\u79f0|"
                       "\u7b2c\u4e09\u4eba\u79f0\u5355\u6570" // 现在式第三人称, 第三人称单数
                       "|\u7b2c\u4e09\u4eba\u79f0|\u4e09\u5355|\u5355\u4e09" // 第三人称, 三单,
                                                                             // 单三
                       "|\u540d\u8bcd\u590d\u6570|\u590d\u6570" // 名词复数, 复数
                       "|\u6bd4\u8f83\u7ea7|\u6700\u9ad8\u7ea7" // 比较级, 最高级
                       "|\u73b0\u5728\u65f6\u590d\u6570\u6216\u7b2c\u4e8c\u4eba\u79f0\u5355"
                       "\u6570|\u73b0\u5728\u65f6)" // 现在时...
                       "(?:\u5f62\u5f0f|\u5f62|\u73b0\u5728\u5f0f)?\\s*[)\uFF09]?")); // 形式,
                                                                                      // 形,
                                                                                      // 现在式
    return pattern;
}

std::string kindOf(const QString &note)
{
    if (note.contains(u'\u548c') || note.contains(u'\u4e0e') || note.contains(u'\u53ca')
        || note.contains(u',') || note.contains(u'\uFF0C'))
        return note.startsWith(QStringLiteral("\u73b0\u5728\u65f6")) ? "n" : "pd";
    if (note.startsWith(QStringLiteral("\u8fc7\u53bb\u5206\u8bcd")))
        return "d";
    if (note.startsWith(QStringLiteral("\u8fc7\u53bb")))
        return "p";
    if (note.startsWith(QStringLiteral("\u73b0\u5728\u5206\u8bcd")))
        return "i";
    if (note.startsWith(QStringLiteral("\u73b0\u5728\u65f6")))
        return "n";
    if (note.contains(QStringLiteral("\u590d\u6570")))
        return "s";
    if (note == QStringLiteral("\u6bd4\u8f83\u7ea7"))
        return "r";
    if (note == QStringLiteral("\u6700\u9ad8\u7ea7"))
        return "t";
    return "3";
}

// The translation's notes, and whether anything else in it is Chinese.
std::vector<FormNote> formNotes(const std::string &translation, bool *saysMore)
{
    std::vector<FormNote> notes;
    // 的 in UTF-8: no note without it.
    if (translation.find("\xE7\x9A\x84") == std::string::npos) {
        *saysMore = true;
        return notes;
    }
    QString text = QString::fromStdString(translation);
    QRegularExpressionMatchIterator matches = formNotePattern().globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        notes.push_back({match.captured(1).toStdString(), kindOf(match.captured(2))});
    }
    text.remove(formNotePattern());
    *saysMore = hasHan(text.toStdString());
    return notes;
}

bool listsForm(const std::string &exchange, std::string_view word)
{
    for (const auto &[kind, form] : exchangeParts(exchange))
        if (kind != '0' && kind != '1' && Format::key(form) == Format::key(word))
            return true;
    return false;
}

quint32 marksOf(const SourceEntry &entry, bool onlyAForm)
{
    quint32 marks = quint32(std::clamp(entry.collins, 0, 5));
    if (entry.oxford)
        marks |= Format::oxfordBit;
    std::string_view tags = entry.tags;
    while (!tags.empty()) {
        const size_t end = std::min(tags.find(' '), tags.size());
        for (int t = 0; t < Format::tagCount; ++t)
            if (tags.substr(0, end) == Format::tagCodes[t])
                marks |= 1u << (Format::tagShift + t);
        tags.remove_prefix(std::min(end + 1, tags.size()));
    }
    if (onlyAForm)
        marks |= Format::onlyAFormBit;
    return marks;
}

// The entries with a word and a Chinese translation, their texts on lines of their own.
std::vector<SourceEntry> kept(std::vector<SourceEntry> source, BuildCounts *tally)
{
    std::vector<SourceEntry> entries;
    entries.reserve(source.size());
    for (SourceEntry &entry : source) {
        entry.word = oneLine(entry.word);
        entry.translation = lines(entry.translation);
        if (entry.word.empty() || !hasHan(entry.translation)) {
            ++tally->dropped;
            continue;
        }
        entry.phonetic = oneLine(entry.phonetic);
        entry.definition = lines(entry.definition);
        entry.tags = oneLine(entry.tags);
        entry.exchange = oneLine(entry.exchange);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The entries by their words: a base word is the entry written so, in any case ("be", not
// "b-e"), or else the first of its key.
struct Headwords
{
    explicit Headwords(const std::vector<SourceEntry> &all)
        : entries(all)
        , keys(all.size())
    {
        for (size_t i = 0; i < entries.size(); ++i) {
            keys[i] = Format::key(entries[i].word);
            byKey.emplace(keys[i], i);
            std::string letters = entries[i].word;
            std::transform(letters.begin(), letters.end(), letters.begin(), Format::folded);
            byLetters.emplace(std::move(letters), i);
        }
    }

    const SourceEntry *of(std::string word) const
    {
        std::transform(word.begin(), word.end(), word.begin(), Format::folded);
        if (const auto found = byLetters.find(word); found != byLetters.end())
            return &entries[found->second];
        const auto found = byKey.find(Format::key(word));
        return found == byKey.end() ? nullptr : &entries[found->second];
    }

    const std::vector<SourceEntry> &entries;
    std::vector<std::string> keys;
    std::unordered_map<std::string, size_t> byKey, byLetters;
};

struct Bases
{
    explicit Bases(size_t count)
        : forms(count)
        , bases(count)
        , kinds(count)
        , onlyAForm(count)
    { }

    std::vector<std::string> forms, bases, kinds;
    std::vector<bool> onlyAForm;
};

    // Each entry's forms, and the word it is a form of: the exchange field's "0:", or else the
    // one its translation names. Where the two differ, the translation wins when its word lists
    // this one among its forms ("does" is do's third person, not a plural of "doe"); a base
    // without an entry of its own ("occure") is no base.
void findBase(const Headwords &headwords, size_t i, Bases &found, BuildCounts *tally)
{
    const std::vector<SourceEntry> &entries = headwords.entries;
    const SourceEntry &entry = entries[i];
    std::string exchangeBase, exchangeKind;
    for (const char kind : formOrder) {
        for (const auto &[k, form] : exchangeParts(entry.exchange)) {
            if (k == kind && kind && !form.empty() && Format::key(form) != headwords.keys[i])
                found.forms[i] += (found.forms[i].empty() ? "" : "/") + std::string(1, k) + ':' + form;
        }
    }
    for (const auto &[k, value] : exchangeParts(entry.exchange)) {
        if (k == '0')
            exchangeBase = value;
        else if (k == '1')
            for (const char c : value)
                if (std::strchr(formOrder, c) && c && exchangeKind.find(c) == std::string::npos)
                    exchangeKind += c;
    }
    bool saysMore = true;
    const std::vector<FormNote> notes = formNotes(entry.translation, &saysMore);
    found.onlyAForm[i] = !saysMore;
    const FormNote *note = nullptr;
    for (const FormNote &each : notes) {
        if (Format::key(each.base) != headwords.keys[i] && headwords.of(each.base)) {
            note = &each;
            break;
        }
    }
    const bool exchangeKnown = !exchangeBase.empty() && Format::key(exchangeBase) != headwords.keys[i]
        && headwords.of(exchangeBase) && !exchangeKind.empty();
    const bool noteAgrees
        = note && exchangeKnown && Format::key(note->base) == Format::key(exchangeBase);
    if (note && !noteAgrees
        && (!exchangeKnown || listsForm(headwords.of(note->base)->exchange, entry.word))) {
        found.bases[i] = headwords.of(note->base)->word;
        found.kinds[i] = note->kind;
        ++tally->basesFromTranslation;
    } else if (exchangeKnown) {
        found.bases[i] = headwords.of(exchangeBase)->word;
        found.kinds[i] = exchangeKind;
    }
}

// The records in the order of their keys, then the entries' rows.
void writeEntries(IndexFile::Writer &out, const Headwords &headwords, const Bases &found)
{
    const std::vector<SourceEntry> &entries = headwords.entries;
    const std::vector<std::string> &keys = headwords.keys;
    const std::vector<std::string> &forms = found.forms, &bases = found.bases,
                                   &kinds = found.kinds;
    const std::vector<bool> &onlyAForm = found.onlyAForm;
    std::vector<quint32> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        return keys[a] != keys[b] ? keys[a] < keys[b] : entries[a].word < entries[b].word;
    });

    std::vector<quint32> offsets;
    offsets.reserve(entries.size());
    out.beginSection(Format::Records);
    const qsizetype recordsAt = out.data().size();
    for (const quint32 i : order) {
        const SourceEntry &entry = entries[i];
        offsets.push_back(quint32(out.data().size() - recordsAt));
        const std::string *fields[Format::FieldCount]
            = {&entry.word, &entry.phonetic, &entry.translation, &entry.definition,
               &forms[i],   &bases[i],       &kinds[i]};
        for (const std::string *field : fields) {
            if (field != &entry.word)
                out.append("\t");
            out.append(*field);
        }
    }
    out.endSection(Format::Records);
    out.beginSection(Format::Entries);
    for (size_t n = 0; n < order.size(); ++n) {
        const SourceEntry &entry = entries[order[n]];
        out.add(offsets[n]);
        out.add(marksOf(entry, onlyAForm[order[n]]));
        out.add(std::min(entry.bnc, 0xFFFFu) | std::min(entry.frq, 0xFFFFu) << 16);
    }
    out.endSection(Format::Entries);
}

} // namespace

QByteArray buildIndex(std::vector<SourceEntry> source, const QString &dataDate,
                      const QString &dataVersion, BuildCounts *counts)
{
    BuildCounts tally;
    const std::vector<SourceEntry> entries = kept(std::move(source), &tally);
    tally.kept = entries.size();
    if (entries.empty())
        return {};
    const Headwords headwords(entries);
    Bases found(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        findBase(headwords, i, found, &tally);
    IndexFile::Writer out(Format::kind);
    writeEntries(out, headwords, found);
    if (counts)
        *counts = tally;
    return out.finish(quint32(entries.size()), dataDate, dataVersion);
}

} // namespace EnglishChinese
