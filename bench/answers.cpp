// The built-in dictionary under the harness: Tavrel with the template "tavrel:%word" answers
// without the browser engine, and with a site that refuses the connection it answers in the
// site's place. The moments are the program's own marks: "translate", then "answer-shown" or,
// for the site, "page-failed" and "fallback-shown".

#include "answers.h"

#include <QStringList>
#include <QTcpServer>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace TavrelBench {

namespace {

const QString builtIn = QStringLiteral("tavrel:%word");

// Everyday words, English and Chinese in turn, more of them than the lookups timed: each timed
// lookup asks for an entry of its own, as a user's do, rather than the same one again.
QString wordAt(int i)
{
    static const QStringList english {
        "love", "water",   "book",     "house",   "friend", "teacher",   "student",  "computer",
        "time", "day",     "night",    "morning", "city",   "country",   "language", "music",
        "film", "weather", "airplane", "train",   "bank",   "hospital",  "shop",     "coffee",
        "rice", "noodle",  "apple",    "fruit",   "family", "mountain",  "river",    "moon",
        "sun",  "week",    "question", "know",    "like",   "beautiful", "happy",    "dog",
        "cat",  "tea",     "eat",      "drink",   "read",   "write",     "speak",    "listen",
        "work", "study",   "red",      "green",   "white"};
    static const QStringList chinese {
        "你好", "谢谢", "中国", "学生", "老师", "朋友", "电脑", "时间", "今天", "明天", "吃饭",
        "喝茶", "水",   "书",   "猫",   "狗",   "大学", "医生", "工作", "学习", "汉语", "音乐",
        "电影", "天气", "飞机", "火车", "银行", "医院", "商店", "咖啡", "米饭", "面条", "苹果",
        "水果", "家",   "爱",   "山",   "河",   "月亮", "太阳", "星期", "早上", "晚上", "问题",
        "知道", "喜欢", "漂亮", "快乐", "北京", "上海", "黑色", "红色", "白色"};
    const QStringList &list = i % 2 ? chinese : english;
    return list.at((i / 2) % list.size());
}

QByteArray answerDetail(const QString &word) { return "tavrel:" + word.toUtf8(); }

struct Timed
{
    qint64 pressed, shown;
};

// A lookup through the window, waited for until the event shows it: the moment of its own
// "translate" and that of the event after it (with the detail, if one is given). A character
// xdotool lost while typing shows as the event for other text; the word is then typed and looked
// up again, and that lookup is the one timed.
Timed lookUpUntil(Bench &bench, Bench::Tavrel &tavrel, const QString &word, const QByteArray &event,
                  const QByteArray &detail)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const qint64 before = now();
        bench.lookUp(word);
        std::optional<qint64> pressed, shown, other;
        waitFor(
            [&] {
                pressed = tavrel.markAfter("translate", before);
                shown = pressed ? tavrel.markAfter(event, *pressed, detail) : std::nullopt;
                other = pressed ? tavrel.markAfter(event, *pressed) : std::nullopt;
                return shown || other;
            },
            20000);
        if (shown)
            return {*pressed, *shown};
        if (!other)
            break;
        std::fprintf(stderr, "lookup of %s: shown for %s instead, looked up again\n",
                     qPrintable(word), tavrel.events.value(event).last().detail.constData());
    }
    const QList<Bench::Tavrel::Mark> marks = tavrel.events.value(event);
    fail("lookup of " + word + ": no " + QString::fromLatin1(event) + " mark for it; the last: "
         + QString::fromUtf8(marks.isEmpty() ? "none" : marks.last().detail));
}

// Lookups, then memory over a long run of them, in one copy of the program.
void measureLookups(Bench &bench, MapWatcher &watcher, int lookups, int longRun, AnswerRows &rows)
{
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown, {}, builtIn);
    bench.window.clear(); // a window of this copy's own
    QThread::msleep(500);
    const int total = std::max(lookups, longRun) + 1; // the first one warms up
    for (int i = 0; i < total; ++i) {
        const QString word = wordAt(i);
        const Timed timed = lookUpUntil(bench, *tavrel, word, "answer-shown", answerDetail(word));
        if (i > 0 && i <= lookups)
            rows.answerMs.push_back(ms(timed.shown - timed.pressed));
        if (i == 0) {
            std::fprintf(stderr, "first built-in answer: %.1f ms\n",
                         ms(timed.shown - timed.pressed));
            QThread::msleep(1000);
            rows.memoryFirst
                = pssMiB(tavrel->process.processId(), "after the first built-in answer");
            rows.partsFirst = memoryParts(tavrel->process.processId());
        }
        if (i == std::min(200, total / 5)) {
            rows.warmUpLookups = i;
            rows.partsWarm = memoryParts(tavrel->process.processId());
        }
        if (i % 100 == 0)
            std::fprintf(stderr, "built-in lookup %d of %d: %.0f MiB\n", i, total - 1,
                         pssMiB(tavrel->process.processId()));
    }
    QThread::msleep(1000);
    rows.memoryLast = pssMiB(tavrel->process.processId(), "after the last built-in answer");
    rows.partsLast = memoryParts(tavrel->process.processId());
    endTree(tavrel->process);
}

