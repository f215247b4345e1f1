#pragma once

#include <QByteArrayView>
#include <QPointF>
#include <QString>

#include <vector>

// A drawing as the pad and the terminal mode hand it to the recogniser: strokes of points in a
// 300×300 box, y pointing down.
namespace Handwriting {

using Stroke = std::vector<QPointF>;
using Drawing = std::vector<Stroke>;

constexpr double BoxSize = 300;
// More than any character needs (the most complex common ones have about 30 strokes); the
// rest of a drawing is dropped rather than slowing the recogniser.
constexpr int MaxStrokes = 64;
// Per stroke, after dropping points that don't move: enough for the sharpest curve.
constexpr int MaxStrokePoints = 128;
// A line of the terminal mode longer than this is refused before it is parsed.
constexpr qsizetype MaxDrawingBytes = 4 * 1024 * 1024;

struct Reading
{
    Drawing drawing;
    QString error; // empty when the text was a drawing
};

// Reads `[[[x, y], …], …]`. Points must be pairs of numbers; anything else is an error that
// says what was wrong. The drawing is returned as written: normalise it before recognising.
Reading readDrawing(QByteArrayView json);

// What the recogniser can take whatever it was given: points that aren't finite dropped, the
// rest clamped into the box, points closer than a pixel to the last kept one dropped, each
// stroke decimated to MaxStrokePoints, empty strokes dropped, a single point made a dot, and at
// most MaxStrokes strokes.
Drawing normalised(const Drawing &drawing);

} // namespace Handwriting
