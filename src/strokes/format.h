#pragma once

#include "index_file/mappedindex.h"

#include <string>

// The layout of the stroke-order index (hanzi-writer-data, from Make Me a Hanzi), in the family
// of the program's mapped indexes:
//
//   characters  per character, sorted by code point: its code point and the offset of its record
//   records     per character, a run of numbers, each a variable-length integer (below):
//                 stroke count, radical stroke count, the radical's stroke numbers,
//                 then per stroke: its outline (below), median point count and the median's
//                 points
//
// An outline is one closed contour, as every stroke of the data is: its segment count, the
// segments' kinds two bits each, four to a byte (lowest first), then the start point and each
// segment's points. A point is two numbers, x then y, each its difference from the point before
// (in the stroke's outline, or its median), zigzag-coded so that small steps either way take one
// byte. The coordinates are the data's own: a square of 1024 units, y upwards from 124 below the
// baseline. Beziers' control points make most steps short, which keeps the file at a quarter of
// the JSON.
namespace Strokes::Format {

inline constexpr char magic[8] = {'T', 'A', 'V', 'R', 'S', 'T', 'R', 'K'};
inline constexpr quint32 version = 1;

enum Section : int { Characters, Records, SectionCount };

inline constexpr int entrySize = 8;

// The kinds of an outline's segments, as SVG's L, Q and C, and the points each takes.
enum Segment : quint8 { Line, Quad, Cubic, SegmentKinds };
inline constexpr int pointsOf[SegmentKinds] = {1, 2, 3};
inline constexpr int kindsPerByte = 4;

// No character of the data has more than 64 strokes, nor a stroke more than a few hundred
// segments; the reader treats more as damage rather than spend its time on it.
inline constexpr quint32 maxStrokes = 128;
inline constexpr quint32 maxSegments = 4096;
inline constexpr quint32 maxMedianPoints = 1024;

// The square of the data's coordinates and where the baseline of its y axis lies.
inline constexpr int emSize = 1024;
inline constexpr int ascent = 900;
// Far beyond the square either way; the writer keeps to it, the reader treats more as damage.
inline constexpr int maxCoordinate = 30000;

inline constexpr IndexFile::Kind kind {magic, version, SectionCount, "stroke-order index",
                                       "a stroke-order index"};

inline quint32 zigzag(qint32 value)
{
    return (quint32(value) << 1) ^ quint32(value >> 31);
}

inline qint32 unzigzag(quint32 value)
{
    return qint32(value >> 1) ^ -qint32(value & 1);
}

// Seven bits a byte, lowest first; the high bit says another byte follows.
inline void appendNumber(std::string &to, quint32 value)
{
    while (value >= 0x80) {
        to += char(0x80 | (value & 0x7F));
        value >>= 7;
    }
    to += char(value);
}

} // namespace Strokes::Format
