#include "strokes/strokeindex.h"

#include "lookup/indexfiles.h"
#include "strokes/format.h"

#include <memory>
#include <vector>

namespace Strokes {

namespace {

// The numbers of a record, read from its start; past its end, or on a number too long to be
// one, every read gives 0 and ok() turns false for good.
class Cursor
{
public:
    explicit Cursor(QByteArrayView bytes)
        : m_at(reinterpret_cast<const uchar *>(bytes.data()))
        , m_end(m_at + bytes.size())
    { }

    bool ok() const { return m_ok; }
    qsizetype left() const { return m_end - m_at; }

    quint32 number()
    {
        quint32 value = 0;
        for (int shift = 0; m_ok && shift < 35; shift += 7) {
            if (m_at == m_end)
                break;
            const uchar byte = *m_at++;
            value |= quint32(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
        m_ok = false;
        return 0;
    }

    // One byte as it is, 0 past the end.
    quint32 byte()
    {
        if (m_at == m_end)
            m_ok = false;
        return m_ok ? *m_at++ : 0;
    }

    // A count of things that take at least one byte each, up to most.
    quint32 count(quint32 most)
    {
        const quint32 value = number();
        if (value > most || qsizetype(value) > left())
            m_ok = false;
        return m_ok ? value : 0;
    }

    // The next point of a path or median, from the one before; a step that leaves the range of
    // the data's coordinates is damage.
    QPointF point(QPoint &last)
    {
        const qint64 x = qint64(last.x()) + Format::unzigzag(number());
        const qint64 y = qint64(last.y()) + Format::unzigzag(number());
        if (qAbs(x) > Format::maxCoordinate || qAbs(y) > Format::maxCoordinate)
            m_ok = false;
        if (!m_ok)
            return {};
        last = QPoint(int(x), int(y));
        return QPointF(last.x(), Format::ascent - last.y());
    }

private:
    const uchar *m_at;
    const uchar *m_end;
    bool m_ok = true;
};

QPainterPath readOutline(Cursor &cursor)
{
    const quint32 segments = cursor.count(Format::maxSegments);
    std::vector<quint8> kinds;
    kinds.reserve(segments);
    for (quint32 k = 0; k < segments; k += Format::kindsPerByte) {
        const quint32 byte = cursor.byte();
        for (quint32 j = 0; j < Format::kindsPerByte && k + j < segments; ++j)
            kinds.push_back(quint8((byte >> (2 * j)) & 3));
    }
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    QPoint last;
    path.moveTo(cursor.point(last));
    for (const quint8 kind : kinds) {
        if (kind >= Format::SegmentKinds || !cursor.ok())
            return {};
        QPointF p[3];
        for (int i = 0; i < Format::pointsOf[kind]; ++i)
            p[i] = cursor.point(last);
        switch (kind) {
        case Format::Line: path.lineTo(p[0]); break;
        case Format::Quad: path.quadTo(p[0], p[1]); break;
        default: path.cubicTo(p[0], p[1], p[2]); break;
        }
    }
    path.closeSubpath();
    return cursor.ok() && segments > 0 ? path : QPainterPath();
}

Character readCharacter(char32_t codePoint, QByteArrayView record)
{
    Cursor cursor(record);
    Character character;
    character.codePoint = codePoint;
    const quint32 strokes = cursor.count(Format::maxStrokes);
    const quint32 radical = cursor.count(strokes);
    for (quint32 r = 0; r < radical; ++r) {
        const quint32 stroke = cursor.number();
        if (stroke >= strokes)
            return {};
        character.radicalStrokes.append(int(stroke));
    }
    for (quint32 s = 0; s < strokes && cursor.ok(); ++s) {
        Stroke stroke;
        stroke.outline = readOutline(cursor);
        const quint32 points = cursor.count(Format::maxMedianPoints);
        QPoint last;
        for (quint32 p = 0; p < points; ++p)
            stroke.median.append(cursor.point(last));
        if (stroke.outline.isEmpty() || stroke.median.isEmpty())
            return {};
        character.strokes.append(stroke);
    }
    if (!cursor.ok() || character.strokes.isEmpty())
        return {};
    return character;
}

} // namespace

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
        && quint64(m_file.entryCount()) * Format::entrySize
               != m_file.sectionSize(Format::Characters))
        m_file.setDamaged(QStringLiteral("its tables do not fit their sections"));
}

QByteArrayView Index::record(char32_t codePoint) const
{
    if (!isOpen())
        return {};
    quint32 low = 0, high = entryCount();
    while (low < high) {
        const quint32 middle = low + (high - low) / 2;
        if (m_file.number(Format::Characters, middle * Format::entrySize) < codePoint)
            low = middle + 1;
        else
            high = middle;
    }
    const quint32 at = low * Format::entrySize;
    if (low == entryCount() || m_file.number(Format::Characters, at) != codePoint)
        return {};
    const quint32 size = m_file.sectionSize(Format::Records);
    const quint32 begin = m_file.number(Format::Characters, at + 4);
    const quint32 end = low + 1 < entryCount()
        ? m_file.number(Format::Characters, at + Format::entrySize + 4)
        : size;
    if (begin >= end || end > size)
        return {};
    const std::string_view bytes = m_file.text(Format::Records, begin, end - begin);
    return QByteArrayView(bytes.data(), qsizetype(bytes.size()));
}

char32_t Index::codePoint(quint32 entry) const
{
    return isOpen() && entry < entryCount()
        ? char32_t(m_file.number(Format::Characters, entry * Format::entrySize))
        : 0;
}

Character Index::character(char32_t codePoint) const
{
    const QByteArrayView bytes = record(codePoint);
    return bytes.isEmpty() ? Character() : readCharacter(codePoint, bytes);
}

int Index::strokeCount(char32_t codePoint) const
{
    Cursor cursor(record(codePoint));
    const quint32 strokes = cursor.count(Format::maxStrokes);
    return cursor.ok() ? int(strokes) : 0;
}

namespace {

struct Installed
{
    QString path;
    std::unique_ptr<Index> index;
};

Installed &installed()
{
    static Installed instance;
    return instance;
}

} // namespace

const Index &installedIndex()
{
    Installed &kept = installed();
    if (!kept.index)
        kept.index = std::make_unique<Index>(
            kept.path.isEmpty() ? Dictionary::foundIndexFile(QLatin1String(Index::fileName))
                                : kept.path);
    return *kept.index;
}

void setIndexPath(const QString &path)
{
    installed().path = path;
    installed().index.reset();
}

char32_t singleCharacter(QStringView text)
{
    const QList<uint> codePoints = text.toUcs4();
    return codePoints.size() == 1 ? char32_t(codePoints.at(0)) : 0;
}

} // namespace Strokes
