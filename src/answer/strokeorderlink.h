#pragma once

#include "answer/tonecolours.h"

#include <QString>
#include <QUrl>

// The characters of an entry's headword, each a link to its stroke order: "tavrel-strokes:你".
namespace StrokeOrderLink {

bool isLink(const QUrl &address);
QUrl addressOf(const QString &character);
QString characterOf(const QUrl &address);
// "Stroke order of 你", the link's name for screen readers and the panel's.
QString accessibleName(const QString &character);

// The headword in Qt's rich text, each character a link, coloured along the pinyin when the
// options colour the characters.
QString html(const QString &headword, const QString &pinyin, const ToneColours::Options &tones);

} // namespace StrokeOrderLink
