// The pinyin reader: the same bytes as the index's pinyin ("bing1 qi2 lin2") and as pinyin the
// user typed. Data pinyin, and that pinyin written with tone marks, read as typed, agree with
// the data's own syllables.
#include "chinese_english/pinyin.h"
#include "fuzzing.h"

namespace {

using namespace Dictionary::Pinyin;

void checkTyped(const Typed &typed)
{
    const int length = int(typed.letters.size());
    FUZZ_CHECK(length > 0);
    for (char c : typed.letters)
        FUZZ_CHECK(c >= 'a' && c <= 'z');
    int previous = 0;
    for (int boundary : typed.boundaries) {
        FUZZ_CHECK(boundary > previous && boundary < length);
        previous = boundary;
    }
    for (const auto &[position, tone] : typed.tones)
        FUZZ_CHECK(position >= 0 && position < length && tone >= 1 && tone <= 5);
}

std::string spelt(const std::vector<Syllable> &syllables)
{
    std::string letters;
    for (const Syllable &syllable : syllables)
        letters += syllable.letters;
    return letters;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = Fuzzing::bytes(data, size);
    const std::string_view pinyin(bytes.data(), size_t(bytes.size()));

    Typed typed;
    if (readTyped(Fuzzing::text(bytes), typed))
        checkTyped(typed);

    std::vector<Syllable> syllables;
    const bool valid = Dictionary::Pinyin::syllables(pinyin, syllables);
    const QString marked = withToneMarks(pinyin);
    if (!valid)
        return 0;
    for (const Syllable &syllable : syllables)
        FUZZ_CHECK(isSyllable(syllable.letters) && syllable.tone >= 1 && syllable.tone <= 5);

    // As the user would type it from the page: the data's spelling, and the marked one.
    for (const QString &text : {QString::fromUtf8(bytes), marked}) {
        Typed again;
        if (!readTyped(text, again))
            continue;
        checkTyped(again);
        if (again.letters == spelt(syllables))
            FUZZ_CHECK(agrees(syllables, again));
    }
    return 0;
}
