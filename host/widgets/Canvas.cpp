#include "host/widgets/Canvas.h"

#include "host/services/Cursor.h"
#include "host/services/Guard.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Gdi.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace host {

namespace {

QHash<qint32, Canvas*>& canvases()
{
    static QHash<qint32, Canvas*> map;
    return map;
}

// How many canvases have each font selected: asked whenever a font is deleted, so it is kept as
// a count rather than found by visiting every canvas of every form.
QHash<qint32, int>& selections()
{
    static QHash<qint32, int> counts;
    return counts;
}

void countSelection(qint32 handle, int change)
{
    int& count = selections()[handle];
    count += change;
    if (count <= 0) selections().remove(handle);
}

// The most of a surface its backing image keeps, in device pixels: a side of 16384 and 2^25 pixels
// in all, an 8K screen's worth. A control made larger than any screen keeps its drawing over that
// part only, rather than asking for memory no machine has (a form file may size a control up to
// MaxTwips both ways).
constexpr int MaxSurfaceSide = 16384;
constexpr qint64 MaxSurfacePixels = qint64(1) << 25;

QSize boundedSurface(QSize logical, qreal ratio)
{
    const int side = std::max(1, int(MaxSurfaceSide / ratio));
    QSize kept = logical.boundedTo(QSize(side, side));
    const qint64 most = std::max<qint64>(1, qint64(double(MaxSurfacePixels) / (ratio * ratio)));
    if (qint64(kept.width()) * kept.height() > most)
        kept.setHeight(int(std::max<qint64>(1, most / kept.width())));
    return kept;
}

QStringList linesOf(const QString& text)
{
    if (!text.contains(QLatin1Char('\n'))) return QStringList{text};
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t.split(QLatin1Char('\n'));
}

QPainter::CompositionMode compositionFor(short drawMode)
{
    switch (drawMode) {
    case vbBlackness:
        return QPainter::RasterOp_ClearDestination;
    case vbNotMergePen:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case vbMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case vbNotCopyPen:
        return QPainter::RasterOp_NotSource;
    case vbMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case vbInvert:
        return QPainter::RasterOp_NotDestination;
    case vbXorPen:
        return QPainter::RasterOp_SourceXorDestination;
    case vbNotMaskPen:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case vbMaskPen:
        return QPainter::RasterOp_SourceAndDestination;
    case vbNotXorPen:
        return QPainter::RasterOp_NotSourceXorDestination;
    case vbMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case vbMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case vbMergePen:
        return QPainter::RasterOp_SourceOrDestination;
    case vbWhiteness:
        return QPainter::RasterOp_SetDestination;
    default:
        return QPainter::CompositionMode_Source;
    }
}

} // namespace

Canvas::Canvas(QWidget* owner)
    : m_owner(owner), m_font(StdFont::create()), m_hdc(allocateGdiHandle()),
      m_ownFontHandle(allocateGdiHandle()), m_selectedFont(m_ownFontHandle)
{
    canvases().insert(m_hdc, this);
    countSelection(m_selectedFont, 1);
    watchFont();
}

Canvas::~Canvas()
{
    settle();
    QObject::disconnect(m_fontWatch);
    canvases().remove(m_hdc);
    countSelection(m_selectedFont, -1);
}

Canvas* Canvas::fromHdc(qint32 hdc)
{
    return canvases().value(hdc, nullptr);
}

bool Canvas::isFontSelectedAnywhere(qint32 fontHandle)
{
    return selections().contains(fontHandle);
}

void Canvas::selectFontHandle(qint32 handle)
{
    countSelection(m_selectedFont, -1);
    m_selectedFont = handle;
    countSelection(m_selectedFont, 1);
}

qint32 Canvas::get_hWnd() const
{
    return hwndOf(m_owner);
}

// ---------------------------------------------------------------- scale

double Canvas::standardUnitsPerPixel(short mode, bool vertical) const
{
    if (mode == vbPixels) return 1.0; // the drawing's own unit, asked for in every band loop
    if (m_dpiX <= 0) refreshDpi();
    const double dpi = vertical ? m_dpiY : m_dpiX;
    const double twips = 1440.0 / (dpi > 0 ? dpi : 96.0);
    switch (mode) {
    case vbTwips:
        return twips;
    case vbPoints:
        return twips / 20.0;
    case vbPixels:
        return 1.0;
    case vbCharacters:
        return twips / (vertical ? 240.0 : 120.0);
    case vbInches:
        return twips / 1440.0;
    case vbMillimeters:
        return twips * 25.4 / 1440.0;
    case vbCentimeters:
        return twips * 2.54 / 1440.0;
    default:
        return twips;
    }
}

