#include "english_chinese/index.h"

#include "english_chinese/format.h"

namespace EnglishChinese {

namespace Format {

std::string key(std::string_view word)
{
    std::string result;
    result.reserve(word.size());
    for (const char c : word)
        if (!ignored(c))
            result += folded(c);
    return result;
}

int compareKey(std::string_view word, std::string_view key)
{
    size_t i = 0, k = 0;
    for (;;) {
        while (i < word.size() && ignored(word[i]))
            ++i;
        if (i == word.size())
            return k == key.size() ? 0 : -1;
        if (k == key.size())
            return 1;
        const auto a = static_cast<unsigned char>(folded(word[i]));
        const auto b = static_cast<unsigned char>(key[k]);
        if (a != b)
            return a < b ? -1 : 1;
        ++i;
        ++k;
    }
}

} // namespace Format

Index::Index(const QString &path)
    : m_file(path, Format::kind)
{
    checkTables();
}

Index::Index(QByteArrayView bytes)
    : m_file(bytes, Format::kind)
{
    checkTables();
}

void Index::checkTables()
{
    if (m_file.isOpen()
        && quint64(m_file.entryCount()) * Format::entrySize != m_file.sectionSize(Format::Entries))
        m_file.setDamaged(QStringLiteral("its tables do not fit their sections"));
}

std::string_view Index::word(quint32 entry) const
{
    const quint32 begin = m_file.number(Format::Entries, entry * Format::entrySize);
    const quint32 size = m_file.sectionSize(Format::Records);
    if (begin >= size)
        return {};
    const std::string_view rest = m_file.text(Format::Records, begin, size - begin);
    return rest.substr(0, rest.find('\t'));
}

Index::Record Index::record(quint32 entry) const
{
    if (!isOpen() || entry >= entryCount())
        return {};
    const quint32 at = entry * Format::entrySize;
    const quint32 begin = m_file.number(Format::Entries, at);
    const quint32 end = entry + 1 < entryCount()
        ? m_file.number(Format::Entries, at + Format::entrySize)
        : m_file.sectionSize(Format::Records);
    if (begin > end)
        return {};
    std::string_view rest = m_file.text(Format::Records, begin, end - begin);
    std::string_view fields[Format::FieldCount];
    for (int f = 0; f < Format::FieldCount; ++f) {
        const size_t tab = f + 1 < Format::FieldCount ? rest.find('\t') : rest.size();
        if (tab == std::string_view::npos)
            return {};
        fields[f] = rest.substr(0, tab);
        rest.remove_prefix(std::min(tab + 1, rest.size()));
    }
    Record record {fields[Format::Word],        fields[Format::Phonetic],
                   fields[Format::Translation], fields[Format::Definition],
                   fields[Format::Forms],       fields[Format::Base],
                   fields[Format::BaseKind]};
    record.marks = m_file.number(Format::Entries, at + 4);
    const quint32 ranks = m_file.number(Format::Entries, at + 8);
    record.bnc = ranks & 0xFFFF;
    record.frq = ranks >> 16;
    return record;
}

std::pair<quint32, quint32> Index::find(std::string_view word) const
{
    if (!isOpen())
        return {0, 0};
    const std::string key = Format::key(word);
    if (key.empty())
        return {0, 0};
    quint32 low = 0, high = entryCount();
    while (low < high) {
        const quint32 middle = low + (high - low) / 2;
        if (Format::compareKey(this->word(middle), key) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    quint32 end = low;
    while (end < entryCount() && Format::compareKey(this->word(end), key) == 0)
        ++end;
    return {low, end};
}

} // namespace EnglishChinese
