#pragma once
// The host's picture object: an image shared by reference; a null PictureRef is "no picture".

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <memory>

namespace host {

class StdPicture;
using PictureRef = std::shared_ptr<StdPicture>;

class StdPicture {
public:
    explicit StdPicture(QImage image);
    static PictureRef create(const QImage& image);

    const QImage& image() const { return m_image; }
    int widthPixels() const { return m_image.width(); }
    int heightPixels() const { return m_image.height(); }
    // Size in HIMETRIC (0.01 mm), as the runtime's picture reports it; 96 DPI.
    qint32 get_Width() const;
    qint32 get_Height() const;

    // PNG bytes (empty for an empty picture); a picture read back from them has the same pixels.
    QByteArray toPng() const;
    // Null when the bytes are not a readable PNG image or claim a size beyond MaxSide pixels a
    // side or MaxPixels in all, checked before anything is decoded (never throws).
    static PictureRef fromPng(const QByteArray& bytes);
    // As fromPng, for PNG, GIF or BMP bytes told apart by their content.
    static PictureRef fromBytes(const QByteArray& bytes);

    static constexpr int MaxSide = 16384;
    static constexpr qint64 MaxPixels = qint64(64) * 1024 * 1024; // 256 MiB at 32 bits a pixel

    // The same pixels (whatever the storage format) and size.
    bool samePixels(const StdPicture& other) const;

private:
    // Null for bytes not in `format` (any accepted format when empty) or beyond the limits.
    static PictureRef decode(const QByteArray& bytes, const QByteArray& format);

    QImage m_image;
};

// The runtime's LoadPicture, from the bytes of a PNG, GIF or BMP file: raises 481 (invalid
// picture) for anything StdPicture::fromBytes refuses.
PictureRef LoadPicture(const QByteArray& bytes);
// A picture a library embeds (a Qt resource path, ":/Kv_CTRL/xp/xpcheckbox.png"), decoded once
// and shared by every caller after: a picture never changes. Raises 481 as LoadPicture does.
PictureRef ResourcePicture(const QString& path);

} // namespace host

Q_DECLARE_METATYPE(host::PictureRef)
