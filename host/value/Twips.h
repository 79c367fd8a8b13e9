#pragma once
// Twips are the truth: a widget's position and size are stored in twips exactly as set, and its
// pixel geometry is derived by rounding with the current twips-per-pixel.

#include <QRect>

class QWidget;

namespace host {

// The largest pixel coordinate or size the host produces (Qt's widget size limit): conversions
// clamp to it, so a huge value places a widget far away instead of overflowing.
inline constexpr int MaxPixels = 16777215;

// The farthest a position, and the largest a size, is kept in twips (nearly 7 m at 96 DPI): what a
// form file holds, so that every placement the host makes can be saved.
inline constexpr double MaxTwips = 10000000.0;
// A position or size as the host keeps it: a value beyond MaxTwips is taken as MaxTwips (a huge
// value places a widget far away, as pixels are clamped); a value that is not finite, and a
// negative size, raise 380.
float boundedTwips(double twips, bool size);

// Units to whole pixels at `unitsPerPixel`, half away from zero, clamped to +-MaxPixels: the one
// conversion every placement and every drawing call uses. A non-finite value raises 380.
int toPixels(double units, double unitsPerPixel);

// Twips per pixel of the screen a widget is on (the primary screen for null): 1440 / logical DPI.
double twipsPerPixelX(const QWidget* widget = nullptr);
double twipsPerPixelY(const QWidget* widget = nullptr);
int twipsToPixelsX(double twips, const QWidget* widget = nullptr);
int twipsToPixelsY(double twips, const QWidget* widget = nullptr);

// Holds a widget's Left/Top/Width/Height in twips and places the widget in pixels.
// Getters return the stored twips, so put_Width(1310) reads back 1310 at 15 twips per pixel.
class TwipsGeometry {
public:
    explicit TwipsGeometry(QWidget* widget);

    float get_Left() const { return m_left; }
    float get_Top() const { return m_top; }
    float get_Width() const { return m_width; }
    float get_Height() const { return m_height; }
    void put_Left(float twips);
    void put_Top(float twips);
    void put_Width(float twips);  // negative raises error 380
    void put_Height(float twips); // negative raises error 380
    void setRect(float left, float top, float width, float height);

    // The pixel rectangle the stored twips round to.
    QRect pixelRect() const;
    // Takes over a geometry Qt gave the widget (a layout, a user's resize): each stored value is
    // kept while it still rounds to the widget's pixels, and replaced otherwise.
    void syncFromWidget();
    // Starts from the widget's current pixel geometry.
    void resetFromWidget();

private:
    void apply();

    QWidget* m_widget;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};

} // namespace host
