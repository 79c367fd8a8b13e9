#pragma once
// The picture-strip control: one picture cut into a grid of equal cells, handing out any cell as
// a picture of its own (with its high-density version cut alike). It is never shown.

#include "host/value/StdPicture.h"

#include <QObject>
#include <vector>

namespace host {

class PictureClip : public QObject {
    Q_OBJECT
    Q_PROPERTY(short Rows READ get_Rows WRITE put_Rows)
    Q_PROPERTY(short Cols READ get_Cols WRITE put_Cols)

public:
    PictureClip(QObject* parent, const QString& name);
    ~PictureClip() override;

    PictureRef get_Picture() const { return m_picture; }
    void putref_Picture(const PictureRef& picture);
    void put_Picture(const PictureRef& picture) { putref_Picture(picture); }
    short get_Rows() const { return m_rows; }
    void put_Rows(short rows); // < 1 raises 380
    short get_Cols() const { return m_cols; }
    void put_Cols(short cols); // < 1 raises 380
    // Cell size in pixels: the picture's size divided by the grid, remainders dropped.
    int cellWidthPixels() const;
    int cellHeightPixels() const;

    // Cell n, counted from 0 along the rows (row = n / Cols, column = n % Cols). A cell outside
    // the grid raises 380; no picture raises 481. Each cell is cut once and then shared.
    PictureRef GraphicCell(short index) const;

private:
    void invalidate();

    PictureRef m_picture;
    short m_rows = 1;
    short m_cols = 1;
    mutable std::vector<PictureRef> m_cells;
};

} // namespace host
