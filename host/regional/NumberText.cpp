// Numbers as text: the decimal digits behind Format and CStr, and the reader behind IsNumeric
// and CDbl.

#include "host/regional/RegionalPrivate.h"

#include <QVarLengthArray>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace host::regional {

Digits toDigits(double value, int significant)
{
    Digits out;
    if (value == 0.0 || !std::isfinite(value)) return out;
    out.negative = value < 0;
    // "d.ddddde+xx": to_chars is exact and independent of the C locale.
    char buffer[64];
    const auto result = significant <= 7
                            ? std::to_chars(buffer, buffer + sizeof buffer, float(std::fabs(value)),
                                            std::chars_format::scientific, significant - 1)
                            : std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                            std::chars_format::scientific, significant - 1);
    const char* p = buffer;
    const char* end = result.ptr;
    while (p < end && *p != 'e') {
        if (*p >= '0' && *p <= '9' && out.count < int(sizeof out.d)) out.d[out.count++] = *p;
        ++p;
    }
    int exponent = 0;
    if (p < end) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    while (out.count > 0 && out.d[out.count - 1] == '0')
        --out.count;
    out.point = exponent + 1;
    if (out.count == 0) // a float that rounded to zero
        out = Digits();
    return out;
}

void roundDigits(Digits& digits, qint64 fraction)
{
    const qint64 keep = digits.point + fraction; // digits that remain
    if (keep >= digits.count) return;
    if (keep < 0) {
        const bool negative = digits.negative;
        digits = Digits();
        digits.negative = negative;
        return;
    }
    const bool up = digits.d[keep] >= '5';
    digits.count = int(keep);
    if (up) {
        int i = digits.count - 1;
        while (i >= 0 && digits.d[i] == '9')
            --i;
        if (i < 0) { // 0.999 -> 1.00, or nothing kept and the first dropped digit >= 5
            digits.d[0] = '1';
            digits.count = 1;
            ++digits.point;
            return;
        }
        ++digits.d[i];
        digits.count = i + 1;
    }
    while (digits.count > 0 && digits.d[digits.count - 1] == '0')
        --digits.count;
    if (digits.count == 0) digits.point = 0;
}

QString plainNumber(double value, int significant)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NaN")
                                 : (value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf"));
    const Digits digits = toDigits(value, significant);
    if (digits.isZero()) return QStringLiteral("0");
    const QChar decimal = Regional::current().decimalSeparator;
    QVarLengthArray<char16_t, 48> out;
    if (digits.negative) out.append(u'-');
    const qint64 exponent = digits.point - 1;
    if (exponent < -4 || exponent >= significant) {
        out.append(char16_t(digits.d[0]));
        if (digits.count > 1) {
            out.append(decimal.unicode());
            for (int i = 1; i < digits.count; ++i)
                out.append(char16_t(digits.d[i]));
        }
        out.append(u'E');
        out.append(exponent < 0 ? u'-' : u'+');
        const qint64 e = exponent < 0 ? -exponent : exponent;
        if (e < 10) out.append(u'0');
        for (char c : QByteArray::number(e))
            out.append(char16_t(c));
    } else if (digits.point <= 0) {
        out.append(u'0');
        out.append(decimal.unicode());
        for (qint64 i = digits.point; i < 0; ++i)
            out.append(u'0');
        for (int i = 0; i < digits.count; ++i)
            out.append(char16_t(digits.d[i]));
    } else {
        for (qint64 i = 0; i < digits.point; ++i)
            out.append(char16_t(digits.at(i)));
        if (digits.count > digits.point) {
            out.append(decimal.unicode());
            for (qint64 i = digits.point; i < digits.count; ++i)
                out.append(char16_t(digits.d[i]));
        }
    }
    return QString(reinterpret_cast<const QChar*>(out.constData()), out.size());
}

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0xA0);
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return int(u - u'0');
    if (u >= u'a' && u <= u'f') return int(u - u'a' + 10);
    if (u >= u'A' && u <= u'F') return int(u - u'A' + 10);
    return -1;
}

// &H1F, &O17: the 32 bits of a Long, so &HFFFFFFFF is -1 as in the runtime's literals.
NumberRead readRadix(QStringView text, double& value)
{
    if (text.size() < 3) return NumberRead::NotNumber;
    const QChar kind = text[1].toUpper();
    const int radix = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (radix == 0) return NumberRead::NotNumber;
    quint64 n = 0;
    bool overflow = false;
    for (qsizetype i = 2; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit < 0 || digit >= radix) return NumberRead::NotNumber;
        if (!overflow) {
            n = n * quint64(radix) + quint64(digit);
            overflow = n > 0xFFFFFFFFull;
        }
    }
    if (overflow) return NumberRead::Overflow;
    value = double(qint32(quint32(n)));
    return NumberRead::Ok;
}

