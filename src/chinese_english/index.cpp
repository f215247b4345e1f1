#include "chinese_english/index.h"

#include "chinese_english/indexformat.h"
#include "index_file/mappedindex.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace Dictionary {

static_assert(Format::SectionCount == 7, "Index::m_sections holds every section");

namespace {

quint32 read32(const uchar *at) { return qFromLittleEndian<quint32>(at); }

QString textField(const uchar *at)
{
    const char *text = reinterpret_cast<const char *>(at);
    return QString::fromLatin1(text, int(strnlen(text, Format::textFieldSize)));
}

} // namespace

Index::Index() = default;

Index::Index(const QString &path)
    : m_path(path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("The dictionary's index %1 cannot be read: %2")
                      .arg(path, file->errorString());
        return;
    }
    const qint64 size = file->size();
    // An empty file cannot be mapped; the check below says what is wrong with it.
    const uchar *data = size > 0 ? file->map(0, size) : nullptr;
    IndexFile::readInPlaces(data, size);
    if (size > 0 && !data) {
        m_error = QStringLiteral("The dictionary's index %1 cannot be mapped: %2")
                      .arg(path, file->errorString());
        return;
    }
    open(data, size, path);
    if (isOpen())
        m_file = std::move(file);
}

Index::Index(QByteArrayView bytes)
{
    open(reinterpret_cast<const uchar *>(bytes.data()), bytes.size(), QStringLiteral("in memory"));
}

void Index::open(const uchar *data, qint64 size, const QString &name)
{
    auto damaged = [&](const QString &why) {
        m_error = QStringLiteral("The dictionary's index %1 is damaged: %2").arg(name, why);
    };
    if (size < Format::headerSize) {
        damaged(size == 0 ? QStringLiteral("it is empty")
                          : QStringLiteral("it is too short for its header"));
        return;
    }
    if (size > qint64(0xFFFFFFFFu)) {
        damaged(QStringLiteral("it is larger than an index can be"));
        return;
    }
    if (std::memcmp(data + Format::MagicAt, Format::magic, sizeof Format::magic) != 0) {
        m_error = QStringLiteral("%1 is not a dictionary index of this program").arg(name);
        return;
    }
    const quint32 version = read32(data + Format::VersionAt);
    if (version != Format::version) {
        m_error = QStringLiteral("The dictionary's index %1 has version %2; this program reads "
                                 "version %3")
                      .arg(name)
                      .arg(version)
                      .arg(Format::version);
        return;
    }
    if (read32(data + Format::FileSizeAt) != quint64(size)) {
        damaged(QStringLiteral("it has %1 bytes instead of %2")
                    .arg(size)
                    .arg(read32(data + Format::FileSizeAt)));
        return;
    }
    for (int s = 0; s < Format::SectionCount; ++s) {
        const quint32 offset = read32(data + Format::SectionsAt + 8 * s);
        const quint32 length = read32(data + Format::SectionsAt + 8 * s + 4);
        if (offset < quint32(Format::headerSize) || offset % 4
            || quint64(offset) + length > quint64(size)) {
            damaged(QStringLiteral("section %1 lies outside the file").arg(s));
            return;
        }
        m_sections[s][0] = offset;
        m_sections[s][1] = length;
    }
    // Counted only once the tables check out, so that a damaged index has no entries.
    const quint32 entryCount = read32(data + Format::EntryCountAt);
    if (quint64(entryCount) * Format::entrySize != m_sections[Format::Entries][1]
        || m_sections[Format::Headwords][1] % Format::headwordSize
        || m_sections[Format::Words][1] % Format::wordSize || m_sections[Format::Postings][1] % 4
        || m_sections[Format::Pinyin][1] % Format::pinyinSize) {
        damaged(QStringLiteral("its tables do not fit their sections"));
        return;
    }
    m_entryCount = entryCount;
    m_countTotal = read32(data + Format::CountTotalAt);
    m_headwordCount = m_sections[Format::Headwords][1] / Format::headwordSize;
    m_wordCount = m_sections[Format::Words][1] / Format::wordSize;
    m_postingCount = m_sections[Format::Postings][1] / 4;
    m_pinyinCount = m_sections[Format::Pinyin][1] / Format::pinyinSize;
    m_dataDate = textField(data + Format::DataDateAt);
    m_dataVersion = textField(data + Format::DataVersionAt);
    m_data = data;
}

Index::~Index() = default;

quint32 Index::number(quint32 section, quint32 offset) const
{
    return read32(m_data + m_sections[section][0] + offset);
}

std::string_view Index::text(quint32 section, quint32 offset, quint32 length) const
{
    if (quint64(offset) + length > m_sections[section][1])
        return {};
    return {reinterpret_cast<const char *>(m_data) + m_sections[section][0] + offset, length};
}

Index::Record Index::record(quint32 entry) const
{
    if (entry >= m_entryCount)
        return {};
    const quint32 begin = number(Format::Entries, entry * Format::entrySize);
    const quint32 end = entry + 1 < m_entryCount
        ? number(Format::Entries, (entry + 1) * Format::entrySize)
        : m_sections[Format::Records][1];
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
    return entry < m_entryCount ? number(Format::Entries, entry * Format::entrySize + 4) : 0;
}

double Index::share(quint32 entry) const
{
    if (entry >= m_entryCount)
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
            return {m_data + m_sections[Format::Postings][0] + 4 * first, count,
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
