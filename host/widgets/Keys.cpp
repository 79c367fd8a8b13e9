#include "host/widgets/Keys.h"

#include "host/widgets/FormSite.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace host {

namespace {

// Virtual-key codes of the punctuation keys, by the character either half of the key produces on
// a US layout (Qt reports the shifted character as the key: Shift+1 arrives as Key_Exclam).
short punctuationKeyCode(int key)
{
    switch (key) {
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_Asterisk:
        return '8';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_ParenRight:
        return '0';
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
    case Qt::Key_Ccedilla: // the Ç key of ABNT2 keyboards
        return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
    case Qt::Key_Dead_Acute:
    case Qt::Key_Dead_Grave:
        return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
    case Qt::Key_Dead_Tilde:
    case Qt::Key_Dead_Circumflex:
        return 222;
    default:
        return 0;
    }
}

short keypadKeyCode(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return short(96 + (key - Qt::Key_0));
    switch (key) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return 107;
    case Qt::Key_Minus:
        return 109;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return 110;
    case Qt::Key_Slash:
        return 111;
    default:
        return 0;
    }
}

} // namespace

short virtualKeyCode(const QKeyEvent* event)
{
    if (!event) return 0;
    const int key = event->key();
    if (event->modifiers() & Qt::KeypadModifier) {
        if (const short code = keypadKeyCode(key)) return code;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return short(key);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return short(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return short(112 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Help:
        return 47;
    case Qt::Key_Meta:
        return 91;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    default:
        return punctuationKeyCode(key);
    }
}

short shiftMask(Qt::KeyboardModifiers modifiers)
{
    short mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= ShiftMaskShift;
    if (modifiers & Qt::ControlModifier) mask |= ShiftMaskCtrl;
    if (modifiers & Qt::AltModifier) mask |= ShiftMaskAlt;
    return mask;
}

short keyAsciiOf(const QKeyEvent* event)
{
    if (!event) return 0;
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;

    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return alt && !ctrl ? 0 : (ctrl ? 10 : 13);
    case Qt::Key_Backspace:
        return alt && !ctrl ? 0 : (ctrl ? 127 : 8);
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return ctrl || alt ? 0 : 9;
    case Qt::Key_Delete:
        return 0; // X11 reports "\x7f" as its text; the runtime sees no character
    default:
        break;
    }

    // Ctrl alone makes control characters of letters and of [ \ ]; Ctrl+Alt is AltGr and types
    // what the layout gives; Alt alone types nothing.
    if (ctrl && !alt) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return short(key - Qt::Key_A + 1);
        if (key == Qt::Key_BracketLeft) return 27;
        if (key == Qt::Key_Backslash) return 28;
        if (key == Qt::Key_BracketRight) return 29;
        return 0;
    }
    if (alt && !ctrl) return 0;

    const QString text = event->text();
    if (text.isEmpty()) return 0;
    const QChar c = text.at(0);
    if (c.isSurrogate() || c.unicode() < 32 || c.unicode() == 127) return 0;
    return short(c.unicode());
}

// ---------------------------------------------------------------- key preview

namespace {

// The preview of one key press: run when Qt asks whether the key is a shortcut (so Alt+F reaches
// Form_KeyDown before any shortcut takes it) and handed to the widget that then gets the key.
struct PreviewRecord {
    bool active = false;
    FormSite* form = nullptr;
    int qtKey = 0;
    Qt::KeyboardModifiers modifiers;
    short originalCode = 0, originalShift = 0;
    short keyCode = 0, shift = 0;
};

PreviewRecord& record()
{
    static PreviewRecord r;
    return r;
}

FormSite* previewingSite(const QWidget* widget)
{
    FormSite* form = FormSite::of(widget);
    return form && form->get_KeyPreview() ? form : nullptr;
}

class KeyPreviewFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // Only the first delivery, to the focus widget; the event then climbs to parents.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget || widget != QApplication::focusWidget()) return false;
            auto* key = static_cast<QKeyEvent*>(event);
            PreviewRecord& r = record();
            r.active = false;
            FormSite* form = previewingSite(widget);
            const short code = virtualKeyCode(key);
            if (!form || code == 0) return false;
            r.form = form;
            r.qtKey = key->key();
            r.modifiers = key->modifiers();
            r.originalCode = r.keyCode = code;
            r.originalShift = r.shift = shiftMask(key->modifiers());
            form->siteKeyDown(r.keyCode, r.shift);
            r.active = true;
            // A stopped key is no shortcut: it goes on as a key press to the focused widget, which
            // skips the key's own action but still raises KeyPress for the character it types.
            if (r.keyCode == 0) key->accept();
            return false;
        }
        case QEvent::KeyPress: {
            PreviewRecord& r = record();
            if (!r.active) return false;
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != r.qtKey || key->modifiers() != r.modifiers) {
                r.active = false;
                return false;
            }
            return false;
        }
        case QEvent::KeyRelease:
            record().active = false;
            return false;
        default:
            return false;
        }
    }
};

} // namespace

void installKeyPreview()
{
    static QPointer<KeyPreviewFilter> filter;
    if (filter || !qApp) return;
    filter = new KeyPreviewFilter;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

void previewKeyDown(QWidget* widget, short& keyCode, short& shift)
{
    FormSite* form = previewingSite(widget);
    if (!form) return;
    PreviewRecord& r = record();
    if (r.active && r.form == form && r.originalCode == keyCode && r.originalShift == shift) {
        r.active = false;
        keyCode = r.keyCode;
        shift = r.shift;
        return;
    }
    r.active = false;
    form->siteKeyDown(keyCode, shift);
}

void previewKeyPress(QWidget* widget, short& keyAscii)
{
    if (FormSite* form = previewingSite(widget)) form->siteKeyPress(keyAscii);
}

void previewKeyUp(QWidget* widget, short& keyCode, short& shift)
{
    if (FormSite* form = previewingSite(widget)) form->siteKeyUp(keyCode, shift);
}

} // namespace host
