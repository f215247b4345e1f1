// The speech rows. Alt+S reads the answer's first entry, as its speaker link does, through the
// same call; the time runs from the program's "pronounce" mark, made when the request reaches
// the speech, to its "sound-started" mark, made when the sound device first reads the samples.
// Qt Multimedia "linked" is the program started with the library preloaded (LD_PRELOAD), which
// loads and relocates it and its dependencies at start as linking would.

#include "speech.h"

#include "../tests/soundserver.h"

#include <QFile>
#include <QThread>

#include <cstdio>

namespace TavrelBench {

namespace {

const QString builtIn = QStringLiteral("tavrel:%word");

const QStringList words {QStringLiteral("银行"), QStringLiteral("你好"), QStringLiteral("谢谢"),
                         QStringLiteral("朋友"), QStringLiteral("学生"), QStringLiteral("老师"),
                         QStringLiteral("电脑"), QStringLiteral("音乐")};

bool maps(qint64 pid, const QByteArray &library)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

// Looks the word up through the window and waits for its answer.
void answer(Bench &bench, Bench::Tavrel &tavrel, const QString &word)
{
    const qint64 before = now();
    bench.lookUp(word);
    if (!waitFor([&] { return tavrel.markAfter("answer-shown", before).has_value(); }, 20000))
        fail("no answer shown for " + word);
}

// Alt+S, and the time from the request to the first samples at the device.
double pronounce(Bench &bench, Bench::Tavrel &tavrel)
{
    const qint64 before = now();
    bench.xdotool({"key", "alt+s"});
    std::optional<qint64> asked, started;
    if (!waitFor(
            [&] {
                asked = tavrel.markAfter("pronounce", before);
                started = asked ? tavrel.markAfter("sound-started", *asked) : std::nullopt;
                return started.has_value();
            },
            10000))
        fail("Alt+S played nothing");
    // Heard to its end before the next.
    QThread::msleep(1200);
    return ms(*started - *asked);
}

} // namespace

SpeechRows measureSpeech(Bench &bench, MapWatcher &watcher, int runs)
{
    SpeechRows rows;
    SoundServer sound;
    rows.skipped = sound.start();
    if (!rows.skipped.isEmpty())
        return rows;
    bench.variables.insert("PULSE_SERVER", sound.address());
    for (int run = 0; run <= runs; ++run) {
        qint64 shown = 0;
        auto tavrel = bench.startTavrel(watcher, &shown, {}, builtIn);
        bench.window.clear();
        QThread::msleep(300);
        answer(bench, *tavrel, words.at(run % words.size()));
        QThread::msleep(1000);
        const qint64 pid = tavrel->process.processId();
        rows.loadedEarly |= maps(pid, "libespeak-ng") || maps(pid, "libQt6Multimedia");
        const double before = pssMiB(pid, run == 0 ? "after an answer, nothing read" : nullptr);
        const double first = pronounce(bench, *tavrel);
        std::vector<double> later;
        for (int i = 0; i < 5; ++i)
            later.push_back(pronounce(bench, *tavrel));
        const double after = pssMiB(pid, run == 0 ? "after its word was read" : nullptr);
        std::fprintf(stderr, "speech %d: first %.1f ms, later %.1f ms; %.1f MiB, then %.1f MiB\n",
                     run, first, median(later), before, after);
        if (run > 0) {
            rows.firstMs.push_back(first);
            rows.laterMs.insert(rows.laterMs.end(), later.begin(), later.end());
            rows.answerMiB.push_back(before);
            rows.spokenMiB.push_back(after);
        }
        endTree(tavrel->process);
    }
    bench.variables.remove("PULSE_SERVER");

    // Start-up with and without Qt Multimedia, in turns.
    for (int run = 0; run <= runs; ++run) {
        for (const bool linked : {false, true}) {
            if (linked)
                bench.variables.insert("LD_PRELOAD", "libQt6Multimedia.so.6");
            qint64 shown = 0;
            auto tavrel = bench.startTavrel(watcher, &shown, {}, builtIn);
            bench.variables.remove("LD_PRELOAD");
            bench.window.clear();
            QThread::msleep(300);
            answer(bench, *tavrel, words.at(run % words.size()));
            QThread::msleep(1000);
            const double mib = pssMiB(tavrel->process.processId());
            if (linked && !maps(tavrel->process.processId(), "libQt6Multimedia"))
                fail("Qt Multimedia was not preloaded");
            if (run > 0) {
                (linked ? rows.shownLinkedMs : rows.shownMs)
                    .push_back(ms(shown - tavrel->launched));
                (linked ? rows.linkedMiB : rows.plainMiB).push_back(mib);
            }
            endTree(tavrel->process);
        }
    }
    return rows;
}

void printSpeechRows(const SpeechRows &rows)
{
    if (!rows.skipped.isEmpty()) {
        std::printf("| speech rows | not measured: %s | | | | | |\n", qPrintable(rows.skipped));
        return;
    }
    std::printf("| speaker link to the first sample at the sound device, first use (%zu runs) | "
                "%.0f ms | | | | | target ≤ 150 ms |\n",
                rows.firstMs.size(), median(rows.firstMs));
    std::printf("| speaker link to the first sample at the sound device, later uses (%zu) | "
                "%.1f ms | | | | | target ≤ 40 ms |\n",
                rows.laterMs.size(), median(rows.laterMs));
    std::printf("| memory (PSS), built-in answer, nothing read yet | %.1f MiB; speech library "
                "and Qt Multimedia %s | | | | | must not grow |\n",
                median(rows.answerMiB), rows.loadedEarly ? "LOADED" : "not loaded");
    std::printf("| memory (PSS) once words were read | %.1f MiB | | | | | |\n",
                median(rows.spokenMiB));
    std::printf("| start to window shown, Qt Multimedia linked against not | %.0f ms against "
                "%.0f ms; %.1f against %.1f MiB after an answer | | | | | |\n",
                median(rows.shownLinkedMs), median(rows.shownMs), median(rows.linkedMiB),
                median(rows.plainMiB));
}

} // namespace TavrelBench
