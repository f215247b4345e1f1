#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace EnglishChinese {

// The word's other spellings, British for American and American for British (colour and color,
// centre and center, realise and realize, analyse and analyze, travelled and traveled, catalogue
// and catalog, defence and defense), those isWord knows only: the rules alone would also make
// words nobody writes. Lower-case words in, lower-case words out.
QStringList otherSpellings(const QString &word, const std::function<bool(const QString &)> &isWord);

} // namespace EnglishChinese
