#include "host/services/Screen.h"

#include "host/value/Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace host {

namespace {
QSize primarySize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}
} // namespace

float Screen::get_TwipsPerPixelX()
{
    return float(twipsPerPixelX());
}

float Screen::get_TwipsPerPixelY()
{
    return float(twipsPerPixelY());
}

float Screen::get_Width()
{
    return float(primarySize().width() * twipsPerPixelX());
}

float Screen::get_Height()
{
    return float(primarySize().height() * twipsPerPixelY());
}

} // namespace host
