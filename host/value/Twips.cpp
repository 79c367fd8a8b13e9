#include "host/value/Twips.h"

#include "host/value/RuntimeError.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace host {

namespace {
// The logical DPI Qt reports for the widget (QWidget::logicalDpiX rounds it), kept per screen:
// placing a widget asks for it many times, and asking the screen each time costs more than the
// placement itself. The answer is dropped when the screen's DPI changes or the screen goes.
struct ScreenDpi {
    const QScreen* screen = nullptr;
    double x = 96, y = 96;
};

ScreenDpi& cachedDpi()
{
    static ScreenDpi cache;
    return cache;
}

double dpiOf(const QWidget* widget, bool vertical)
{
    // With one screen it is every widget's; finding a widget's screen costs more than placing it.
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* screen =
        screens.size() == 1 || !widget ? QGuiApplication::primaryScreen() : widget->screen();
    if (!screen) return 96.0;
    ScreenDpi& cache = cachedDpi();
    if (cache.screen != screen) {
        const auto rounded = [](double dpi) { return dpi > 0 ? double(qRound(dpi)) : 96.0; };
        cache = {screen, rounded(screen->logicalDotsPerInchX()),
                 rounded(screen->logicalDotsPerInchY())};
        static QSet<const QScreen*> watched;
        if (!watched.contains(screen)) {
            watched.insert(screen);
            QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, screen,
                             [] { cachedDpi() = {}; });
            QObject::connect(screen, &QObject::destroyed, [screen] {
                watched.remove(screen);
                cachedDpi() = {};
            });
        }
    }
    return vertical ? cache.y : cache.x;
}
double dpiX(const QWidget* widget)
{
    return dpiOf(widget, false);
}
double dpiY(const QWidget* widget)
{
    return dpiOf(widget, true);
}
} // namespace

int toPixels(double units, double unitsPerPixel)
{
    const double v = units / unitsPerPixel;
    if (!std::isfinite(v)) raiseError(Err::InvalidPropertyValue);
    const double clamped = std::clamp(v, -double(MaxPixels), double(MaxPixels));
    // Both halves are non-negative and within int, where truncating is flooring (and cheaper:
    // drawings convert every coordinate of every call).
    return clamped >= 0 ? int(clamped + 0.5) : -int(-clamped + 0.5);
}

float boundedTwips(double twips, bool size)
{
    if (!std::isfinite(twips) || (size && twips < 0)) raiseError(Err::InvalidPropertyValue);
    return float(std::clamp(twips, -MaxTwips, MaxTwips));
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
    m_left = boundedTwips(twips, false);
    apply();
}

void TwipsGeometry::put_Top(float twips)
{
    m_top = boundedTwips(twips, false);
    apply();
}

void TwipsGeometry::put_Width(float twips)
{
    m_width = boundedTwips(twips, true);
    apply();
}

void TwipsGeometry::put_Height(float twips)
{
    m_height = boundedTwips(twips, true);
    apply();
}

void TwipsGeometry::setRect(float left, float top, float width, float height)
{
    const float l = boundedTwips(left, false), t = boundedTwips(top, false),
                w = boundedTwips(width, true), h = boundedTwips(height, true);
    m_left = l;
    m_top = t;
    m_width = w;
    m_height = h;
    apply();
}

QRect TwipsGeometry::pixelRect() const
{
    // Asking a widget for its DPI walks to its screen: once per axis and call.
    const double tx = twipsPerPixelX(m_widget), ty = twipsPerPixelY(m_widget);
    return QRect(toPixels(m_left, tx), toPixels(m_top, ty), toPixels(m_width, tx),
                 toPixels(m_height, ty));
}

void TwipsGeometry::syncFromWidget()
{
    const double tx = twipsPerPixelX(m_widget), ty = twipsPerPixelY(m_widget);
    const QRect have = m_widget->geometry();
    if (toPixels(m_left, tx) != have.x()) m_left = float(have.x() * tx);
    if (toPixels(m_top, ty) != have.y()) m_top = float(have.y() * ty);
    if (toPixels(m_width, tx) != have.width()) m_width = float(have.width() * tx);
    if (toPixels(m_height, ty) != have.height()) m_height = float(have.height() * ty);
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
