// The stroke-order panel: how long from opening it to the first stroke painted, how long the
// drawing of one frame of the animation takes, and how much memory (PSS) opening it adds.
//   strokes_bench [--warm] [word [picture.png]]   with QT_QPA_PLATFORM=offscreen or on a display
// The index is first dropped from the system's cache, unless --warm. With a picture's name, the
// panel is also saved there as it is half way through the word.
#include "answer/tonecolours.h"
#include "stroke_order/characterdiagram.h"
#include "strokes/strokeindex.h"
#include "stroke_order/strokeorderpanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

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

// The PSS of the mappings whose file name ends with the given one.
double pssOfFileMiB(const QByteArray &name)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    double kib = 0;
    bool inside = false;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        if (!line.isEmpty() && !line.contains(':'))
            continue;
        if (line.contains('-') && line.indexOf(' ') > 0 && !line.startsWith("Pss")
            && line.split(' ').value(0).contains('-'))
            inside = line.trimmed().endsWith(name);
        else if (inside && line.startsWith("Pss:"))
            kib += line.mid(4).trimmed().split(' ').value(0).toDouble();
    }
    return kib / 1024;
}

// Drops the file from the system's cache, as after a restart: its pages are then read one by one
// as the reader touches them. Written a moment ago by the build, they would otherwise lie in the
// cache in blocks of up to 2 MiB, each mapped whole on its first touch.
bool evict(const char *path)
{
    const int fd = ::open(path, O_RDONLY);
    if (fd < 0)
        return false;
    const bool done = ::fdatasync(fd) == 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    ::close(fd);
    return done;
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
    QStringList arguments = application.arguments();
    const bool warm = arguments.removeAll(QStringLiteral("--warm")) > 0;
    const QString word = arguments.value(1, QStringLiteral("你好"));
    if (!warm && !evict(TAVREL_STROKES_INDEX))
        std::fprintf(stderr, "strokes_bench: could not drop %s from the cache\n",
                     TAVREL_STROKES_INDEX);
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

    const double pssOpened = pssMiB();

    if (arguments.size() > 2) {
        settle(1500);
        if (!panel->grab().save(arguments.at(2)))
            std::fprintf(stderr, "strokes_bench: could not save %s\n", qPrintable(arguments.at(2)));
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
    std::printf("| PSS added by opening the panel, at its first stroke | %.2f MiB |\n",
                pssOpened - pssBefore);
    std::printf("| of which the stroke index's mapped pages | %.2f MiB |\n",
                pssOfFileMiB("strokes.idx"));
    std::printf("| PSS added by opening the panel, once the first character is written | %.2f MiB "
                "(%.1f before, %.1f after) |\n",
                pssAfter - pssBefore, pssBefore, pssAfter);
    delete panel;
    printContrast();
    return 0;
}
