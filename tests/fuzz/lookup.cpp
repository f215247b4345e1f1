// The lookup on the real index: any text, as typed into the box or handed over by another
// program, read in every way it can be read.
#include "dictionary/lookup.h"
#include "dictionary/index.h"
#include "fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Dictionary::Index index {QStringLiteral(TAVREL_DICTIONARY_INDEX)};
    FUZZ_CHECK(index.isOpen());
    const Dictionary::Answer answer
        = Dictionary::lookUp(index, Fuzzing::text(Fuzzing::bytes(data, size)));
    FUZZ_CHECK(answer.error.isEmpty());
    FUZZ_CHECK(answer.input.size() <= Dictionary::maxInputLength);
    int readings = 0;
    for (const Dictionary::Group &group : answer.groups) {
        const int reading = 1 << int(group.reading);
        FUZZ_CHECK(!(readings & reading));
        readings |= reading;
        FUZZ_CHECK(group.entries.size() <= Dictionary::maxEntries && group.more >= 0);
        FUZZ_CHECK(group.words.isEmpty() || group.reading == Dictionary::Reading::Chinese);
        // The data has entries without senses (宊 tu2), none without a headword.
        for (const Dictionary::Entry &entry : group.entries)
            FUZZ_CHECK(!entry.simplified.isEmpty());
    }
    return 0;
}
