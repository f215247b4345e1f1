// The built-in dictionary's lookups on the real index, with Google Benchmark:
//   build/dictionary_bench [--benchmark_...]
// Each case runs in repetitions and reports its median, the figure the README's table gives.
#include "dictionary/index.h"
#include "dictionary/lookup.h"

#include <benchmark/benchmark.h>

namespace {

const QString indexPath = QStringLiteral(TAVREL_DICTIONARY_INDEX);

const Dictionary::Index &index()
{
    static const Dictionary::Index opened(indexPath);
    return opened;
}

void lookUp(benchmark::State &state, const QString &input)
{
    if (!index().isOpen()) {
        state.SkipWithError(qPrintable(index().errorString()));
        return;
    }
    int entries = 0;
    for (auto _ : state) {
        const Dictionary::Answer answer = Dictionary::lookUp(index(), input);
        benchmark::DoNotOptimize(answer);
        entries = answer.groups.isEmpty() ? 0 : int(answer.groups.first().entries.size());
    }
    state.counters["entries"] = entries;
}

// Mapping the file and the first lookup in it, through the program's own entry point.
void firstLookup(benchmark::State &state)
{
    for (auto _ : state) {
        Dictionary::setIndexPath(indexPath);
        const Dictionary::Answer answer = Dictionary::lookUp(QStringLiteral("love"));
        if (!answer.error.isEmpty())
            state.SkipWithError(qPrintable(answer.error));
        benchmark::DoNotOptimize(answer);
    }
}

} // namespace

BENCHMARK_CAPTURE(lookUp, chinese_headword, QStringLiteral("冰淇淋"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookUp, chinese_phrase_20,
                  QStringLiteral("我们今天下午去图书馆借了几本关于中国历史"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookUp, english_love, QStringLiteral("love"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookUp, english_ice_cream, QStringLiteral("ice cream"))
    ->Unit(benchmark::kMicrosecond);
// The commonest English word, in 31,594 entries: ranked when the index was written.
BENCHMARK_CAPTURE(lookUp, english_to, QStringLiteral("to"))->Unit(benchmark::kMicrosecond);
// A phrase is scored at lookup, through the entries of its rarer word.
BENCHMARK_CAPTURE(lookUp, english_phrase_to_be, QStringLiteral("to be"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookUp, pinyin_bingqilin, QStringLiteral("bingqilin"))
    ->Unit(benchmark::kMicrosecond);
// Of the 1,000 commonest English words (ECDICT's ranks), the one that takes longest, read both
// ways (build/ranking_accuracy INDEX --slowest SAMPLE).
BENCHMARK_CAPTURE(lookUp, latin_he, QStringLiteral("he"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(lookUp, pinyin_shi, QStringLiteral("shi"))->Unit(benchmark::kMicrosecond);
BENCHMARK(firstLookup)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
