#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>

#include <vector>

// Makes the stroke-order index (strokes/format.h) from the data's characters; only the build's
// tool uses it.
namespace Strokes {

struct SourceCharacter
{
    char32_t codePoint = 0;
    QList<QByteArray> outlines; // per stroke, an SVG path of M, L, Q, C and Z
    QList<QList<QPoint>> medians; // per stroke
    QList<int> radicalStrokes;
};

// Appends the commands of an SVG outline to a record, or returns false when the path holds
// anything else.
bool encodeOutline(const QByteArray &path, std::string &record);

// The index of the characters, in any order; empty with why set when one of them can't be kept.
QByteArray buildIndex(std::vector<SourceCharacter> characters, const QString &dataDate,
                      const QString &dataVersion, QString *why);

} // namespace Strokes
