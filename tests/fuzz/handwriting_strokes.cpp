// The drawing's reader and its normalisation: whatever the bytes, what reaches the recogniser
// is a bounded drawing of finite points inside the box. The bytes are read twice: as the
// terminal mode's JSON line, and as raw coordinates, so that NaN, infinities and huge values
// that JSON can't spell reach the normalisation too.
#include "fuzzing.h"
#include "handwriting/strokes.h"

#include <cstring>

namespace {

using namespace Handwriting;

void checkNormalised(const Drawing &drawing)
{
    const Drawing normal = normalised(drawing);
    FUZZ_CHECK(normal.size() <= size_t(MaxStrokes));
    for (const Stroke &stroke : normal) {
        FUZZ_CHECK(stroke.size() >= 2 && stroke.size() <= size_t(MaxStrokePoints));
        for (const QPointF &point : stroke) {
            FUZZ_CHECK(point.x() >= 0 && point.x() <= BoxSize);
            FUZZ_CHECK(point.y() >= 0 && point.y() <= BoxSize);
        }
    }
    // Normalising again loses no stroke.
    FUZZ_CHECK(normalised(normal).size() == normal.size());
}

// Pairs of doubles, a new stroke wherever a pair's first byte is 0xFF.
Drawing rawDrawing(const uint8_t *data, size_t size)
{
    Drawing drawing(1);
    for (size_t at = 0; at + 16 <= size; at += 16) {
        double x, y;
        std::memcpy(&x, data + at, 8);
        std::memcpy(&y, data + at + 8, 8);
        if (data[at] == 0xFF)
            drawing.emplace_back();
        drawing.back().emplace_back(x, y);
    }
    return drawing;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Reading reading = readDrawing(Fuzzing::bytes(data, size));
    FUZZ_CHECK(reading.error.isEmpty() || reading.drawing.empty());
    checkNormalised(reading.drawing);
    checkNormalised(rawDrawing(data, size));
    return 0;
}
