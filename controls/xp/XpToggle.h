#pragma once
// What the check box and the option button share: a 240 x 240-twip box at the left, the caption
// at 280 twips, both centred on the control's height, and the caption's colours.

#include "host/value/OleColor.h"

namespace host {
class Intrinsic;
class Label;
class UserControl;
} // namespace host

namespace Kv_CTRL::xptoggle {

constexpr float BoxSize = 240;     // twips: 16 x 16 pixels at 96 DPI
constexpr float CaptionLeft = 280; // twips
constexpr host::OleColor DisabledCaption = host::RGB(161, 161, 146);
constexpr host::OleColor DefaultBackColor = 0x8000000F; // button face
constexpr host::OleColor DefaultForeColor = 0;

// The caption's colour: the fore colour while enabled, grey while disabled.
inline host::OleColor captionColor(bool enabled, host::OleColor foreColor)
{
    return enabled ? foreColor : DisabledCaption;
}

// Half the difference, rounded to whole twips (half to even) first, then halved towards zero.
qint32 halfOfDifference(float whole, float part);

// Switches the surface to twips, sizes and places the box, and centres the caption beside it;
// neither the control's size nor the caption's width change.
void layOut(host::UserControl& surface, host::Intrinsic& box, host::Label& caption);

} // namespace Kv_CTRL::xptoggle
