#pragma once
// The platform's font calls as the controls make them: CreateFontIndirectA from a logical-font
// record, SelectObject into a canvas's hDC, DeleteObject. Handles are plain numbers that resolve
// to fonts and canvases of this process.

#include <QFont>
#include <QtGlobal>

namespace host {

// The ANSI logical-font record, field for field.
struct LOGFONTA {
    qint32 lfHeight = 0;      // < 0: character height in pixels; > 0: cell height; 0: default
    qint32 lfWidth = 0;       // average character width; 0 keeps the face's proportions
    qint32 lfEscapement = 0;  // text direction in tenths of degrees, counter-clockwise
    qint32 lfOrientation = 0; // kept for the record; the direction comes from lfEscapement
    qint32 lfWeight = 0;      // 0 default (normal), 1..1000
    quint8 lfItalic = 0;
    quint8 lfUnderline = 0;
    quint8 lfStrikeOut = 0;
    quint8 lfCharSet = 0;
    quint8 lfOutPrecision = 0;
    quint8 lfClipPrecision = 0;
    quint8 lfQuality = 0;
    quint8 lfPitchAndFamily = 0;
    char lfFaceName[32] = {}; // NUL-terminated; a name filling all 32 bytes is cut at 32
};

// What a font handle stands for when a canvas prints with it.
struct PlatformFont {
    QFont font;                   // pixel-sized
    double escapementDegrees = 0; // counter-clockwise
};

// A new font handle (never 0), or 0 for an impossible record (lfHeight or lfWidth beyond
// +-16384 pixels, lfWeight outside 0..1000).
qint32 CreateFontIndirectA(const LOGFONTA& logFont);
// Selects a font into the canvas of hDC and returns the handle it replaces: the stock handle of
// the canvas's own font when nothing else was selected. 0 for an unknown hDC or object.
qint32 SelectObject(qint32 hdc, qint32 object);
// Deletes a created font: nonzero on success, 0 for an unknown handle, a stock handle, or a font
// still selected into some canvas (the platform refuses those too).
qint32 DeleteObject(qint32 object);

// Fonts created and not yet deleted in this process (tests check drawings release theirs).
int gdiLiveObjectCount();

// Handle bookkeeping for Canvas: new hDC / stock-font handles, and whether a handle is a font.
qint32 allocateGdiHandle();
bool isGdiFontHandle(qint32 handle);

} // namespace host
