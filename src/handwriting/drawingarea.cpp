#include "drawingarea.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTabletEvent>
#include <QTouchEvent>

namespace Handwriting {

namespace {

// A stroke far longer than any hand draws is ended rather than grown.
constexpr size_t MaxDrawnPoints = 20000;

} // namespace

DrawingArea::DrawingArea(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_AcceptTouchEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setMinimumSize(160, 160);
    setCursor(Qt::CrossCursor);
}

Drawing DrawingArea::drawing() const
{
    Drawing drawing;
    const double scaleX = BoxSize / std::max(1, width());
    const double scaleY = BoxSize / std::max(1, height());
    const size_t finished = m_drawing ? m_strokes.size() - 1 : m_strokes.size();
    for (size_t i = 0; i < finished; ++i) {
        Stroke stroke;
        stroke.reserve(m_strokes[i].size());
        for (const QPointF &point : m_strokes[i])
            stroke.emplace_back(point.x() * scaleX, point.y() * scaleY);
        drawing.push_back(std::move(stroke));
    }
    return drawing;
}

void DrawingArea::undo()
{
    if (m_strokes.empty())
        return;
    m_strokes.pop_back();
    m_drawing = false;
    update();
    emit drawingChanged();
}

void DrawingArea::clear()
{
    const bool had = !m_strokes.empty();
    m_strokes.clear();
    m_drawing = false;
    update();
    if (had)
        emit drawingChanged();
}

void DrawingArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor faint = palette().text().color();
    faint.setAlphaF(0.15f);
    painter.setPen(QPen(faint, 1));
    painter.drawRect(box);
    painter.setPen(QPen(faint, 1, Qt::DashLine));
    painter.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
    painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().text().color(), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Stroke &stroke : m_strokes) {
        if (stroke.size() == 1) {
            painter.drawPoint(stroke.front());
            continue;
        }
        QPainterPath path(stroke.front());
        for (size_t i = 1; i < stroke.size(); ++i)
            path.lineTo(stroke[i]);
        painter.drawPath(path);
    }
}

void DrawingArea::begin(QPointF point)
{
    if (m_drawing)
        finish();
    m_strokes.push_back({point});
    m_drawing = true;
    update(QRectF(point, QSizeF()).adjusted(-4, -4, 4, 4).toAlignedRect());
}

void DrawingArea::extend(QPointF point)
{
    if (!m_drawing)
        return;
    Stroke &stroke = m_strokes.back();
    if (stroke.size() >= MaxDrawnPoints)
        return;
    const QPointF last = stroke.back();
    stroke.push_back(point);
    // Only the new segment is repainted, so that a long stroke follows the hand smoothly.
    update(QRectF(last, point).normalized().adjusted(-4, -4, 4, 4).toAlignedRect());
}

void DrawingArea::finish()
{
    if (!m_drawing)
        return;
    m_drawing = false;
    emit drawingChanged();
}

void DrawingArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        begin(event->position());
}

void DrawingArea::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        extend(event->position());
}

void DrawingArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        extend(event->position());
        finish();
    }
}

void DrawingArea::tabletEvent(QTabletEvent *event)
{
    // Accepted, so that no mouse event is made from it as well.
    event->accept();
    switch (event->type()) {
    case QEvent::TabletPress:
        begin(event->position());
        break;
    case QEvent::TabletMove:
        if (event->buttons() & Qt::LeftButton || event->pressure() > 0)
            extend(event->position());
        break;
    case QEvent::TabletRelease:
        extend(event->position());
        finish();
        break;
    default:
        break;
    }
}

bool DrawingArea::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: {
        // One finger draws; a second one is ignored rather than joining the stroke.
        const auto *touch = static_cast<QTouchEvent *>(event);
        if (!touch->points().isEmpty()) {
            const QEventPoint &point = touch->points().constFirst();
            if (event->type() == QEvent::TouchBegin)
                begin(point.position());
            else
                extend(point.position());
        }
        if (event->type() == QEvent::TouchEnd || event->type() == QEvent::TouchCancel)
            finish();
        event->accept();
        return true;
    }
    default:
        return QWidget::event(event);
    }
}

} // namespace Handwriting
