#pragma once

// What the fuzz targets share. Each target is one LLVMFuzzerTestOneInput over the program's own
// functions: libFuzzer calls it in the fuzz build (-DTAVREL_FUZZ=ON), and corpusrunner.cpp calls
// it on every file of the target's corpus in the ordinary build.
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// A property of the program that the input broke: the run ends as on a crash, so that libFuzzer
// keeps the input, and says which property it was.
#define FUZZ_CHECK(condition) ((condition) ? void() : Fuzzing::fail(#condition, __FILE__, __LINE__))

namespace Fuzzing {

[[noreturn]] void fail(const char *condition, const char *file, int line);

// The input's bytes where they are: a read past them is a read past the input.
inline QByteArrayView bytes(const uint8_t *data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Text as typed or handed over: the first byte tells how the rest is read, as UTF-8 (even) or
// as UTF-16 units (odd), where unpaired surrogates stay as they are.
QString text(QByteArrayView bytes);

// The input read piece by piece: texts ended by a zero byte, and small numbers of one byte.
// Past the end, texts are empty and numbers 0.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes)
        : m_rest(bytes)
    { }

    QByteArrayView piece();
    QString utf8() { return QString::fromUtf8(piece()); }
    int number(int below);
    bool atEnd() const { return m_rest.isEmpty(); }

private:
    QByteArrayView m_rest;
};

} // namespace Fuzzing
