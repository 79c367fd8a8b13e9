#include "host/widgets/Extender.h"

#include "host/widgets/FormSite.h"
#include "host/widgets/LateBinding.h"
#include "host/widgets/UserControl.h"

namespace host {

// ---------------------------------------------------------------- Ambient

QString AmbientProperties::get_DisplayName() const
{
    return m_control->objectName();
}

FontRef AmbientProperties::get_Font() const
{
    if (const FormSite* form = FormSite::of(m_control))
        if (FontRef font = form->get_Font()) return font->clone();
    return StdFont::create();
}

OleColor AmbientProperties::get_BackColor() const
{
    if (const FormSite* form = FormSite::of(m_control)) return form->get_BackColor();
    return SystemColor::ButtonFace;
}

OleColor AmbientProperties::get_ForeColor() const
{
    return SystemColor::ButtonText;
}

// ---------------------------------------------------------------- Extender

QString ControlExtender::get_Name() const
{
    return m_control->objectName();
}

float ControlExtender::get_Left() const
{
    return m_control->geometryTwips().get_Left();
}

float ControlExtender::get_Top() const
{
    return m_control->geometryTwips().get_Top();
}

float ControlExtender::get_Width() const
{
    return m_control->get_Width();
}

float ControlExtender::get_Height() const
{
    return m_control->get_Height();
}

void ControlExtender::put_Left(float twips)
{
    m_control->geometryTwips().put_Left(twips);
}

void ControlExtender::put_Top(float twips)
{
    m_control->geometryTwips().put_Top(twips);
}

void ControlExtender::put_Width(float twips)
{
    m_control->put_Width(twips);
}

void ControlExtender::put_Height(float twips)
{
    m_control->put_Height(twips);
}

void ControlExtender::Move(float left, float top, float width, float height)
{
    m_control->geometryTwips().setRect(left, top, width, height);
    m_control->put_Width(width); // raises Resize when the pixels changed
}

bool ControlExtender::get_Visible() const
{
    return !m_control->isHidden();
}

void ControlExtender::put_Visible(bool visible)
{
    m_control->setVisible(visible);
}

bool ControlExtender::get_Enabled() const
{
    return m_control->get_Enabled();
}

void ControlExtender::put_Enabled(bool enabled)
{
    m_control->setEnabled(enabled);
}

short ControlExtender::get_TabIndex() const
{
    return tabIndexOfControl(m_control);
}

void ControlExtender::put_TabIndex(short index)
{
    setTabIndexOfControl(m_control, index);
}

QString ControlExtender::get_ToolTipText() const
{
    return m_control->toolTip();
}

void ControlExtender::put_ToolTipText(const QString& text)
{
    m_control->setToolTip(text);
}

QWidget* ControlExtender::get_Container() const
{
    return m_control->parentWidget();
}

QList<QWidget*> ControlExtender::ContainerControls() const
{
    return containerControls(m_control->parentWidget());
}

QString ControlExtender::TypeName() const
{
    return host::TypeName(m_control);
}

bool ControlExtender::TypeOf(const QString& className) const
{
    return host::TypeOf(m_control, className);
}

Variant ControlExtender::getProperty(const QString& name) const
{
    return CallByNameGet(m_control, name);
}

void ControlExtender::setProperty(const QString& name, const Variant& value)
{
    CallByNameLet(m_control, name, value);
}

} // namespace host