void Canvas::refreshDpi() const
{
    // Asking the widget walks its screen each time (every drawing call would): the answers
    // change only with the screen, so they are taken again on every paint, when the image
    // grows, and after the owner moves to another screen or parent.
    m_dpiX = m_owner->logicalDpiX();
    m_dpiY = m_owner->logicalDpiY();
    if (m_dpiX <= 0) m_dpiX = 96;
    if (m_dpiY <= 0) m_dpiY = 96;
    m_ratio = m_owner->devicePixelRatio();
    if (m_ratio <= 0) m_ratio = 1;
}

void Canvas::forgetScreen()
{
    m_dpiX = m_dpiY = m_ratio = 0;
}

double Canvas::unitsPerPixelX() const
{
    return m_scaleMode == vbUser ? m_userUnitsX : standardUnitsPerPixel(m_scaleMode, false);
}

double Canvas::unitsPerPixelY() const
{
    return m_scaleMode == vbUser ? m_userUnitsY : standardUnitsPerPixel(m_scaleMode, true);
}

void Canvas::put_ScaleMode(short mode)
{
    if (mode < vbUser || mode > vbCentimeters) raiseError(Err::InvalidPropertyValue);
    if (mode == vbUser) {
        m_userUnitsX = unitsPerPixelX();
        m_userUnitsY = unitsPerPixelY();
    } else {
        m_scaleLeft = m_scaleTop = 0;
    }
    m_scaleMode = mode;
}

void Canvas::put_ScaleLeft(float value)
{
    put_ScaleMode(vbUser);
    m_scaleLeft = value;
}

void Canvas::put_ScaleTop(float value)
{
    put_ScaleMode(vbUser);
    m_scaleTop = value;
}

float Canvas::get_ScaleWidth() const
{
    return float(contentsSize().width() * unitsPerPixelX());
}

float Canvas::get_ScaleHeight() const
{
    return float(contentsSize().height() * unitsPerPixelY());
}

void Canvas::put_ScaleWidth(float value)
{
    if (value == 0 || !std::isfinite(value)) raiseError(Err::InvalidPropertyValue);
    put_ScaleMode(vbUser);
    m_userUnitsX = double(value) / std::max(1, contentsSize().width());
}

void Canvas::put_ScaleHeight(float value)
{
    if (value == 0 || !std::isfinite(value)) raiseError(Err::InvalidPropertyValue);
    put_ScaleMode(vbUser);
    m_userUnitsY = double(value) / std::max(1, contentsSize().height());
}

void Canvas::Scale(float x1, float y1, float x2, float y2)
{
    if (x1 == x2 || y1 == y2) raiseError(Err::InvalidPropertyValue);
    put_ScaleMode(vbUser);
    m_scaleLeft = x1;
    m_scaleTop = y1;
    m_userUnitsX = double(x2 - x1) / std::max(1, contentsSize().width());
    m_userUnitsY = double(y2 - y1) / std::max(1, contentsSize().height());
}

float Canvas::scaleXFromPixels(double pixels) const
{
    return float(m_scaleLeft + pixels * unitsPerPixelX());
}

float Canvas::scaleYFromPixels(double pixels) const
{
    return float(m_scaleTop + pixels * unitsPerPixelY());
}

int Canvas::pixelsXFromScale(double x) const
{
    return toPixels(x - m_scaleLeft, unitsPerPixelX());
}

int Canvas::pixelsYFromScale(double y) const
{
    return toPixels(y - m_scaleTop, unitsPerPixelY());
}

// ---------------------------------------------------------------- appearance

void Canvas::put_BackColor(OleColor color)
{
    const QRgb rgb = toQColor(color).rgb(); // raises 380 before anything changes
    m_backColor = color;
    // Nothing drawn yet: the drawing is made, in the new colour, when something is drawn. A
    // surface its children cover entirely never needs one.
    if (!m_image.isNull()) {
        settle();
        m_image.fill(rgb);
    }
    changed();
}

void Canvas::put_ForeColor(OleColor color)
{
    translateColor(color);
    m_foreColor = color;
}

