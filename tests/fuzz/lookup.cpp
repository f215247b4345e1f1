// The lookups on the real indexes: any text, as typed into the box or handed over by another
// program, read in every way it can be read, and completed as the word box completes it.
#include "lookup/lookup.h"
#include "chinese_english/completion.h"
#include "chinese_english/index.h"
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"
#include "fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Dictionary::Index index {QStringLiteral(TAVREL_DICTIONARY_INDEX)};
    static const EnglishChinese::Index english {QStringLiteral(TAVREL_ENGLISH_INDEX)};
    FUZZ_CHECK(index.isOpen() && english.isOpen());
    const QString input = Fuzzing::text(Fuzzing::bytes(data, size));

    const EnglishChinese::Result result = EnglishChinese::lookUp(english, input);
    FUZZ_CHECK(!result.hasBase() || result.found());
    FUZZ_CHECK(result.own.size() <= EnglishChinese::maxOwnEntries);
    for (const EnglishChinese::Entry &entry : result.own)
        FUZZ_CHECK(!entry.word.isEmpty());

    const QList<Dictionary::Completion> completions = Dictionary::completions(index, input, 10);
    FUZZ_CHECK(completions.size() <= 10);
    for (const Dictionary::Completion &completion : completions)
        FUZZ_CHECK(!completion.text.isEmpty());

    const Dictionary::Answer answer = Dictionary::lookUp(index, input);
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
