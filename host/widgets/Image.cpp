#include "host/widgets/Image.h"

#include "host/value/RuntimeError.h"

#include <QPainter>

namespace host {

Image::Image(QWidget* parent, const QString& name) : MouseRelay<QWidget>(parent), Intrinsic(this)
{
    setMouseTracking(true);
    initIntrinsicWidget(this, name);
}

Image::~Image() = default;

void Image::putref_Picture(const PictureRef& picture)
{
    m_picture = picture;
    fitToPicture();
    update();
}

void Image::put_Stretch(bool stretch)
{
    m_stretch = stretch;
    fitToPicture();
    update();
}

void Image::put_BorderStyle(short style)
{
    if (style < 0 || style > 1) raiseError(Err::InvalidPropertyValue);
    m_borderStyle = style;
    fitToPicture();
    update();
}

void Image::fitToPicture()
{
    if (m_stretch || !m_picture) return;
    const int b = m_borderStyle == 1 ? 2 : 0;
    resize(m_picture->widthPixels() + b, m_picture->heightPixels() + b);
}

void Image::paintEvent(QPaintEvent*)
{
    guard([&] {
        QPainter p(this);
        const int b = m_borderStyle == 1 ? 1 : 0;
        const QRect inner = rect().adjusted(b, b, -b, -b);
        if (m_picture && !m_picture->image().isNull()) {
            const QImage& image = m_picture->imageFor(devicePixelRatio());
            if (m_stretch)
                p.drawImage(QRectF(inner), image);
            else
                p.drawImage(inner.topLeft(), image);
        }
        if (b) {
            p.setPen(QColor(0, 0, 0));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    });
}

void Image::raiseMouseDown(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseDown(b, s, x, y);
}
void Image::raiseMouseMove(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseMove(b, s, x, y);
}
void Image::raiseMouseUp(short& b, short& s, float& x, float& y)
{
    Q_EMIT MouseUp(b, s, x, y);
}

} // namespace host
