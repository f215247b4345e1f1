// The CC-CEDICT index as a damaged disk or a broken package can leave it: its bytes, opened as
// the program opens the file, and looked up with words of every reading.
#include "chinese_english/completion.h"
#include "chinese_english/index.h"
#include "chinese_english/indexformat.h"
#include "lookup/lookup.h"
#include "fuzzing.h"

#include <QtEndian>

namespace {

void lookUpIn(const Dictionary::Index &index)
{
    static const char *const words[] = {"爱",     "冰淇淋",    "我爱中国", "love", "ice cream",
                                        "to run", "bingqilin", "hao3",     "hǎo",  "he"};
    for (const char *word : words) {
        const Dictionary::Answer answer = Dictionary::lookUp(index, QString::fromUtf8(word));
        FUZZ_CHECK(answer.error.isEmpty() == index.isOpen());
        FUZZ_CHECK(Dictionary::completions(index, QString::fromUtf8(word), 10).size() <= 10);
        for (const Dictionary::Group &group : answer.groups)
            FUZZ_CHECK(group.entries.size() <= Dictionary::maxEntries && group.more >= 0);
    }
    // Every row, read as the lookup reads the rows it finds.
    for (quint32 entry = 0; entry < index.entryCount(); ++entry) {
        index.record(entry);
        index.count(entry);
        index.share(entry);
    }
    for (quint32 row = 0; row < index.headwordCount(); ++row)
        index.record(index.headword(row).entry);
    for (quint32 row = 0; row < index.pinyinCount(); ++row)
        index.record(index.pinyin(row).entry);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = Fuzzing::bytes(data, size);
    lookUpIn(Dictionary::Index(bytes));

    // Most changes of length stop at the header's file size; with the size put right, they
    // reach the tables too.
    const int sizeAt = IndexFile::FileSizeAt;
    if (bytes.size() >= Dictionary::Format::headerSize
        && qFromLittleEndian<quint32>(bytes.data() + sizeAt) != quint32(bytes.size())) {
        QByteArray fixed = bytes.toByteArray();
        qToLittleEndian(quint32(bytes.size()), fixed.data() + sizeAt);
        lookUpIn(Dictionary::Index(QByteArrayView(fixed)));
    }
    return 0;
}
