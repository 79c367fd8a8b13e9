#pragma once
// The host's picture object: an image shared by reference; a null PictureRef is "no picture".

#include <QByteArray>
#include <QImage>
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

    // PNG bytes; a picture read back from them has the same pixels.
    QByteArray toPng() const;
    // Null when the bytes are not a readable image (never throws).
    static PictureRef fromPng(const QByteArray& bytes);

private:
    QImage m_image;
};

} // namespace host