// The decimal exponent of the first significant digit of an ASCII number, roughly; decides
// whether a value out of the double range is too large or too small.
qint64 magnitude(const QVarLengthArray<char, 64>& ascii, qint64 exponent)
{
    qint64 position = 0; // digits before the point, counted from the first significant one
    bool significant = false, afterPoint = false;
    for (char c : ascii) {
        if (c == 'e') break;
        if (c == '.') {
            afterPoint = true;
        } else if (c != '0' || significant) {
            if (!significant && afterPoint) break;
            significant = true;
            if (!afterPoint) ++position;
        } else if (afterPoint) {
            --position;
        }
    }
    return position + exponent;
}

} // namespace

NumberRead readNumber(QStringView text, double& value)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end) return NumberRead::NotNumber;
    const QStringView s = text.sliced(begin, end - begin);
    if (s[0] == u'&') return readRadix(s, value);

    const RegionalSettings& r = Regional::current();
    QChar decimal = r.decimalSeparator;
    QChar thousands = r.thousandsSeparator;
    // The field's only decimal key is '.': a text without the regional decimal separator and
    // with exactly one '.' means that '.' as the decimal point, whatever the region.
    if (decimal != u'.' && !s.contains(decimal) && s.count(u'.') == 1) {
        decimal = u'.';
        if (thousands == u'.') thousands = QChar();
    }
    // Several '.' and no decimal separator: '.' can only be grouping, and only a correctly
    // grouped amount (12.345.678) is read, so that a misplaced dot never multiplies the value.
    const bool strictGrouping = thousands == u'.' && !s.contains(decimal) && s.count(u'.') > 1;

    qsizetype i = 0;
    const qsizetype n = s.size();
    bool negative = false, sign = false, parens = false, currency = false;
    const QStringView symbol = r.currencySymbol;
    for (;;) {
        while (i < n && isBlank(s[i]))
            ++i;
        if (i >= n) return NumberRead::NotNumber;
        if (s[i] == u'(' && !parens && !sign) {
            parens = true;
            ++i;
        } else if ((s[i] == u'+' || s[i] == u'-') && !sign) {
            sign = true;
            negative = s[i] == u'-';
            ++i;
        } else if (!currency && !symbol.isEmpty() && s.sliced(i).startsWith(symbol)) {
            currency = true;
            i += symbol.size();
        } else {
            break;
        }
    }
    if (parens && sign) return NumberRead::NotNumber;

    // The number as plain ASCII for from_chars.
    QVarLengthArray<char, 64> ascii;
    bool anyDigit = false;
    int groupDigits = 0, groups = 0;
    while (i < n) {
        const QChar c = s[i];
        if (isDigit(c)) {
            ascii.append(char(c.unicode()));
            anyDigit = true;
            ++groupDigits;
        } else if (!thousands.isNull() && c == thousands && anyDigit && decimal != thousands) {
            // Grouping anywhere in the integer part, as the runtime allows, unless strict.
            if (strictGrouping && (groups == 0 ? groupDigits > 3 : groupDigits != 3))
                return NumberRead::NotNumber;
            ++groups;
            groupDigits = 0;
        } else {
            break;
        }
        ++i;
    }
    if (strictGrouping && groups > 0 && groupDigits != 3) return NumberRead::NotNumber;
    if (i < n && s[i] == decimal) {
        if (ascii.isEmpty()) ascii.append('0');
        ascii.append('.');
        ++i;
        while (i < n && isDigit(s[i])) {
            ascii.append(char(s[i].unicode()));
            anyDigit = true;
            ++i;
        }
        if (ascii.back() == '.') ascii.removeLast();
    }
    if (!anyDigit) return NumberRead::NotNumber;
    qint64 exponent = 0; // saturated: only its sign and size matter beyond the double range
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ascii.append('e');
        ++i;
        bool negativeExponent = false;
        if (i < n && (s[i] == u'+' || s[i] == u'-')) {
            negativeExponent = s[i] == u'-';
            ascii.append(negativeExponent ? '-' : '+');
            ++i;
        }
        if (i >= n || !isDigit(s[i])) return NumberRead::NotNumber;
        while (i < n && isDigit(s[i])) {
            ascii.append(char(s[i].unicode()));
            exponent = qMin<qint64>(exponent * 10 + (s[i].unicode() - u'0'), 1'000'000'000);
            ++i;
        }
        if (negativeExponent) exponent = -exponent;
    }
    while (i < n && isBlank(s[i]))
        ++i;
    if (i < n && !sign && !parens && (s[i] == u'+' || s[i] == u'-')) {
        sign = true;
        negative = s[i] == u'-';
        ++i;
        while (i < n && isBlank(s[i]))
            ++i;
    }
    if (parens) {
        if (i >= n || s[i] != u')') return NumberRead::NotNumber;
        negative = true;
        ++i;
    }
    while (i < n && isBlank(s[i]))
        ++i;
    if (i != n) return NumberRead::NotNumber;

    double v = 0;
    const auto result = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), v);
    if (result.ec == std::errc::result_out_of_range) {
        if (magnitude(ascii, exponent) > 0) return NumberRead::Overflow;
        v = 0; // too small to represent: zero
    } else if (result.ec != std::errc() || result.ptr != ascii.constData() + ascii.size()) {
        return NumberRead::NotNumber;
    }
    if (!std::isfinite(v)) return NumberRead::Overflow;
    value = negative ? -v : v;
    return NumberRead::Ok;
}

} // namespace host::regional
