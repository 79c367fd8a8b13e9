#include "host/services/Screen.h"

#include "host/services/Services.h"
#include "host/value/Twips.h"

namespace host {

namespace {
QSize primarySize()
{
    // A test that cleared the member gets an ordinary screen rather than a bad_function_call.
    const auto& size = services().screenSize;
    return size ? size() : QSize(1024, 768);
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
