#pragma once

// The built-in dictionary's rows: its answers to lookups and to a word on the command line, the
// memory they take against goldendict's after a website lookup, and the answer shown in place of
// a page its site could not give.

#include "harness.h"
#include "measures.h"

#include <vector>

namespace TavrelBench {

struct AnswerRows
{
    std::vector<double> answerMs; // Translate until the answer is shown
    std::vector<double> coldMs; // launch with a word until its answer is shown
    std::vector<double> fallbackMs; // Translate until the answer is shown for a refused site
    double memoryFirst = 0, memoryLast = 0;
    MemoryParts partsFirst, partsLast; // after the first answer and after the last
    // After the first lookups, which fill caches once: the English spelling dictionary (some
    // 10 MiB of heap at the first word it doesn't know), glyphs and fonts.
    MemoryParts partsWarm;
    int warmUpLookups = 0;
    double goldendictMiB = 0; // after its first lookup in a website source
};

AnswerRows measureAnswers(Bench &bench, MapWatcher &watcher, int runs, int lookups, int longRun);

// The rows, after the table's others: compared with the page loaded from the server and the
// peers measured there.
void printAnswerRows(int lookups, int longRun, const AnswerRows &answers,
                     const LookupRows &lookupRows, const WordRows &words);

} // namespace TavrelBench
