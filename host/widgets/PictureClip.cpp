#include "host/widgets/PictureClip.h"

#include "host/value/RuntimeError.h"

namespace host {

PictureClip::PictureClip(QObject* parent, const QString& name) : QObject(parent)
{
    setObjectName(name);
}

PictureClip::~PictureClip() = default;

void PictureClip::putref_Picture(const PictureRef& picture)
{
    m_picture = picture;
    invalidate();
}

void PictureClip::put_Rows(short rows)
{
    if (rows < 1) raiseError(Err::InvalidPropertyValue);
    m_rows = rows;
    invalidate();
}

void PictureClip::put_Cols(short cols)
{
    if (cols < 1) raiseError(Err::InvalidPropertyValue);
    m_cols = cols;
    invalidate();
}

int PictureClip::cellWidthPixels() const
{
    return m_picture ? m_picture->widthPixels() / m_cols : 0;
}

int PictureClip::cellHeightPixels() const
{
    return m_picture ? m_picture->heightPixels() / m_rows : 0;
}

void PictureClip::invalidate()
{
    m_cells.clear();
}

PictureRef PictureClip::GraphicCell(short index) const
{
    const int count = int(m_rows) * int(m_cols);
    if (index < 0 || index >= count) raiseError(Err::InvalidPropertyValue);
    if (!m_picture || m_picture->image().isNull()) raiseError(Err::InvalidPicture);
    if (m_cells.empty()) m_cells.resize(size_t(count));
    PictureRef& cell = m_cells[size_t(index)];
    if (!cell) {
        const int w = cellWidthPixels(), h = cellHeightPixels();
        const int row = index / m_cols, col = index % m_cols;
        // The high-density version is cut at its own scale, so the cell keeps its detail.
        const QImage& dense = m_picture->denseImage();
        const int k = int(dense.devicePixelRatio());
        cell = StdPicture::create(
            m_picture->image().copy(col * w, row * h, w, h),
            dense.isNull() ? QImage() : dense.copy(col * w * k, row * h * k, w * k, h * k));
    }
    return cell;
}

} // namespace host