// The program started with a word: the launch until the word's answer is shown.
void measureCold(Bench &bench, MapWatcher &watcher, int runs, AnswerRows &rows)
{
    for (int run = 0; run <= runs; ++run) {
        const QString word = wordAt(run);
        qint64 shown = 0;
        auto tavrel = bench.startTavrel(watcher, &shown, {word}, builtIn);
        std::optional<qint64> answered;
        if (!waitFor(
                [&] {
                    return (answered = tavrel->markAfter("answer-shown", tavrel->launched,
                                                         answerDetail(word)))
                        .has_value();
                },
                30000))
            fail("Tavrel started with " + word + " did not show its answer");
        if (run > 0)
            rows.coldMs.push_back(ms(*answered - tavrel->launched));
        const auto since = [&](const char *event) {
            const std::optional<qint64> at = tavrel->mark(event);
            return at ? ms(*at - tavrel->launched) : -1.0;
        };
        std::fprintf(stderr,
                     "built-in cold start %d: main %.0f, application %.0f, loaded %.0f, shown "
                     "%.0f, translate %.0f, answer %.0f ms\n",
                     run, since("main"), since("application"), since("loaded"),
                     ms(shown - tavrel->launched), since("translate"),
                     ms(*answered - tavrel->launched));
        endTree(tavrel->process);
    }
}

// A port on 127.0.0.1 nothing listens on: one just given up by a server of ours.
quint16 refusingPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost))
        fail("cannot listen on 127.0.0.1");
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// Lookups in a site that refuses the connection, each until the answer shown in its place.
void measureFallback(Bench &bench, MapWatcher &watcher, int lookups, AnswerRows &rows)
{
    const QString site = QStringLiteral("http://127.0.0.1:%1").arg(refusingPort());
    qint64 shown = 0;
    auto tavrel = bench.startTavrel(watcher, &shown, {}, site + "/dict?s=%word");
    if (!waitFor([&] { return tavrel->mark("page-loaded", "about:blank").has_value(); }, 30000))
        fail("Tavrel's blank page did not load");
    bench.window.clear();
    QThread::msleep(500);
    for (int i = 0; i <= lookups; ++i) {
        const QString word = wordAt(i);
        const Timed timed = lookUpUntil(bench, *tavrel, word, "fallback-shown", {});
        if (i > 0)
            rows.fallbackMs.push_back(ms(timed.shown - timed.pressed));
        const std::optional<qint64> failed = tavrel->markAfter("page-failed", timed.pressed);
        std::fprintf(stderr, "fallback %d: page failed %.1f, fallback shown %.1f ms\n", i,
                     failed ? ms(*failed - timed.pressed) : -1.0, ms(timed.shown - timed.pressed));
    }
    endTree(tavrel->process);
}

} // namespace

AnswerRows measureAnswers(Bench &bench, MapWatcher &watcher, int runs, int lookups, int longRun)
{
    AnswerRows rows;
    measureLookups(bench, watcher, lookups, longRun, rows);
    measureCold(bench, watcher, runs, rows);
    measureFallback(bench, watcher, std::min(lookups, 20), rows);
    rows.goldendictMiB = goldendictAfterLookup(bench, watcher);
    return rows;
}

void printAnswerRows(int lookups, int longRun, const AnswerRows &answers,
                     const LookupRows &lookupRows, const WordRows &words)
{
    const double page = median(lookupRows.pageMs);
    const double answer = median(answers.answerMs), fallback = median(answers.fallbackMs);
    const double cold = median(answers.coldMs), chromium = median(words.chromiumColdMs);
    const double first = answers.memoryFirst, last = answers.memoryLast;
    std::printf("| Translate to built-in answer shown (%d lookups) | %.1f ms | | | | | %.2f of "
                "page loaded, target ≤ 0.3 |\n",
                lookups, answer, answer / page);
    std::printf("| launch with a word to built-in answer shown | %.0f ms | | %.0f ms (to "
                "request) | | %.2f | %.2f of chromium, target ≤ 0.25 |\n",
                cold, chromium, cold / chromium, cold / chromium);
    std::printf("| memory (PSS, process tree), built-in answers | %.0f MiB after the first "
                "answer | %.0f MiB after its first website lookup | | %.2f | | %.2f of "
                "goldendict, target ≤ 0.4 |\n",
                first, answers.goldendictMiB, first / answers.goldendictMiB,
                first / answers.goldendictMiB);
    std::printf("| memory over %d built-in lookups | %+.1f %% (%.0f to %.0f MiB) | | | | | |\n",
                std::max(lookups, longRun), 100 * (last - first) / first, first, last);
    const MemoryParts &from = answers.partsFirst, &to = answers.partsLast;
    const double anonymousGrowth = to.anonymousMiB - from.anonymousMiB;
    std::printf("| anonymous memory over %d mixed built-in lookups | %+.2f MiB (%.1f to %.1f MiB) "
                "| | | | | %s, target ≤ +2 MiB |\n",
                std::max(lookups, longRun), anonymousGrowth, from.anonymousMiB, to.anonymousMiB,
                anonymousGrowth <= 2 ? "met" : "missed");
    const double warmGrowth = to.anonymousMiB - answers.partsWarm.anonymousMiB;
    std::printf("| anonymous memory after the first %d of those lookups (caches filled once) | "
                "%+.2f MiB (%.1f to %.1f MiB) | | | | | %s, target ≤ +2 MiB |\n",
                answers.warmUpLookups, warmGrowth, answers.partsWarm.anonymousMiB,
                to.anonymousMiB, warmGrowth <= 2 ? "met" : "missed");
    std::printf("| mapped index pages (PSS) over the same lookups | %+.2f MiB (%.1f to %.1f MiB) "
                "| | | | | apart: pages of the files, not a leak |\n",
                to.indexMiB - from.indexMiB, from.indexMiB, to.indexMiB);
    std::printf("| Translate to fallback shown, connection refused (%zu lookups) | %.1f ms | | | "
                "| | %.2f of page loaded, target ≤ 0.3 |\n",
                answers.fallbackMs.size(), fallback, fallback / page);
}

} // namespace TavrelBench
