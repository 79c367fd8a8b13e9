#pragma once
// The host's picture object: an image shared by reference; a null PictureRef is "no picture".
// It may carry the same picture drawn for high-density screens, which screens of a device pixel
// ratio above 1 show in its place; sizes are always those of the picture itself.

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QString>
#include <memory>

namespace host {

class StdPicture;
using PictureRef = std::shared_ptr<StdPicture>;

class StdPicture {
public:
    // `dense` is the high-density version: a whole number of times (2 or more) the size of
    // `image` both ways. One of any other size is not kept.
    explicit StdPicture(QImage image, QImage dense = {});
    static PictureRef create(const QImage& image, const QImage& dense = {});

    const QImage& image() const { return m_image; }
    // The high-density version, its devicePixelRatio saying how dense; null when there is none.
    const QImage& denseImage() const { return m_dense; }
    // The pixels a screen of that device pixel ratio shows: the high-density version above 1
    // when there is one, else image(). Either measures the picture's size in the screen's units.
    const QImage& imageFor(qreal devicePixelRatio) const;
    int widthPixels() const { return m_image.width(); }
    int heightPixels() const { return m_image.height(); }
    // Size in HIMETRIC (0.01 mm), as the runtime's picture reports it; 96 DPI.
    qint32 get_Width() const;
    qint32 get_Height() const;

    // PNG bytes of image() (empty for an empty picture); a picture read back from them has the
    // same pixels and no high-density version.
    QByteArray toPng() const;
    // Null when the bytes are not a readable PNG image or claim a size beyond MaxSide pixels a
    // side or MaxPixels in all, checked before anything is decoded (never throws).
    static PictureRef fromPng(const QByteArray& bytes);
    // As fromPng, for PNG, GIF or BMP bytes told apart by their content.
    static PictureRef fromBytes(const QByteArray& bytes);

    static constexpr int MaxSide = 16384;
    static constexpr qint64 MaxPixels = qint64(64) * 1024 * 1024; // 256 MiB at 32 bits a pixel

    // The same pixels of image() (whatever the storage format) and size.
    bool samePixels(const StdPicture& other) const;

private:
    // Null for bytes not in `format` (any accepted format when empty) or beyond the limits.
    static PictureRef decode(const QByteArray& bytes, const QByteArray& format);

    QImage m_image;
    QImage m_dense;
};

// The runtime's LoadPicture, from the bytes of a PNG, GIF or BMP file: raises 481 (invalid
// picture) for anything StdPicture::fromBytes refuses.
PictureRef LoadPicture(const QByteArray& bytes);
// The runtime's LoadPicture of a file (a resource path ":/..." too): 53 when there is no such
// file, 481 when it holds no picture. A file beside it named with "@2x" before the extension
// ("strip@2x.png" for "strip.png"), twice the size, becomes the picture's high-density version;
// an unreadable one or one of another size is passed over.
PictureRef LoadPicture(const QString& fileName);

} // namespace host

Q_DECLARE_METATYPE(host::PictureRef)
