#pragma once

#include "index_file/mappedindex.h"

#include <QString>

#include <string_view>
#include <utility>

namespace EnglishChinese {

// The English-Chinese dictionary's index, mapped read-only while the object lives. Opening
// checks the header; a row that points outside its section reads as empty, so a damaged file
// gives wrong answers at worst, never a crash.
class Index
{
public:
    Index() = default;
    explicit Index(const QString &path);
    // An index that lies in memory, checked as a file's would be; the bytes must stay where they
    // are while the object lives.
    explicit Index(QByteArrayView bytes);

    bool isOpen() const { return m_file.isOpen(); }
    QString errorString() const { return m_file.errorString(); }
    QString dataDate() const { return m_file.dataDate(); }
    QString dataVersion() const { return m_file.dataVersion(); }
    quint32 entryCount() const { return m_file.entryCount(); }

    struct Record
    {
        std::string_view word, phonetic, translation, definition, forms, base, baseKind;
        quint32 marks = 0;
        quint32 bnc = 0; // rank in the British National Corpus, 0 when it has none
        quint32 frq = 0; // rank in a contemporary corpus, 0 when it has none
    };
    Record record(quint32 entry) const;

    // The entries [first, last) whose headword has the key of word (Format::key).
    std::pair<quint32, quint32> find(std::string_view word) const;

private:
    void checkTables();
    std::string_view word(quint32 entry) const;

    IndexFile::Mapped m_file;
};

} // namespace EnglishChinese
