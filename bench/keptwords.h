#pragma once

// The words the user keeps, in the whole program: a key typed into the word box until the list
// of suggestions is painted, fast typing, the cost of recording a lookup in Translate → answer
// shown, and the memory after an answer, against a program without them (a build of the earlier
// version) when one is given.

#include "harness.h"

namespace TavrelBench {

void measureKeptWords(Bench &bench, MapWatcher &watcher, int lookups, const QString &baseline);

} // namespace TavrelBench
