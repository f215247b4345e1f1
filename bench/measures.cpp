#include "measures.h"

#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace TavrelBench {

StartupRows measureStartup(Bench &bench, MapWatcher &watcher, int runs)
{
    StartupRows rows;
    for (int run = 0; run <= runs; ++run) {
        qint64 shown = 0;
        auto tavrel = bench.startTavrel(watcher, &shown);
        if (!waitFor([&] { return tavrel->mark("page-loaded", "about:blank").has_value(); }, 30000))
            fail("Tavrel's blank page did not load");
        if (run > 0) {
            rows.shownMs.push_back(ms(shown - tavrel->launched));
            rows.blankMs.push_back(
                ms(*tavrel->mark("page-loaded", "about:blank") - tavrel->launched));
        }
        const auto since = [&](const char *event) {
            const std::optional<qint64> at = tavrel->mark(event);
            return at ? ms(*at - tavrel->launched) : -1.0;
        };
        std::fprintf(
            stderr,
            "start-up run %d: main %.0f, QApplication %.0f, application %.0f, claimed %.1f, loaded "
            "%.0f, show called %.0f, shown %.0f, engine %.0f, blank page %.0f ms\n",
            run, since("main"), since("qapplication"), since("application"), since("claimed"),
            since("loaded"), since("show-called"), ms(shown - tavrel->launched),
            since("engine-created"),
            ms(*tavrel->mark("page-loaded", "about:blank") - tavrel->launched));
        endTree(tavrel->process);
    }
    return rows;
}

LookupRows measureLookups(Bench &bench, MapWatcher &watcher, int lookups, int longRun)
{
    LookupRows rows;
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown);
    waitFor([&] { return tavrel->mark("page-loaded", "about:blank").has_value(); }, 30000);
    QThread::msleep(500);
    const int total = std::max(lookups, longRun) + 1; // the first one warms up
    for (int i = 0; i < total; ++i) {
        const QString word = QStringLiteral("word%1").arg(i);
        const QString path = bench.lookUp(word);
        const QString url = bench.server.origin() + path;
        const bool loaded = waitFor(
            [&] {
                return bench.server.arrival(path).has_value()
                    && tavrel->mark("page-loaded", url.toUtf8()).has_value();
            },
            20000);
        if (!loaded)
            fail("lookup " + word + " did not complete");
        const qint64 pressed = *tavrel->lastMark("translate");
        if (i > 0 && i <= lookups) {
            rows.requestMs.push_back(ms(*bench.server.arrival(path) - pressed));
            rows.pageMs.push_back(ms(*tavrel->mark("page-loaded", url.toUtf8()) - pressed));
        }
        if (i == 0) {
            QThread::msleep(1000);
            rows.memoryFirst = pssMiB(tavrel->process.processId(), "after the first lookup");
        }
        if (i % 100 == 0)
            std::fprintf(stderr, "lookup %d of %d: %.0f MiB\n", i, total - 1,
                         pssMiB(tavrel->process.processId()));
    }
    QThread::msleep(1000);
    rows.memoryLast = pssMiB(tavrel->process.processId(), "after the last lookup");
    endTree(tavrel->process);
    return rows;
}

namespace {

// The word to a running copy, for Tavrel: a copy started without a word, then one launch with a
// word a run from the same folder, which hands it over and ends.
std::vector<double> tavrelHandedOver(Bench &bench, MapWatcher &watcher, int runs)
{
    std::vector<double> result;
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown);
    if (!waitFor([&] { return tavrel->mark("page-loaded", "about:blank").has_value(); }, 30000))
        fail("Tavrel's blank page did not load");
    QThread::msleep(500);
    for (int run = 0; run <= runs; ++run) {
        const QString word = QStringLiteral("handed%1").arg(run);
        QProcess second;
        const qint64 launched
            = launchWithWord(bench, tavrel->folder.path() + "/TavrelDictionary", word,
                             "/dict?s=" + word, second, bench.environment());
        if (run > 0)
            result.push_back(ms(*bench.server.arrival("/dict?s=" + word) - launched));
        std::fprintf(stderr, "word to the running copy, run %d: Translate %.1f, request %.1f ms\n",
                     run, ms(tavrel->lastMark("translate").value_or(launched) - launched),
                     ms(*bench.server.arrival("/dict?s=" + word) - launched));
        if (!waitFor([&] { return second.state() == QProcess::NotRunning; }, 10000)
            || second.exitCode() != 0)
            fail("Tavrel with a word for the running copy did not end with 0");
        // The lookup's page settles before the next word.
        waitFor(
            [&] {
                return tavrel
                    ->mark("page-loaded", (bench.server.origin() + "/dict?s=" + word).toUtf8())
                    .has_value();
            },
            10000);
    }
    endTree(tavrel->process);
    return result;
}

