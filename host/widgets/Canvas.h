#pragma once
// The host's one drawing implementation: the runtime's drawing API (scale modes, Cls, Print,
// Line, PaintPicture, draw modes, hDC) over a persistent backing image that the owner shows.
//
// A widget that draws inherits Canvas after its Qt base (class X : public QWidget, public Canvas),
// constructs it with `this` and calls paintOwner() from its paintEvent. All coordinates of the
// API are in the current scale; the backing image is in pixels of the owner's contents rect.

#include "host/value/OleColor.h"
#include "host/value/StdFont.h"
#include "host/value/StdPicture.h"
#include "host/value/Twips.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QMetaObject>
#include <QPainter>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPaintEvent;
class QWidget;

namespace host {

enum ScaleModeConstants : short {
    vbUser = 0,
    vbTwips = 1,
    vbPoints = 2,
    vbPixels = 3,
    vbCharacters = 4,
    vbInches = 5,
    vbMillimeters = 6,
    vbCentimeters = 7,
};

enum DrawModeConstants : short {
    vbBlackness = 1,
    vbNotMergePen = 2,
    vbMaskNotPen = 3,
    vbNotCopyPen = 4,
    vbMaskPenNot = 5,
    vbInvert = 6,
    vbXorPen = 7,
    vbNotMaskPen = 8,
    vbMaskPen = 9,
    vbNotXorPen = 10,
    vbNop = 11,
    vbMergeNotPen = 12,
    vbCopyPen = 13,
    vbMergePenNot = 14,
    vbMergePen = 15,
    vbWhiteness = 16,
};

// Line's B and BF flags.
enum class LineShape { Line, Box, FilledBox };

struct PlatformFont; // a font made by CreateFontIndirectA (host/widgets/Gdi.h)

class Canvas {
public:
    explicit Canvas(QWidget* owner);
    virtual ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Called from the owner's paintEvent: runs `onPaint` first (the runtime's Paint event, raised
    // unless AutoRedraw is set; drawing done there lands in this same paint), then shows the image.
    void paintOwner(QPaintEvent* event, const std::function<void()>& onPaint = {});
    // The owner moved to another screen or parent: its resolution is asked again when next used.
    void forgetScreen();

    // --- scale ---
    short get_ScaleMode() const { return m_scaleMode; }
    void put_ScaleMode(short mode); // 0..7, else error 380; a standard mode resets ScaleLeft/Top
    float get_ScaleLeft() const { return float(m_scaleLeft); }
    void put_ScaleLeft(float value); // switches to vbUser
    float get_ScaleTop() const { return float(m_scaleTop); }
    void put_ScaleTop(float value);
    float get_ScaleWidth() const;     // the contents width in the current scale
    void put_ScaleWidth(float value); // 0 raises 380; switches to vbUser
    float get_ScaleHeight() const;
    void put_ScaleHeight(float value);
    // Scale (x1, y1)-(x2, y2): a user scale with that corner mapping.
    void Scale(float x1, float y1, float x2, float y2);

    // Conversions between the owner's contents pixels and the current scale.
    float scaleXFromPixels(double pixels) const;
    float scaleYFromPixels(double pixels) const;
    int pixelsXFromScale(double x) const;
    int pixelsYFromScale(double y) const;
    // Units of the current scale in one pixel (negative for a user scale that runs backwards).
    double unitsPerPixelX() const;
    double unitsPerPixelY() const;
    // Whether the scale is twips from (0, 0), the form's own: children keep their exact twips.
    bool isPlainTwips() const
    {
        return m_scaleMode == vbTwips && m_scaleLeft == 0 && m_scaleTop == 0;
    }

    // --- appearance ---
    OleColor get_BackColor() const { return m_backColor; }
    // Clears the drawing to the new colour, as the runtime does.
    void put_BackColor(OleColor color);
    OleColor get_ForeColor() const { return m_foreColor; }
    void put_ForeColor(OleColor color);
    FontRef get_Font() const { return m_font; }
    // The canvas's own font; a platform font selected into hDC is deselected. Null raises 91.
    void putref_Font(FontRef font);
    bool get_FontTransparent() const { return m_fontTransparent; }
    void put_FontTransparent(bool transparent);
    short get_DrawMode() const { return m_drawMode; }
    void put_DrawMode(short mode); // 1..16, else error 380
    short get_DrawWidth() const { return m_drawWidth; }
    void put_DrawWidth(short width); // >= 1, else error 380
    // Paint is raised on repaints only while AutoRedraw is off; the drawing persists either way.
    bool get_AutoRedraw() const { return m_autoRedraw; }
    void put_AutoRedraw(bool autoRedraw) { m_autoRedraw = autoRedraw; }

    // --- drawing ---
    float get_CurrentX() const { return float(m_currentX); }
    void put_CurrentX(float x) { m_currentX = x; }
    float get_CurrentY() const { return float(m_currentY); }
    void put_CurrentY(float y) { m_currentY = y; }

