// The built-in dictionary's lookups on the real index, with Google Benchmark:
//   build/dictionary_bench [--benchmark_...]
// Each case runs in repetitions and reports its median, the figure the README's table gives.
#include "chinese_english/index.h"
#include "lookup/lookup.h"
#include "english_chinese/index.h"
#include "english_chinese/lookup.h"

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

const QString englishIndexPath = QStringLiteral(TAVREL_ENGLISH_INDEX);

const EnglishChinese::Index &englishIndex()
{
    static const EnglishChinese::Index opened(englishIndexPath);
    return opened;
}

bool bothOpen(benchmark::State &state)
{
    for (const QString &error : {index().errorString(), englishIndex().errorString()}) {
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
            return false;
        }
    }
    return true;
}

// The English-Chinese entry of a word alone.
void englishChinese(benchmark::State &state, const QString &input)
{
    if (!bothOpen(state))
        return;
    for (auto _ : state) {
        const EnglishChinese::Result result = EnglishChinese::lookUp(englishIndex(), input);
        benchmark::DoNotOptimize(result);
    }
}

// The whole answer of both dictionaries; a miss includes its suggestions, and the first one
// loads Hunspell.
void both(benchmark::State &state, const QString &input)
{
    if (!bothOpen(state))
        return;
    int groups = 0;
    for (auto _ : state) {
        const Dictionary::Answer answer = Dictionary::lookUp(index(), englishIndex(), input);
        benchmark::DoNotOptimize(answer);
        groups = int(answer.groups.size());
    }
    state.counters["groups"] = groups;
}

// Mapping both files and the first English lookup in them, through the program's entry point.
void firstEnglishLookup(benchmark::State &state)
{
    for (auto _ : state) {
        Dictionary::setIndexPath(indexPath);
        Dictionary::setEnglishIndexPath(englishIndexPath);
        const Dictionary::Answer answer = Dictionary::lookUp(QStringLiteral("beautiful"));
        if (!answer.englishChinese.found())
            state.SkipWithError(qPrintable(answer.englishChinese.error));
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
BENCHMARK_CAPTURE(englishChinese, entry_beautiful, QStringLiteral("beautiful"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(both, form_running, QStringLiteral("running"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(both, miss_beautifull, QStringLiteral("beautifull"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(firstEnglishLookup)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
