#include "strokes/indexwriter.h"

#include "strokes/format.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Strokes {

namespace {

// The kind of segment an SVG command letter draws, -1 for M, Z and anything else.
int segmentOf(char letter)
{
    switch (letter) {
    case 'L': return Format::Line;
    case 'Q': return Format::Quad;
    case 'C': return Format::Cubic;
    default: return -1;
    }
}

bool isCommand(char letter)
{
    return segmentOf(letter) >= 0 || letter == 'M' || letter == 'Z';
}

// The path's letters and numbers, whether or not spaces part them ("M272 567" or "M 272 567").
QList<QByteArray> tokens(const QByteArray &path)
{
    QList<QByteArray> result;
    QByteArray number;
    const auto endNumber = [&] {
        if (!number.isEmpty())
            result.append(number);
        number.clear();
    };
    for (const char c : path) {
        if (isCommand(c)) {
            endNumber();
            result.append(QByteArray(1, c));
        } else if (c == ' ' || c == ',' || c == '\n' || c == '\t') {
            endNumber();
        } else if (c == '-' && !number.isEmpty()) {
            endNumber();
            number += c;
        } else {
            number += c;
        }
    }
    endNumber();
    return result;
}

void appendPoint(std::string &record, QPoint point, QPoint &last)
{
    Format::appendNumber(record, Format::zigzag(point.x() - last.x()));
    Format::appendNumber(record, Format::zigzag(point.y() - last.y()));
    last = point;
}

} // namespace

namespace {

bool readPoint(const QList<QByteArray> &parts, qsizetype at, QPoint &point)
{
    bool xOk = false, yOk = false;
    // The data's few fractions are rounded: a unit is a thousandth of the square.
    const double x = parts.at(at).toDouble(&xOk), y = parts.at(at + 1).toDouble(&yOk);
    if (!xOk || !yOk || std::abs(x) > Format::maxCoordinate || std::abs(y) > Format::maxCoordinate)
        return false;
    point = QPoint(int(std::lround(x)), int(std::lround(y)));
    return true;
}

} // namespace

bool encodeOutline(const QByteArray &path, std::string &record)
{
    // "M x y", segments, "Z": one closed contour, as every stroke of the data is.
    const QList<QByteArray> parts = tokens(path);
    QPoint start;
    if (parts.size() < 4 || parts.first() != "M" || parts.last() != "Z"
        || !readPoint(parts, 1, start))
        return false;
    std::vector<int> kinds;
    std::vector<QPoint> points;
    for (qsizetype i = 3; i < parts.size() - 1;) {
        const int kind = parts.at(i).size() == 1 ? segmentOf(parts.at(i).at(0)) : -1;
        if (kind < 0 || i + 1 + 2 * Format::pointsOf[kind] > parts.size() - 1)
            return false;
        kinds.push_back(kind);
        ++i;
        for (int p = 0; p < Format::pointsOf[kind]; ++p, i += 2) {
            if (!readPoint(parts, i, points.emplace_back()))
                return false;
        }
    }
    if (kinds.empty() || kinds.size() > Format::maxSegments)
        return false;
    Format::appendNumber(record, quint32(kinds.size()));
    for (size_t k = 0; k < kinds.size(); k += Format::kindsPerByte) {
        int byte = 0;
        for (size_t j = 0; j < Format::kindsPerByte && k + j < kinds.size(); ++j)
            byte |= kinds[k + j] << (2 * j);
        record += char(byte);
    }
    QPoint last;
    appendPoint(record, start, last);
    for (const QPoint point : points)
        appendPoint(record, point, last);
    return true;
}

namespace {

bool encodeCharacter(const SourceCharacter &character, std::string &record, QString *why)
{
    const auto strokes = quint32(character.outlines.size());
    if (strokes == 0 || strokes > Format::maxStrokes
        || character.medians.size() != character.outlines.size()) {
        *why = QStringLiteral("its strokes and medians do not match");
        return false;
    }
    Format::appendNumber(record, strokes);
    Format::appendNumber(record, quint32(character.radicalStrokes.size()));
    for (const int stroke : character.radicalStrokes) {
        if (stroke < 0 || quint32(stroke) >= strokes) {
            *why = QStringLiteral("a radical stroke it does not have");
            return false;
        }
        Format::appendNumber(record, quint32(stroke));
    }
    for (quint32 s = 0; s < strokes; ++s) {
        if (!encodeOutline(character.outlines.at(s), record)) {
            *why = QStringLiteral("an outline that is not one closed path of L, Q and C");
            return false;
        }
        const QList<QPoint> &median = character.medians.at(s);
        const auto outside = [](QPoint p) {
            return qAbs(p.x()) > Format::maxCoordinate || qAbs(p.y()) > Format::maxCoordinate;
        };
        if (median.isEmpty() || quint32(median.size()) > Format::maxMedianPoints
            || std::any_of(median.begin(), median.end(), outside)) {
            *why = QStringLiteral("a median without points");
            return false;
        }
        Format::appendNumber(record, quint32(median.size()));
        QPoint last;
        for (const QPoint point : median)
            appendPoint(record, point, last);
    }
    return true;
}

} // namespace

QByteArray buildIndex(std::vector<SourceCharacter> characters, const QString &dataDate,
                      const QString &dataVersion, QString *why)
{
    std::sort(characters.begin(), characters.end(),
              [](const SourceCharacter &a, const SourceCharacter &b) {
                  return a.codePoint < b.codePoint;
              });
    std::string records;
    std::vector<quint32> offsets;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (i > 0 && characters[i].codePoint == characters[i - 1].codePoint) {
            *why = QStringLiteral("U+%1 twice").arg(quint32(characters[i].codePoint), 4, 16);
            return {};
        }
        offsets.push_back(quint32(records.size()));
        QString reason;
        if (!encodeCharacter(characters[i], records, &reason)) {
            *why = QStringLiteral("U+%1: %2")
                       .arg(quint32(characters[i].codePoint), 4, 16, QLatin1Char('0'))
                       .arg(reason);
            return {};
        }
    }
    IndexFile::Writer writer(Format::kind);
    writer.beginSection(Format::Characters);
    for (size_t i = 0; i < characters.size(); ++i) {
        writer.add(quint32(characters[i].codePoint));
        writer.add(offsets[i]);
    }
    writer.endSection(Format::Characters);
    writer.beginSection(Format::Records);
    writer.append(records);
    writer.endSection(Format::Records);
    return writer.finish(quint32(characters.size()), dataDate, dataVersion);
}

} // namespace Strokes
