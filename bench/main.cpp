// Measures Tavrel Dictionary against the programs a user would otherwise pick, on one private
// Xvfb, and prints a table:
//   start to window shown  (launch until the X server maps the program's window)
//   start to blank page    (Tavrel only: until its blank page has loaded)
//   Translate to request   (the press until the request reaches a server on 127.0.0.1)
//   Translate to page      (the press until the page has loaded)
//   memory                 (PSS summed over the whole process tree)
//   cold start with a word (launch with a word until its request reaches the server)
//   word to running copy   (launch with a word until the copy already running requests it)
//   built-in answers       (with the template "tavrel:%word": Translate, and a launch with a
//                          word, until the answer is shown; the memory they take)
//   fallback               (Translate until the answer shown for a site refusing the connection)
//   speech                 (a speaker link until the first samples reach the sound device, the
//                          memory before and after, and start-up with Qt Multimedia linked)
// Each time is the median of several runs after a warm-up run. Tavrel reports its own moments
// through its "tavrel.timing" logging category; all clocks are the same monotonic clock.
//
//   popup                  (--selection to the running copy until the pop-up has painted its
//                          answer, beside a word to its main window until the answer is shown)
//   tavrel_bench [--words|--speech|--popup] [path/to/TavrelDictionary] [runs] [lookups]
//                [long-run lookups]
//   tavrel_bench --kept-words [path/to/TavrelDictionary] [lookups] [earlier TavrelDictionary]
// With --words only the two rows of words given on the command line are measured, with --speech
// only the speech rows, with --popup only the pop-up's, with --kept-words only those of the
// words the user keeps (keptwords.cpp).
//
// harness.cpp holds the display, the server, the process tree and the window watcher, tavrel.cpp
// drives Tavrel, peers.cpp the programs it is measured against, measures.cpp the rows and
// answers.cpp those of the built-in dictionary.

#include "answers.h"
#include "harness.h"
#include "keptwords.h"
#include "measures.h"
#include "peers.h"
#include "popup.h"
#include "speech.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

using namespace TavrelBench;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool wordsOnly = args.removeAll("--words") > 0;
    const bool keptWords = args.removeAll("--kept-words") > 0;
    const bool speechOnly = args.removeAll("--speech") > 0;
    const bool popUpOnly = args.removeAll("--popup") > 0;
    const QString program = QFileInfo(args.value(1, "build/TavrelDictionary")).absoluteFilePath();
    const int runs = args.value(2, "7").toInt();
    const int lookups = args.value(3, "100").toInt();
    const int longRun = args.value(4, "1000").toInt();
    if (!QFileInfo(program).isExecutable())
        fail(program + " is not an executable");

    QProcess xvfb;
    Bench bench;
    bench.display = startDisplay(xvfb);
    bench.program = program;
    MapWatcher watcher(bench.display);

    if (keptWords) {
        measureKeptWords(bench, watcher, args.value(2, "100").toInt(),
                         args.size() > 3 ? QFileInfo(args.at(3)).absoluteFilePath() : QString());
        endDisplay(xvfb);
        return 0;
    }

    if (popUpOnly) {
        const PopUpRows rows = measurePopUp(bench, watcher, runs);
        endDisplay(xvfb);
        printPopUpRows(runs, rows);
        return 0;
    }

    if (speechOnly) {
        const SpeechRows rows = measureSpeech(bench, watcher, runs);
        endDisplay(xvfb);
        printSpeechRows(rows);
        return 0;
    }

    if (wordsOnly) {
        const WordRows rows = measureWords(bench, watcher, runs);
        endDisplay(xvfb);
        printWordsTable(runs, rows);
        return 0;
    }

    const StartupRows startup = measureStartup(bench, watcher, runs);
    const LookupRows lookupRows = measureLookups(bench, watcher, lookups, longRun);

    // The peers, on the same display and the same page.
    const PeerResult chromium
        = measurePeer(bench, watcher, "chromium", runs, chromiumCommand, "hromium", "/peer");
    const PeerResult goldendict = measurePeer(bench, watcher, "goldendict", runs, goldendictCommand,
                                              "oldenDict", QString());
    const WordRows words = measureWords(bench, watcher, runs);
    const AnswerRows answers = measureAnswers(bench, watcher, runs, lookups, longRun);
    const SpeechRows speech = measureSpeech(bench, watcher, runs);

    endDisplay(xvfb);
    printTable(runs, lookups, longRun, startup, lookupRows, goldendict, chromium, words);
    printAnswerRows(lookups, longRun, answers, lookupRows, words);
    printSpeechRows(speech);
    return 0;
}
