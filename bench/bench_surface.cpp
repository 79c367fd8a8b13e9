// One gauge-like frame drawn through the control surface's drawing API (filled boxes, printed
// text, two exclusive-or boxes, a stretched picture) against the same frame drawn with a plain
// QPainter on a QImage.

#include "BenchUtil.h"

#include "host/widgets/Canvas.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class Surface : public QWidget, public host::Canvas {
public:
    Surface() : Canvas(this) { resize(200, 24); }
};

QImage makeCell()
{
    QImage cell(18, 21, QImage::Format_RGB32);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 18; ++x)
            cell.setPixel(x, y, qRgb(255 - y * 5, 240 - x * 3, 214));
    return cell;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int frames = 500;
    const QImage cell = makeCell();
    const host::PictureRef picture = host::StdPicture::create(cell);
    const QString text = QStringLiteral("Carregando 45 %");

    Surface surface;
    surface.put_BackColor(host::RGB(255, 255, 255));
    surface.put_ForeColor(host::RGB(0, 0, 0));
    surface.putref_Font(host::StdFont::create(QStringLiteral("MS Sans Serif"), 8.25, true));
    auto ours = [&] {
        for (int i = 0; i < frames; ++i) {
            const float W = surface.get_ScaleWidth() - 15, H = surface.get_ScaleHeight() - 15;
            surface.put_DrawMode(host::vbCopyPen);
            surface.Line(15, 15, W, H, host::RGB(255, 255, 255), host::LineShape::FilledBox);
            surface.put_CurrentX((surface.get_ScaleWidth() - surface.TextWidth(text)) / 2);
            surface.put_CurrentY((surface.get_ScaleHeight() - surface.TextHeight(text)) / 2);
            surface.Print(text);
            surface.put_DrawMode(host::vbXorPen);
            const float X = W / 100 * float(45 + i % 10);
            surface.Line(15, 15, X, H, host::RGB(0, 0, 255), host::LineShape::FilledBox);
            surface.Line(15, 15, X, H, host::RGB(255, 255, 255), host::LineShape::FilledBox);
            surface.put_ScaleMode(host::vbPixels);
            surface.PaintPicture(picture, 0, 0, 3, 24, 0, 0, 3, 21);
            surface.PaintPicture(picture, 197, 0, 3, 24, 15, 0, 3, 21);
            surface.put_ScaleMode(host::vbTwips);
        }
        bench::keep(surface.image());
    };

    QImage image(200, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    QFont font = surface.get_Font()->toQFont();
    auto twin = [&] {
        for (int i = 0; i < frames; ++i) {
            QPainter p(&image);
            p.fillRect(QRect(QPoint(1, 1), QPoint(199, 23)), Qt::white);
            p.setFont(font);
            const QFontMetrics fm(font, &image);
            const int x = (200 - fm.horizontalAdvance(text)) / 2;
            const int y = (24 - fm.height()) / 2;
            p.setPen(Qt::black);
            p.drawText(QPointF(x, y + fm.ascent()), text);
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            const int X = 198 * (45 + i % 10) / 100;
            p.fillRect(QRect(QPoint(1, 1), QPoint(X, 23)), QColor(0, 0, 255));
            p.fillRect(QRect(QPoint(1, 1), QPoint(X, 23)), Qt::white);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.drawImage(QRectF(0, 0, 3, 24), cell, QRectF(0, 0, 3, 21));
            p.drawImage(QRectF(197, 0, 3, 24), cell, QRectF(15, 0, 3, 21));
        }
        bench::keep(image);
    };

    bench::compare("surface_gauge_frame", 1.5, ours, twin);
    return 0;
}
