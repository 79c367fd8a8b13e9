#include "host/widgets/Gdi.h"

#include "host/value/Fonts.h"
#include "host/widgets/Canvas.h"

#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <memory>

namespace host {

namespace {

struct GdiState {
    qint32 nextHandle = 0x01000000;
    QHash<qint32, std::shared_ptr<const PlatformFont>> fonts;
    // Drawings make the same font on every paint: an equal record gets the font made from the
    // first, instead of looking its face up and sizing it again (about a twentieth of a title
    // strip's drawing). A few dozen records, dropped all at once when full.
    QHash<QByteArray, std::shared_ptr<const PlatformFont>> recent;
};

GdiState& state()
{
    static GdiState s;
    return s;
}

QFont fontFromRecord(const LOGFONTA& lf)
{
    const QString face = QString::fromLatin1(lf.lfFaceName, qstrnlen(lf.lfFaceName, 32));
    const int weight = lf.lfWeight == 0 ? 400 : int(lf.lfWeight);
    QFont font = qtFontFor(face.isEmpty() ? QStringLiteral("MS Sans Serif") : face, 8.25, weight,
                           lf.lfItalic != 0, lf.lfUnderline != 0, lf.lfStrikeOut != 0);
    // A negative height is the character (em) height; a positive one the cell height, ascent plus
    // descent, which is turned into an em height through the face's own proportions.
    if (lf.lfHeight < 0) {
        font.setPixelSize(-lf.lfHeight);
    } else if (lf.lfHeight > 0) {
        QFont probe = font;
        probe.setPixelSize(100);
        const QFontMetricsF fm(probe);
        const double cell = fm.ascent() + fm.descent();
        font.setPixelSize(std::max(1, int(lf.lfHeight * 100.0 / (cell > 0 ? cell : 100.0) + 0.5)));
    } else {
        font.setPixelSize(13);
    }
    if (lf.lfWidth > 0) {
        const QFontMetricsF fm(font);
        const double natural = fm.averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp(int(lf.lfWidth * 100.0 / natural + 0.5), 1, 4000));
    }
    return font;
}

// Every field of the record that shapes the font; the face only up to its NUL.
QByteArray recordKey(const LOGFONTA& lf)
{
    const qint32 numbers[] = {lf.lfHeight, lf.lfWidth,     lf.lfEscapement, lf.lfWeight,
                              lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut};
    QByteArray key(reinterpret_cast<const char*>(numbers), sizeof numbers);
    key.append(lf.lfFaceName, qsizetype(qstrnlen(lf.lfFaceName, sizeof lf.lfFaceName)));
    return key;
}

} // namespace

qint32 allocateGdiHandle()
{
    return state().nextHandle++;
}

bool isGdiFontHandle(qint32 handle)
{
    return state().fonts.contains(handle);
}

qint32 CreateFontIndirectA(const LOGFONTA& logFont)
{
    if (logFont.lfHeight < -16384 || logFont.lfHeight > 16384 || logFont.lfWidth < 0 ||
        logFont.lfWidth > 16384 || logFont.lfWeight < 0 || logFont.lfWeight > 1000)
        return 0;
    GdiState& s = state();
    std::shared_ptr<const PlatformFont>& font = s.recent[recordKey(logFont)];
    if (!font) {
        auto made = std::make_shared<PlatformFont>();
        made->font = fontFromRecord(logFont);
        made->escapementDegrees = logFont.lfEscapement / 10.0;
        font = std::move(made);
    }
    const qint32 handle = allocateGdiHandle();
    s.fonts.insert(handle, font);
    if (s.recent.size() > 64) s.recent.clear();
    return handle;
}

qint32 SelectObject(qint32 hdc, qint32 object)
{
    Canvas* canvas = Canvas::fromHdc(hdc);
    if (!canvas) return 0;
    const qint32 previous = canvas->selectedFontHandle();
    if (object == canvas->ownFontHandle()) {
        canvas->selectPlatformFont(object, nullptr);
        return previous;
    }
    const auto it = state().fonts.constFind(object);
    if (it == state().fonts.constEnd()) return 0;
    canvas->selectPlatformFont(object, it.value());
    return previous;
}

qint32 DeleteObject(qint32 object)
{
    auto& fonts = state().fonts;
    if (!fonts.contains(object)) return 0;
    // A canvas still printing with the font would be left with a dangling selection.
    if (Canvas::isFontSelectedAnywhere(object)) return 0;
    fonts.remove(object);
    return 1;
}

int gdiLiveObjectCount()
{
    return int(state().fonts.size());
}

} // namespace host
