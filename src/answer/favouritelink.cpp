#include "answer/favouritelink.h"

#include "words/store.h"

#include <QCoreApplication>
#include <QUrl>
#include <QUrlQuery>

namespace FavouriteLink {

namespace {

const QString scheme = QStringLiteral("tavrel-favourite");

QString decoded(const QString &encoded) { return QUrl::fromPercentEncoding(encoded.toLatin1()); }

} // namespace

QString accessibleName(const Words::Favourite &entry, bool favourite)
{
    return favourite
        ? QCoreApplication::translate("FavouriteLink", "%1 is in favourites: remove it")
              .arg(entry.word)
        : QCoreApplication::translate("FavouriteLink", "Add %1 to favourites").arg(entry.word);
}

QUrl addressOf(const Words::Favourite &entry)
{
    QUrlQuery query;
    // Encoded here, so that "+", "&" and "=" in a sense come back as they were.
    const auto item = [&](const QString &key, const QString &text) {
        query.addQueryItem(key, QString::fromLatin1(QUrl::toPercentEncoding(text)));
    };
    item(QStringLiteral("word"), entry.word);
    item(QStringLiteral("reading"), entry.reading);
    for (const QString &sense : entry.senses)
        item(QStringLiteral("sense"), sense);
    QUrl address;
    address.setScheme(scheme);
    address.setQuery(query);
    return address;
}

QString html(const Words::Favourite &entry, bool favourite)
{
    return QStringLiteral("<a href=\"%1\" class=\"star\">%2</a>")
        .arg(addressOf(entry).toString(QUrl::FullyEncoded).toHtmlEscaped(),
             favourite ? QCoreApplication::translate("FavouriteLink", "★ In favourites")
                       : QCoreApplication::translate("FavouriteLink", "☆ Add to favourites"));
}

bool isLink(const QUrl &address) { return address.scheme() == scheme; }

Words::Favourite entryOf(const QUrl &address)
{
    const QUrlQuery query(address);
    Words::Favourite entry;
    entry.word = decoded(query.queryItemValue(QStringLiteral("word"), QUrl::FullyEncoded));
    entry.reading = decoded(query.queryItemValue(QStringLiteral("reading"), QUrl::FullyEncoded));
    const QStringList senses
        = query.allQueryItemValues(QStringLiteral("sense"), QUrl::FullyEncoded);
    for (const QString &sense : senses)
        entry.senses << decoded(sense);
    return entry;
}

} // namespace FavouriteLink
