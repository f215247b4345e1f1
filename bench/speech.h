#pragma once

// Words read aloud: a speaker link used until the first samples go to the sound device, on the
// first use (the speech library and the sound output loaded then) and after, through a real
// PulseAudio with a null sink; the memory after an answer before any word is read; and what
// linking Qt Multimedia into the program would cost its start.

#include "harness.h"

#include <vector>

namespace TavrelBench {

struct SpeechRows
{
    QString skipped; // why nothing was measured
    std::vector<double> firstMs, laterMs;
    std::vector<double> answerMiB, spokenMiB; // PSS after an answer; after its word was read
    bool loadedEarly = false; // the speech library or Qt Multimedia mapped before any word
    std::vector<double> shownMs, shownLinkedMs; // launch until the window is mapped
    std::vector<double> plainMiB, linkedMiB; // PSS after an answer, without and with it linked
};

SpeechRows measureSpeech(Bench &bench, MapWatcher &watcher, int runs);
void printSpeechRows(const SpeechRows &rows);

} // namespace TavrelBench
