#include "answer/strokeorderlink.h"

#include <QCoreApplication>

namespace {

const QString scheme = QStringLiteral("tavrel-strokes");

} // namespace

namespace StrokeOrderLink {

bool isLink(const QUrl &address) { return address.scheme() == scheme; }

QUrl addressOf(const QString &character)
{
    QUrl address;
    address.setScheme(scheme);
    address.setPath(character, QUrl::DecodedMode);
    return address;
}

QString characterOf(const QUrl &address)
{
    return isLink(address) ? address.path(QUrl::FullyDecoded) : QString();
}

QString accessibleName(const QString &character)
{
    return QCoreApplication::translate("StrokeOrderLink", "Stroke order of %1").arg(character);
}

QString html(const QString &headword, const QString &pinyin, const ToneColours::Options &tones)
{
    const ToneColours::Palette shown
        = tones.characters ? tones.palette : ToneColours::Palette {ToneColours::Scheme::None, {}};
    return ToneColours::charactersHtml(
        headword, pinyin, shown, [](const QString &character, const QString &inner) {
            // Named, and its tooltip given, by the control the view lays over it.
            return QStringLiteral("<a href=\"%1\" class=\"word\">%2</a>")
                .arg(addressOf(character).toString(QUrl::FullyEncoded).toHtmlEscaped(), inner);
        });
}

} // namespace StrokeOrderLink
