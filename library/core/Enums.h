#pragma once
// The public enumerations of Kv_CTRL, as the controls' properties take them and hosts see them
// through the meta-object (32-bit values).

#include <QObject>
#include <QtGlobal>

namespace Kv_CTRL {
Q_NAMESPACE

// ProgressBar.BorderStyle
enum class MyBorderStyle : qint32 {
    None = 0,
    Fixed = 1,
};
Q_ENUM_NS(MyBorderStyle)

// xpcmdbutton.State: the look of the button while the pointer is away
enum class State_b : qint32 {
    Normal_ = 0,
    Default_ = 1,
};
Q_ENUM_NS(State_b)

// VericalText.zDirecao: the edge the text starts at
enum class zOpOrient : qint32 {
    ParaCima = 0,  // the top edge
    ParaBaixo = 1, // the bottom edge
};
Q_ENUM_NS(zOpOrient)

// txtCampo.TypeInput
enum class CharType : qint32 {
    Character = 0,
    Money = 1,
    Date = 2,
    Numeric = 3,
};
Q_ENUM_NS(CharType)

// txtCampo.Appearance
enum class CharAppareance : qint32 {
    vbFlat = 0,
    vb3D = 1,
};
Q_ENUM_NS(CharAppareance)

// txtCampo.BorderStyle
enum class CharBorderSyle : qint32 {
    vbNone = 0,
    vbFixed = 1,
};
Q_ENUM_NS(CharBorderSyle)

// xpcheckbox.Value
enum class State : qint32 {
    Unchecked = 0,
    Checked = 1,
    Mixed = 2,
};
Q_ENUM_NS(State)

} // namespace Kv_CTRL
