#pragma once

#include <QString>

namespace Speech {

// The dictionary's numbered pinyin ("yi1 dian3 r5", "lu:4", "Ma3 ke4 si1 · Wei2") as espeak-ng's
// cmn-latn-pinyin voice reads it right: "v" for ü ("u:" would read as "u" and the digit after it
// as a number), erhua joined to its syllable ("dianr3"), the name dots as pauses, syllables of
// unknown reading ("xx5") left out. Every tone digit then stays a tone, never a spoken number.
QString spokenPinyin(const QString &numbered);

} // namespace Speech
