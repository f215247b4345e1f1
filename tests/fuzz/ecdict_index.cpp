// The English-Chinese index as a damaged disk or a broken package can leave it: its bytes,
// opened as the program opens the file, and looked up with words, forms and phrases.
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"
#include "fuzzing.h"
#include "index_file/mappedindex.h"

#include <QtEndian>

namespace {

void lookUpIn(const EnglishChinese::Index &index)
{
    static const char *const words[] = {"go", "went",  "running", "ice cream", "ice-cream",
                                        "Ni", "don’t", "a",       "beautiful", "冰淇淋"};
    for (const char *word : words) {
        const EnglishChinese::Result result
            = EnglishChinese::lookUp(index, QString::fromUtf8(word));
        FUZZ_CHECK(index.isOpen() || (!result.found() && !result.hasBase()));
        FUZZ_CHECK(result.own.size() <= EnglishChinese::maxOwnEntries);
    }
    // Every entry, as an answer shows it.
    for (quint32 number = 0; number < index.entryCount(); ++number)
        EnglishChinese::entry(index, number);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = Fuzzing::bytes(data, size);
    lookUpIn(EnglishChinese::Index(bytes));

    // Most changes of length stop at the header's file size; with the size put right, they
    // reach the tables too.
    const int sizeAt = IndexFile::FileSizeAt;
    if (bytes.size() >= IndexFile::sectionsAt(0)
        && qFromLittleEndian<quint32>(bytes.data() + sizeAt) != quint32(bytes.size())) {
        QByteArray fixed = bytes.toByteArray();
        qToLittleEndian(quint32(bytes.size()), fixed.data() + sizeAt);
        lookUpIn(EnglishChinese::Index(QByteArrayView(fixed)));
    }
    return 0;
}
