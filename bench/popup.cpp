#include "popup.h"

#include <QProcess>
#include <QThread>

#include <cstdio>

namespace TavrelBench {

namespace {

const QString builtIn = QStringLiteral("tavrel:%word");
const char *const words[] = {"你好", "中国", "学习", "朋友", "电脑", "音乐", "天气", "北京"};

// Owns the primary selection with the text, as another program the user reads in would.
void select(const Bench &bench, QProcess &xclip, const QString &text)
{
    xclip.kill();
    xclip.waitForFinished();
    QProcessEnvironment env = bench.environment();
    xclip.setProcessEnvironment(env);
    xclip.start("xclip", {"-quiet", "-selection", "primary", "-i"});
    if (!xclip.waitForStarted())
        fail("xclip does not start");
    xclip.write(text.toUtf8());
    xclip.closeWriteChannel();
    QThread::msleep(200);
}

// Launches the program with the arguments and waits, serving events, for its mark.
double handOver(Bench &bench, Bench::Tavrel &tavrel, const QStringList &arguments,
                const QByteArray &event, const QString &word)
{
    QProcess second;
    second.setProcessEnvironment(bench.environment());
    const qint64 launched = now();
    second.start(tavrel.folder.path() + "/TavrelDictionary", arguments);
    std::optional<qint64> at;
    if (!waitFor(
            [&] {
                tavrel.read();
                return (at = tavrel.markAfter(event, launched, "tavrel:" + word.toUtf8()))
                    .has_value();
            },
            10000))
        fail("the running copy did not show " + word + " for " + arguments.join(' '));
    second.waitForFinished(10000);
    return ms(*at - launched);
}

// A fresh copy, its first lookup handed over as the arguments say, then its memory.
double memoryAfter(Bench &bench, MapWatcher &watcher, const QStringList &arguments,
                   const QByteArray &event, const QString &word, const char *label)
{
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown, {}, builtIn);
    QThread::msleep(500);
    handOver(bench, *tavrel, arguments, event, word);
    QThread::msleep(1000);
    const double mib = pssMiB(tavrel->process.processId(), label);
    endTree(tavrel->process);
    return mib;
}

} // namespace

PopUpRows measurePopUp(Bench &bench, MapWatcher &watcher, int runs)
{
    PopUpRows rows;
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown, {}, builtIn);
    QThread::msleep(500);
    QProcess xclip;
    for (int run = 0; run <= runs; ++run) {
        const QString word = QString::fromUtf8(words[run % std::size(words)]);
        select(bench, xclip, word);
        const double popUp = handOver(bench, *tavrel, {"--selection"}, "popup-painted", word);
        const double main = handOver(bench, *tavrel, {word}, "answer-shown", word);
        // The key of the program's own, sent by xdotool, whose start is counted too.
        const qint64 pressed = now();
        bench.xdotool({"key", "ctrl+alt+z"});
        std::optional<qint64> painted;
        if (!waitFor(
                [&] {
                    tavrel->read();
                    return (painted = tavrel->markAfter("popup-painted", pressed,
                                                        "tavrel:" + word.toUtf8()))
                        .has_value();
                },
                10000))
            fail("Ctrl+Alt+Z did not show the pop-up");
        if (run > 0)
            rows.shortcutMs.push_back(ms(*painted - pressed));
        std::fprintf(stderr, "pop-up run %d: --selection to painted %.1f ms, word to the main "
                     "window %.1f ms\n", run, popUp, main);
        // The first run of each warms up.
        if (run > 0) {
            rows.selectionMs.push_back(popUp);
            rows.wordMs.push_back(main);
        }
    }
    endTree(tavrel->process);
    const QString word = QString::fromUtf8(words[0]);
    select(bench, xclip, word);
    rows.popUpMiB = memoryAfter(bench, watcher, {"--selection"}, "popup-painted", word,
                                "after the first pop-up");
    rows.mainMiB = memoryAfter(bench, watcher, {word}, "answer-shown", word,
                               "after the first built-in answer");
    xclip.kill();
    xclip.waitForFinished();
    return rows;
}

void printPopUpRows(int runs, const PopUpRows &rows)
{
    std::printf("\nMedians of %d runs, one running copy with the built-in template:\n\n", runs);
    std::printf("| measure | median |\n|---|---|\n");
    std::printf("| --selection to the running copy: launch to the pop-up painted with its answer "
                "| %.1f ms |\n", median(rows.selectionMs));
    std::printf("| a word to the running copy: launch to the main window's answer shown "
                "| %.1f ms |\n", median(rows.wordMs));
    std::printf("| Ctrl+Alt+Z sent by xdotool: launch of xdotool to the pop-up painted with its "
                "answer | %.1f ms |\n", median(rows.shortcutMs));
    std::printf("| memory (PSS, process tree) after the first pop-up | %.1f MiB |\n",
                rows.popUpMiB);
    std::printf("| memory (PSS, process tree) after the first built-in answer in the main window "
                "| %.1f MiB |\n", rows.mainMiB);
}

} // namespace TavrelBench
