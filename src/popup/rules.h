#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

// What the pop-up looks up and where it opens, worked out without a window.
namespace PopUpRules {

// Longest text looked up, in UTF-16 units; a longer selection is a passage, not a word.
constexpr int maxLookupLength = 200;
// Selections this long or shorter open the pop-up when the selection is watched.
constexpr int maxWatchedLength = 40;

// The pop-up's size, in logical pixels.
constexpr int width = 420;
constexpr int height = 320;

// The first line of the selected text, trimmed and cut to maxLookupLength; empty when nothing
// is selected.
QString lookupText(const QString &selected);

// The text of a selection's bytes as its owner gave them for UTF8_STRING or STRING; empty when
// they are no text at all (a NUL, or bytes that are not UTF-8 where UTF-8 was asked for).
// STRING is Latin-1 by the book, yet owners that hand a Wayland selection on to X11 programs
// answer it with UTF-8; bytes that are valid UTF-8 are read as UTF-8 there too.
QString decodedSelection(const QByteArray &bytes, bool utf8);

// True when an owner's list of targets (its answer to TARGETS) holds text as UTF8_STRING or
// STRING, the forms the pop-up asks for; false for an image or a file, whose owner never answers with text however long it is
// asked.
bool offersText(const QList<QByteArray> &targets);

// What the pop-up says when there is nothing to look up.
QString nothingSelected();

// True when a selection made in another program is short enough to be a word or two.
bool isWatchedSelection(const QString &selected);

// Where the pop-up goes: beside the pointer, wholly on the available area of its screen, or in
// its middle when the window system does not tell where the pointer is (Wayland).
QRect placement(const QRect &available, const QPoint &pointer, bool centred,
                const QSize &size = QSize(width, height));

} // namespace PopUpRules
