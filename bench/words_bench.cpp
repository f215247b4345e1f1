// The words the user keeps, with Google Benchmark: recording a lookup, the suggestions for what
// is typed on the real dictionary, and the history window opening with a full history.
//   build/words_bench [--benchmark_...]
// Each case runs in repetitions and reports its median, the figure the README's table gives.
#include "lookup/lookup.h"
#include "word_windows/historywindow.h"
#include "words/store.h"
#include "words/suggestions.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

const QDateTime start = QDateTime::fromString(QStringLiteral("2026-01-01T00:00:00Z"), Qt::ISODate);

// A store in a scratch folder with a full history of everyday-looking inputs.
struct FullStore
{
    QTemporaryDir folder;
    std::unique_ptr<Words::Store> store;

    FullStore()
    {
        store = std::make_unique<Words::Store>(folder.filePath(QStringLiteral("words.sqlite")));
        for (int i = 0; i < Words::Store::maxHistory; ++i)
            store->record(QStringLiteral("word %1").arg(i), start.addSecs(i));
    }
};

FullStore &fullStore()
{
    static FullStore full;
    return full;
}

// One lookup recorded in a history that is full, so that the oldest goes as well.
void recordLookup(benchmark::State &state)
{
    Words::Store &store = *fullStore().store;
    int i = 0;
    for (auto _ : state) {
        if (!store.record(QStringLiteral("new word %1").arg(i++)))
            state.SkipWithError("not recorded");
    }
}

void suggest(benchmark::State &state, const QString &typed)
{
    Words::Store &store = *fullStore().store;
    store.record(typed + QStringLiteral("x"));
    qsizetype shown = 0;
    for (auto _ : state) {
        const QList<Words::Suggestion> suggestions = Words::suggest(&store, typed);
        shown = suggestions.size();
        benchmark::DoNotOptimize(suggestions);
    }
    state.counters["suggestions"] = double(shown);
}

// "Words" → "History…" until the table has been painted with its rows.
void openHistoryWindow(benchmark::State &state)
{
    Words::Store &store = *fullStore().store;
    for (auto _ : state) {
        HistoryWindow window(store, nullptr);
        window.showFresh();
        if (!QTest::qWaitForWindowExposed(&window))
            state.SkipWithError("the window was not shown");
        window.table()->viewport()->repaint();
        if (window.table()->model()->rowCount() != Words::Store::maxHistory)
            state.SkipWithError("not every input is there");
    }
}

} // namespace

BENCHMARK(recordLookup)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, latin_1, QStringLiteral("c"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, latin_3, QStringLiteral("com"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, pinyin_bingq, QStringLiteral("bingq"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, chinese_1, QStringLiteral("中"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(suggest, chinese_2, QStringLiteral("电脑"))->Unit(benchmark::kMicrosecond);
BENCHMARK(openHistoryWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Dictionary::setIndexPath(QStringLiteral(TAVREL_DICTIONARY_INDEX));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
