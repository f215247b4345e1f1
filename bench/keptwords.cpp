// Keys are sent with xdotool to the program's window on the private Xvfb, as real key events;
// the program marks "key-pressed" when a key reaches the word box and "suggestions-shown" once
// the list has painted for the text, and "translate", "recorded" and "answer-shown" for lookups.

#include "keptwords.h"

#include "words/store.h"

#include <QDir>
#include <QThread>

#include <cstdio>
#include <vector>

namespace TavrelBench {

namespace {

const QString builtIn = QStringLiteral("tavrel:%word");

// Words typed key by key: English, and pinyin without tones.
const QStringList typedWords {"computer", "language",  "weather",  "bingqilin", "xuesheng",
                              "pengyou",  "beautiful", "hospital", "zhongguo",  "dianying"};

struct Typed
{
    std::vector<double> inProgramMs; // the key reaching the box until the list is painted
    std::vector<double> fromXdotoolMs; // xdotool started until the list is painted
    int fastWords = 0, fastWhole = 0;
};

void clearWordBox(Bench &bench)
{
    bench.xdotool({"mousemove", "--window", bench.window, "200", "40", "click", "1", "key",
                   "ctrl+a", "BackSpace"});
    QThread::msleep(100);
}

Typed typeKeys(Bench &bench, Bench::Tavrel &tavrel)
{
    Typed typed;
    for (const QString &word : typedWords) {
        clearWordBox(bench);
        for (int length = 1; length <= word.size(); ++length) {
            const QByteArray soFar = word.left(length).toUtf8();
            const qint64 before = now();
            bench.xdotool({"key", "--window", bench.window, word.mid(length - 1, 1)});
            std::optional<qint64> pressed, shown;
            waitFor(
                [&] {
                    pressed = tavrel.markAfter("key-pressed", before);
                    shown = tavrel.markAfter("suggestions-shown", before, soFar);
                    return shown.has_value();
                },
                5000);
            if (!shown || !pressed) {
                std::fprintf(stderr, "%s: no list painted\n", soFar.constData());
                continue;
            }
            typed.inProgramMs.push_back(ms(*shown - *pressed));
            typed.fromXdotoolMs.push_back(ms(*shown - before));
        }
    }
    // Typed as fast as xdotool can: the last list is that of the whole word, none lost.
    for (const QString &word : typedWords) {
        clearWordBox(bench);
        const qint64 before = now();
        bench.xdotool({"type", "--window", bench.window, "--delay", "0", word});
        ++typed.fastWords;
        if (waitFor(
                [&] {
                    return tavrel.markAfter("suggestions-shown", before, word.toUtf8()).has_value();
                },
                5000))
            ++typed.fastWhole;
        else
            std::fprintf(stderr, "typed fast, %s was not whole\n", qPrintable(word));
    }
    return typed;
}

// Translate until the answer is shown, and until the lookup was recorded.
void lookUps(Bench &bench, Bench::Tavrel &tavrel, int lookups, std::vector<double> &answerMs,
             std::vector<double> &recordMs)
{
    for (int i = 0; i <= lookups; ++i) {
        const QString word = typedWords.at(i % typedWords.size()) + QString::number(i);
        const qint64 before = now();
        bench.lookUp(word);
        std::optional<qint64> pressed, shown, recorded;
        waitFor(
            [&] {
                pressed = tavrel.markAfter("translate", before);
                shown = pressed ? tavrel.markAfter("answer-shown", *pressed) : std::nullopt;
                return shown.has_value();
            },
            20000);
        recorded = pressed ? tavrel.markAfter("recorded", *pressed) : std::nullopt;
        if (!shown) {
            std::fprintf(stderr, "lookup of %s: no answer shown\n", qPrintable(word));
            continue;
        }
        if (i == 0)
            continue; // a warm-up
        answerMs.push_back(ms(*shown - *pressed));
        if (recorded)
            recordMs.push_back(ms(*recorded - *pressed));
    }
}

std::unique_ptr<Bench::Tavrel> start(Bench &bench, MapWatcher &watcher, bool keepHistory)
{
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown, {}, builtIn, [&](const QString &folder) {
        Words::Store store(folder + "/session/words.sqlite");
        store.setKeepsHistory(keepHistory);
    });
    bench.window.clear();
    QThread::msleep(500);
    bench.findWindow();
    return tavrel;
}

// The tree's memory after its first answer, as the answers' row measures it.
double memoryAfterAnswer(Bench &bench, MapWatcher &watcher, const QString &program)
{
    const QString own = bench.program;
    bench.program = program;
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown, {"love"}, builtIn);
    bench.program = own;
    if (!waitFor([&] { return tavrel->mark("answer-shown").has_value(); }, 30000))
        fail(program + " did not show its answer");
    QThread::msleep(1000);
    const double mib = pssMiB(tavrel->process.processId(), qPrintable(program));
    endTree(tavrel->process);
    return mib;
}

} // namespace

void measureKeptWords(Bench &bench, MapWatcher &watcher, int lookups, const QString &baseline)
{
    Typed typed;
    std::vector<double> answerOn, recordOn, answerOff, unused;
    {
        auto tavrel = start(bench, watcher, true);
        // The history of a user who has looked up words for a while.
        typed = typeKeys(bench, *tavrel);
        lookUps(bench, *tavrel, lookups, answerOn, recordOn);
        endTree(tavrel->process);
    }
    {
        auto tavrel = start(bench, watcher, false);
        lookUps(bench, *tavrel, lookups, answerOff, unused);
        endTree(tavrel->process);
    }
    std::vector<double> memory, baselineMemory;
    for (int run = 0; run < 3; ++run) {
        memory.push_back(memoryAfterAnswer(bench, watcher, bench.program));
        if (!baseline.isEmpty())
            baselineMemory.push_back(memoryAfterAnswer(bench, watcher, baseline));
    }

    std::printf("| measure | median | max | target |\n|---|---|---|---|\n");
    std::printf("| key to suggestion list painted, in the program (%zu keys) | %.2f ms | %.2f ms | "
                "≤ 16 ms |\n",
                typed.inProgramMs.size(), median(typed.inProgramMs),
                *std::max_element(typed.inProgramMs.begin(), typed.inProgramMs.end()));
    std::printf("| key sent by xdotool to suggestion list painted (%zu keys) | %.2f ms | %.2f ms | "
                "|\n",
                typed.fromXdotoolMs.size(), median(typed.fromXdotoolMs),
                *std::max_element(typed.fromXdotoolMs.begin(), typed.fromXdotoolMs.end()));
    std::printf("| words typed with no delay whose whole text got its list | %d of %d | | all |\n",
                typed.fastWhole, typed.fastWords);
    std::printf(
        "| Translate to built-in answer shown, history kept (%zu lookups) | %.2f ms | | |\n",
        answerOn.size(), median(answerOn));
    std::printf("| Translate to built-in answer shown, history off (%zu lookups) | %.2f ms | | "
                "difference ≤ 1 ms |\n",
                answerOff.size(), median(answerOff));
    std::printf("| Translate to lookup recorded (%zu lookups) | %.2f ms | %.2f ms | |\n",
                recordOn.size(), median(recordOn),
                recordOn.empty() ? 0.0 : *std::max_element(recordOn.begin(), recordOn.end()));
    std::printf("| memory (PSS, process tree) after the first built-in answer | %.1f MiB | | |\n",
                median(memory));
    if (!baseline.isEmpty())
        std::printf("| the same, program without kept words | %.1f MiB | | growth ≤ 5 MiB |\n",
                    median(baselineMemory));
}

} // namespace TavrelBench
