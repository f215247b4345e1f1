// The stroke-order panel: how long from opening it to the first stroke painted, how long the
// drawing of one frame of the animation takes, and how much memory (PSS) opening it adds.
//   strokes_bench [word [picture.png]]   run with QT_QPA_PLATFORM=offscreen or on a display
// With a picture's name, the panel is also saved there as it is half way through the word.
#include "answer/tonecolours.h"
#include "strokes/characterdiagram.h"
#include "strokes/strokeindex.h"
#include "strokes/strokeorderpanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double pssMiB()
{
    QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
    if (!rollup.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : rollup.readAll().split('\n'))
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

void settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[size_t(p * double(values.size() - 1))];
}

// Each tone colour's contrast on a light and a dark view, and the colour readableOn() makes of it
// where it falls short of 4.5:1.
void printContrast()
{
    using namespace ToneColours;
    std::printf("\n| scheme | tone | colour | on white | readable as | on #232629 | readable as "
                "|\n|---|---|---|---|---|---|---|\n");
    const QColor light(Qt::white), dark(0x23, 0x26, 0x29);
    for (const Scheme scheme : {Scheme::Default, Scheme::ColourBlindSafe}) {
        const Palette colours = palette(scheme);
        for (int tone = 1; tone <= neutralTone; ++tone) {
            const QColor c = colours.colour(tone);
            const QColor onLight = readableOn(c, light), onDark = readableOn(c, dark);
            std::printf("| %s | %d | %s | %.2f | %s (%.2f) | %.2f | %s (%.2f) |\n",
                        qPrintable(schemeCaption(scheme)), tone, qPrintable(c.name()),
                        contrastRatio(c, light), qPrintable(onLight.name()),
                        contrastRatio(onLight, light), contrastRatio(c, dark),
                        qPrintable(onDark.name()), contrastRatio(onDark, dark));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QString word = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("你好");
    Strokes::setIndexPath(QStringLiteral(TAVREL_STROKES_INDEX));

    // The program before the panel: a window shown and painted.
    QLabel before(QStringLiteral("Tavrel"));
    before.show();
    settle(300);
    const double pssBefore = pssMiB();

    QElapsedTimer clock;
    clock.start();
    auto *panel = new StrokeOrderPanel(word);
    CharacterDiagram *first = panel->diagrams().value(0);
    if (!first || first->strokeCount() == 0) {
        std::fprintf(stderr, "strokes_bench: no stroke data for %s\n", qPrintable(word));
        return 1;
    }
    qint64 firstStroke = -1, firstPaint = -1;
    QObject::connect(first, &CharacterDiagram::framePainted, first, [&] {
        if (firstPaint < 0)
            firstPaint = clock.nsecsElapsed();
        if (firstStroke < 0 && (first->progress() > 0 || first->strokesDrawn() > 0))
            firstStroke = clock.nsecsElapsed();
    });
    panel->show();
    while (firstStroke < 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);

    if (argc > 2) {
        settle(1500);
        if (!panel->grab().save(QString::fromLocal8Bit(argv[2])))
            std::fprintf(stderr, "strokes_bench: could not save %s\n", argv[2]);
    }

    // A frame's drawing, timed on its own: the diagram painted in full as the animation goes.
    std::vector<double> frames;
    for (CharacterDiagram *diagram : panel->diagrams())
        diagram->setSpeed(4);
    while (!first->isFinished() && frames.size() < 2000) {
        QElapsedTimer frame;
        frame.start();
        first->repaint();
        frames.push_back(double(frame.nsecsElapsed()) / 1e6);
        settle(16);
    }
    settle(300);
    const double pssAfter = pssMiB();

    std::printf("| stroke-order panel (%s), %d strokes | measure |\n|---|---|\n",
                qPrintable(word), first->strokeCount());
    std::printf("| opening to the first frame painted | %.1f ms |\n", double(firstPaint) / 1e6);
    std::printf("| opening to the first stroke painted | %.1f ms |\n", double(firstStroke) / 1e6);
    std::printf("| one frame's drawing (%dx%d), median / 95th percentile / most | %.2f / %.2f / "
                "%.2f ms over %zu frames |\n",
                first->width(), first->height(), percentile(frames, 0.5),
                percentile(frames, 0.95), percentile(frames, 1), frames.size());
    std::printf("| PSS added by opening the panel | %.2f MiB (%.1f before, %.1f after) |\n",
                pssAfter - pssBefore, pssBefore, pssAfter);
    delete panel;
    printContrast();
    return 0;
}
