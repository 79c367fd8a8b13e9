#include "library/module/TypeLibrary.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Kv_CTRL {

namespace {

constexpr int Width = 16;
constexpr int Height = 15;

const QColor Face(236, 233, 216);
const QColor Shadow(172, 168, 153);
const QColor DarkShadow(113, 111, 100);
const QColor Light(255, 255, 255);
const QColor XpBlue(0, 60, 116);
const QColor Highlight(49, 106, 197);
const QColor Check(33, 161, 33);

void raisedFrame(QPainter& p, const QRect& r)
{
    p.setPen(Light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(DarkShadow);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void sunkenFrame(QPainter& p, const QRect& r)
{
    p.setPen(Shadow);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Light);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void drawCmdButton(QPainter& p)
{
    p.fillRect(1, 2, 14, 11, Face);
    raisedFrame(p, QRect(1, 2, 13, 10));
    // the small picture beside the caption
    p.fillRect(3, 5, 4, 4, QColor(0, 128, 0));
    p.fillRect(4, 6, 2, 2, QColor(255, 215, 0));
    p.setPen(Qt::black);
    p.drawLine(9, 6, 12, 6);
    p.drawLine(9, 8, 11, 8);
}

void drawProgressBar(QPainter& p)
{
    p.fillRect(0, 4, 16, 7, Light);
    sunkenFrame(p, QRect(0, 4, 15, 6));
    for (int x = 2; x < 10; x += 3)
        p.fillRect(x, 6, 2, 3, Highlight);
}

void drawXpCmdButton(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient fill(0, 2, 0, 13);
    fill.setColorAt(0, Light);
    fill.setColorAt(1, QColor(214, 208, 197));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0.5, 2.5, 15, 10), 3, 3);
    p.fillPath(shape, fill);
    p.setPen(XpBlue);
    p.drawPath(shape);
    p.setPen(Qt::black);
    p.drawLine(5, 7, 10, 7);
}

void drawVericalText(QPainter& p)
{
    QLinearGradient fill(0, 0, 0, Height);
    fill.setColorAt(0, QColor(0, 0, 128));
    fill.setColorAt(1, QColor(90, 150, 255));
    p.fillRect(4, 0, 8, Height, fill);
    // a letter "A" lying on its side, read from the bottom up
    p.setPen(Light);
    p.drawLine(6, 11, 10, 7);
    p.drawLine(10, 7, 6, 3);
    p.drawLine(8, 9, 8, 5);
}

void drawTxtCampo(QPainter& p)
{
    p.fillRect(0, 3, 16, 9, Light);
    p.setPen(QColor(127, 157, 185));
    p.drawRect(0, 3, 15, 8);
    p.setPen(Qt::black);
    p.drawLine(2, 5, 2, 9); // the text cursor
    p.fillRect(11, 4, 4, 7, Face);
    p.setPen(Qt::black);
    p.drawPoint(12, 9);
    p.drawPoint(13, 9);
}

void drawXpCheckBox(QPainter& p)
{
    p.fillRect(2, 2, 11, 11, Light);
    p.setPen(XpBlue);
    p.drawRect(2, 2, 10, 10);
    p.setPen(QPen(Check, 2));
    p.drawLine(4, 7, 6, 9);
    p.drawLine(6, 9, 10, 4);
}

void drawXpOptionButton(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Light);
    p.setPen(XpBlue);
    p.drawEllipse(QRectF(2.5, 2, 11, 11));
    p.setBrush(Check);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(5.5, 5, 5, 5));
}

} // namespace

QImage toolboxImage(const QString& className)
{
    using Draw = void (*)(QPainter&);
    static const std::pair<const char*, Draw> drawings[] = {
        {"cmdButton", drawCmdButton},
        {"ProgressBar", drawProgressBar},
        {"xpcmdbutton", drawXpCmdButton},
        {"VericalText", drawVericalText},
        {"txtCampo", drawTxtCampo},
        {"xpcheckbox", drawXpCheckBox},
        {"xpoptionbutton", drawXpOptionButton},
    };
    for (const auto& [name, draw] : drawings) {
        if (className != QLatin1String(name)) continue;
        // Drawn in 32 bits (what QPainter handles natively), handed out in 24.
        QImage image(Width, Height, QImage::Format_RGB32);
        image.fill(Face);
        QPainter painter(&image);
        draw(painter);
        painter.end();
        return image.convertToFormat(QImage::Format_RGB888);
    }
    return {};
}

} // namespace Kv_CTRL
