// The built-in answer shown with its pinyin coloured by tone and without, in the same run: each
// word's answer is opened in the answer view and painted, with the colours and without them in
// turn, the order swapped each round so that neither always comes first.
//
//   tone_colours_bench [rounds [picture.png]]
//
// With a picture, it also saves the answer for 普通话 with its characters coloured too, as the user
// guide shows it.

#include "answer/answerpage.h"
#include "answer/tonecolours.h"
#include "browser/answerview.h"
#include "lookup/lookup.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[std::size_t(p * double(values.size() - 1))];
}

// From open() to the page painted, in milliseconds.
double show(AnswerView &view, const QString &word)
{
    QElapsedTimer clock;
    clock.start();
    view.open(AnswerPage::addressOf(word));
    view.viewport()->repaint();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Dictionary::setIndexPath(QStringLiteral(TAVREL_DICTIONARY_INDEX));
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    const QStringList words {QStringLiteral("你好"), QStringLiteral("中国"), QStringLiteral("学习"),
                             QStringLiteral("是"),  QStringLiteral("爱"),  QStringLiteral("hao"),
                             QStringLiteral("ma"),  QStringLiteral("tea"), QStringLiteral("lü")};
    AnswerView view;
    view.resize(800, 600);
    view.show();
    ToneColours::Options coloured;
    coloured.palette = ToneColours::palette(ToneColours::Scheme::Default);
    ToneColours::Options charactersToo = coloured;
    charactersToo.characters = true;
    const std::vector<ToneColours::Options> kinds {ToneColours::Options(), coloured, charactersToo};
    std::vector<std::vector<double>> times(kinds.size());
    for (const QString &word : words) // once, so that the index's pages are in memory
        show(view, word);
    for (int round = 0; round < rounds; ++round) {
        for (const QString &word : words) {
            for (std::size_t k = 0; k < kinds.size(); ++k) {
                const std::size_t kind = (k + std::size_t(round)) % kinds.size();
                view.setToneColours(kinds[kind]);
                view.open(QUrl()); // another page first, so that each kind opens the word anew
                times[kind].push_back(show(view, word));
            }
        }
    }
    std::printf("| built-in answer opened and painted (%d rounds of %d words) | median | "
                "quartiles |\n|---|---|---|\n",
                rounds, int(words.size()));
    const char *const names[] = {"no tone colours", "tone colours (default scheme)",
                                 "tone colours, the characters too"};
    for (std::size_t kind = 0; kind < kinds.size(); ++kind)
        std::printf("| %s | %.2f ms | %.2f to %.2f ms |\n", names[kind],
                    percentile(times[kind], 0.5), percentile(times[kind], 0.25),
                    percentile(times[kind], 0.75));
    if (argc > 2) {
        view.setToneColours(charactersToo);
        show(view, QStringLiteral("普通话"));
        view.resize(640, 300);
        QCoreApplication::processEvents();
        if (!view.grab().save(QString::fromLocal8Bit(argv[2])))
            std::fprintf(stderr, "tone_colours_bench: could not save %s\n", argv[2]);
    }
    return 0;
}