void Canvas::putref_Font(FontRef font)
{
    if (!font) raiseError(Err::ObjectVariableNotSet);
    m_font = std::move(font);
    selectFontHandle(m_ownFontHandle);
    m_platformFont.reset();
    watchFont();
}

void Canvas::watchFont()
{
    // The font object is shared: a change made through any holder shows in the next Print.
    QObject::disconnect(m_fontWatch);
    m_fontWatch =
        QObject::connect(m_font.get(), &StdFont::changed, m_owner, [this] { forgetFont(); });
    forgetFont();
}

void Canvas::forgetFont() const
{
    m_fontCache.reset();
    m_metricsCache.reset();
}

void Canvas::put_FontTransparent(bool transparent)
{
    m_fontTransparent = transparent;
}

void Canvas::put_DrawMode(short mode)
{
    if (mode < vbBlackness || mode > vbWhiteness) raiseError(Err::InvalidPropertyValue);
    m_drawMode = mode;
}

void Canvas::put_DrawWidth(short width)
{
    if (width < 1) raiseError(Err::InvalidPropertyValue);
    m_drawWidth = width;
}

void Canvas::selectPlatformFont(qint32 handle, std::shared_ptr<const PlatformFont> font)
{
    selectFontHandle(handle);
    m_platformFont = std::move(font);
    forgetFont();
}

// ---------------------------------------------------------------- backing image

QSize Canvas::contentsSize() const
{
    return m_owner->contentsRect().size().expandedTo(QSize(0, 0));
}

QSize Canvas::drawingSize() const
{
    if (m_image.isNull()) return {};
    return (QSizeF(m_image.size()) / m_image.devicePixelRatio()).toSize();
}

QImage& Canvas::surface() const
{
    // A hidden widget gets no resize event, so the image follows the owner's size whenever it is
    // used. It never shrinks: a control made smaller and larger again keeps what it drew.
    // On a high-density screen it holds device pixels, so that text and lines are drawn at the
    // screen's resolution, not enlarged afterwards; its coordinates stay those of the owner.
    if (m_ratio <= 0) refreshDpi();
    const qreal ratio = m_ratio;
    const QSize contents = contentsSize();
    // Every drawing call comes here: most find the owner as the image was last fitted to it.
    if (contents == m_fittedTo && !m_image.isNull() && m_image.devicePixelRatio() == ratio)
        return m_image;
    m_fittedTo = contents;
    const QSize want =
        boundedSurface(contents.expandedTo(drawingSize()).expandedTo(QSize(1, 1)), ratio);
    if (drawingSize() != want || m_image.devicePixelRatio() != ratio) {
        settle();
        QImage grown((QSizeF(want) * ratio).toSize(), QImage::Format_RGB32);
        grown.setDevicePixelRatio(ratio);
        refreshDpi();
        const double dpmX = m_dpiX / 0.0254;
        const double dpmY = m_dpiY / 0.0254;
        grown.setDotsPerMeterX(toPixels(dpmX, 1.0));
        grown.setDotsPerMeterY(toPixels(dpmY, 1.0));
        grown.fill(toQColor(m_backColor));
        if (!m_image.isNull()) {
            QPainter p(&grown);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, m_image);
        }
        m_image = std::move(grown);
    }
    return m_image;
}

const QImage& Canvas::image() const
{
    settle();
    return surface();
}

