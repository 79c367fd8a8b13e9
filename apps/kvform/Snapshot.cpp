#include "Snapshot.h"

#include "host/value/OleColor.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

namespace kvform {

namespace {
constexpr int Border = 3;
constexpr int TitleHeight = 24;

QColor systemColor(host::OleColor color)
{
    return host::toQColor(color);
}
} // namespace

QImage snapshot(QWidget* window)
{
    QCoreApplication::processEvents(); // pending layout and paint first
    const QPixmap client = window->grab();
    // On a high-density screen the picture keeps the screen's pixels: the frame is laid out in
    // the window's own units around them.
    const qreal ratio = client.devicePixelRatio();
    const QSize clientSize = client.deviceIndependentSize().toSize();
    const QSize size(clientSize.width() + 2 * Border,
                     clientSize.height() + TitleHeight + 2 * Border);
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    const QColor caption = systemColor(host::SystemColor::ActiveTitleBar);
    const QColor inactive = systemColor(host::SystemColor::GradientActiveCaption);
    image.fill(caption);

    QPainter p(&image);
    QLinearGradient bar(0, 0, size.width(), 0);
    bar.setColorAt(0, caption);
    bar.setColorAt(1, inactive);
    p.fillRect(QRect(0, 0, size.width(), TitleHeight + Border), bar);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(systemColor(host::SystemColor::TitleBarText));
    p.drawText(QRect(Border + 6, Border, size.width() - 2 * Border - 12, TitleHeight),
               Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
    p.drawPixmap(Border, Border + TitleHeight, client);
    p.end();
    return image;
}

bool saveSnapshot(QWidget* window, const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        *error = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    if (!snapshot(window).save(path, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace kvform
