#include "strokes/indexwriter.h"

#include "strokes/format.h"

#include <algorithm>
#include <cmath>

namespace Strokes {

namespace {

int commandOf(char letter)
{
    switch (letter) {
    case 'M': return Format::Move;
    case 'L': return Format::Line;
    case 'Q': return Format::Quad;
    case 'C': return Format::Cubic;
    case 'Z': return Format::Close;
    default: return -1;
    }
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
        if (commandOf(c) >= 0) {
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

bool encodeOutline(const QByteArray &path, std::string &record)
{
    const QList<QByteArray> parts = tokens(path);
    std::string body; // each command and its points
    quint32 count = 0;
    QPoint last;
    for (qsizetype i = 0; i < parts.size();) {
        const int command = parts.at(i).size() == 1 ? commandOf(parts.at(i).at(0)) : -1;
        if (command < 0 || i + 1 + 2 * Format::pointsOf[command] > parts.size())
            return false;
        body += char(command);
        ++i;
        for (int p = 0; p < Format::pointsOf[command]; ++p, i += 2) {
            bool xOk = false, yOk = false;
            // The data's few fractions are rounded: a unit is a thousandth of the square.
            const double x = parts.at(i).toDouble(&xOk), y = parts.at(i + 1).toDouble(&yOk);
            if (!xOk || !yOk || std::abs(x) > Format::maxCoordinate || std::abs(y) > Format::maxCoordinate)
                return false;
            appendPoint(body, QPoint(int(std::lround(x)), int(std::lround(y))), last);
        }
        ++count;
    }
    if (count == 0 || count > Format::maxCommands)
        return false;
    Format::appendNumber(record, count);
    record += body;
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
            *why = QStringLiteral("an outline that is not a path of M, L, Q, C and Z");
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
