#include "index_file/mappedindex.h"

#include <QFile>
#include <QtEndian>

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

Mapped::Mapped(const QString &path, const Kind &kind)
    : m_path(path)
    , m_name(QString::fromUtf8(kind.name))
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("The %1 %2 cannot be read: %3").arg(m_name, path, file->errorString());
        return;
    }
    const qint64 size = file->size();
    const int header = headerSize(kind.sectionCount);
    if (size < header) {
        setDamaged(size == 0 ? QStringLiteral("it is empty")
                             : QStringLiteral("it is too short for its header"));
        return;
    }
    if (size > qint64(0xFFFFFFFFu)) {
        setDamaged(QStringLiteral("it is larger than an index can be"));
        return;
    }
    const uchar *data = file->map(0, size);
    if (!data) {
        m_error = QStringLiteral("The %1 %2 cannot be mapped: %3").arg(m_name, path, file->errorString());
        return;
    }
    if (std::memcmp(data + MagicAt, kind.magic, 8) != 0) {
        m_error = QStringLiteral("%1 is not %2 of this program")
                      .arg(path, QString::fromUtf8(kind.noun));
        return;
    }
    const quint32 version = read32(data + VersionAt);
    if (version != kind.version) {
        m_error = QStringLiteral("The %1 %2 has version %3; this program reads version %4")
                      .arg(m_name, path)
                      .arg(version)
                      .arg(kind.version);
        return;
    }
    if (read32(data + FileSizeAt) != quint64(size)) {
        setDamaged(QStringLiteral("it has %1 bytes instead of %2").arg(size).arg(read32(data + FileSizeAt)));
        return;
    }
    auto sections = std::make_unique<quint32[]>(size_t(2 * kind.sectionCount));
    for (int s = 0; s < kind.sectionCount; ++s) {
        const quint32 offset = read32(data + SectionsAt + 8 * s);
        const quint32 length = read32(data + SectionsAt + 8 * s + 4);
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
    m_file = std::move(file);
    m_data = data;
}

Mapped::~Mapped() = default;

void Mapped::setDamaged(const QString &why)
{
    m_error = QStringLiteral("The %1 %2 is damaged: %3").arg(m_name, m_path, why);
    m_data = nullptr;
    m_file.reset();
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

} // namespace IndexFile
