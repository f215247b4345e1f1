#include "index_file/mappedindex.h"

#include <QFile>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstring>

namespace IndexFile {

namespace {

QString textField(const uchar *at)
{
    const char *text = reinterpret_cast<const char *>(at);
    return QString::fromLatin1(text, int(strnlen(text, textFieldSize)));
}

} // namespace

quint32 read32(const uchar *at) { return qFromLittleEndian<quint32>(at); }

void readInPlaces(const uchar *data, qint64 size)
{
#ifdef Q_OS_UNIX
    // A lookup reads a few rows and records scattered over the file. Without this the system
    // maps 64 KiB around each page read, and every lookup of a new word added about as much to
    // the program's memory.
    if (data)
        madvise(const_cast<uchar *>(data), size_t(size), MADV_RANDOM);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

Mapped::Mapped(const QString &path, const Kind &kind)
    : m_path(path)
    , m_name(QString::fromUtf8(kind.name))
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        m_error
            = QStringLiteral("The %1 %2 cannot be read: %3").arg(m_name, path, file->errorString());
        return;
    }
    const qint64 size = file->size();
    // An empty file cannot be mapped; the checks say what is wrong with it.
    const uchar *data = size > 0 ? file->map(0, size) : nullptr;
    if (size > 0 && !data) {
        m_error = QStringLiteral("The %1 %2 cannot be mapped: %3")
                      .arg(m_name, path, file->errorString());
        return;
    }
    readInPlaces(data, size);
    open(data, size, kind);
    if (isOpen())
        m_file = std::move(file);
}

Mapped::Mapped(QByteArrayView bytes, const Kind &kind)
    : m_path(QStringLiteral("in memory"))
    , m_name(QString::fromUtf8(kind.name))
{
    open(reinterpret_cast<const uchar *>(bytes.data()), bytes.size(), kind);
}

void Mapped::open(const uchar *data, qint64 size, const Kind &kind)
{
    const int header = headerSize(kind.sectionCount, kind.ownFields);
    const int sectionTable = sectionsAt(kind.ownFields);
    if (size < header) {
        setDamaged(size == 0 ? QStringLiteral("it is empty")
                             : QStringLiteral("it is too short for its header"));
        return;
    }
    if (size > qint64(0xFFFFFFFFu)) {
        setDamaged(QStringLiteral("it is larger than an index can be"));
        return;
    }
    if (std::memcmp(data + MagicAt, kind.magic, 8) != 0) {
        m_error = QStringLiteral("%1 is not %2 of this program")
                      .arg(m_path, QString::fromUtf8(kind.noun));
        return;
    }
    const quint32 version = read32(data + VersionAt);
    if (version != kind.version) {
        m_error = QStringLiteral("The %1 %2 has version %3; this program reads version %4")
                      .arg(m_name, m_path)
                      .arg(version)
                      .arg(kind.version);
        return;
    }
    if (read32(data + FileSizeAt) != quint64(size)) {
        setDamaged(QStringLiteral("it has %1 bytes instead of %2")
                       .arg(size)
                       .arg(read32(data + FileSizeAt)));
        return;
    }
    auto sections = std::make_unique<quint32[]>(size_t(2 * kind.sectionCount));
    for (int s = 0; s < kind.sectionCount; ++s) {
        const quint32 offset = read32(data + sectionTable + 8 * s);
        const quint32 length = read32(data + sectionTable + 8 * s + 4);
        if (offset < quint32(header) || offset % 4 || quint64(offset) + length > quint64(size)) {
            setDamaged(QStringLiteral("section %1 lies outside the file").arg(s));
            return;
        }
        sections[2 * s] = offset;
        sections[2 * s + 1] = length;
    }
    m_entryCount = read32(data + EntryCountAt);
    m_dataDate = textField(data + DataDateAt);
    m_dataVersion = textField(data + DataVersionAt);
    m_sections = std::move(sections);
    m_sectionCount = kind.sectionCount;
    m_data = data;
}

Mapped::~Mapped() = default;

quint32 Mapped::ownField(int field) const
{
    return m_data ? read32(m_data + OwnFieldsAt + 4 * field) : 0;
}

void Mapped::setDamaged(const QString &why)
{
    m_error = QStringLiteral("The %1 %2 is damaged: %3").arg(m_name, m_path, why);
    // Nothing of a damaged file is read, not even how many entries its header claims: a caller
    // going through them would go through billions.
    m_data = nullptr;
    m_file.reset();
    m_entryCount = 0;
    m_sections.reset();
    m_sectionCount = 0;
}

quint32 Mapped::sectionSize(int section) const
{
    return section < m_sectionCount ? m_sections[2 * section + 1] : 0;
}

const uchar *Mapped::section(int section) const
{
    return section < m_sectionCount ? m_data + m_sections[2 * section] : nullptr;
}

quint32 Mapped::number(int section, quint32 offset) const
{
    if (section >= m_sectionCount || quint64(offset) + 4 > m_sections[2 * section + 1])
        return 0;
    return read32(m_data + m_sections[2 * section] + offset);
}

std::string_view Mapped::text(int section, quint32 offset, quint32 length) const
{
    if (section >= m_sectionCount || quint64(offset) + length > m_sections[2 * section + 1])
        return {};
    return {reinterpret_cast<const char *>(m_data) + m_sections[2 * section] + offset, length};
}

Writer::Writer(const Kind &kind)
    : m_kind(kind)
    , m_sections(size_t(2 * kind.sectionCount))
{
    m_data.fill('\0', headerSize(kind.sectionCount, kind.ownFields));
    pad();
}

void Writer::add(quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_data.append(bytes, 4);
}

void Writer::append(std::string_view bytes)
{
    m_data.append(bytes.data(), qsizetype(bytes.size()));
}

void Writer::pad()
{
    while (m_data.size() % 4)
        m_data.append('\0');
}

void Writer::beginSection(int section) { m_sections[size_t(2 * section)] = quint32(m_data.size()); }

void Writer::endSection(int section)
{
    m_sections[size_t(2 * section + 1)] = quint32(m_data.size()) - m_sections[size_t(2 * section)];
    pad();
}

void Writer::setOwnField(int field, quint32 value)
{
    qToLittleEndian(value, m_data.data() + OwnFieldsAt + 4 * field);
}

QByteArray Writer::finish(quint32 entryCount, const QString &dataDate, const QString &dataVersion)
{
    char *header = m_data.data();
    std::memcpy(header + MagicAt, m_kind.magic, 8);
    qToLittleEndian(m_kind.version, header + VersionAt);
    qToLittleEndian(quint32(m_data.size()), header + FileSizeAt);
    qToLittleEndian(entryCount, header + EntryCountAt);
    const QByteArray date = dataDate.toLatin1().left(textFieldSize - 1);
    const QByteArray version = dataVersion.toLatin1().left(textFieldSize - 1);
    std::copy(date.begin(), date.end(), header + DataDateAt);
    std::copy(version.begin(), version.end(), header + DataVersionAt);
    for (int s = 0; s < m_kind.sectionCount; ++s) {
        qToLittleEndian(m_sections[size_t(2 * s)], header + sectionsAt(m_kind.ownFields) + 8 * s);
        qToLittleEndian(m_sections[size_t(2 * s + 1)],
                        header + sectionsAt(m_kind.ownFields) + 8 * s + 4);
    }
    return std::move(m_data);
}

} // namespace IndexFile
