#pragma once

#include "strokes.h"

#include <QWidget>

namespace Handwriting {

// Where the character is drawn: a square with a faint 田 grid, taking the mouse, a pen and a
// finger alike. The strokes are kept in the widget's own pixels and handed out in the
// recogniser's 300×300 box.
class DrawingArea : public QWidget
{
    Q_OBJECT
public:
    explicit DrawingArea(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {240, 240}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

    // The finished strokes, in the 300×300 box.
    Drawing drawing() const;
    int strokeCount() const { return int(m_strokes.size()); }
    void undo();
    void clear();

signals:
    // A stroke was finished, undone or cleared.
    void drawingChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void tabletEvent(QTabletEvent *event) override;
    bool event(QEvent *event) override;

private:
    void begin(QPointF point);
    void extend(QPointF point);
    void finish();

    std::vector<Stroke> m_strokes; // in widget pixels, the one being drawn last
    bool m_drawing = false;
};

} // namespace Handwriting
