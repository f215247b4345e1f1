#pragma once

#include "index_file/mappedindex.h"

#include <QByteArrayView>
#include <QString>

#include <string_view>

namespace Dictionary {

// The Chinese-English dictionary's index file, mapped read-only while the object lives, through
// the family's reader, which checks the header (magic, version, size, sections); rows that point outside their section read as empty, so a damaged
// file gives wrong answers at worst, never a crash.
class Index
{
public:
    static constexpr const char *description = "dictionary's index";

    Index();
    explicit Index(const QString &path);
    // An index that lies in memory, checked as a file's would be; the bytes must stay where they
    // are while the object lives.
    explicit Index(QByteArrayView bytes);
    ~Index();
    Index(const Index &) = delete;
    Index &operator=(const Index &) = delete;

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_path; }
    QString errorString() const { return m_file.errorString(); }
    QString dataDate() const { return m_file.dataDate(); } // "2026-01-04"
    QString dataVersion() const { return m_file.dataVersion(); } // of the cc-cedict package, "1.1.1"

    // The tables, for the lookup.
    struct Record
    {
        std::string_view traditional, simplified, pinyin, senses; // senses: one a line
    };
    struct Row
    {
        std::string_view key;
        quint32 entry = 0;
    };
    struct Postings
    {
        const uchar *data = nullptr;
        quint32 count = 0;
        // The count of the commonest entry, not a name, with an unlabelled sense that equals
        // the word or starts with it; 0 when there is none.
        quint32 everyday = 0;
        quint32 at(quint32 i) const;
    };

    quint32 entryCount() const { return m_file.entryCount(); }
    Record record(quint32 entry) const;
    // How often the entry's headword (its simplified form) occurs in the word list's corpus;
    // 0 when the list lacks it.
    quint32 count(quint32 entry) const;
    // The entry's share of the senses of all the entries with its simplified headword, 0 to 1:
    // of the count of 的, de (five senses) takes the most, dí "really and truly" little.
    double share(quint32 entry) const;
    // The sum of every count of the word list, for the words' relative frequencies.
    quint32 countTotal() const { return m_countTotal; }
    quint32 headwordCount() const { return m_headwordCount; }
    Row headword(quint32 row) const;
    quint32 pinyinCount() const { return m_pinyinCount; }
    Row pinyin(quint32 row) const;
    // The English words of the senses, sorted, each with how many entries use it.
    struct WordRow
    {
        std::string_view key;
        quint32 postingCount = 0;
    };
    quint32 wordCount() const { return m_wordCount; }
    WordRow word(quint32 row) const;
    // The entries whose senses use word (lower case), best first as the answer to that word.
    Postings postings(std::string_view word) const;

private:
    // Checks the tables against their sections, once the header has checked out.
    void open();
    std::string_view text(quint32 section, quint32 offset, quint32 length) const;
    quint32 number(quint32 section, quint32 offset) const;
    Row row(quint32 section, quint32 rowSize, quint32 row) const;

    IndexFile::Mapped m_file;
    QString m_path;
    const uchar *m_sections[7] = {};
    quint32 m_sectionSizes[7] = {};
    quint32 m_countTotal = 0;
    quint32 m_headwordCount = 0;
    quint32 m_wordCount = 0;
    quint32 m_postingCount = 0;
    quint32 m_pinyinCount = 0;
};

} // namespace Dictionary
