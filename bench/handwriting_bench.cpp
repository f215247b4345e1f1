// How well and how fast handwriting is recognised: zinnia's own order against the re-ranked
// one, on strokes made from Make Me a Hanzi's medians (npm hanzi-writer-data) for the commonest
// characters of jieba's word list, clean and distorted as a hand distorts them. The weights
// are tuned on every other character and checked on the rest.
//
//   handwriting_bench accuracy <hanzi-writer-data/package> <jieba dict.txt> [characters]
//   handwriting_bench speed <hanzi-writer-data/package> <jieba dict.txt>
//   handwriting_bench lines <hanzi-writer-data/package> <jieba dict.txt> [characters]
//     writes the distorted drawings as the input of TavrelDictionary --handwriting -
#include "handwriting/backgroundrecogniser.h"
#include "handwriting/drawingarea.h"
#include "handwriting/handwritingpad.h"
#include "handwriting/recogniser.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

using namespace Handwriting;

namespace {

struct Sample
{
    QString character;
    Drawing clean, distorted;
};

QHash<QString, quint32> characterCounts(const QString &path)
{
    QHash<QString, quint32> counts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return counts;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().split(' ');
        const QString word = QString::fromUtf8(fields.value(0));
        if (fields.size() >= 2 && word.size() == 1 && word.at(0).unicode() >= 0x4E00)
            counts[word] += fields[1].toUInt();
    }
    return counts;
}

// A median in Make Me a Hanzi's 1024 box (y up, the baseline at 900) as the pad would record
// it: in the 300×300 box with y down, a point every few pixels.
Stroke fromMedian(const QJsonArray &median)
{
    Stroke corners;
    for (const QJsonValue &point : median) {
        const QJsonArray xy = point.toArray();
        corners.emplace_back(xy[0].toDouble() * 300 / 1024, (900 - xy[1].toDouble()) * 300 / 1024);
    }
    Stroke stroke;
    for (size_t i = 0; i + 1 < corners.size(); ++i) {
        const QPointF step = corners[i + 1] - corners[i];
        const int points = std::max(1, int(std::hypot(step.x(), step.y()) / 4));
        for (int k = 0; k < points; ++k)
            stroke.push_back(corners[i] + step * (double(k) / points));
    }
    if (!corners.empty())
        stroke.push_back(corners.back());
    return stroke;
}

// A hand's drawing of the character: a little smaller or larger and off centre, slanted, each
// stroke wobbling and its points jittered, drawn faster in some places than others.
Drawing distorted(const Drawing &clean, std::mt19937 &random)
{
    std::uniform_real_distribution<double> scale(0.8, 1.1), shift(-15, 15), slant(-0.15, 0.15),
            phase(0, 6.28), keep(0.3, 1.0);
    std::normal_distribution<double> jitter(0, 1.5);
    const double scaleX = scale(random), scaleY = scale(random), dx = shift(random),
                 dy = shift(random), shear = slant(random);
    Drawing drawing;
    for (const Stroke &stroke : clean) {
        const double wobblePhase = phase(random), speed = keep(random);
        Stroke out;
        for (size_t i = 0; i < stroke.size(); ++i) {
            // Uneven speed: a fast hand leaves fewer points, never the ends.
            if (i > 0 && i + 1 < stroke.size() && keep(random) > speed + 0.35)
                continue;
            const QPointF p = stroke[i] - QPointF(150, 150);
            const double wobble = 3 * std::sin(wobblePhase + i * 0.25);
            out.emplace_back(150 + (p.x() + shear * p.y()) * scaleX + dx + jitter(random) + wobble,
                             150 + p.y() * scaleY + dy + jitter(random) + wobble * 0.5);
        }
        drawing.push_back(out);
    }
    return drawing;
}