// end closes a row: the full table has a column more, the targets, which these rows leave empty.
void printWordRows(const WordRows &rows, const char *end)
{
    const double cold = median(rows.tavrelColdMs), chromium = median(rows.chromiumColdMs);
    const double handed = median(rows.tavrelHandedMs), goldendict = median(rows.goldendictHandedMs);
    std::printf("| cold start with a word: launch to request received | %.0f ms | | %.0f ms | | "
                "%.2f |%s\n",
                cold, chromium, cold / chromium, end);
    std::printf("| word to the running copy: launch to request received | %.1f ms | %.1f ms | | "
                "%.2f | |%s\n",
                handed, goldendict, handed / goldendict, end);
}

} // namespace

WordRows measureWords(Bench &bench, MapWatcher &watcher, int runs)
{
    WordRows rows;
    for (int run = 0; run <= runs; ++run) {
        const QString word = QStringLiteral("cold%1").arg(run);
        qint64 shown = 0;
        auto tavrel = bench.startTavrel(watcher, &shown, {word});
        if (!waitFor([&] { return bench.server.arrival("/dict?s=" + word).has_value(); }, 30000))
            fail("Tavrel started with a word did not request it");
        if (run > 0)
            rows.tavrelColdMs.push_back(
                ms(*bench.server.arrival("/dict?s=" + word) - tavrel->launched));
        endTree(tavrel->process);
    }
    rows.chromiumColdMs
        = measurePeer(bench, watcher, "chromium", runs, chromiumCommand, "hromium", "/cold")
              .requestMs;
    rows.tavrelHandedMs = tavrelHandedOver(bench, watcher, runs);
    rows.goldendictHandedMs = goldendictHandedOver(bench, watcher, runs);
    return rows;
}

void printTable(int runs, int lookups, int longRun, const StartupRows &startup,
                const LookupRows &lookupRows, const PeerResult &goldendict,
                const PeerResult &chromium, const WordRows &words)
{
    const double shown = median(startup.shownMs);
    const double memoryFirst = lookupRows.memoryFirst, memoryLast = lookupRows.memoryLast;
    std::printf("Tavrel Dictionary benchmark, medians of %d runs after a warm-up\n\n", runs);
    std::printf("| measure | Tavrel | goldendict | chromium --app | Tavrel / goldendict | Tavrel / "
                "chromium | target |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    std::printf("| start to window shown | %.0f ms | %.0f ms | %.0f ms | %.2f | %.2f | |\n", shown,
                median(goldendict.shownMs), median(chromium.shownMs),
                shown / median(goldendict.shownMs), shown / median(chromium.shownMs));
    std::printf("| start to blank page loaded | %.0f ms | | | | | |\n", median(startup.blankMs));
    std::printf("| Translate to request received (%d lookups) | %.1f ms | | | | | |\n", lookups,
                median(lookupRows.requestMs));
    std::printf("| Translate to page loaded (%d lookups) | %.1f ms | | | | | |\n", lookups,
                median(lookupRows.pageMs));
    std::printf("| memory (PSS, process tree) | %.0f MiB after the first lookup | %.0f MiB idle | "
                "%.0f MiB after the page | %.2f | %.2f | |\n",
                memoryFirst, goldendict.memoryMiB, chromium.memoryMiB,
                memoryFirst / goldendict.memoryMiB, memoryFirst / chromium.memoryMiB);
    std::printf("| memory growth over %d lookups | %+.1f %% (%.0f to %.0f MiB) | | | | | |\n",
                std::max(lookups, longRun), 100 * (memoryLast - memoryFirst) / memoryFirst,
                memoryFirst, memoryLast);
    printWordRows(words, " |");
}

void printWordsTable(int runs, const WordRows &words)
{
    std::printf("Tavrel Dictionary benchmark, words on the command line, medians of %d runs "
                "after a warm-up\n\n",
                runs);
    std::printf("| measure | Tavrel | goldendict | chromium --app | Tavrel / goldendict | "
                "Tavrel / chromium |\n|---|---|---|---|---|---|\n");
    printWordRows(words, "");
}

} // namespace TavrelBench
