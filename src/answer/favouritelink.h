#pragma once

#include <QString>

#include <functional>

class QUrl;

namespace Words {
struct Favourite;
}

// The star after each entry of an answer: "☆ Add to favourites", or "★ In favourites" once it is
// one. The link carries the entry, so that following it needs no second lookup.
namespace FavouriteLink {

// Which entries are favourites; until it is set, none is.
void setCheck(std::function<bool(const QString &word, const QString &reading)> check);
bool isFavourite(const QString &word, const QString &reading);

// Where the entry's link leads: the entry itself, in a "tavrel-favourite:" address.
QUrl addressOf(const Words::Favourite &entry);

// The link for the entry, in Qt's rich text, as its favourite state is now.
QString html(const Words::Favourite &entry);

// What a screen reader says for the link: what it does, and to which word.
QString accessibleName(const Words::Favourite &entry, bool favourite);

bool isLink(const QUrl &address);
Words::Favourite entryOf(const QUrl &address);

} // namespace FavouriteLink
