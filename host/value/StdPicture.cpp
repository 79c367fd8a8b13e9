#include "host/value/StdPicture.h"

#include "host/value/RuntimeError.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>

namespace host {

namespace {

// HIMETRIC (0.01 mm) of a length in pixels at 96 DPI, rounded to the nearest unit.
qint32 himetric(int pixels)
{
    return qint32((qint64(pixels) * 2540 + 48) / 96);
}

bool acceptedFormat(const QByteArray& format)
{
    return format == "png" || format == "gif" || format == "bmp";
}

quint32 littleEndianAt(const QByteArray& bytes, qsizetype at, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | quint8(bytes[at + i]);
    return v;
}

// Qt's BMP reader returns the rows it found and no error for a cut file, so an uncompressed
// BMP's length is checked against what its header says the pixels take.
bool bmpCut(const QByteArray& bytes, QSize size)
{
    if (bytes.size() < 34 || littleEndianAt(bytes, 14, 4) < 40) return false;
    const quint32 compression = littleEndianAt(bytes, 30, 4);
    if (compression != 0 && compression != 3) return false; // run-length data has no fixed size
    const qint64 bitsPerPixel = littleEndianAt(bytes, 28, 2);
    const qint64 stride = (size.width() * bitsPerPixel + 31) / 32 * 4;
    return bytes.size() < qint64(littleEndianAt(bytes, 10, 4)) + stride * size.height();
}

} // namespace

PictureRef StdPicture::decode(const QByteArray& bytes, const QByteArray& format)
{
    if (bytes.isEmpty()) return nullptr;
    QByteArray data = bytes; // QBuffer needs a non-const array; this is a shallow copy
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(format.isEmpty());
    // Only the formats pictures come in reach a decoder: fewer parsers see untrusted bytes.
    if (!reader.canRead() || !acceptedFormat(reader.format())) return nullptr;
    // The header's claim is checked before any pixel memory is asked for: a few bytes may claim
    // an image of gigabytes.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > MaxSide || size.height() > MaxSide ||
        qint64(size.width()) * size.height() > MaxPixels)
        return nullptr;
    if (reader.format() == "bmp" && bmpCut(bytes, size)) return nullptr;
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != size) return nullptr;
    return create(image);
}

PictureRef LoadPicture(const QByteArray& bytes)
{
    PictureRef picture = StdPicture::fromBytes(bytes);
    if (!picture) raiseError(Err::InvalidPicture);
    return picture;
}

PictureRef ResourcePicture(const QString& path)
{
    // Every control of a form would otherwise decode its art again as it is made.
    static QMutex mutex;
    static QHash<QString, PictureRef> decoded;
    QMutexLocker lock(&mutex);
    if (PictureRef picture = decoded.value(path)) return picture;
    QFile file(path);
    const PictureRef picture =
        LoadPicture(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    decoded.insert(path, picture);
    return picture;
}

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
    return decode(bytes, "png");
}

PictureRef StdPicture::fromBytes(const QByteArray& bytes)
{
    return decode(bytes, {});
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
