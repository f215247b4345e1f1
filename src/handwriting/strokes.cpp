#include "strokes.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <cmath>

namespace Handwriting {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Handwriting", text);
}

// Keeps every point that moved at least a pixel from the last kept, then spreads the points
// evenly over the stroke's indices when there are still too many.
Stroke decimated(const Stroke &stroke)
{
    Stroke moved;
    moved.reserve(std::min<size_t>(stroke.size(), 4096));
    for (const QPointF &raw : stroke) {
        if (!std::isfinite(raw.x()) || !std::isfinite(raw.y()))
            continue;
        const QPointF point(std::clamp(raw.x(), 0.0, BoxSize), std::clamp(raw.y(), 0.0, BoxSize));
        if (!moved.empty() && std::abs(point.x() - moved.back().x()) < 1
            && std::abs(point.y() - moved.back().y()) < 1)
            continue;
        moved.push_back(point);
    }
    if (moved.size() == 1) { // a dot: the recogniser needs a direction, inside the box
        const QPointF dot = moved.front();
        moved.push_back(dot
                        + QPointF(dot.x() < BoxSize - 1 ? 1 : -1, dot.y() < BoxSize - 1 ? 1 : -1));
    }
    if (moved.size() <= size_t(MaxStrokePoints))
        return moved;
    Stroke kept;
    kept.reserve(MaxStrokePoints);
    const double step = double(moved.size() - 1) / (MaxStrokePoints - 1);
    for (int i = 0; i < MaxStrokePoints; ++i)
        kept.push_back(moved[std::min(moved.size() - 1, size_t(std::lround(i * step)))]);
    return kept;
}

} // namespace

Reading readDrawing(QByteArrayView json)
{
    Reading reading;
    if (json.size() > MaxDrawingBytes) {
        reading.error = tr("The drawing is too large.");
        return reading;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        reading.error = tr("Not JSON: %1.").arg(parseError.errorString());
        return reading;
    }
    if (!document.isArray()) {
        reading.error = tr("A drawing is an array of strokes.");
        return reading;
    }
    const QJsonArray strokes = document.array();
    reading.drawing.reserve(size_t(std::min<qsizetype>(strokes.size(), MaxStrokes)));
    for (const QJsonValue &strokeValue : strokes) {
        if (!strokeValue.isArray()) {
            reading.error = tr("A stroke is an array of [x, y] points.");
            break;
        }
        Stroke stroke;
        for (const QJsonValue &pointValue : strokeValue.toArray()) {
            const QJsonArray pair = pointValue.toArray();
            if (!pointValue.isArray() || pair.size() != 2 || !pair[0].isDouble()
                || !pair[1].isDouble()) {
                reading.error = tr("A point is an array of two numbers, [x, y].");
                break;
            }
            stroke.emplace_back(pair[0].toDouble(), pair[1].toDouble());
        }
        if (!reading.error.isEmpty())
            break;
        reading.drawing.push_back(std::move(stroke));
    }
    if (!reading.error.isEmpty())
        reading.drawing.clear();
    return reading;
}

Drawing normalised(const Drawing &drawing)
{
    Drawing result;
    for (const Stroke &stroke : drawing) {
        if (result.size() >= size_t(MaxStrokes))
            break;
        Stroke kept = decimated(stroke);
        if (!kept.empty())
            result.push_back(std::move(kept));
    }
    return result;
}

} // namespace Handwriting
