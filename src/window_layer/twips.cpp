#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace Twips {

float perPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? float(PerInch / dpi) : 15.0f;
}

int toPixels(float twips, float twipsPerPixel)
{
    // Clamped to what a widget can hold, so absurd inputs give an absurd place, not overflow.
    constexpr double limit = QWIDGETSIZE_MAX;
    const double pixels = std::round(double(twips) / double(twipsPerPixel));
    return int(std::clamp(std::isnan(pixels) ? 0.0 : pixels, -limit, limit));
}

float fromPixels(int pixels, float twipsPerPixel) { return float(pixels) * twipsPerPixel; }

float left(const QWidget &control) { return fromPixels(control.x()); }
float width(const QWidget &control) { return fromPixels(control.width()); }
float height(const QWidget &control) { return fromPixels(control.height()); }

void setLeft(QWidget &control, float value) { control.move(toPixels(value), control.y()); }

void setWidth(QWidget &control, float value)
{
    control.resize(std::max(0, toPixels(value)), control.height());
}

void setHeight(QWidget &control, float value)
{
    control.resize(control.width(), std::max(0, toPixels(value)));
}

void place(QWidget &control, float left, float top, float width, float height)
{
    control.setGeometry(toPixels(left), toPixels(top), std::max(0, toPixels(width)),
                        std::max(0, toPixels(height)));
}

} // namespace Twips
