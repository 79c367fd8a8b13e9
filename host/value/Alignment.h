#pragma once
// The host's own enumerations with a meta-object (text alignment of fields and labels). This
// header carries the host namespace's one Q_NAMESPACE: further host enumerations go here.

#include <QObject>
#include <QtGlobal>

namespace host {
Q_NAMESPACE

enum class AlignmentConstants : qint32 {
    vbLeftJustify = 0,
    vbRightJustify = 1,
    vbCenter = 2,
};
Q_ENUM_NS(AlignmentConstants)

} // namespace host
