// Format(value, pattern). A pattern is parsed once into sections of tokens and kept in a small
// per-thread cache (most callers reuse one or two patterns, a field's mask on every Enter).

#include "host/regional/Regional.h"

#include "host/regional/RegionalPrivate.h"
#include "host/value/RuntimeError.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace host {

using namespace regional;

namespace {

// --- Output buffer --------------------------------------------------------------------------

class Out {
public:
    void add(char16_t c) { m_buffer.append(c); }
    void add(QChar c) { m_buffer.append(c.unicode()); }
    void add(QStringView text)
    {
        m_buffer.append(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
    }
    void addNumber(int value, int minimumWidth)
    {
        char digits[16];
        int n = 0;
        unsigned v = unsigned(value < 0 ? -value : value);
        do {
            digits[n++] = char('0' + v % 10);
            v /= 10;
        } while (v != 0 && n < 16);
        for (int i = n; i < minimumWidth; ++i)
            add(u'0');
        while (n > 0)
            add(char16_t(digits[--n]));
    }
    qsizetype size() const { return m_buffer.size(); }
    QString toString() const
    {
        return QString(reinterpret_cast<const QChar*>(m_buffer.constData()), m_buffer.size());
    }

private:
    QVarLengthArray<char16_t, 64> m_buffer;
};

// --- Parsed patterns --------------------------------------------------------------------------

enum class Kind { Numeric, Date, String, Boolean, GeneralNumber };

// One token of a numeric section.
struct NumToken {
    enum Type : quint8 { Zero, Hash, Literal, DateSep, TimeSep, LiteralThousands };
    Type type;
    char16_t ch = 0; // single-character literal
    QString text;    // longer literal
};

struct NumSection {
    bool empty = true;
    std::vector<NumToken> integer, fraction, exponent;
    int integerDigits = 0, fractionDigits = 0, exponentZeros = 0;
    bool point = false, grouping = false, scientific = false, exponentPlus = false;
    char16_t exponentChar = u'E';
    qint64 scale = 0;   // powers of 1000 to divide by
    qint64 percent = 0; // powers of 100 to multiply by
};

struct DateToken {
    enum Type : quint8 {
        Literal,
        DateSep,
        TimeSep,
        Day,
        Day2,
        DayAbbr,
        DayName,
        ShortDate,
        LongDate,
        Weekday,
        WeekOfYear,
        Month,
        Month2,
        MonthAbbr,
        MonthName,
        Quarter,
        DayOfYear,
        Year2,
        Year4,
        Hour,
        Hour2,
        Minute,
        Minute2,
        Second,
        Second2,
        LongTime,
        General,
        AmPm,
        AmPmLower,
        AP,
        APLower,
        AmPmRegional
    };
    Type type;
    char16_t ch = 0;
    QString text;
};

struct StrToken {
    enum Type : quint8 { At, Amp, Literal };
    Type type;
    char16_t ch = 0;
    QString text;
};

struct StrSection {
    std::vector<StrToken> tokens;
    int placeholders = 0;
    bool leftToRight = false;
    int caseChange = 0; // -1 lower, 1 upper
};

struct Parsed {
    QString key;
    quint32 generation = 0;
    Kind kind = Kind::Numeric;
    std::vector<NumSection> numeric; // up to four
    std::vector<DateToken> date;
    bool twelveHour = false;
    std::vector<StrSection> string; // up to two
    QString yes, no;                // Boolean named formats
};

using ParsedRef = std::shared_ptr<const Parsed>;

// Splits on ';' outside quotes and escapes.
std::vector<QStringView> splitSections(QStringView pattern)
{
    std::vector<QStringView> out;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\\' && !quoted)
            ++i;
        else if (c == u';' && !quoted) {
            out.push_back(pattern.sliced(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(pattern.sliced(qMin(start, pattern.size())));
    return out;
}

// Reads a quoted literal starting at the quote; returns the index after the closing quote.
qsizetype quotedLiteral(QStringView s, qsizetype i, QString& text)
{
    const qsizetype close = s.indexOf(u'"', i + 1);
    const qsizetype end = close < 0 ? s.size() : close;
    text = s.sliced(i + 1, end - i - 1).toString();
    return close < 0 ? s.size() : close + 1;
}

bool isLetterIn(QChar c, const char* letters)
{
    const char16_t lower = QChar::toLower(c.unicode());
    for (const char* p = letters; *p; ++p)
        if (lower == char16_t(*p)) return true;
    return false;
}

bool startsWithCi(QStringView s, qsizetype i, QStringView word)
{
    return s.size() - i >= word.size() &&
           s.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// What a section's tokens make it: string, numeric or date.
Kind classify(QStringView s)
{
    bool digit = false, date = false, stringMark = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'"') {
            const qsizetype close = s.indexOf(u'"', i + 1);
            i = close < 0 ? s.size() : close;
        } else if (c == u'\\') {
            ++i;
        } else if (c == u'@' || c == u'&') {
            return Kind::String;
        } else if (c == u'0' || c == u'#') {
            digit = true;
        } else if (c == u'<' || c == u'>' || c == u'!') {
            stringMark = true;
        } else if (isLetterIn(c, "dmyhnswqc")) {
            date = true;
        } else if ((c == u't' || c == u'T') && startsWithCi(s, i, u"ttttt")) {
            date = true;
        } else if ((c == u'a' || c == u'A') &&
                   (startsWithCi(s, i, u"am/pm") || startsWithCi(s, i, u"a/p") ||
                    startsWithCi(s, i, u"ampm"))) {
            date = true;
        }
    }
    if (digit) return Kind::Numeric;
    if (date) return Kind::Date;
    if (stringMark) return Kind::String;
    return Kind::Numeric;
}

NumSection parseNumeric(QStringView s)
{
    NumSection sec;
    sec.empty = s.isEmpty();
    // First pass: tokens with commas kept as markers, split into parts.
    struct Raw {
        NumToken token;
        bool comma = false;
    };
    std::vector<Raw> integer;
    int part = 0; // 0 integer, 1 fraction, 2 exponent
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        NumToken t{NumToken::Literal, 0, {}};
        bool comma = false;
        if (c == u'0' || c == u'#') {
            t.type = c == u'0' ? NumToken::Zero : NumToken::Hash;
        } else if (c == u'.' && part == 0) {
            sec.point = true;
            part = 1;
            continue;
        } else if (c == u',') {
            if (part != 0) continue; // grouping means nothing in the fraction or the exponent
            comma = true;
        } else if (c == u'%') {
            ++sec.percent;
            t.ch = u'%';
        } else if ((c == u'E' || c == u'e') && part < 2 && i + 2 < s.size() &&
                   (s[i + 1] == u'+' || s[i + 1] == u'-') &&
                   (s[i + 2] == u'0' || s[i + 2] == u'#')) {
            sec.scientific = true;
            sec.exponentChar = c.unicode();
            sec.exponentPlus = s[i + 1] == u'+';
            part = 2;
            ++i;
            continue;
        } else if (c == u'/') {
            t.type = NumToken::DateSep;
        } else if (c == u':') {
            t.type = NumToken::TimeSep;
        } else if (c == u'\\') {
            if (i + 1 >= s.size()) continue;
            t.ch = s[++i].unicode();
        } else if (c == u'"') {
            i = quotedLiteral(s, i, t.text) - 1;
            if (t.text.isEmpty()) continue;
        } else {
            t.ch = c.unicode();
        }
        if (part == 0)
            integer.push_back({std::move(t), comma});
        else if (part == 1)
            sec.fraction.push_back(std::move(t));
        else
            sec.exponent.push_back(std::move(t));
    }

    // Commas between digit placeholders group; commas after the last integer placeholder scale;
    // others are the literal separator.
    qsizetype lastDigit = -1, firstDigit = -1;
    for (qsizetype i = 0; i < qsizetype(integer.size()); ++i) {
        if (!integer[i].comma &&
            (integer[i].token.type == NumToken::Zero || integer[i].token.type == NumToken::Hash)) {
            if (firstDigit < 0) firstDigit = i;
            lastDigit = i;
        }
    }
    for (qsizetype i = 0; i < qsizetype(integer.size()); ++i) {
        Raw& r = integer[i];
        if (r.comma) {
            if (firstDigit >= 0 && i > firstDigit && i < lastDigit)
                sec.grouping = true;
            else if (firstDigit >= 0 && i > lastDigit)
                ++sec.scale;
            else
                sec.integer.push_back({NumToken::LiteralThousands, 0, {}});
            continue;
        }
        if (r.token.type == NumToken::Zero || r.token.type == NumToken::Hash) ++sec.integerDigits;
        sec.integer.push_back(std::move(r.token));
    }
    for (const NumToken& t : sec.fraction)
        if (t.type == NumToken::Zero || t.type == NumToken::Hash) ++sec.fractionDigits;
    for (const NumToken& t : sec.exponent)
        if (t.type == NumToken::Zero) ++sec.exponentZeros;
    return sec;
}

std::vector<DateToken> parseDate(QStringView s, bool& twelveHour)
{
    std::vector<DateToken> out;
    auto run = [&](qsizetype i, char16_t lower, int max) {
        int n = 0;
        while (i + n < s.size() && n < max && QChar::toLower(s[i + n].unicode()) == lower)
            ++n;
        return n;
    };
    bool afterHour = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        const char16_t lower = QChar::toLower(c.unicode());
        DateToken t{DateToken::Literal, 0, {}};
        int n = 1;
        switch (lower) {
        case u'd': {
            n = run(i, u'd', 6);
            static const DateToken::Type types[] = {DateToken::Day,       DateToken::Day2,
                                                    DateToken::DayAbbr,   DateToken::DayName,
                                                    DateToken::ShortDate, DateToken::LongDate};
            t.type = types[n - 1];
            break;
        }
        case u'w':
            n = run(i, u'w', 2);
            t.type = n == 2 ? DateToken::WeekOfYear : DateToken::Weekday;
            break;
        case u'm':
            n = run(i, u'm', 4);
            if (n <= 2 && afterHour)
                t.type = n == 2 ? DateToken::Minute2 : DateToken::Minute;
            else
                t.type = n == 1   ? DateToken::Month
                         : n == 2 ? DateToken::Month2
                         : n == 3 ? DateToken::MonthAbbr
                                  : DateToken::MonthName;
            break;
        case u'q':
            t.type = DateToken::Quarter;
            break;
        case u'y':
            n = run(i, u'y', 4);
            n = n == 4 ? 4 : n >= 2 ? 2 : 1;
            t.type = n == 4 ? DateToken::Year4 : n == 2 ? DateToken::Year2 : DateToken::DayOfYear;
            break;
        case u'h':
            n = run(i, u'h', 2);
            t.type = n == 2 ? DateToken::Hour2 : DateToken::Hour;
            break;
        case u'n':
            n = run(i, u'n', 2);
            t.type = n == 2 ? DateToken::Minute2 : DateToken::Minute;
            break;
        case u's':
            n = run(i, u's', 2);
            t.type = n == 2 ? DateToken::Second2 : DateToken::Second;
            break;
        case u't':
            if (run(i, u't', 5) == 5) {
                n = 5;
                t.type = DateToken::LongTime;
            } else {
                t.ch = c.unicode();
            }
            break;
        case u'c':
            t.type = DateToken::General;
            break;
        case u'a':
            if (startsWithCi(s, i, u"am/pm")) {
                n = 5;
                t.type = c == u'a' ? DateToken::AmPmLower : DateToken::AmPm;
                twelveHour = true;
            } else if (startsWithCi(s, i, u"ampm")) {
                n = 4;
                t.type = DateToken::AmPmRegional;
                twelveHour = true;
            } else if (startsWithCi(s, i, u"a/p")) {
                n = 3;
                t.type = c == u'a' ? DateToken::APLower : DateToken::AP;
                twelveHour = true;
            } else {
                t.ch = c.unicode();
            }
            break;
        case u'/':
            t.type = DateToken::DateSep;
            break;
        case u':':
            t.type = DateToken::TimeSep;
            break;
        case u'\\':
            if (i + 1 >= s.size()) continue;
            t.ch = s[i + 1].unicode();
            n = 2;
            break;
        case u'"':
            n = int(quotedLiteral(s, i, t.text) - i);
            break;
        default:
            t.ch = c.unicode();
            break;
        }
        if (t.type != DateToken::Literal && t.type != DateToken::DateSep &&
            t.type != DateToken::TimeSep)
            afterHour = t.type == DateToken::Hour || t.type == DateToken::Hour2;
        i += n - 1;
        if (t.type == DateToken::Literal && t.ch == 0 && t.text.isEmpty()) continue;
        out.push_back(std::move(t));
    }
    return out;
}

StrSection parseString(QStringView s)
{
    StrSection sec;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        StrToken t{StrToken::Literal, 0, {}};
        if (c == u'@' || c == u'&') {
            t.type = c == u'@' ? StrToken::At : StrToken::Amp;
            ++sec.placeholders;
        } else if (c == u'<') {
            sec.caseChange = -1;
            continue;
        } else if (c == u'>') {
            sec.caseChange = 1;
            continue;
        } else if (c == u'!') {
            sec.leftToRight = true;
            continue;
        } else if (c == u'\\') {
            if (i + 1 >= s.size()) continue;
            t.ch = s[++i].unicode();
        } else if (c == u'"') {
            i = quotedLiteral(s, i, t.text) - 1;
            if (t.text.isEmpty()) continue;
        } else {
            t.ch = c.unicode();
        }
        sec.tokens.push_back(std::move(t));
    }
    return sec;
}

// The pattern that stands for a named format, or a Boolean/General Number kind.
struct Named {
    bool found = false;
    Kind kind = Kind::Numeric;
    QString pattern;
    QString yes, no;
};

QString escaped(const QString& text)
{
    QString out;
    for (QChar c : text) {
        out += u'\\';
        out += c;
    }
    return out;
}

Named namedFormat(QStringView name)
{
    Named n;
    if (name.size() < 5 || name.size() > 14) return n;
    const RegionalSettings& r = Regional::current();
    auto is = [&](QStringView w) { return name.compare(w, Qt::CaseInsensitive) == 0; };
    n.found = true;
    if (is(u"General Number"))
        n.kind = Kind::GeneralNumber;
    else if (is(u"Currency"))
        n.pattern = escaped(r.currencySymbol + r.currencySpacing) + QStringLiteral("#,##0.00");
    else if (is(u"Fixed"))
        n.pattern = QStringLiteral("0.00");
    else if (is(u"Standard"))
        n.pattern = QStringLiteral("#,##0.00");
    else if (is(u"Percent"))
        n.pattern = QStringLiteral("0.00%");
    else if (is(u"Scientific"))
        n.pattern = QStringLiteral("0.00E+00");
    else if (is(u"Yes/No"))
        n.kind = Kind::Boolean, n.yes = r.yes, n.no = r.no;
    else if (is(u"True/False"))
        n.kind = Kind::Boolean, n.yes = r.trueText, n.no = r.falseText;
    else if (is(u"On/Off"))
        n.kind = Kind::Boolean, n.yes = r.on, n.no = r.off;
    else if (is(u"General Date"))
        n.kind = Kind::Date, n.pattern = QStringLiteral("c");
    else if (is(u"Long Date"))
        n.kind = Kind::Date, n.pattern = r.longDatePattern;
    else if (is(u"Medium Date"))
        n.kind = Kind::Date, n.pattern = QStringLiteral("dd-mmm-yy");
    else if (is(u"Short Date"))
        n.kind = Kind::Date, n.pattern = r.shortDatePattern;
    else if (is(u"Long Time"))
        n.kind = Kind::Date, n.pattern = r.longTimePattern;
    else if (is(u"Medium Time"))
        n.kind = Kind::Date, n.pattern = QStringLiteral("hh:nn AM/PM");
    else if (is(u"Short Time"))
        n.kind = Kind::Date, n.pattern = QStringLiteral("hh:nn");
    else
        n.found = false;
    return n;
}

ParsedRef parse(const QString& pattern, bool date)
{
    auto p = std::make_shared<Parsed>();
    p->key = pattern;
    p->generation = generation();
    QStringView body = pattern;
    Named named;
    if (!date) {
        named = namedFormat(pattern);
        if (named.found) {
            p->kind = named.kind;
            p->yes = named.yes;
            p->no = named.no;
            body = named.pattern;
        }
    }
    const std::vector<QStringView> sections = splitSections(body);
    if (date)
        p->kind = Kind::Date;
    else if (!named.found)
        p->kind = classify(sections.front());
    switch (p->kind) {
    case Kind::Numeric:
        for (size_t i = 0; i < sections.size() && i < 4; ++i)
            p->numeric.push_back(parseNumeric(sections[i]));
        break;
    case Kind::Date:
        p->date = parseDate(sections.front(), p->twelveHour);
        break;
    case Kind::String:
        for (size_t i = 0; i < sections.size() && i < 2; ++i)
            p->string.push_back(parseString(sections[i]));
        break;
    case Kind::Boolean:
    case Kind::GeneralNumber:
        break;
    }
    return p;
}

// The last few patterns, most recent first. Entries are shared so that a pattern in use stays
// alive while a nested lookup (a short date inside "c") replaces it in the cache. Entries parsed
// under other regional settings are stale: their generation tells, on every thread.
struct CacheEntry {
    ParsedRef parsed;
    bool date = false;
};
thread_local std::array<CacheEntry, 6> t_cache;

ParsedRef lookup(const QString& pattern, bool date = false)
{
    auto& cache = t_cache;
    const quint32 gen = generation();
    for (size_t i = 0; i < cache.size(); ++i) {
        const CacheEntry& e = cache[i];
        if (e.parsed && e.date == date && e.parsed->generation == gen && e.parsed->key == pattern) {
            if (i != 0) std::rotate(cache.begin(), cache.begin() + i, cache.begin() + i + 1);
            return cache[0].parsed;
        }
    }
    ParsedRef parsed = parse(pattern, date);
    std::rotate(cache.begin(), cache.end() - 1, cache.end());
    cache[0] = {parsed, date};
    return parsed;
}

// --- Numbers ------------------------------------------------------------------------------------

void addLiteralToken(Out& out, const NumToken& t, const RegionalSettings& r)
{
    switch (t.type) {
    case NumToken::DateSep:
        out.add(r.dateSeparator);
        break;
    case NumToken::TimeSep:
        out.add(r.timeSeparator);
        break;
    case NumToken::LiteralThousands:
        out.add(r.thousandsSeparator);
        break;
    default:
        if (t.text.isEmpty())
            out.add(t.ch);
        else
            out.add(t.text);
        break;
    }
}

bool isPlaceholder(const NumToken& t)
{
    return t.type == NumToken::Zero || t.type == NumToken::Hash;
}

// Lays out the integer digits right-aligned into the placeholders; extra digits go out at the
// leftmost placeholder.
void layInteger(Out& out, const NumSection& sec, const Digits& value, const RegionalSettings& r)
{
    const qint64 n = value.isZero() ? 0 : qMax<qint64>(value.point, 0);
    const qint64 placeholders = sec.integerDigits;
    const qint64 extra = qMax<qint64>(n - placeholders, 0);
    // Digits emitted in all, for the grouping positions.
    qint64 emitted = extra + qMin(n, placeholders);
    {
        qint64 k = 0;
        for (const NumToken& t : sec.integer) {
            if (!isPlaceholder(t)) continue;
            if (placeholders - 1 - k >= n && t.type == NumToken::Zero) ++emitted;
            ++k;
        }
    }
    const bool group = sec.grouping && !sec.scientific;
    qint64 done = 0;
    auto digit = [&](char c) {
        if (group && done > 0 && (emitted - done) % 3 == 0) out.add(r.thousandsSeparator);
        out.add(char16_t(c));
        ++done;
    };
    auto extraDigits = [&] {
        for (qint64 i = 0; i < extra; ++i)
            digit(value.at(i));
    };
    // A section with no digit placeholder at all is text only ("Zero"); with a decimal point or
    // fraction placeholders the integer digits still go before the point (".00" shows 12,50).
    if (placeholders == 0 && (sec.point || sec.scientific)) extraDigits();
    qint64 k = 0;
    for (const NumToken& t : sec.integer) {
        if (!isPlaceholder(t)) {
            addLiteralToken(out, t, r);
            continue;
        }
        if (k == 0) extraDigits();
        const qint64 fromRight = placeholders - 1 - k; // 0 for the last placeholder
        const qint64 index = n - 1 - fromRight;
        if (index >= 0)
            digit(value.at(index));
        else if (t.type == NumToken::Zero)
            digit('0');
        ++k;
    }
}

void layFraction(Out& out, const NumSection& sec, const Digits& value, const RegionalSettings& r)
{
    // The last fraction position that holds a non-zero digit; '#' beyond it shows nothing.
    const qint64 last = value.isZero() ? -1 : value.count - 1 - value.point;
    qint64 k = 0;
    for (const NumToken& t : sec.fraction) {
        if (!isPlaceholder(t)) {
            addLiteralToken(out, t, r);
            continue;
        }
        if (t.type == NumToken::Zero || k <= last) out.add(char16_t(value.at(value.point + k)));
        ++k;
    }
}

void formatNumberSection(Out& out, const NumSection& sec, Digits value, bool sign,
                         const RegionalSettings& r)
{
    value.point += 2 * sec.percent - 3 * sec.scale;
    qint64 exponent = 0;
    if (sec.scientific && !value.isZero()) {
        exponent = value.point - sec.integerDigits;
        value.point = sec.integerDigits;
        roundDigits(value, sec.fractionDigits);
        if (value.point > sec.integerDigits) { // 9.99 rounded up to 10.0
            exponent += value.point - sec.integerDigits;
            value.point = sec.integerDigits;
        }
    } else {
        roundDigits(value, sec.fractionDigits);
    }
    if (sign && !value.isZero()) out.add(u'-');
    layInteger(out, sec, value, r);
    if (sec.point) out.add(r.decimalSeparator);
    layFraction(out, sec, value, r);
    if (sec.scientific) {
        out.add(sec.exponentChar);
        if (exponent < 0)
            out.add(u'-');
        else if (sec.exponentPlus)
            out.add(u'+');
        bool written = false;
        for (const NumToken& t : sec.exponent) {
            if (!isPlaceholder(t)) {
                addLiteralToken(out, t, r);
            } else if (!written) {
                const qint64 e = exponent < 0 ? -exponent : exponent;
                const QByteArray text = QByteArray::number(e);
                for (qint64 i = text.size(); i < qMax(sec.exponentZeros, 1); ++i)
                    out.add(u'0');
                for (char c : text)
                    out.add(char16_t(c));
                written = true;
            }
        }
    }
}

QString formatNumber(const Parsed& p, double value, int significant, bool isNull)
{
    const RegionalSettings& r = Regional::current();
    const auto& sections = p.numeric;
    auto usable = [&](size_t i) { return i < sections.size() && !sections[i].empty; };
    if (isNull) {
        if (!usable(3)) return QString();
        Out out;
        formatNumberSection(out, sections[3], Digits(), false, r);
        return out.toString();
    }
    const Digits digits = toDigits(value, significant);
    const NumSection* sec = &sections[0];
    bool sign = false;
    Digits magnitude = digits;
    magnitude.negative = false;
    if (digits.isZero()) {
        if (usable(2)) sec = &sections[2];
    } else if (digits.negative) {
        if (usable(1))
            sec = &sections[1];
        else
            sign = true;
    }
    if (sec->empty) // an empty first section: the plain number
        return plainNumber(value, significant);
    Out out;
    formatNumberSection(out, *sec, magnitude, sign, r);
    return out.toString();
}

// --- Dates --------------------------------------------------------------------------------------

void formatDate(Out& out, const Parsed& p, double serial, const DateParts& d, int depth);

void formatNested(Out& out, const QString& pattern, double serial, const DateParts& d, int depth)
{
    if (depth > 2) return; // a regional pattern that names itself ("ddddd" as the short date)
    const ParsedRef nested = lookup(pattern, true);
    formatDate(out, *nested, serial, d, depth + 1);
}

void formatGeneral(Out& out, double serial, const DateParts& d, int depth)
{
    const RegionalSettings& r = Regional::current();
    formatNested(out, r.shortDatePattern, serial, d, depth);
    if (d.hasTime) {
        out.add(u' ');
        formatNested(out, r.longTimePattern, serial, d, depth);
    }
}

void formatDate(Out& out, const Parsed& p, double serial, const DateParts& d, int depth)
{
    const RegionalSettings& r = Regional::current();
    const int hour12 = d.hour % 12 == 0 ? 12 : d.hour % 12;
    const int hour = p.twelveHour ? hour12 : d.hour;
    const bool pm = d.hour >= 12;
    for (const DateToken& t : p.date) {
        switch (t.type) {
        case DateToken::Literal:
            if (t.text.isEmpty())
                out.add(t.ch);
            else
                out.add(t.text);
            break;
        case DateToken::DateSep:
            out.add(r.dateSeparator);
            break;
        case DateToken::TimeSep:
            out.add(r.timeSeparator);
            break;
        case DateToken::Day:
            out.addNumber(d.day, 1);
            break;
        case DateToken::Day2:
            out.addNumber(d.day, 2);
            break;
        case DateToken::DayAbbr:
            out.add(r.dayAbbreviations.value(d.dayOfWeek - 1));
            break;
        case DateToken::DayName:
            out.add(r.dayNames.value(d.dayOfWeek - 1));
            break;
        case DateToken::ShortDate:
            formatNested(out, r.shortDatePattern, serial, d, depth);
            break;
        case DateToken::LongDate:
            formatNested(out, r.longDatePattern, serial, d, depth);
            break;
        case DateToken::Weekday:
            out.addNumber(d.dayOfWeek, 1);
            break;
        case DateToken::WeekOfYear: {
            // Week 1 holds 1 January; weeks start on Sunday.
            const int jan1 = ((d.dayOfWeek - 1) - (d.dayOfYear - 1) % 7 + 7) % 7; // 0 = Sunday
            out.addNumber((d.dayOfYear - 1 + jan1) / 7 + 1, 1);
            break;
        }
        case DateToken::Month:
            out.addNumber(d.month, 1);
            break;
        case DateToken::Month2:
            out.addNumber(d.month, 2);
            break;
        case DateToken::MonthAbbr:
            out.add(r.monthAbbreviations.value(d.month - 1));
            break;
        case DateToken::MonthName:
            out.add(r.monthNames.value(d.month - 1));
            break;
        case DateToken::Quarter:
            out.addNumber((d.month - 1) / 3 + 1, 1);
            break;
        case DateToken::DayOfYear:
            out.addNumber(d.dayOfYear, 1);
            break;
        case DateToken::Year2:
            out.addNumber(d.year % 100, 2);
            break;
        case DateToken::Year4:
            out.addNumber(d.year, 4);
            break;
        case DateToken::Hour:
            out.addNumber(hour, 1);
            break;
        case DateToken::Hour2:
            out.addNumber(hour, 2);
            break;
        case DateToken::Minute:
            out.addNumber(d.minute, 1);
            break;
        case DateToken::Minute2:
            out.addNumber(d.minute, 2);
            break;
        case DateToken::Second:
            out.addNumber(d.second, 1);
            break;
        case DateToken::Second2:
            out.addNumber(d.second, 2);
            break;
        case DateToken::LongTime:
            formatNested(out, r.longTimePattern, serial, d, depth);
            break;
        case DateToken::General:
            if (depth <= 2) formatGeneral(out, serial, d, depth);
            break;
        case DateToken::AmPm:
            out.add(pm ? u"PM" : u"AM");
            break;
        case DateToken::AmPmLower:
            out.add(pm ? u"pm" : u"am");
            break;
        case DateToken::AP:
            out.add(pm ? u'P' : u'A');
            break;
        case DateToken::APLower:
            out.add(pm ? u'p' : u'a');
            break;
        case DateToken::AmPmRegional:
            out.add(pm ? r.pmDesignator : r.amDesignator);
            break;
        }
    }
}

QString formatSerial(const Parsed& p, double serial)
{
    DateParts d;
    if (!splitSerial(serial, d)) raiseError(Err::Overflow);
    Out out;
    formatDate(out, p, serial, d, 0);
    return out.toString();
}

// --- Strings ------------------------------------------------------------------------------------

QString formatString(const Parsed& p, const QString& text, bool isNull)
{
    const StrSection* sec = &p.string[0];
    if (text.isEmpty() || isNull) {
        if (p.string.size() < 2) return QString();
        sec = &p.string[1];
    }
    Out out;
    const qsizetype n = text.size();
    const qsizetype placeholders = sec->placeholders;
    const qsizetype extra = qMax<qsizetype>(n - placeholders, 0);
    qsizetype k = 0;
    for (const StrToken& t : sec->tokens) {
        if (t.type == StrToken::Literal) {
            if (t.text.isEmpty())
                out.add(t.ch);
            else
                out.add(t.text);
            continue;
        }
        qsizetype index;
        if (sec->leftToRight) {
            index = k;
        } else {
            if (k == 0) out.add(QStringView(text).first(extra));
            index = n - (placeholders - k);
        }
        if (index >= 0 && index < n)
            out.add(text[index]);
        else if (t.type == StrToken::At)
            out.add(u' ');
        ++k;
        if (sec->leftToRight && k == placeholders)
            out.add(QStringView(text).sliced(qMin(n, placeholders)));
    }
    if (placeholders == 0) out.add(QStringView(text));
    QString result = out.toString();
    if (sec->caseChange < 0) return LCase(result);
    if (sec->caseChange > 0) return UCase(result);
    return result;
}

// --- Values -------------------------------------------------------------------------------------

// A Variant's number for a numeric pattern; false for text, Null and objects.
bool numberOf(const Variant& value, double& number, int& significant)
{
    significant = 15;
    const Variant::Storage& s = value.storage();
    if (std::holds_alternative<std::monostate>(s))
        number = 0;
    else if (const auto* v = std::get_if<short>(&s))
        number = *v;
    else if (const auto* v = std::get_if<qint32>(&s))
        number = *v;
    else if (const auto* v = std::get_if<float>(&s))
        number = *v, significant = 7;
    else if (const auto* v = std::get_if<double>(&s))
        number = *v;
    else if (const auto* v = std::get_if<Variant::Boolean>(&s))
        number = v->value ? -1 : 0;
    else if (const auto* v = std::get_if<Date>(&s))
        number = v->serial();
    else
        return false;
    return true;
}

QString formatValue(const Parsed& p, double number, int significant, bool isNull)
{
    switch (p.kind) {
    case Kind::Numeric:
        return formatNumber(p, number, significant, isNull);
    case Kind::GeneralNumber:
        return isNull ? QString() : plainNumber(number, significant);
    case Kind::Boolean:
        return isNull ? QString() : number != 0 ? p.yes : p.no;
    case Kind::Date:
        return isNull ? QString() : formatSerial(p, number);
    case Kind::String:
        break;
    }
    return QString();
}

} // namespace

