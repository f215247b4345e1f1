#include "rules.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <algorithm>

namespace PopUpRules {

namespace {
// Far enough from the pointer that the pop-up does not cover the word just selected.
constexpr int pointerGap = 12;

int fitted(int start, int length, int areaStart, int areaLength)
{
    // A pop-up larger than the area starts at its edge, so that its top and left stay visible.
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}
} // namespace

QString lookupText(const QString &selected)
{
    const QString trimmed = selected.trimmed();
    qsizetype end = trimmed.size();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator) {
            end = i;
            break;
        }
    }
    QString line = trimmed.left(end).trimmed();
    if (line.size() > maxLookupLength) {
        // Never half a surrogate pair.
        int cut = maxLookupLength;
        if (line.at(cut - 1).isHighSurrogate())
            --cut;
        line = line.left(cut).trimmed();
    }
    return line;
}

QString decodedSelection(const QByteArray &bytes, bool utf8)
{
    if (bytes.contains('\0'))
        return QString();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    // Latin-1 text is seldom valid UTF-8 by chance: two of its letters would have to make a
    // sequence, an accented capital followed by a sign such as "©".
    return utf8 ? QString() : QString::fromLatin1(bytes);
}

bool offersText(const QList<QByteArray> &targets)
{
    // The two the reader asks for; owners that know text at all know one of them.
    return targets.contains("UTF8_STRING") || targets.contains("STRING");
}

QString nothingSelected()
{
    return QCoreApplication::translate("PopUp", "Nothing selected");
}

bool isWatchedSelection(const QString &selected)
{
    const QString text = selected.trimmed();
    return !text.isEmpty() && text.size() <= maxWatchedLength && !text.contains(u'\n');
}

QRect placement(const QRect &available, const QPoint &pointer, bool centred, const QSize &size)
{
    const QSize fit = size.boundedTo(available.size());
    if (centred) {
        QRect rect(QPoint(), fit);
        rect.moveCenter(available.center());
        return rect;
    }
    // Below and to the right of the pointer; where that runs off the area, above or to the left.
    int x = pointer.x() + pointerGap;
    if (x + fit.width() > available.right() + 1)
        x = pointer.x() - pointerGap - fit.width();
    int y = pointer.y() + pointerGap;
    if (y + fit.height() > available.bottom() + 1)
        y = pointer.y() - pointerGap - fit.height();
    return QRect(fitted(x, fit.width(), available.x(), available.width()),
                 fitted(y, fit.height(), available.y(), available.height()), fit.width(),
                 fit.height());
}

} // namespace PopUpRules
