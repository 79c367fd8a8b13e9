#include "host/value/StdFont.h"

#include "host/value/Fonts.h"
#include "host/value/RuntimeError.h"

namespace host {

namespace {

constexpr short NormalWeight = 400;
constexpr short BoldWeight = 700;

bool validSize(double points)
{
    return points > 0.0 && points <= 2160.0; // false for NaN too
}

// A face a form file holds: not blank, at most 255 characters.
bool validName(const QString& name)
{
    return !name.trimmed().isEmpty() && name.size() <= 255;
}

} // namespace

StdFont::StdFont() : m_name(QStringLiteral("MS Sans Serif")) {}

StdFont::StdFont(const QString& name, double size, bool bold, bool italic)
    : m_name(name), m_size(size), m_weight(bold ? BoldWeight : NormalWeight), m_italic(italic)
{
    if (!validSize(size) || !validName(name)) raiseError(Err::InvalidPropertyValue);
}

FontRef StdFont::create(const QString& name, double size, bool bold)
{
    return std::make_shared<StdFont>(name, size, bold);
}

FontRef StdFont::clone() const
{
    auto copy = std::make_shared<StdFont>();
    copy->m_name = m_name;
    copy->m_size = m_size;
    copy->m_weight = m_weight;
    copy->m_italic = m_italic;
    copy->m_underline = m_underline;
    copy->m_strikethrough = m_strikethrough;
    copy->m_charset = m_charset;
    return copy;
}

bool StdFont::sameAs(const StdFont& other) const
{
    return m_name.compare(other.m_name, Qt::CaseInsensitive) == 0 && m_size == other.m_size &&
           m_weight == other.m_weight && m_italic == other.m_italic &&
           m_underline == other.m_underline && m_strikethrough == other.m_strikethrough &&
           m_charset == other.m_charset;
}

void StdFont::put_Name(const QString& name)
{
    if (!validName(name)) raiseError(Err::InvalidPropertyValue);
    // A change of case alone is a change: the name reads back as written.
    if (name == m_name) return;
    m_name = name;
    touch();
}

void StdFont::put_Size(double points)
{
    if (!validSize(points)) raiseError(Err::InvalidPropertyValue);
    if (points == m_size) return;
    m_size = points;
    touch();
}

void StdFont::put_Bold(bool bold)
{
    put_Weight(bold ? BoldWeight : NormalWeight);
}

void StdFont::put_Italic(bool italic)
{
    if (italic == m_italic) return;
    m_italic = italic;
    touch();
}

void StdFont::put_Underline(bool underline)
{
    if (underline == m_underline) return;
    m_underline = underline;
    touch();
}

void StdFont::put_Strikethrough(bool strikethrough)
{
    if (strikethrough == m_strikethrough) return;
    m_strikethrough = strikethrough;
    touch();
}

void StdFont::put_Weight(short weight)
{
    if (weight < 0 || weight > 1000) raiseError(Err::InvalidPropertyValue);
    if (weight == m_weight) return;
    m_weight = weight;
    touch();
}

void StdFont::put_Charset(short charset)
{
    if (charset < 0 || charset > 255) raiseError(Err::InvalidPropertyValue);
    if (charset == m_charset) return;
    m_charset = charset;
    touch();
}

QFont StdFont::toQFont() const
{
    return qtFontFor(m_name, m_size, m_weight, m_italic, m_underline, m_strikethrough);
}

QFont StdFont::toNamedQFont() const
{
    QFont font;
    font.setFamilies({m_name});
    font.setPointSizeF(m_size);
    font.setWeight(QFont::Weight(m_weight > 0 ? m_weight : NormalWeight));
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikethrough);
    return font;
}

FontRef StdFont::fromQFont(const QFont& font)
{
    auto result = std::make_shared<StdFont>();
    const uint set = font.resolveMask();
    if ((set & (QFont::FamilyResolved | QFont::FamiliesResolved)) && !font.family().isEmpty())
        result->m_name = font.family();
    if ((set & QFont::SizeResolved) && validSize(font.pointSizeF()))
        result->m_size = font.pointSizeF();
    if (set & QFont::WeightResolved) result->m_weight = short(font.weight());
    if (set & QFont::StyleResolved) result->m_italic = font.italic();
    if (set & QFont::UnderlineResolved) result->m_underline = font.underline();
    if (set & QFont::StrikeOutResolved) result->m_strikethrough = font.strikeOut();
    return result;
}

void StdFont::touch()
{
    Q_EMIT changed();
}

} // namespace host