QPainter& Canvas::painter() const
{
    // One painter stays open across drawing calls (opening one per call costs more than most
    // of the calls themselves); it is closed whenever the image is read or replaced.
    QImage& img = surface();
    if (!m_painter.isActive()) {
        m_painter.begin(&img);
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    return m_painter;
}

void Canvas::settle() const
{
    if (m_painter.isActive()) m_painter.end();
}

void Canvas::changed() const
{
    // While the owner paints, the image is shown right after the Paint handler drew into it.
    if (!m_painting) m_owner->update();
}

void Canvas::applyDrawMode(QPainter& painter) const
{
    painter.setCompositionMode(compositionFor(m_drawMode));
}

void Canvas::paintOwner(QPaintEvent* event, const std::function<void()>& onPaint)
{
    if (onPaint && !m_autoRedraw && !m_painting) {
        m_painting = true;
        {
            PaintScope scope; // a message box asked for here waits for the paint's end
            guard(onPaint);
        }
        m_painting = false;
    }
    refreshDpi();
    const QRect contents = m_owner->contentsRect();
    QPainter p(m_owner);
    p.setClipRect(event ? event->rect().intersected(contents) : contents);
    if (m_image.isNull()) {
        p.fillRect(contents, toQColor(m_backColor));
        return;
    }
    const QImage& img = image();
    // Beyond what a giant surface keeps, its back colour.
    if (!QRect(QPoint(0, 0), drawingSize()).contains(QRect(QPoint(0, 0), contents.size())))
        p.fillRect(contents, toQColor(m_backColor));
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(contents.topLeft(), img,
                QRectF(QPointF(0, 0), QSizeF(contents.size()) * img.devicePixelRatio()));
}

void Canvas::Refresh()
{
    if (m_painting) return;
    if (m_owner->isVisible())
        m_owner->repaint();
    else
        m_owner->update();
}

// ---------------------------------------------------------------- drawing

const QFont& Canvas::activeFont() const
{
    if (!m_fontCache) m_fontCache = m_platformFont ? m_platformFont->font : m_font->toQFont();
    return *m_fontCache;
}

const QFontMetrics& Canvas::activeMetrics() const
{
    if (!m_metricsCache) m_metricsCache.emplace(activeFont(), &surface());
    return *m_metricsCache;
}

double Canvas::activeEscapement() const
{
    return m_platformFont ? m_platformFont->escapementDegrees : 0.0;
}

void Canvas::Cls()
{
    settle();
    if (!m_image.isNull()) surface().fill(toQColor(m_backColor));
    m_currentX = m_currentY = 0;
    changed();
}

float Canvas::TextWidth(const QString& text) const
{
    const QFontMetrics& fm = activeMetrics();
    int widest = 0;
    for (const QString& line : linesOf(text))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return float(widest * std::fabs(unitsPerPixelX()));
}

float Canvas::TextHeight(const QString& text) const
{
    const QFontMetrics& fm = activeMetrics();
    return float(linesOf(text).size() * fm.height() * std::fabs(unitsPerPixelY()));
}

void Canvas::Print(const QString& text, bool newLine)
{
    const QColor fore = toQColor(m_foreColor);
    const QColor back = toQColor(m_backColor);
    const QFont& font = activeFont();
    const QFontMetrics& fm = activeMetrics();
    const QStringList lines = linesOf(text);
    const double escapement = activeEscapement();
    const int x0 = pixelsXFromScale(m_currentX);
    const int y0 = pixelsYFromScale(m_currentY);
    const int left = pixelsXFromScale(m_scaleLeft);

    QPainter& p = painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setFont(font);
    const int lineHeight = fm.height();
    // Rotated text turns around its top-left corner, counter-clockwise for a positive escapement.
    p.translate(x0, y0);
    if (escapement != 0) p.rotate(-escapement);
    int lastEnd = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const int x = i == 0 ? 0 : (escapement != 0 ? 0 : left - x0);
        const int y = i * lineHeight;
        // Measuring costs as much as drawing: only done when the width is used.
        const bool measure = !m_fontTransparent || (!newLine && i == lines.size() - 1);
        const int width = measure ? fm.horizontalAdvance(lines[i]) : 0;
        if (!m_fontTransparent) p.fillRect(QRect(x, y, width, lineHeight), back);
        p.setPen(fore);
        p.drawText(QPointF(x, y + fm.ascent()), lines[i]);
        lastEnd = x0 + x + width;
    }
    p.resetTransform();

    const double lineUnits = lineHeight * unitsPerPixelY();
    if (newLine) {
        m_currentX = m_scaleLeft;
        m_currentY += lines.size() * lineUnits;
    } else {
        m_currentX = scaleXFromPixels(lastEnd);
        m_currentY += (lines.size() - 1) * lineUnits;
    }
    changed();
}

