// The stroke-order index as a damaged disk or a broken package can leave it: its bytes, opened
// as the program opens the file, and every character of it read as the panel reads it.
#include "fuzzing.h"
#include "index_file/mappedindex.h"
#include "strokes/strokeindex.h"

#include <QtEndian>

namespace {

void readAll(const Strokes::Index &index)
{
    // Those the table names, and a few it may not.
    std::vector<char32_t> characters {U'你', U'龍', U'A', U'\U00020000'};
    for (quint32 entry = 0; entry < index.entryCount() && entry < 64; ++entry)
        characters.push_back(index.codePoint(entry));
    for (const char32_t c : characters) {
        const Strokes::Character character = index.character(c);
        FUZZ_CHECK(index.isOpen() || character.isEmpty());
        // What reads, reads whole: the count the panel shows is the strokes it draws.
        FUZZ_CHECK(character.isEmpty() || character.strokeCount() == index.strokeCount(c));
        for (const int stroke : character.radicalStrokes)
            FUZZ_CHECK(stroke >= 0 && stroke < character.strokeCount());
        for (const Strokes::Stroke &stroke : character.strokes)
            FUZZ_CHECK(!stroke.outline.isEmpty() && !stroke.median.isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = Fuzzing::bytes(data, size);
    readAll(Strokes::Index(bytes));

    // Most changes of length stop at the header's file size; with the size put right, they
    // reach the records too.
    const int sizeAt = IndexFile::FileSizeAt;
    if (bytes.size() >= IndexFile::sectionsAt(0)
        && qFromLittleEndian<quint32>(bytes.data() + sizeAt) != quint32(bytes.size())) {
        QByteArray fixed = bytes.toByteArray();
        qToLittleEndian(quint32(bytes.size()), fixed.data() + sizeAt);
        readAll(Strokes::Index(QByteArrayView(fixed)));
    }
    return 0;
}