std::vector<Sample> samples(const QString &folder, const QHash<QString, quint32> &counts, int wanted)
{
    QList<QPair<quint32, QString>> ranked;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        ranked.append({it.value(), it.key()});
    std::sort(ranked.begin(), ranked.end(), std::greater<>());
    std::vector<Sample> result;
    std::mt19937 random(35);
    for (const auto &[count, character] : ranked) {
        if (int(result.size()) >= wanted)
            break;
        QFile file(QDir(folder).filePath(character + QStringLiteral(".json")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        Sample sample{character, {}, {}};
        const QJsonArray medians = QJsonDocument::fromJson(file.readAll())
                                           .object()[QStringLiteral("medians")].toArray();
        for (const QJsonValue &median : medians)
            sample.clean.push_back(fromMedian(median.toArray()));
        sample.distorted = distorted(sample.clean, random);
        result.push_back(std::move(sample));
    }
    return result;
}

struct Score
{
    int first = 0, five = 0, total = 0;
    QString text() const
    {
        return QStringLiteral("%1 % | %2 %")
                .arg(100.0 * first / std::max(1, total), 0, 'f', 1)
                .arg(100.0 * five / std::max(1, total), 0, 'f', 1);
    }
};

void tally(Score &score, const std::vector<Candidate> &candidates, const QString &character)
{
    ++score.total;
    for (size_t i = 0; i < std::min<size_t>(5, candidates.size()); ++i) {
        if (candidates[i].character == character) {
            score.first += i == 0;
            ++score.five;
        }
    }
}

struct Raw
{
    QString character;
    std::vector<Candidate> clean, distorted;
};

Score scored(const std::vector<Raw> &raws, bool distortedOnes, size_t parity,
             const CountProvider &counts, const RerankWeights *weights)
{
    Score score;
    for (size_t i = parity; i < raws.size(); i += 2) {
        const auto &candidates = distortedOnes ? raws[i].distorted : raws[i].clean;
        tally(score, weights ? rerank(candidates, counts, ShownCandidates, *weights) : candidates,
              raws[i].character);
    }
    return score;
}

int accuracy(const QString &folder, const QString &dictionary, int wanted)
{
    const QHash<QString, quint32> table = characterCounts(dictionary);
    const CountProvider counts = [&table](const QString &c) { return table.value(c); };
    Recogniser recogniser;
    if (!recogniser.load()) {
        std::fprintf(stderr, "%s\n", qPrintable(recogniser.errorString()));
        return 2;
    }
    std::vector<Raw> raws;
    for (const Sample &sample : samples(folder, table, wanted))
        raws.push_back({sample.character, recogniser.recognise(sample.clean, CandidatePool),
                        recogniser.recognise(sample.distorted, CandidatePool)});
    // Tuned on the even characters, clean and distorted together: the most first choices,
    // then the most in the first five.
    RerankWeights best{0, 0};
    int bestFirst = -1, bestFive = -1;
    for (double frequency : {0.0, 0.02, 0.04, 0.06, 0.07, 0.08, 0.09, 0.1, 0.12, 0.15, 0.2}) {
        for (double reach : {0.1, 0.3, 0.6, 1.0, 10.0}) {
            const RerankWeights weights{frequency, reach};
            const Score a = scored(raws, false, 0, counts, &weights);
            const Score b = scored(raws, true, 0, counts, &weights);
            const int first = a.first + b.first, five = a.five + b.five;
            if (first > bestFirst || (first == bestFirst && five > bestFive)) {
                best = weights;
                bestFirst = first;
                bestFive = five;
            }
        }
    }
    const RerankWeights shipped;
    std::printf("%d characters; tuned on the even ones: frequency %.2f, reach %.2f "
                "(the program's: %.2f, %.2f)\n\n",
                int(raws.size()), best.frequency, best.reach, shipped.frequency, shipped.reach);
    std::printf("| strokes | characters | zinnia first | zinnia top 5 | re-ranked first | "
                "re-ranked top 5 |\n|---|---|---|---|---|---|\n");
    for (bool distortedOnes : {false, true}) {
        for (size_t parity : {size_t(0), size_t(1)}) {
            const Score zinnia = scored(raws, distortedOnes, parity, counts, nullptr);
            const Score ours = scored(raws, distortedOnes, parity, counts, &shipped);
            std::printf("| %s | %s | %s | %s |\n", distortedOnes ? "distorted" : "clean",
                        parity ? "held out (odd)" : "tuning (even)", qPrintable(zinnia.text()),
                        qPrintable(ours.text()));
        }
    }
    return 0;
}

// The process's PSS in MiB, or its part of one kind: "Pss_File" (mapped files, the model
// among them) or "Pss_Anon" (memory of its own).
double pss(const QByteArray &kind = "Pss")
{
    QFile file(QStringLiteral("/proc/self/smaps_rollup"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(kind + ':'))
            return line.mid(kind.size() + 1).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

int speed(const QString &folder, const QString &dictionary)
{
    const QHash<QString, quint32> table = characterCounts(dictionary);
    const CountProvider counts = [&table](const QString &c) { return table.value(c); };
    QWidget window;
    window.resize(600, 400);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 2;
    QTest::qWait(100);
    const double before = pss();
    const double fileBefore = pss("Pss_File"), anonBefore = pss("Pss_Anon");

    QElapsedTimer timer;
    timer.start();
    auto *pad = new HandwritingPad(counts, &window);
    QSignalSpy ready(pad->findChild<BackgroundRecogniser *>(), &BackgroundRecogniser::ready);
    pad->show();
    QSignalSpy candidates(pad, &HandwritingPad::candidatesChanged);
    QCoreApplication::processEvents();
    const double opened = timer.nsecsElapsed() / 1e6;
    const bool loaded = ready.size() == 1 || ready.wait(5000);
    const double modelOpened = timer.nsecsElapsed() / 1e6;
    const double shown = pss();

    // Strokes drawn with the mouse, then the time from each stroke's end to its candidates.
    std::vector<double> latencies;
    for (const Sample &sample : samples(folder, table, 200)) {
        pad->clear();
        for (const Stroke &stroke : sample.clean) {
            DrawingArea *area = pad->drawingArea();
            const double k = area->width() / BoxSize;
            QTest::mousePress(area, Qt::LeftButton, {}, (stroke.front() * k).toPoint());
            for (const QPointF &point : stroke) {
                QMouseEvent move(QEvent::MouseMove, point * k, area->mapToGlobal(point * k),
                                 Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(area, &move);
            }
            candidates.clear();
            timer.restart();
            QTest::mouseRelease(area, Qt::LeftButton, {}, (stroke.back() * k).toPoint());
            if (candidates.wait(2000))
                latencies.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const double after = pss();
    const double fileAfter = pss("Pss_File"), anonAfter = pss("Pss_Anon");
    std::printf("| opening the pad the first time, shown | %.1f ms |\n", opened);
    std::printf("| opening the pad the first time, until its model is open | %.1f ms%s |\n",
                modelOpened, loaded ? "" : " (not opened)");
    std::printf("| stroke end to candidates, median of %d strokes | %.1f ms |\n",
                int(latencies.size()), latencies.empty() ? 0 : latencies[latencies.size() / 2]);
    std::printf("| stroke end to candidates, 95th percentile | %.1f ms |\n",
                latencies.empty() ? 0 : latencies[latencies.size() * 95 / 100]);
    std::printf("| PSS with the pad open, over the window before it | %.1f MiB |\n",
                shown - before);
    std::printf("| PSS with the pad open and used, over the window before it | %.1f MiB |\n",
                after - before);
    std::printf("| of which mapped files (the model) | %.1f MiB |\n", fileAfter - fileBefore);
    std::printf("| of which anonymous | %.1f MiB |\n", anonAfter - anonBefore);
    return 0;
}

// The distorted drawings, one JSON line each, for timing the terminal mode from outside.
int lines(const QString &folder, const QString &dictionary, int wanted)
{
    for (const Sample &sample : samples(folder, characterCounts(dictionary), wanted)) {
        QJsonArray strokes;
        for (const Stroke &stroke : sample.distorted) {
            QJsonArray points;
            for (const QPointF &point : stroke)
                points.append(QJsonArray{std::round(point.x() * 10) / 10,
                                         std::round(point.y() * 10) / 10});
            strokes.append(points);
        }
        std::puts(QJsonDocument(strokes).toJson(QJsonDocument::Compact).constData());
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: handwriting_bench accuracy|speed <hanzi-writer-data/package> "
                   "<jieba dict.txt> [characters]\n", stderr);
        return 2;
    }
    if (arguments[1] == QStringLiteral("speed"))
        return speed(arguments[2], arguments[3]);
    if (arguments[1] == QStringLiteral("lines"))
        return lines(arguments[2], arguments[3], arguments.value(4, QStringLiteral("1000")).toInt());
    return accuracy(arguments[2], arguments[3], arguments.value(4, QStringLiteral("3500")).toInt());
}
