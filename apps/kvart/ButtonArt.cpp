#include "ButtonArt.h"

#include "XpArt.h"

namespace kvart::picturebutton {

namespace {

// One character a logical pixel: the pictures are small enough to read as they are drawn.
QImage fromRows(const char* const rows[], int height, int scale)
{
    const int width = int(qstrlen(rows[0]));
    const CellGrid grid{QSize(width, height), 1, 1};
    return renderGrid(
        grid,
        [rows](const Sample& s) -> QRgb {
            switch (rows[s.pixel.y()][s.pixel.x()]) {
            case 'G':
                return Mark;
            case 'D':
                return 0xFF404040; // outlines
            case 'L':
                return 0xFFD4D0C8; // the printer's body
            case 'W':
                return 0xFFFFFFFF; // paper
            case 'g':
                return 0xFF00C000; // the power light
            default:
                return Ground;
            }
        },
        scale);
}

} // namespace

QImage mark(int scale)
{
    static const char* const rows[] = {
        "...............", ".............G.", "............GG.", "...........GG..",
        "..G.......GG...", "..GG.....GG....", "...GG...GG.....", "....GG.GG......",
        ".....GGG.......", "......G........", "...............",
    };
    return fromRows(rows, 11, scale);
}

QImage printer(int scale)
{
    static const char* const rows[] = {
        "....WWWWWWW....", "....W.....W....", "....W.....W....", ".DDDDDDDDDDDDD.",
        ".DLLLLLLLLLLLD.", ".DLLLLLLLLLgLD.", ".DLLLLLLLLLLLD.", ".DDDDDDDDDDDDD.",
        "...DWWWWWWWD...", "...DWWWWWWWD...", "...DDDDDDDDD...",
    };
    return fromRows(rows, 11, scale);
}

} // namespace kvart::picturebutton
