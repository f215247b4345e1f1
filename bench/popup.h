#pragma once

// The pop-up's rows: the selection handed to the running copy until the pop-up has painted its
// answer, beside a word handed to the main window of the same copy until its answer is shown.

#include "harness.h"

#include <vector>

namespace TavrelBench {

struct PopUpRows
{
    std::vector<double> selectionMs, wordMs, shortcutMs;
    // PSS of a fresh copy after its first pop-up, and of another after its first built-in
    // answer in the main window.
    double popUpMiB = 0, mainMiB = 0;
};

PopUpRows measurePopUp(Bench &bench, MapWatcher &watcher, int runs);
void printPopUpRows(int runs, const PopUpRows &rows);

} // namespace TavrelBench