void Canvas::Line(float x1, float y1, float x2, float y2, std::optional<OleColor> color,
                  LineShape shape)
{
    const QColor c = toQColor(color.value_or(m_foreColor));
    m_currentX = x2;
    m_currentY = y2;
    if (m_drawMode == vbNop) return;
    const QPoint p1(pixelsXFromScale(x1), pixelsYFromScale(y1));
    const QPoint p2(pixelsXFromScale(x2), pixelsYFromScale(y2));
    const QRect r = QRect(p1, p2).normalized();
    // A filled box wholly outside the drawing changes nothing in any draw mode: drawings that lay
    // bands over the whole screen leave most of them below a small control.
    QPainter& p = painter(); // the image grown to the owner first
    if (shape == LineShape::FilledBox && !r.intersects(QRect(QPoint(0, 0), drawingSize()))) return;
    applyDrawMode(p);
    if (shape == LineShape::FilledBox) {
        p.fillRect(r, c);
    } else if (shape == LineShape::Box && m_drawWidth == 1) {
        // Edges that never overlap, so an exclusive-or box touches each pixel once.
        p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
        if (r.height() > 1) p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
        if (r.height() > 2) {
            p.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), c);
            if (r.width() > 1) p.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), c);
        }
    } else {
        // A line one pixel wide covers whole pixels of the owner, as a box's edges do; on a
        // high-density screen a hairline would be one device pixel, half as thick. So there it
        // is a pen one pixel wide through the pixels' centres.
        const bool hairline = m_drawWidth == 1 && m_image.devicePixelRatio() == 1;
        const double centre = m_drawWidth == 1 && !hairline ? 0.5 : 0.0;
        QPen pen(c, hairline ? 0 : m_drawWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        p.setPen(pen);
        p.translate(centre, centre);
        if (shape == LineShape::Box)
            p.drawRect(r);
        else if (p1 == p2)
            p.drawPoint(p1);
        else
            p.drawLine(p1, p2);
        p.resetTransform();
        p.setPen(Qt::NoPen);
    }
    changed();
}

void Canvas::LineTo(float x2, float y2, std::optional<OleColor> color, LineShape shape)
{
    Line(float(m_currentX), float(m_currentY), x2, y2, color, shape);
}

void Canvas::PSet(float x, float y, std::optional<OleColor> color)
{
    const QColor c = toQColor(color.value_or(m_foreColor));
    m_currentX = x;
    m_currentY = y;
    if (m_drawMode == vbNop) return;
    const int w = m_drawWidth;
    const QRect r(pixelsXFromScale(x) - (w - 1) / 2, pixelsYFromScale(y) - (w - 1) / 2, w, w);
    QPainter& p = painter();
    applyDrawMode(p);
    p.fillRect(r, c);
    changed();
}

qint32 Canvas::Point(float x, float y) const
{
    const int px = pixelsXFromScale(x), py = pixelsYFromScale(y);
    const QImage& img = image();
    const QSize contents = contentsSize();
    if (px < 0 || py < 0 || px >= contents.width() || py >= contents.height()) return -1;
    const QSize drawn = drawingSize();
    if (px >= drawn.width() || py >= drawn.height()) return -1;
    const qreal ratio = img.devicePixelRatio();
    return qint32(fromQColor(QColor(img.pixel(int(px * ratio), int(py * ratio)))));
}

void Canvas::PaintPicture(const PictureRef& picture, float x, float y, std::optional<float> width,
                          std::optional<float> height, std::optional<float> srcX,
                          std::optional<float> srcY, std::optional<float> srcWidth,
                          std::optional<float> srcHeight)
{
    if (!picture || picture->image().isNull()) raiseError(Err::InvalidPicture);
    // On a high-density screen the picture's high-density version is drawn into the device
    // pixels; it holds more pixels than it measures.
    const QImage& img = picture->imageFor(surface().devicePixelRatio());
    const double ux = std::fabs(unitsPerPixelX()), uy = std::fabs(unitsPerPixelY());
    const qreal ratio = img.devicePixelRatio();
    const int iw = int(img.width() / ratio), ih = int(img.height() / ratio);

    const int dx = pixelsXFromScale(x), dy = pixelsYFromScale(y);
    const int dw = width ? pixelsXFromScale(double(x) + *width) - dx : iw;
    const int dh = height ? pixelsYFromScale(double(y) + *height) - dy : ih;
    const int sx = srcX ? toPixels(*srcX, ux) : 0;
    const int sy = srcY ? toPixels(*srcY, uy) : 0;
    const int sw = srcWidth ? toPixels(*srcWidth, ux) : iw - sx;
    const int sh = srcHeight ? toPixels(*srcHeight, uy) : ih - sy;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;

    QPainter& p = painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(QRectF(dx, dy, dw, dh), img,
                QRectF(sx * ratio, sy * ratio, sw * ratio, sh * ratio));
    changed();
}

} // namespace host
