#include "host/value/Twips.h"

#include "host/value/RuntimeError.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace host {

namespace {
double dpiX(const QWidget* widget)
{
    if (widget) return widget->logicalDpiX();
    if (auto* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchX();
    return 96.0;
}
double dpiY(const QWidget* widget)
{
    if (widget) return widget->logicalDpiY();
    if (auto* screen = QGuiApplication::primaryScreen()) return screen->logicalDotsPerInchY();
    return 96.0;
}
} // namespace

int toPixels(double units, double unitsPerPixel)
{
    const double v = units / unitsPerPixel;
    if (!std::isfinite(v)) raiseError(Err::InvalidPropertyValue);
    const double clamped = std::clamp(v, -double(MaxPixels), double(MaxPixels));
    return clamped >= 0 ? int(std::floor(clamped + 0.5)) : -int(std::floor(-clamped + 0.5));
}

double twipsPerPixelX(const QWidget* widget)
{
    return 1440.0 / dpiX(widget);
}
double twipsPerPixelY(const QWidget* widget)
{
    return 1440.0 / dpiY(widget);
}
int twipsToPixelsX(double twips, const QWidget* widget)
{
    return toPixels(twips, twipsPerPixelX(widget));
}
int twipsToPixelsY(double twips, const QWidget* widget)
{
    return toPixels(twips, twipsPerPixelY(widget));
}

TwipsGeometry::TwipsGeometry(QWidget* widget) : m_widget(widget)
{
    resetFromWidget();
}

void TwipsGeometry::put_Left(float twips)
{
    if (!std::isfinite(twips)) raiseError(Err::InvalidPropertyValue);
    m_left = twips;
    apply();
}

void TwipsGeometry::put_Top(float twips)
{
    if (!std::isfinite(twips)) raiseError(Err::InvalidPropertyValue);
    m_top = twips;
    apply();
}

void TwipsGeometry::put_Width(float twips)
{
    if (!std::isfinite(twips) || twips < 0) raiseError(Err::InvalidPropertyValue);
    m_width = twips;
    apply();
}

void TwipsGeometry::put_Height(float twips)
{
    if (!std::isfinite(twips) || twips < 0) raiseError(Err::InvalidPropertyValue);
    m_height = twips;
    apply();
}

void TwipsGeometry::setRect(float left, float top, float width, float height)
{
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width) ||
        !std::isfinite(height) || width < 0 || height < 0)
        raiseError(Err::InvalidPropertyValue);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    apply();
}

QRect TwipsGeometry::pixelRect() const
{
    return QRect(twipsToPixelsX(m_left, m_widget), twipsToPixelsY(m_top, m_widget),
                 twipsToPixelsX(m_width, m_widget), twipsToPixelsY(m_height, m_widget));
}

void TwipsGeometry::syncFromWidget()
{
    const QRect want = pixelRect();
    const QRect have = m_widget->geometry();
    const double tx = twipsPerPixelX(m_widget), ty = twipsPerPixelY(m_widget);
    if (want.x() != have.x()) m_left = float(have.x() * tx);
    if (want.y() != have.y()) m_top = float(have.y() * ty);
    if (want.width() != have.width()) m_width = float(have.width() * tx);
    if (want.height() != have.height()) m_height = float(have.height() * ty);
}

void TwipsGeometry::resetFromWidget()
{
    const QRect have = m_widget->geometry();
    const double tx = twipsPerPixelX(m_widget), ty = twipsPerPixelY(m_widget);
    m_left = float(have.x() * tx);
    m_top = float(have.y() * ty);
    m_width = float(have.width() * tx);
    m_height = float(have.height() * ty);
}

void TwipsGeometry::apply()
{
    const QRect r = pixelRect();
    if (m_widget->geometry() != r) m_widget->setGeometry(r);
}

} // namespace host
