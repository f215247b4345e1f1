#pragma once

#include "recogniser.h"

#include <QByteArray>

#include <cstdio>

// TavrelDictionary --handwriting -: one drawing a line in, one JSON object a line out.
namespace Handwriting {

// The answer line (without its newline) for one input line: the candidates, or the error.
QByteArray answerLine(Recogniser &recogniser, const CountProvider &counts, QByteArrayView line);

// Reads lines from in until its end, answering each on out; 0 at the end of input, 2 when the
// model can't be opened (said on err).
int runTerminal(std::FILE *in, std::FILE *out, std::FILE *err);

} // namespace Handwriting