void regional::dropParsedPatterns()
{
    t_cache = {};
}

namespace regional {

QString dateText(double serial)
{
    DateParts d;
    if (!splitSerial(serial, d)) raiseError(Err::Overflow);
    Out out;
    formatGeneral(out, serial, d, 0);
    return out.toString();
}

} // namespace regional

QString Format(const Variant& value, const QString& pattern)
{
    const Variant::Storage& s = value.storage();
    if (std::holds_alternative<FontRef>(s) || std::holds_alternative<PictureRef>(s))
        raiseError(Err::TypeMismatch);
    const bool isNull = std::holds_alternative<Variant::NullTag>(s);
    const QString* text = std::get_if<QString>(&s);

    if (pattern.isEmpty()) {
        if (isNull || value.isEmpty()) return QString();
        return text ? *text : CStr(value);
    }
    const ParsedRef parsed = lookup(pattern);
    const Parsed& p = *parsed;

    if (p.kind == Kind::String) {
        if (isNull) return formatString(p, QString(), true);
        return formatString(p, text ? *text : value.isEmpty() ? QString() : CStr(value), false);
    }

    double number = 0;
    int significant = 15;
    if (text) {
        // A date pattern reads a date text as a date first: "15.03.2026" is also a number in
        // pt-BR (thousands separators), and its serial would be far outside the calendar.
        if (p.kind == Kind::Date && readDate(*text, Regional::current().dateOrder, number))
            return formatSerial(p, number);
        if (readNumber(*text, number) != NumberRead::Ok)
            return *text; // not a number: the text as it stands
        if (p.kind == Kind::Date && !serialInRange(number)) return *text;
        return formatValue(p, number, 15, false);
    }
    if (!isNull && !numberOf(value, number, significant)) raiseError(Err::TypeMismatch);
    return formatValue(p, number, significant, isNull);
}

} // namespace host
