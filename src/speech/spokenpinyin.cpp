#include "spokenpinyin.h"

#include <QStringList>

#include <algorithm>

namespace Speech {

namespace {

bool endsWithTone(const QString &syllable)
{
    return syllable.size() > 1 && syllable.back() >= u'1' && syllable.back() <= u'5'
        && syllable.front().isLetter();
}

} // namespace

QString spokenPinyin(const QString &numbered)
{
    QStringList spoken;
    for (QString syllable : numbered.split(u' ', Qt::SkipEmptyParts)) {
        syllable = syllable.toLower();
        syllable.replace(QStringLiteral("u:"), QStringLiteral("v"));
        syllable.replace(QChar(0x00FC), u'v'); // ü
        if (syllable == QChar(0x00B7) || syllable == QLatin1String(",")) { // the name dot
            if (!spoken.isEmpty() && spoken.back() != QLatin1String(","))
                spoken << QStringLiteral(",");
            continue;
        }
        if (syllable.startsWith(QLatin1String("xx")))
            continue;
        // Erhua: "r5" after a syllable is that syllable's r-colouring, as it is said, not an
        // "er" of its own.
        if ((syllable == QLatin1String("r5") || syllable == QLatin1String("r")) && !spoken.isEmpty()
            && endsWithTone(spoken.back())) {
            spoken.back().insert(spoken.back().size() - 1, u'r');
            continue;
        }
        if (syllable == QLatin1String("r5") || syllable == QLatin1String("r"))
            syllable = QStringLiteral("er5");
        // Lone punctuation says nothing; "4S" is said as written.
        if (std::any_of(syllable.begin(), syllable.end(),
                        [](QChar c) { return c.isLetterOrNumber(); }))
            spoken << syllable;
    }
    while (!spoken.isEmpty() && spoken.back() == QLatin1String(","))
        spoken.removeLast();
    return spoken.join(u' ').replace(QStringLiteral(" ,"), QStringLiteral(","));
}

} // namespace Speech
