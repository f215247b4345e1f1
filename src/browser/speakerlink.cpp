#include "speakerlink.h"

#include "answer/answerpage.h"
#include "answer/strokeorderlink.h"

#include <QAccessibleWidget>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

// A link a screen reader presses, named by the control's accessible name.
class AccessibleSpeakerLink : public QAccessibleWidget
{
public:
    explicit AccessibleSpeakerLink(QWidget *link)
        : QAccessibleWidget(link, QAccessible::Link)
    { }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<SpeakerLink *>(widget())->click();
    }
};

QAccessibleInterface *accessibleSpeakerLink(const QString &className, QObject *object)
{
    if (className == QLatin1String("SpeakerLink") && object && object->isWidgetType())
        return new AccessibleSpeakerLink(static_cast<QWidget *>(object));
    return nullptr;
}

struct Found
{
    QUrl address;
    QString name;
    QRect place;
};

// The speaker pictures and the stroke-order characters of the page, where the view shows them.
QList<Found> speakersIn(QTextBrowser &view)
{
    QList<Found> found;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isAnchor())
                continue;
            const QUrl address(format.anchorHref());
            const bool strokeOrder = StrokeOrderLink::isLink(address);
            if (!strokeOrder
                && (!format.isImageFormat() || !AnswerPage::isSpeakerAddress(address)))
                continue;
            QTextCursor cursor(view.document());
            cursor.setPosition(fragment.position());
            const QRect line = view.cursorRect(cursor);
            if (strokeOrder) {
                // A character of a headword: the link lies over the character itself.
                cursor.setPosition(fragment.position() + fragment.length());
                const int width = qMax(1, view.cursorRect(cursor).left() - line.left());
                found.append({address,
                              StrokeOrderLink::accessibleName(StrokeOrderLink::characterOf(address)),
                              QRect(line.left(), line.top(), width, line.height())});
                continue;
            }
            const QTextImageFormat image = format.toImageFormat();
            const int width = image.width() > 0 ? int(image.width()) : line.height();
            found.append({address, AnswerPage::speakerOf(address).name(),
                          QRect(line.left(), line.top(), width + 2, line.height())});
        }
    }
    return found;
}

} // namespace

SpeakerLink::SpeakerLink(QWidget *viewport)
    : QAbstractButton(viewport)
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleSpeakerLink);
        return true;
    }();
    Q_UNUSED(installed);
    // Keyboard users reach the same link in the text, with Tab.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void SpeakerLink::paintEvent(QPaintEvent *)
{
    // The text beneath draws the picture.
}

QImage SpeakerLink::picture(const QFont &font)
{
    const int size = QFontMetrics(font).height();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    const QColor ink(0x33, 0x66, 0xaa);
    QPainterPath body;
    body.moveTo(2, 6);
    body.lineTo(5, 6);
    body.lineTo(9, 2.5);
    body.lineTo(9, 13.5);
    body.lineTo(5, 10);
    body.lineTo(2, 10);
    body.closeSubpath();
    painter.fillPath(body, ink);
    painter.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(7, 5, 5, 6), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(6.5, 2.5, 8, 11), -55 * 16, 110 * 16);
    return image;
}

void SpeakerLink::placeAll(QTextBrowser &view)
{
    const QList<Found> found = speakersIn(view);
    const QList<SpeakerLink *> links
        = view.viewport()->findChildren<SpeakerLink *>(QString(), Qt::FindDirectChildrenOnly);
    for (int i = 0; i < found.size(); ++i) {
        SpeakerLink *link = links.value(i);
        if (!link) {
            link = new SpeakerLink(view.viewport());
            QObject::connect(link, &QAbstractButton::clicked, &view,
                             [&view, link] { emit view.anchorClicked(link->address()); });
        }
        link->m_address = found[i].address;
        link->setAccessibleName(found[i].name);
        link->setToolTip(found[i].name);
        link->setGeometry(found[i].place);
        link->show();
    }
    for (int i = int(found.size()); i < links.size(); ++i)
        delete links[i];
}
