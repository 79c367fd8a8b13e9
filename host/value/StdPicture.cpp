#include "host/value/StdPicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace host {

namespace {

// HIMETRIC (0.01 mm) of a length in pixels at 96 DPI, rounded to the nearest unit.
qint32 himetric(int pixels)
{
    return qint32((qint64(pixels) * 2540 + 48) / 96);
}

} // namespace

StdPicture::StdPicture(QImage image) : m_image(std::move(image)) {}

PictureRef StdPicture::create(const QImage& image)
{
    return std::make_shared<StdPicture>(image);
}

qint32 StdPicture::get_Width() const
{
    return himetric(m_image.width());
}

qint32 StdPicture::get_Height() const
{
    return himetric(m_image.height());
}

QByteArray StdPicture::toPng() const
{
    if (m_image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(m_image)) return {};
    return bytes;
}

PictureRef StdPicture::fromPng(const QByteArray& bytes)
{
    if (bytes.isEmpty()) return nullptr;
    QByteArray data = bytes; // QBuffer needs a non-const array; this is a shallow copy
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead()) return nullptr;
    // The header's claim is checked before any pixel memory is asked for: a few bytes may claim
    // an image of gigabytes.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > MaxSide || size.height() > MaxSide ||
        qint64(size.width()) * size.height() > MaxPixels)
        return nullptr;
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != size) return nullptr;
    return create(image);
}

bool StdPicture::samePixels(const StdPicture& other) const
{
    if (m_image.size() != other.m_image.size()) return false;
    // Indexed images are compared by colour, not by index: two colour tables may order the same
    // colours differently.
    if (m_image.format() == other.m_image.format() && m_image.colorCount() == 0)
        return m_image == other.m_image;
    return m_image.convertToFormat(QImage::Format_ARGB32) ==
           other.m_image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace host
