#include "controls/xp/XpToggle.h"

#include "host/value/Conversions.h"
#include "host/widgets/Label.h"
#include "host/widgets/UserControl.h"

namespace Kv_CTRL::xptoggle {

qint32 halfOfDifference(float whole, float part)
{
    return host::CLng(double(whole) - double(part)) / 2;
}

void layOut(host::UserControl& surface, host::Intrinsic& box, host::Label& caption)
{
    surface.put_ScaleMode(host::vbTwips);
    box.put_Height(BoxSize);
    box.put_Width(BoxSize);
    box.put_Left(0);
    box.put_Top(float(halfOfDifference(surface.get_Height(), box.get_Height())));
    caption.put_Top(float(halfOfDifference(surface.get_Height(), caption.get_Height())));
    caption.put_Left(CaptionLeft);
}

} // namespace Kv_CTRL::xptoggle
