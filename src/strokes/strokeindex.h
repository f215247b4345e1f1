#pragma once

#include "index_file/mappedindex.h"

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QString>

// The stroke order of characters, read from the stroke-order index (strokes/format.h). The
// outlines and medians lie in a square of 1024 units, y downwards, the character's top at 0.
namespace Strokes {

inline constexpr qreal emSize = 1024;

struct Stroke
{
    QPainterPath outline; // filled, winding
    QList<QPointF> median; // from where the brush starts to where it ends
};

struct Character
{
    char32_t codePoint = 0;
    QList<Stroke> strokes; // in the order they are written
    QList<int> radicalStrokes; // numbers of strokes, from 0, that make the radical

    bool isEmpty() const { return strokes.isEmpty(); }
    int strokeCount() const { return int(strokes.size()); }
    bool isRadical(int stroke) const { return radicalStrokes.contains(stroke); }
};

// The index, mapped read-only while the object lives. A record that is damaged reads as no data,
// never past its section.
class Index
{
public:
    static constexpr const char *description = "stroke-order index";
    static constexpr const char *fileName = "strokes.idx";

    Index() = default;
    explicit Index(const QString &path);
    // An index that lies in memory, checked as a file's would be; the bytes must stay where they
    // are while the object lives.
    explicit Index(QByteArrayView bytes);

    bool isOpen() const { return m_file.isOpen(); }
    QString errorString() const { return m_file.errorString(); }
    QString dataVersion() const { return m_file.dataVersion(); }
    quint32 entryCount() const { return m_file.entryCount(); }

    // The code point of the entry'th character, in their order; 0 past the last.
    char32_t codePoint(quint32 entry) const;
    // The character's strokes, empty when it has none or its record is damaged.
    Character character(char32_t codePoint) const;
    // Its stroke count without reading its outlines, 0 when it has no data.
    int strokeCount(char32_t codePoint) const;

private:
    void checkTables();
    // The bytes of the character's record, empty when it has none.
    QByteArrayView record(char32_t codePoint) const;

    IndexFile::Mapped m_file;
};

// The index where the program keeps it: beside the program, or in the installed data folder.
// Opened on first use and kept; the GUI thread's alone.
const Index &installedIndex();
// Another file for installedIndex() (tests and benchmarks); empty goes back to the program's.
void setIndexPath(const QString &path);

// The character's code point when text is one character, else 0.
char32_t singleCharacter(QStringView text);

} // namespace Strokes
