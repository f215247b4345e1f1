#pragma once

#include "strokes/strokeindex.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

// One character written stroke by stroke: each stroke grows along its median until the whole
// character stands. It plays on its own; the panel sets its speed and whether the grey outline
// of the character shows behind. A character without data says so instead.
class CharacterDiagram : public QWidget
{
    Q_OBJECT

public:
    CharacterDiagram(const Strokes::Character &character, const QString &text,
                     QWidget *parent = nullptr);

    QString text() const { return m_text; }
    int strokeCount() const { return m_character.strokeCount(); }
    // Strokes drawn in full, and how far the next one has grown (0 to 1).
    int strokesDrawn() const { return m_drawn; }
    qreal progress() const { return m_progress; }
    bool isPlaying() const { return m_timer.isActive(); }
    bool isFinished() const { return m_drawn == strokeCount(); }

    void setSpeed(qreal speed); // 1 is the ordinary pace
    void setOutlineShown(bool shown);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

    // How long a stroke of the given median length takes at the ordinary pace, and the pause
    // after it.
    static int strokeMilliseconds(qreal medianLength);
    static constexpr int pauseMilliseconds = 150;
    // "7 strokes", as the label under the character and a screen reader say it.
    static QString strokeCountText(int count);

public slots:
    // Plays on from where it is, or from the start once it has finished.
    void play();
    void pause();
    // Draws the next stroke whole, and pauses.
    void step();

signals:
    void strokeStarted(int stroke); // from 0
    void strokeDrawn(int strokesDrawn);
    void finished();
    void playingChanged(bool playing);
    void framePainted();

protected:
    // Space plays and pauses, the right arrow steps, as the buttons do.
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void advance();
    void completeStroke();
    void announce();
    QPainterPath grownMedian(int stroke, qreal fraction) const;
    void paintMissing(QPainter &painter);

    Strokes::Character m_character;
    QString m_text;
    QList<qreal> m_lengths;
    int m_drawn = 0;
    qreal m_progress = 0;
    qreal m_pauseLeft = 0; // milliseconds before the next stroke starts
    qreal m_speed = 1;
    bool m_outline = true;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
