#include "stroke_order/characterdiagram.h"

#include "answer/tonecolours.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPathStroker>

namespace {

// The brush that uncovers a stroke: wide enough for the broadest stroke of the data.
constexpr qreal brushWidth = 200;
constexpr int frameMilliseconds = 16;

const QColor radicalColour(0xB2, 0x22, 0x22);

// The grey character behind: a little ink on the background, on a light view or a dark one.
QColor outlineOn(const QColor &base, const QColor &ink)
{
    constexpr float share = 0.15f;
    return QColor::fromRgbF(base.redF() + (ink.redF() - base.redF()) * share,
                            base.greenF() + (ink.greenF() - base.greenF()) * share,
                            base.blueF() + (ink.blueF() - base.blueF()) * share);
}

} // namespace

CharacterDiagram::CharacterDiagram(const Strokes::Character &character, const QString &text,
                                   QWidget *parent)
    : QWidget(parent)
    , m_character(character)
    , m_text(text)
{
    for (const Strokes::Stroke &stroke : m_character.strokes) {
        qreal length = 0;
        for (qsizetype p = 1; p < stroke.median.size(); ++p)
            length += QLineF(stroke.median.at(p - 1), stroke.median.at(p)).length();
        m_lengths.append(length);
    }
    m_timer.setInterval(frameMilliseconds);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CharacterDiagram::advance);
    setFocusPolicy(Qt::TabFocus);
    setMinimumSize(96, 96);
    if (m_character.isEmpty()) {
        setAccessibleName(tr("No stroke data for %1").arg(m_text));
    } else {
        setAccessibleName(tr("%1, %2", "a character, its stroke count")
                              .arg(m_text, strokeCountText(strokeCount())));
        announce();
    }
}

QString CharacterDiagram::strokeCountText(int count)
{
    return count == 1 ? tr("1 stroke") : tr("%1 strokes").arg(count);
}

void CharacterDiagram::setSpeed(qreal speed) { m_speed = qBound(0.1, speed, 100.0); }

void CharacterDiagram::setOutlineShown(bool shown)
{
    m_outline = shown;
    update();
}

QSize CharacterDiagram::sizeHint() const { return QSize(160, 160); }

int CharacterDiagram::strokeMilliseconds(qreal medianLength)
{
    return 250 + int(medianLength * 0.6);
}

void CharacterDiagram::play()
{
    if (m_character.isEmpty() || isPlaying())
        return;
    if (isFinished()) {
        m_drawn = 0;
        m_progress = 0;
        m_pauseLeft = 0;
        announce();
        update();
    }
    if (m_drawn == 0 && m_progress == 0)
        emit strokeStarted(0);
    m_clock.start();
    m_timer.start();
    emit playingChanged(true);
}

void CharacterDiagram::pause()
{
    if (!isPlaying())
        return;
    m_timer.stop();
    emit playingChanged(false);
}

void CharacterDiagram::step()
{
    pause();
    if (m_character.isEmpty())
        return;
    if (isFinished()) {
        m_drawn = 0;
        m_progress = 0;
        update();
    }
    m_pauseLeft = 0;
    completeStroke();
}

void CharacterDiagram::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        isPlaying() ? pause() : play();
        break;
    case Qt::Key_Right:
        step();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CharacterDiagram::advance()
{
    qreal elapsed = m_clock.restart() * m_speed;
    while (elapsed > 0 && !isFinished()) {
        if (m_pauseLeft > 0) {
            const qreal waited = qMin(elapsed, m_pauseLeft);
            m_pauseLeft -= waited;
            elapsed -= waited;
            if (m_pauseLeft <= 0)
                emit strokeStarted(m_drawn);
            continue;
        }
        const qreal duration = strokeMilliseconds(m_lengths.at(m_drawn));
        const qreal left = (1 - m_progress) * duration;
        if (elapsed < left) {
            m_progress += elapsed / duration;
            elapsed = 0;
        } else {
            elapsed -= left;
            completeStroke();
        }
    }
    update();
}

void CharacterDiagram::completeStroke()
{
    m_progress = 0;
    ++m_drawn;
    m_pauseLeft = isFinished() ? 0 : pauseMilliseconds;
    announce();
    update();
    emit strokeDrawn(m_drawn);
    if (isFinished()) {
        const bool wasPlaying = isPlaying();
        m_timer.stop();
        if (wasPlaying)
            emit playingChanged(false);
        emit finished();
    }
}

// What a screen reader says as the character is written: the count before the first stroke,
// then the stroke just drawn and of how many.
void CharacterDiagram::announce()
{
    setAccessibleDescription(m_drawn == 0
                                 ? strokeCountText(strokeCount())
                                 : tr("stroke %1 of %2").arg(m_drawn).arg(strokeCount()));
}

QPainterPath CharacterDiagram::grownMedian(int stroke, qreal fraction) const
{
    const qreal length = m_lengths.at(stroke) * fraction;
    const QList<QPointF> &points = m_character.strokes.at(stroke).median;
    QPainterPath grown(points.value(0));
    qreal covered = 0;
    for (qsizetype p = 1; p < points.size(); ++p) {
        const QLineF segment(points.at(p - 1), points.at(p));
        if (covered + segment.length() >= length) {
            const qreal part = segment.length() > 0 ? (length - covered) / segment.length() : 0;
            grown.lineTo(segment.pointAt(part));
            return grown;
        }
        covered += segment.length();
        grown.lineTo(points.at(p));
    }
    return grown;
}

void CharacterDiagram::paintMissing(QPainter &painter)
{
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                     tr("No stroke data for %1").arg(m_text));
}

void CharacterDiagram::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (m_character.isEmpty()) {
        paintMissing(painter);
        emit framePainted();
        return;
    }
    const qreal side = qMin(width(), height());
    painter.translate((width() - side) / 2, (height() - side) / 2);
    painter.scale(side / Strokes::emSize, side / Strokes::emSize);
    painter.setPen(Qt::NoPen);
    const QColor base = palette().color(QPalette::Base);
    const QColor ink = palette().color(QPalette::Text);
    const QColor outlineColour = outlineOn(base, ink);
    // Strokes are shapes, for which 3:1 against the background is readable.
    const QColor radical = ToneColours::readableOn(radicalColour, base, 3.0);
    for (int s = 0; s < strokeCount(); ++s) {
        const QPainterPath &outline = m_character.strokes.at(s).outline;
        const QColor colour = m_character.isRadical(s) ? radical : ink;
        if (s < m_drawn) {
            painter.fillPath(outline, colour);
        } else if (m_outline) {
            painter.fillPath(outline, outlineColour);
        }
    }
    if (!isFinished() && m_progress > 0) {
        QPainterPathStroker brush;
        brush.setWidth(brushWidth);
        brush.setCapStyle(Qt::RoundCap);
        brush.setJoinStyle(Qt::RoundJoin);
        painter.setClipPath(brush.createStroke(grownMedian(m_drawn, m_progress)));
        painter.fillPath(m_character.strokes.at(m_drawn).outline,
                         m_character.isRadical(m_drawn) ? radical : ink);
    }
    emit framePainted();
}
