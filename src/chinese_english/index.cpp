#include "chinese_english/index.h"

#include "chinese_english/indexformat.h"
#include "index_file/mappedindex.h"

#include <QFile>


namespace Dictionary {

static_assert(Format::SectionCount == 7, "Index::m_sections holds every section");

using IndexFile::read32;

Index::Index() = default;

Index::Index(const QString &path)
    : m_file(path, Format::kind)
    , m_path(path)
{
    open();
}

Index::Index(QByteArrayView bytes)
    : m_file(bytes, Format::kind)
{
    open();
}

void Index::open()
{
    if (!m_file.isOpen())
        return;
    for (int s = 0; s < Format::SectionCount; ++s) {
        m_sections[s] = m_file.section(s);
        m_sectionSizes[s] = m_file.sectionSize(s);
    }
    if (quint64(m_file.entryCount()) * Format::entrySize != m_sectionSizes[Format::Entries]
        || m_sectionSizes[Format::Headwords] % Format::headwordSize
        || m_sectionSizes[Format::Words] % Format::wordSize || m_sectionSizes[Format::Postings] % 4
        || m_sectionSizes[Format::Pinyin] % Format::pinyinSize) {
        m_file.setDamaged(QStringLiteral("its tables do not fit their sections"));
        return;
    }
    m_countTotal = m_file.ownField(0);
    m_headwordCount = m_sectionSizes[Format::Headwords] / Format::headwordSize;
    m_wordCount = m_sectionSizes[Format::Words] / Format::wordSize;
    m_postingCount = m_sectionSizes[Format::Postings] / 4;
    m_pinyinCount = m_sectionSizes[Format::Pinyin] / Format::pinyinSize;
}

Index::~Index() = default;

quint32 Index::number(quint32 section, quint32 offset) const
{
    return read32(m_sections[section] + offset);
}

std::string_view Index::text(quint32 section, quint32 offset, quint32 length) const
{
    if (quint64(offset) + length > m_sectionSizes[section])
        return {};
    return {reinterpret_cast<const char *>(m_sections[section]) + offset, length};
}

Index::Record Index::record(quint32 entry) const
{
    if (entry >= entryCount())
        return {};
    const quint32 begin = number(Format::Entries, entry * Format::entrySize);
    const quint32 end = entry + 1 < entryCount()
        ? number(Format::Entries, (entry + 1) * Format::entrySize)
        : m_sectionSizes[Format::Records];
    if (begin > end)
        return {};
    std::string_view rest = text(Format::Records, begin, end - begin);
    std::string_view fields[3];
    for (std::string_view &field : fields) {
        const size_t tab = rest.find('\t');
        if (tab == std::string_view::npos)
            return {};
        field = rest.substr(0, tab);
        rest.remove_prefix(tab + 1);
    }
    return {fields[0], fields[1], fields[2], rest};
}

quint32 Index::count(quint32 entry) const
{
    return entry < entryCount() ? number(Format::Entries, entry * Format::entrySize + 4) : 0;
}

double Index::share(quint32 entry) const
{
    if (entry >= entryCount())
        return 1.0;
    const quint32 share = number(Format::Entries, entry * Format::entrySize + 8);
    return share == 0 || share > Format::wholeShare ? 1.0 : double(share) / Format::wholeShare;
}

Index::Row Index::row(quint32 section, quint32 rowSize, quint32 row) const
{
    const quint32 at = row * rowSize;
    const quint32 keySection = section == Format::Headwords ? Format::Records : Format::Keys;
    return {text(keySection, number(section, at), number(section, at + 4)),
            number(section, at + 8)};
}

Index::Row Index::headword(quint32 row) const
{
    return this->row(Format::Headwords, Format::headwordSize, row);
}

Index::Row Index::pinyin(quint32 row) const
{
    return this->row(Format::Pinyin, Format::pinyinSize, row);
}

Index::WordRow Index::word(quint32 row) const
{
    if (row >= m_wordCount)
        return {};
    const quint32 at = row * Format::wordSize;
    return {text(Format::Keys, number(Format::Words, at), number(Format::Words, at + 4)),
            number(Format::Words, at + 12)};
}

quint32 Index::Postings::at(quint32 i) const { return read32(data + 4 * i); }

Index::Postings Index::postings(std::string_view word) const
{
    quint32 low = 0;
    quint32 high = m_wordCount;
    while (low < high) {
        const quint32 middle = low + (high - low) / 2;
        const quint32 at = middle * Format::wordSize;
        const std::string_view key
            = text(Format::Keys, number(Format::Words, at), number(Format::Words, at + 4));
        const int order = key.compare(word);
        if (order == 0) {
            const quint32 first = number(Format::Words, at + 8);
            const quint32 count = number(Format::Words, at + 12);
            if (quint64(first) + count > m_postingCount)
                return {};
            return {m_sections[Format::Postings] + 4 * first, count,
                    number(Format::Words, at + 16)};
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return {};
}

} // namespace Dictionary
