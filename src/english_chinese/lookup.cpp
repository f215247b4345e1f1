#include "english_chinese/lookup.h"
#include "english_chinese/spellings.h"

#include "english_chinese/format.h"
#include "english_chinese/index.h"

#include <algorithm>
#include <tuple>

namespace EnglishChinese {

namespace {

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), int(text.size())); }

QStringList lines(std::string_view text)
{
    QStringList result;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        result << fromUtf8(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return result;
}

// The kinds of form, with what a forms line calls a word of that kind and what a word of that
// kind is of its base.
struct FormKind
{
    char letter;
    const char *shown; // "past went"
    const char *of; // "past tense of go"
};

const FormKind formKinds[] = {
    {'p', "past", "past tense"},         {'d', "past participle", "past participle"},
    {'i', "-ing", "-ing form"},          {'3', "third person", "third person singular"},
    {'s', "plural", "plural"},           {'r', "comparative", "comparative"},
    {'t', "superlative", "superlative"}, {'n', "present", "present tense"},
};

const char *const tagNames[Format::tagCount]
    = {"\u4e2d\u8003", "\u9ad8\u8003", "CET-4", "CET-6", "\u8003\u7814", "TOEFL", "IELTS", "GRE"};

QList<QPair<QString, QString>> forms(std::string_view text)
{
    QList<QPair<QString, QString>> result;
    while (!text.empty()) {
        const size_t end = std::min(text.find('/'), text.size());
        const std::string_view part = text.substr(0, end);
        for (const FormKind &kind : formKinds)
            if (part.size() > 2 && part[0] == kind.letter && part[1] == ':')
                result.append({QString::fromLatin1(kind.shown), fromUtf8(part.substr(2))});
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return result;
}

} // namespace

bool Entry::core() const
{
    return tags.contains(QStringLiteral("\u4e2d\u8003"))
        || tags.contains(QStringLiteral("\u9ad8\u8003")) || oxford || collins >= 3;
}

int Entry::rank() const { return frq > 0 ? frq : bnc; }

QList<Entry> Result::shownOwn() const
{
    QList<Entry> shown;
    for (const Entry &entry : own)
        if (!entry.onlyAForm || !hasBase())
            shown << entry;
    return shown;
}

QString formName(std::string_view kinds)
{
    QStringList names;
    for (const FormKind &kind : formKinds)
        if (kinds.find(kind.letter) != std::string_view::npos)
            names << QString::fromLatin1(kind.of);
    return names.join(QStringLiteral(" and "));
}

Entry entry(const Index &index, quint32 number)
{
    const Index::Record record = index.record(number);
    Entry result;
    result.word = fromUtf8(record.word);
    result.phonetic = fromUtf8(record.phonetic);
    result.translations = lines(record.translation);
    result.definition = lines(record.definition);
    result.forms = forms(record.forms);
    for (int t = 0; t < Format::tagCount; ++t)
        if (record.marks & (1u << (Format::tagShift + t)))
            result.tags << QString::fromUtf8(tagNames[t]);
    result.collins = int(std::min<quint32>(record.marks & Format::collinsMask, 5));
    result.oxford = record.marks & Format::oxfordBit;
    result.onlyAForm = record.marks & Format::onlyAFormBit;
    result.bnc = int(record.bnc);
    result.frq = int(record.frq);
    return result;
}

QString normalized(const QString &input)
{
    QString text = input.trimmed();
    text.replace(u'\u2019', u'\'');
    text.replace(u'\u2018', u'\'');
    return text;
}

Result lookUp(const Index &index, const QString &input)
{
    Result result;
    const QByteArray typed = normalized(input).toUtf8();
    const std::string_view text(typed.constData(), size_t(typed.size()));
    const auto [first, last] = index.find(text);
    // The entry written as typed first, then one that differs from it in case only, then those
    // that differ in hyphens and spaces too ("ice-cream" for "ice cream"). Beside a word written
    // so, those come only with a mark of their own: the data also splits words into syllables
    // ("beau-ti-ful"), and such entries say nothing more.
    struct Found
    {
        int match = 0; // 0 as typed, 1 in another case, 2 with other hyphens or spaces
        int unmarked = 0;
        quint32 number = 0;
        bool operator<(const Found &other) const
        {
            return std::tie(match, unmarked, number)
                < std::tie(other.match, other.unmarked, other.number);
        }
    };
    std::vector<Found> found;
    for (quint32 number = first; number < last && found.size() < 32; ++number) {
        const Index::Record record = index.record(number);
        const bool sameLetters = record.word.size() == text.size()
            && std::equal(record.word.begin(), record.word.end(), text.begin(),
                          [](char a, char b) { return Format::folded(a) == Format::folded(b); });
        const bool marked = (record.marks & ~Format::onlyAFormBit) || record.bnc || record.frq;
        found.push_back({record.word == text ? 0 : sameLetters ? 1 : 2, marked ? 0 : 1, number});
    }
    std::sort(found.begin(), found.end());
    const bool written = !found.empty() && found.front().match < 2;
    for (const Found &item : found) {
        if (result.own.size() == maxOwnEntries || (written && item.match == 2 && item.unmarked))
            break;
        result.own << entry(index, item.number);
    }
    foldSpellings(result, input);
    if (found.empty())
        return result;

    const Index::Record record = index.record(found.front().number);
    if (!record.base.empty()) {
        const auto [baseFirst, baseLast] = index.find(record.base);
        for (quint32 number = baseFirst; number < baseLast; ++number) {
            if (index.record(number).word == record.base) {
                result.base = entry(index, number);
                result.form = formName(record.baseKind);
                break;
            }
        }
    }
    return result;
}

} // namespace EnglishChinese
