#pragma once
// The host's font object, shared by reference: every holder of a FontRef sees a change made
// through any other, and the font announces it (changed()) so widgets using it redraw.

#include <QFont>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <memory>

namespace host {

class StdFont;
using FontRef = std::shared_ptr<StdFont>;

class StdFont : public QObject {
    Q_OBJECT
public:
    StdFont(); // MS Sans Serif 8.25
    // A font with the given face and size in points; error 380 for a face or size the setters
    // refuse.
    StdFont(const QString& name, double size, bool bold = false, bool italic = false);

    static FontRef create(const QString& name = QStringLiteral("MS Sans Serif"), double size = 8.25,
                          bool bold = false);
    // A new font object with the same attributes and no connections (Ambient.Font hands out
    // such a copy).
    FontRef clone() const;
    // Every attribute equal (face compared without regard to case).
    bool sameAs(const StdFont& other) const;

    QString get_Name() const { return m_name; }
    void put_Name(const QString& name);        // error 380 when blank or longer than 255 characters
    double get_Size() const { return m_size; } // points
    void put_Size(double points);              // error 380 when not in (0, 2160]
    bool get_Bold() const { return m_weight >= 550; }
    void put_Bold(bool bold); // weight 700 or 400 (so True on a weight of 800 makes it 700)
    bool get_Italic() const { return m_italic; }
    void put_Italic(bool italic);
    bool get_Underline() const { return m_underline; }
    void put_Underline(bool underline);
    bool get_Strikethrough() const { return m_strikethrough; }
    void put_Strikethrough(bool strikethrough);
    short get_Weight() const { return m_weight; }
    void put_Weight(short weight); // 0..1000, error 380 otherwise
    short get_Charset() const { return m_charset; }
    void put_Charset(short charset); // 0..255, error 380 otherwise

    // The Qt font for drawing: face through the host's substitutions (see Fonts.h), size in
    // points, weight, style.
    QFont toQFont() const;
    // The font as a QFont names it where fonts are edited and stored as QFonts (Qt Designer, .ui
    // files): the face under its own name rather than the family drawn for it, and every
    // attribute set, so that all of them are kept. fromQFont reads it back (but the charset).
    QFont toNamedQFont() const;
    // A new font object with the face, size in points, weight and styles a QFont sets; what the
    // QFont leaves unset stays as a new StdFont has it (MS Sans Serif, 8.25, normal).
    static FontRef fromQFont(const QFont& font);

Q_SIGNALS:
    // Emitted once for every put_* that really changes a value, never for a same-value put.
    void changed();

private:
    void touch();

    QString m_name;
    double m_size = 8.25;
    short m_weight = 400;
    bool m_italic = false;
    bool m_underline = false;
    bool m_strikethrough = false;
    short m_charset = 0;
};

} // namespace host

Q_DECLARE_METATYPE(host::FontRef)
