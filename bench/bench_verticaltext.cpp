// One drawing of the title strip with its gradient (46 x 264 pixels, bands of a 768-pixel
// screen down to the strip's bottom, the text turned a quarter turn) through VericalText against
// the same bands and rotated text drawn with a plain QPainter on a QImage.

#include "BenchUtil.h"

#include "controls/verticaltext/VericalText.h"
#include "host/services/Services.h"
#include "host/value/Fonts.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    host::services().screenSize = [] { return QSize(1024, 768); };
    const int frames = 500;
    const QString text = QStringLiteral("Cadastro de Cliente");

    auto* strip = host::UserControl::create<Kv_CTRL::VericalText>(nullptr, QStringLiteral("vt"));
    strip->put_zDirecao(Kv_CTRL::zOpOrient::ParaBaixo);
    strip->put_ForeColor(host::RGB(255, 255, 255));
    strip->putref_Font(host::StdFont::create(QStringLiteral("Arial Black"), 10));
    strip->put_zDegradee(true);
    auto ours = [&] {
        for (int i = 0; i < frames; ++i)
            strip->put_zTexto(text); // each set draws the strip once
        bench::keep(strip->image());
    };

    QImage image(46, 264, QImage::Format_RGB32);
    QFont font = host::qtFontFor(QStringLiteral("Arial Black"), 10);
    font.setPixelSize(13);
    auto twin = [&] {
        for (int i = 0; i < frames; ++i) {
            image.fill(Qt::white);
            QPainter p(&image);
            const int h = 768, step = 12;
            for (int y = 0; y <= h && y - 2 < image.height(); y += step)
                p.fillRect(QRect(QPoint(-2, y - 2), QPoint(15362, y + step + 3)),
                           QColor(0, 0, std::max(0, qRound(240 - y * 245.0 / h))));
            p.setFont(font);
            p.setPen(Qt::white);
            p.translate(3, 261);
            p.rotate(-90);
            p.drawText(QPointF(0, QFontMetrics(font, &image).ascent()), text);
        }
        bench::keep(image);
    };

    bench::compare("verticaltext_gradient_strip", 1.5, ours, twin);
    delete strip;
    return 0;
}
