#include "host/widgets/Intrinsic.h"

#include "host/value/Fonts.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Canvas.h"

#include <QFontInfo>
#include <QPointer>
#include <cmath>

namespace host {

short mouseButtonsOf(Qt::MouseButtons buttons)
{
    short value = 0;
    if (buttons & Qt::LeftButton) value |= 1;
    if (buttons & Qt::RightButton) value |= 2;
    if (buttons & Qt::MiddleButton) value |= 4;
    return value;
}

void initIntrinsicWidget(QWidget* widget, const QString& name)
{
    widget->setObjectName(name);
    if (auto* parent = widget->parentWidget(); parent && parent->isVisible()) widget->show();
}

Intrinsic::Intrinsic(QWidget* self) : m_self(self), m_geometry(self) {}

Intrinsic::~Intrinsic() = default;

namespace {

const Canvas* canvasOf(const QWidget* widget)
{
    return widget ? dynamic_cast<const Canvas*>(widget) : nullptr;
}

} // namespace

QPointF containerUnitsFromPixels(const QWidget* child, const QPointF& pixels)
{
    if (const Canvas* c = canvasOf(child->parentWidget()))
        return QPointF(pixels.x() * c->unitsPerPixelX(), pixels.y() * c->unitsPerPixelY());
    return QPointF(pixels.x() * twipsPerPixelX(child), pixels.y() * twipsPerPixelY(child));
}

float Intrinsic::placement(Axis axis) const
{
    m_geometry.syncFromWidget();
    const Canvas* c = canvasOf(m_self->parentWidget());
    if (!c || c->isPlainTwips()) {
        const float twips[] = {m_geometry.get_Left(), m_geometry.get_Top(), m_geometry.get_Width(),
                               m_geometry.get_Height()};
        return twips[axis];
    }
    const QRect r = m_self->geometry();
    switch (axis) {
    case LeftAxis:
        return c->scaleXFromPixels(r.x());
    case TopAxis:
        return c->scaleYFromPixels(r.y());
    case WidthAxis:
        return float(r.width() * c->unitsPerPixelX());
    default:
        return float(r.height() * c->unitsPerPixelY());
    }
}

double Intrinsic::toTwips(Axis axis, double value) const
{
    const Canvas* c = canvasOf(m_self->parentWidget());
    if (!c || c->isPlainTwips()) return value;
    const bool vertical = axis == TopAxis || axis == HeightAxis;
    const double origin = axis == LeftAxis  ? c->get_ScaleLeft()
                          : axis == TopAxis ? c->get_ScaleTop()
                                            : 0;
    const double perPixel = vertical ? c->unitsPerPixelY() : c->unitsPerPixelX();
    const double tpp = vertical ? twipsPerPixelY(m_self) : twipsPerPixelX(m_self);
    return (value - origin) / perPixel * tpp;
}

void Intrinsic::place(Axis axis, float value)
{
    if (!std::isfinite(value)) raiseError(Err::InvalidPropertyValue);
    m_geometry.syncFromWidget();
    const float twips = float(toTwips(axis, value));
    switch (axis) {
    case LeftAxis:
        return m_geometry.put_Left(twips);
    case TopAxis:
        return m_geometry.put_Top(twips);
    case WidthAxis:
        return m_geometry.put_Width(twips);
    default:
        return m_geometry.put_Height(twips);
    }
}

float Intrinsic::get_Left() const
{
    return placement(LeftAxis);
}
float Intrinsic::get_Top() const
{
    return placement(TopAxis);
}
float Intrinsic::get_Width() const
{
    return placement(WidthAxis);
}
float Intrinsic::get_Height() const
{
    return placement(HeightAxis);
}
void Intrinsic::put_Left(float value)
{
    place(LeftAxis, value);
}
void Intrinsic::put_Top(float value)
{
    place(TopAxis, value);
}
void Intrinsic::put_Width(float value)
{
    place(WidthAxis, value);
}
void Intrinsic::put_Height(float value)
{
    place(HeightAxis, value);
}

void Intrinsic::Move(float left, std::optional<float> top, std::optional<float> width,
                     std::optional<float> height)
{
    const float t = top.value_or(get_Top()), w = width.value_or(get_Width()),
                h = height.value_or(get_Height());
    if (!std::isfinite(left) || !std::isfinite(t) || !std::isfinite(w) || !std::isfinite(h))
        raiseError(Err::InvalidPropertyValue);
    m_geometry.syncFromWidget();
    m_geometry.setRect(float(toTwips(LeftAxis, left)), float(toTwips(TopAxis, t)),
                       float(toTwips(WidthAxis, w)), float(toTwips(HeightAxis, h)));
}

bool Intrinsic::get_Visible() const
{
    return !(m_self->isHidden() && m_self->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void Intrinsic::put_Visible(bool visible)
{
    m_self->setVisible(visible);
}

bool Intrinsic::get_Enabled() const
{
    return !m_self->testAttribute(Qt::WA_ForceDisabled);
}

void Intrinsic::put_Enabled(bool enabled)
{
    m_self->setEnabled(enabled);
}

QString Intrinsic::get_ToolTipText() const
{
    return m_self->toolTip();
}

void Intrinsic::put_ToolTipText(const QString& text)
{
    m_self->setToolTip(text);
}

QString Intrinsic::get_Name() const
{
    const QString name = m_self->objectName();
    if (m_index >= 0) {
        const qsizetype paren = name.lastIndexOf(QLatin1Char('('));
        if (paren > 0 && name.endsWith(QLatin1Char(')'))) return name.left(paren);
    }
    return name;
}

FontRef Intrinsic::get_Font() const
{
    if (!m_font) {
        const QFont f = m_self->font();
        double points = f.pointSizeF();
        if (points <= 0) points = QFontInfo(f).pointSizeF();
        m_font = std::make_shared<StdFont>(f.family(), points, f.bold(), f.italic());
        m_font->put_Underline(f.underline());
        m_font->put_Strikethrough(f.strikeOut());
        connectFont();
    }
    return m_font;
}

void Intrinsic::putref_Font(const FontRef& font)
{
    if (font == m_font) return;
    if (m_font) QObject::disconnect(m_font.get(), nullptr, m_self, nullptr);
    m_font = font;
    if (m_font) connectFont();
    applyFont();
}

void Intrinsic::connectFont() const
{
    QObject::connect(m_font.get(), &StdFont::changed, m_self,
                     [this] { guard([&] { const_cast<Intrinsic*>(this)->applyFont(); }); });
}

void Intrinsic::applyFont()
{
    // A font that resolves nothing inherits everything from the parent again.
    m_self->setFont(m_font ? m_font->toQFont() : QFont());
    fontApplied();
}

void Intrinsic::ZOrder(short position)
{
    if (position == 0)
        m_self->raise();
    else
        m_self->lower();
}

void Intrinsic::Refresh()
{
    m_self->repaint();
}

void Intrinsic::setPaletteColor(QPalette::ColorRole role, OleColor color, bool disabledToo)
{
    const QColor c = toQColor(color); // raises 380 before anything changes
    QPalette pal = m_self->palette();
    pal.setColor(QPalette::Active, role, c);
    pal.setColor(QPalette::Inactive, role, c);
    if (disabledToo) pal.setColor(QPalette::Disabled, role, c);
    m_self->setPalette(pal);
}

// Focus as the runtime sees it ----------------------------------------------------------------

namespace {
struct LogicalFocus {
    QPointer<QObject> object;
    FocusAware* aware = nullptr;
};
LogicalFocus& logicalFocus()
{
    static LogicalFocus holder;
    return holder;
}
bool isWindowChange(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}
} // namespace

FocusAware::~FocusAware()
{
    auto& holder = logicalFocus();
    if (holder.aware == this) holder = {};
}

bool FocusAware::takeLogicalFocus(QFocusEvent* event)
{
    auto& holder = logicalFocus();
    QObject* self = focusObject();
    if (holder.object == self && isWindowChange(event->reason())) return false; // came back
    if (holder.object && holder.object != self && !isDisposed(holder.object)) {
        // Focus left it for another window and went elsewhere from there: it loses it now.
        FocusAware* previous = holder.aware;
        holder = {};
        previous->raiseLostFocusFromElsewhere();
    }
    holder.object = self;
    holder.aware = this;
    return true;
}

bool FocusAware::dropLogicalFocus(QFocusEvent* event)
{
    if (isWindowChange(event->reason())) return false; // a message box or a popup: no move
    auto& holder = logicalFocus();
    if (holder.object != focusObject()) return false;
    holder = {};
    return true;
}

} // namespace host
