#pragma once

class QWidget;

// All window geometry is kept in twips, 1/1440 inch, as single-precision numbers. They are turned
// into pixels with the screen's logical DPI, so the windows keep their proportions on HiDPI
// screens (15 twips a pixel at 96 dpi).
namespace Twips {

constexpr float PerInch = 1440.0f;

// Twips per pixel of the primary screen, 15 when there is no screen to ask.
float perPixel();

int toPixels(float twips, float twipsPerPixel);
float fromPixels(int pixels, float twipsPerPixel);
inline int toPixels(float twips) { return toPixels(twips, perPixel()); }
inline float fromPixels(int pixels) { return fromPixels(pixels, perPixel()); }

// A control's place relative to its container's client area. Sizes below zero are held at zero.
float left(const QWidget &control);
float width(const QWidget &control);
float height(const QWidget &control);
void setLeft(QWidget &control, float value);
void setWidth(QWidget &control, float value);
void setHeight(QWidget &control, float value);
void place(QWidget &control, float left, float top, float width, float height);

} // namespace Twips
