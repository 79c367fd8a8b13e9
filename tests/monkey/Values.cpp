#include "Values.h"

#include "host/persist/FormFile.h"
#include "host/value/OleColor.h"

#include <QImage>
#include <QMetaEnum>
#include <cmath>
#include <cstring>
#include <limits>

namespace monkey {

using host::Variant;

namespace {

template <class T, size_t N>
const T& pick(Rng& rng, const T (&items)[N])
{
    return items[below(rng, quint32(N))];
}

float randomFloat(Rng& rng)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    static const float edges[] = {
        0.f,      -0.f, 1.f,  -1.f, 0.5f,    100.f,   -100.f,   1e-45f,       1e-38f,    3.4e38f,
        -3.4e38f, inf,  -inf, NAN,  32767.f, 32768.f, -32769.f, 2147483648.f, 16777217.f};
    switch (below(rng, 3)) {
    case 0:
        return pick(rng, edges);
    case 1:
        return float(qint64(below(rng, 2000001)) - 1000000) / float(1 + below(rng, 100));
    default: {
        const quint32 bits = quint32(rng());
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    }
}

Variant randomNumber(Rng& rng)
{
    static const qint32 longs[] = {
        0,      1,     -1,    2,     3,      255,     32767,      32768,          -32768,
        -32769, 65535, 65536, 99999, 100000, 1 << 30, 2147483647, -2147483647 - 1};
    switch (below(rng, 6)) {
    case 0:
        return Variant(short(qint32(rng()) >> 16));
    case 1:
        return Variant(pick(rng, longs));
    case 2:
        return Variant(qint32(rng()));
    case 3:
        return Variant(randomFloat(rng));
    case 4: {
        static const double doubles[] = {1e300, -1e300, 4294967295.0, 2147483648.5, 0.1, 1e-300};
        return Variant(pick(rng, doubles));
    }
    default:
        return Variant(double(randomFloat(rng)) * (1 + below(rng, 1000)));
    }
}

// RGB values, every system colour and the indexes past them, and stray high bits.
Variant randomColour(Rng& rng)
{
    switch (below(rng, 4)) {
    case 0:
        return Variant(uint(host::systemColor(int(below(rng, 34)))));
    case 1:
        return Variant(uint(rng() & 0xFFFFFF));
    case 2: {
        static const uint odd[] = {0xFFFFFFFFu, 0x01000000u, 0x80FFFFFFu, 0x7FFFFFFFu, 0x8000FFFFu};
        return Variant(pick(rng, odd));
    }
    default:
        return randomNumber(rng);
    }
}

host::FontRef randomFont(Rng& rng)
{
    static const char* const faces[] = {"MS Sans Serif",   "Arial",       "Arial Black",
                                        "Times New Roman", "Courier New", "Nenhuma Fonte",
                                        "Tahoma"};
    static const double sizes[] = {1, 6, 8.25, 9.75, 12, 18, 72, 400, 1638, 1639, 2160};
    const double size = oneIn(rng, 4) ? 0.25 + below(rng, 20000) / 10.0 : pick(rng, sizes);
    host::FontRef font =
        host::StdFont::create(QString::fromLatin1(pick(rng, faces)), size, oneIn(rng, 2));
    font->put_Italic(oneIn(rng, 4));
    font->put_Underline(oneIn(rng, 6));
    font->put_Strikethrough(oneIn(rng, 8));
    if (oneIn(rng, 4)) font->put_Weight(short(below(rng, 1001)));
    if (oneIn(rng, 6)) font->put_Charset(short(below(rng, 256)));
    return font;
}

host::PictureRef randomPicture(Rng& rng)
{
    QImage image(int(1 + below(rng, 40)), int(1 + below(rng, 40)), QImage::Format_RGB32);
    image.fill(QColor::fromRgb(quint32(rng())));
    return host::StdPicture::create(image);
}

host::Date randomDate(Rng& rng)
{
    static const double serials[] = {
        0, 1, -1, 46097, host::Date::MinSerial, host::Date::MaxSerial, -700000, 3e6, 46097.5};
    return host::Date(oneIn(rng, 2) ? pick(rng, serials) : double(below(rng, 80000)));
}

} // namespace

QString randomText(Rng& rng)
{
    static const char16_t* const pieces[] = {
        u"",           u"a",          u"Ana Maria", u"JOSÉ",     u"ção",         u"Ç",
        u"ñ",          u"Жук",        u"中文字",    u"λ",        u"😀",           u"🇧🇷",
        u"e\u0301",    u"12/03/2026", u"1.234,56",  u"-0",       u"1e400",       u"0",
        u"31/02/2026", u"&Fechar",    u"&&",        u"&",        u"  ",          u"\t",
        u"\r\n",       u"\u0000",     u"\u200f",    u"#,##0.00", u"00/00/0000",  u"R$ 10,00",
        u"\"aspas\"",  u"\\",         u"'",         u"%",        u"999999999999"};
    QString text;
    const quint32 count = below(rng, 4);
    for (quint32 i = 0; i < count; ++i)
        text += QString::fromUtf16(pick(rng, pieces));
    // A long run now and then: a pasted paragraph, a record with no end.
    if (oneIn(rng, 12)) text = text.repeated(qsizetype(1 + below(rng, 300)));
    return text;
}

Variant anyValue(Rng& rng)
{
    switch (below(rng, 10)) {
    case 0:
        return Variant();
    case 1:
        return Variant::null();
    case 2:
        return Variant(oneIn(rng, 2));
    case 3:
    case 4:
        return randomNumber(rng);
    case 5:
    case 6:
        return Variant(randomText(rng));
    case 7:
        return Variant(randomDate(rng));
    case 8:
        return Variant(oneIn(rng, 5) ? host::FontRef() : randomFont(rng));
    default:
        return Variant(oneIn(rng, 5) ? host::PictureRef() : randomPicture(rng));
    }
}

Variant valueFor(Rng& rng, const QMetaProperty& property)
{
    if (oneIn(rng, 8)) return anyValue(rng);
    const QMetaType type = property.metaType();
    if (property.isEnumType() || (type.flags() & QMetaType::IsEnumeration)) {
        const QMetaEnum e = property.enumerator();
        if (e.isValid() && !oneIn(rng, 4))
            return Variant(qint32(e.value(int(below(rng, quint32(e.keyCount()))))));
        return randomNumber(rng);
    }
    switch (type.id()) {
    case QMetaType::Bool: {
        static const short truths[] = {-1, 0, 1, 2};
        return oneIn(rng, 3) ? Variant(pick(rng, truths)) : Variant(oneIn(rng, 2));
    }
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Float:
    case QMetaType::Double:
        return randomNumber(rng);
    case QMetaType::UInt:
        return randomColour(rng);
    case QMetaType::QString:
        return Variant(randomText(rng));
    default:
        break;
    }
    if (type == QMetaType::fromType<host::FontRef>())
        return Variant(oneIn(rng, 10) ? host::FontRef() : randomFont(rng));
    if (type == QMetaType::fromType<host::PictureRef>())
        return Variant(oneIn(rng, 4) ? host::PictureRef() : randomPicture(rng));
    return anyValue(rng);
}

QList<QMetaProperty> ownWritableProperties(const QMetaObject* meta)
{
    QList<QMetaProperty> result;
    for (const QMetaObject* mo = meta; mo; mo = mo->superClass()) {
        const char* name = mo->className();
        if (name[0] == 'Q' && name[1] >= 'A' && name[1] <= 'Z') break; // Qt's own classes
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            if (mo->property(i).isWritable()) result << mo->property(i);
    }
    return result;
}

QString describeValue(const Variant& value)
{
    QString shown;
    switch (value.type()) {
    case host::VarType::Empty:
    case host::VarType::Null:
        break;
    case host::VarType::Object:
        if (const host::FontRef f =
                value.typeName() == QLatin1String("StdFont") ? value.toFont() : host::FontRef())
            shown = QStringLiteral("%1 %2pt w%3 cs%4")
                        .arg(f->get_Name())
                        .arg(f->get_Size())
                        .arg(f->get_Weight())
                        .arg(f->get_Charset());
        break;
    case host::VarType::Single:
    case host::VarType::Double:
        shown = QString::number(value.toDouble(), 'g', 9);
        break;
    case host::VarType::Date:
        shown = QString::number(value.toDate().serial(), 'g', 12);
        break;
    case host::VarType::String: {
        const QString text = value.toString();
        shown = text.left(40);
        for (QChar& c : shown)
            if (c.unicode() < 32) c = QChar(0x2400 + c.unicode()); // control pictures
        shown = QLatin1Char('"') + shown + QLatin1Char('"');
        if (text.size() > 40) shown += QStringLiteral("...(%1)").arg(text.size());
        break;
    }
    default:
        shown = value.toString();
        break;
    }
    return QStringLiteral("%1 %2").arg(value.typeName(), shown).trimmed();
}

QString difference(const host::FormDescription& a, const host::FormDescription& b)
{
    if (a.controls.size() != b.controls.size())
        return QStringLiteral("%1 controls, then %2").arg(a.controls.size()).arg(b.controls.size());
    const auto pair = [](const QList<host::PropertyBag::Item>& items, qsizetype j) {
        return j < items.size() ? items[j].first + QLatin1Char('=') + describeValue(items[j].second)
                                : QStringLiteral("(nothing)");
    };
    for (qsizetype i = 0; i < a.controls.size(); ++i) {
        const host::ControlRecord &x = a.controls[i], &y = b.controls[i];
        if (x == y) continue;
        const auto& p = x.properties.items();
        const auto& q = y.properties.items();
        for (qsizetype j = 0; j < std::max(p.size(), q.size()); ++j)
            if (j >= p.size() || j >= q.size() || p[j].first != q[j].first ||
                !(p[j].second == q[j].second))
                return QStringLiteral("%1: %2, then %3").arg(x.name, pair(p, j), pair(q, j));
        return QStringLiteral("%1: placed at (%2 %3 %4 %5), then (%6 %7 %8 %9)")
            .arg(x.name)
            .arg(x.left)
            .arg(x.top)
            .arg(x.width)
            .arg(x.height)
            .arg(y.left)
            .arg(y.top)
            .arg(y.width)
            .arg(y.height);
    }
    return QStringLiteral("the form's own settings");
}

} // namespace monkey
