#include "host/widgets/PictureBox.h"

#include "host/value/RuntimeError.h"

#include <QPainter>

namespace host {

PictureBox::PictureBox(QWidget* parent, const QString& name)
    : KeyRelay<MouseRelay<QFrame>>(parent), Intrinsic(this), Canvas(this)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    initIntrinsicWidget(this, name);
}

PictureBox::~PictureBox() = default;

void PictureBox::putref_Picture(const PictureRef& picture)
{
    m_picture = picture;
    fitToPicture();
    layPicture();
}

void PictureBox::layPicture()
{
    Cls();
    if (!m_picture || m_picture->image().isNull()) return;
    // In pixels whatever the scale, so the picture lands at its own size.
    const short mode = get_ScaleMode();
    const float left = get_ScaleLeft(), top = get_ScaleTop();
    const float width = get_ScaleWidth(), height = get_ScaleHeight();
    const bool user = mode == vbUser;
    put_ScaleMode(vbPixels);
    PaintPicture(m_picture, 0, 0);
    if (user) {
        put_ScaleLeft(left);
        put_ScaleTop(top);
        put_ScaleWidth(width);
        put_ScaleHeight(height);
    } else {
        put_ScaleMode(mode);
    }
    put_CurrentX(0);
    put_CurrentY(0);
}

void PictureBox::put_BorderStyle(short style)
{
    if (style < 0 || style > 1) raiseError(Err::InvalidPropertyValue);
    m_borderStyle = style;
    if (style == 1) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    fitToPicture();
}

void PictureBox::put_AutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitToPicture();
}

void PictureBox::fitToPicture()
{
    if (!m_autoSize || !m_picture) return;
    const int frame = 2 * frameWidth();
    resize(m_picture->widthPixels() + frame, m_picture->heightPixels() + frame);
}

FontRef PictureBox::get_Font() const
{
    if (FontRef f = Canvas::get_Font()) return f;
    return Intrinsic::get_Font();
}

void PictureBox::putref_Font(const FontRef& font)
{
    Canvas::putref_Font(font); // 91 for no font, before the widget changes
    Intrinsic::putref_Font(font);
}

void PictureBox::paintEvent(QPaintEvent* e)
{
    guard([&] {
        LifeGuard alive(this);
        paintOwner(e, [&] { Q_EMIT Paint(); });
        if (!alive || frameStyle() == QFrame::NoFrame) return;
        QPainter p(this);
        drawFrame(&p);
    });
}

QPointF PictureBox::toEventUnits(const QPointF& pixels) const
{
    const QPointF inside = pixels - QPointF(contentsRect().topLeft());
    return QPointF(scaleXFromPixels(inside.x()), scaleYFromPixels(inside.y()));
}

void PictureBox::raiseMouseDown(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseDown(b, s, x, y);
}
void PictureBox::raiseMouseMove(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseMove(b, s, x, y);
}
void PictureBox::raiseMouseUp(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseUp(b, s, x, y);
}

} // namespace host
