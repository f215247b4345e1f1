#pragma once

#include <QString>

class QUrl;

namespace Words {
struct Favourite;
}

// The star after each entry of an answer: "☆ Add to favourites", or "★ In favourites" once it is
// one. The link carries the entry, so that following it needs no second lookup.
namespace FavouriteLink {

// Where the entry's link leads: the entry itself, in a "tavrel-favourite:" address.
QUrl addressOf(const Words::Favourite &entry);

// The link for the entry, in Qt's rich text, for an entry that is a favourite or is not.
QString html(const Words::Favourite &entry, bool favourite);

// What a screen reader says for the link: what it does, and to which word.
QString accessibleName(const Words::Favourite &entry, bool favourite);

bool isLink(const QUrl &address);
Words::Favourite entryOf(const QUrl &address);

} // namespace FavouriteLink