    // Fills everything with BackColor and puts CurrentX/CurrentY at 0.
    void Cls();
    // Text whose top-left is CurrentX/CurrentY, in ForeColor with the canvas's font or the
    // platform font selected into hDC (rotated by its escapement). With newLine, CurrentX goes
    // back to ScaleLeft and CurrentY one line down (per line of text); otherwise CurrentX moves
    // past the text. Lines are separated by "\n" or "\r\n".
    void Print(const QString& text, bool newLine = true);
    float TextWidth(const QString& text) const;  // widest line
    float TextHeight(const QString& text) const; // lines times the line height
    // Line (x1, y1)-(x2, y2), colour[, B | BF]: colour defaults to ForeColor; boxes include both
    // corners. Leaves CurrentX/CurrentY at (x2, y2).
    void Line(float x1, float y1, float x2, float y2, std::optional<OleColor> color = {},
              LineShape shape = LineShape::Line);
    // Line -(x2, y2): from CurrentX/CurrentY.
    void LineTo(float x2, float y2, std::optional<OleColor> color = {},
                LineShape shape = LineShape::Line);
    void PSet(float x, float y, std::optional<OleColor> color = {});
    // The RGB colour at a point, or -1 outside the drawing.
    qint32 Point(float x, float y) const;
    // Copies the source rectangle of the picture (all of it by default; source coordinates in
    // the current scale's units) onto the destination rectangle (the picture's own size by
    // default), stretched without smoothing; on a high-density screen from the picture's
    // high-density version. A destination of zero or negative size draws nothing.
    void PaintPicture(const PictureRef& picture, float x, float y, std::optional<float> width = {},
                      std::optional<float> height = {}, std::optional<float> srcX = {},
                      std::optional<float> srcY = {}, std::optional<float> srcWidth = {},
                      std::optional<float> srcHeight = {});
    // Repaints the owner now if it is visible (raising Paint), else schedules a repaint.
    void Refresh();

    // --- handles ---
    qint32 get_hWnd() const; // the owner's window handle (host/services/Cursor.h)
    qint32 get_hDC() const { return m_hdc; }
    static Canvas* fromHdc(qint32 hdc);
    // Whether some canvas has this platform font selected into its hDC.
    static bool isFontSelectedAnywhere(qint32 fontHandle);

    // The drawing in device pixels: the owner's pixels times its screen's device pixel ratio
    // (grown to the owner's current contents size first).
    const QImage& image() const;
    QWidget* owner() const { return m_owner; }

    // Platform font selection, used by SelectObject: the handle selected into hDC (the stock
    // handle of the canvas's own font when none was selected) and the font it stands for.
    qint32 selectedFontHandle() const { return m_selectedFont; }
    qint32 ownFontHandle() const { return m_ownFontHandle; }
    void selectPlatformFont(qint32 handle, std::shared_ptr<const PlatformFont> font);

private:
    void selectFontHandle(qint32 handle); // kept counted for isFontSelectedAnywhere
    double standardUnitsPerPixel(short mode, bool vertical) const;
    QSize contentsSize() const;
    QImage& surface() const;   // the backing image, grown as needed
    QSize drawingSize() const; // its size in the owner's pixels
    QPainter& painter() const; // the open painter on it
    void settle() const;       // closes the painter
    void changed() const;      // asks the owner to repaint
    void applyDrawMode(QPainter& painter) const;
    const QFont& activeFont() const;
    const QFontMetrics& activeMetrics() const;
    double activeEscapement() const;
    void refreshDpi() const;
    void watchFont();
    void forgetFont() const;

    QWidget* m_owner;
    mutable QImage m_image;
    short m_scaleMode = vbTwips;
    double m_scaleLeft = 0, m_scaleTop = 0;
    double m_userUnitsX = 1, m_userUnitsY = 1; // units per pixel in vbUser
    OleColor m_backColor = SystemColor::ButtonFace;
    OleColor m_foreColor = SystemColor::ButtonText;
    FontRef m_font;
    bool m_fontTransparent = true;
    short m_drawMode = vbCopyPen;
    short m_drawWidth = 1;
    bool m_autoRedraw = false;
    double m_currentX = 0, m_currentY = 0;
    bool m_painting = false;
    qint32 m_hdc = 0;
    qint32 m_ownFontHandle = 0;
    qint32 m_selectedFont = 0;
    std::shared_ptr<const PlatformFont> m_platformFont;
    QMetaObject::Connection m_fontWatch;
    mutable std::optional<QFont> m_fontCache;
    mutable std::optional<QFontMetrics> m_metricsCache;
    mutable double m_dpiX = 0, m_dpiY = 0;
    mutable qreal m_ratio = 0;        // the owner's device pixel ratio, 0 until asked
    mutable QSize m_fittedTo{-1, -1}; // the owner's contents size the image last grew for
    mutable QPainter m_painter;       // last: closed before the image goes
};

} // namespace host
