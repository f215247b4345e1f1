#pragma once

// The rows of the table: Tavrel's start-up, its lookups and the memory they take, and the words
// given on the command line, Tavrel's and the peers' side by side; and the table they make.

#include "harness.h"
#include "peers.h"

#include <vector>

namespace TavrelBench {

struct StartupRows
{
    std::vector<double> shownMs, blankMs;
};

struct LookupRows
{
    std::vector<double> requestMs, pageMs;
    double memoryFirst = 0, memoryLast = 0;
};

struct WordRows
{
    std::vector<double> tavrelColdMs, chromiumColdMs, tavrelHandedMs, goldendictHandedMs;
};

// Start-up: a warm-up run, then the measured ones.
StartupRows measureStartup(Bench &bench, MapWatcher &watcher, int runs);

// Lookups, then memory over a long run of them, in one copy of the program.
LookupRows measureLookups(Bench &bench, MapWatcher &watcher, int lookups, int longRun);

WordRows measureWords(Bench &bench, MapWatcher &watcher, int runs);

void printTable(int runs, int lookups, int longRun, const StartupRows &startup,
                const LookupRows &lookupRows, const PeerResult &goldendict,
                const PeerResult &chromium, const WordRows &words);
void printWordsTable(int runs, const WordRows &words);

} // namespace TavrelBench
