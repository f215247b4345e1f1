#pragma once

#include <QList>
#include <QWidget>

class CharacterDiagram;
class QCheckBox;
class QSlider;

namespace Strokes {
class Index;
}

// "Stroke order of 你好": each character of the word side by side, each written stroke by stroke
// from the moment the panel opens, with its stroke count, its own Play/Replay, Step and Pause,
// and for all of them a speed and the grey outline behind.
class StrokeOrderPanel : public QWidget
{
    Q_OBJECT

public:
    // The word's characters from the given index; the installed one by default.
    explicit StrokeOrderPanel(const QString &word, QWidget *parent = nullptr);
    StrokeOrderPanel(const QString &word, const Strokes::Index &index, QWidget *parent = nullptr);

    QString word() const { return m_word; }
    QList<CharacterDiagram *> diagrams() const { return m_diagrams; }

    // The speed as the slider sets it, 1 the ordinary pace.
    qreal speed() const;
    void setSpeed(qreal speed);
    bool isOutlineShown() const;
    void setOutlineShown(bool shown);

private:
    QWidget *column(CharacterDiagram *diagram);
    void applySpeed();

    QString m_word;
    QList<CharacterDiagram *> m_diagrams;
    QSlider *m_speed = nullptr;
    QCheckBox *m_outline = nullptr;
};
