#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <string_view>
#include <vector>

class QFile;

// The family of index files the program maps: a header of magic, version, file size, entry
// count, the data's date and version, numbers of the kind's own and a table of sections, then
// the sections. Every number is
// a little-endian quint32 and every section starts on a multiple of four, so that the file is
// read in place. One class opens any of them and checks the header; what the sections hold is
// each index's own.
namespace IndexFile {

inline constexpr int textFieldSize = 16; // NUL-padded ASCII

enum Field : int {
    MagicAt = 0,
    VersionAt = 8,
    FileSizeAt = 12,
    EntryCountAt = 16,
    DataDateAt = 20,
    DataVersionAt = 36,
    OwnFieldsAt = 52, // the numbers of a kind's own, if it has any; then the section table
};

inline constexpr int sectionsAt(int ownFields) { return OwnFieldsAt + ownFields * 4; }
inline constexpr int headerSize(int sectionCount, int ownFields = 0)
{
    return sectionsAt(ownFields) + sectionCount * 8;
}

// What tells one kind of index from another.
struct Kind
{
    const char *magic; // 8 bytes
    quint32 version;
    int sectionCount;
    const char *name; // for messages: "dictionary's index"
    const char *noun; // "a dictionary index", as in "... is not a dictionary index of this program"
    int ownFields = 0; // numbers of its own in the header, before the section table
};

quint32 read32(const uchar *at);

// Tells the system that the mapped file at data is read here and there, not from start to end.
void readInPlaces(const uchar *data, qint64 size);

class Mapped
{
public:
    Mapped() = default;
    // Maps path read-only and checks its header against kind; errorString() says what failed.
    Mapped(const QString &path, const Kind &kind);
    // Checks bytes that lie in memory as a file's would be; they must stay where they are while
    // the object lives.
    Mapped(QByteArrayView bytes, const Kind &kind);
    ~Mapped();
    Mapped(const Mapped &) = delete;
    Mapped &operator=(const Mapped &) = delete;

    bool isOpen() const { return m_data != nullptr; }
    QString errorString() const { return m_error; }
    QString dataDate() const { return m_dataDate; }
    QString dataVersion() const { return m_dataVersion; }
    quint32 entryCount() const { return m_entryCount; }
    // The header's number of the kind's own at field, 0 when the file is not open.
    quint32 ownField(int field) const;

    quint32 sectionSize(int section) const;
    const uchar *section(int section) const;
    // The number at offset in section, 0 outside it.
    quint32 number(int section, quint32 offset) const;
    // length bytes at offset in section, empty when they are not all inside it.
    std::string_view text(int section, quint32 offset, quint32 length) const;

    // Marks the file as damaged after a check of the index's own (its tables against their
    // sections), with the same words as the header's checks.
    void setDamaged(const QString &why);

private:
    void open(const uchar *data, qint64 size, const Kind &kind);

    std::unique_ptr<QFile> m_file;
    const uchar *m_data = nullptr;
    QString m_path;
    QString m_name;
    QString m_error;
    QString m_dataDate;
    QString m_dataVersion;
    quint32 m_entryCount = 0;
    std::unique_ptr<quint32[]> m_sections; // offset, length for each
    int m_sectionCount = 0;
};

// Writes an index of a kind: the sections one after the other, then the header over the space
// kept for it.
class Writer
{
public:
    explicit Writer(const Kind &kind);

    void add(quint32 value);
    void append(std::string_view bytes);
    void beginSection(int section);
    void endSection(int section);
    QByteArray &data() { return m_data; }
    // Sets the header's number of the kind's own at field.
    void setOwnField(int field, quint32 value);

    // The file, with its header written.
    QByteArray finish(quint32 entryCount, const QString &dataDate, const QString &dataVersion);

private:
    void pad();

    Kind m_kind;
    QByteArray m_data;
    std::vector<quint32> m_sections; // offset, length for each
};

} // namespace IndexFile
