#pragma once
// Regional settings and every service that reads or writes text: Format, IsNumeric, IsDate,
// CDate, CDbl, CInt, CLng, CBool, CStr, date parts and text functions. pt-BR by default.

#include "host/value/Conversions.h"
#include "host/value/Variant.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace host {

enum class DateOrder { DMY, MDY, YMD };

struct RegionalSettings {
    QString name; // "pt-BR", "en-US"
    QChar decimalSeparator;
    QChar thousandsSeparator;
    DateOrder dateOrder = DateOrder::DMY;
    QChar dateSeparator;
    QString shortDatePattern; // in Format's tokens: "dd/mm/yyyy", "m/d/yyyy"
    QString longDatePattern;  // "dddd, d \de mmmm \de yyyy"
    QString longTimePattern;  // in Format's tokens: "hh:nn:ss", "h:nn:ss AMPM"
    QChar timeSeparator;
    bool clock24 = true;
    QString amDesignator, pmDesignator;
    QString currencySymbol;  // "R$", "$"
    QString currencySpacing; // between symbol and amount: " " (an ordinary space) or ""
    QStringList monthNames;  // 12, lower case in pt-BR
    QStringList monthAbbreviations;
    QStringList dayNames; // 7, Sunday first
    QStringList dayAbbreviations;
    QString yes, no, trueText, falseText, on, off;
};

class Regional {
public:
    static const RegionalSettings& current();
    static void set(const RegionalSettings& settings);
    static RegionalSettings ptBR();
    static RegionalSettings enUS();
};

// Pins the regional settings for a scope (tests), restoring the previous ones on destruction.
class RegionalScope {
public:
    explicit RegionalScope(const RegionalSettings& settings);
    ~RegionalScope();
    RegionalScope(const RegionalScope&) = delete;
    RegionalScope& operator=(const RegionalScope&) = delete;

private:
    RegionalSettings m_saved;
};

// Format(value, pattern): numeric, date, string and named patterns, regional symbols in the output.
QString Format(const Variant& value, const QString& pattern = {});

bool IsNumeric(const Variant& value);
// With no order given, the regional date order.
bool IsDate(const Variant& value);
bool IsDate(const Variant& value, DateOrder order);

// Conversions of any Variant (text read by the regional rules): 13 for text that is not a number
// or date, 6 out of range, 94 for Null.
double CDbl(const Variant& value);
float CSng(const Variant& value);
short CInt(const Variant& value);
qint32 CLng(const Variant& value);
bool CBool(const Variant& value); // 0 is False, any other number True; "True"/"False" texts too
QString CStr(const Variant& value);
Date CDate(const Variant& value);
Date CDate(const Variant& value, DateOrder order);

// Date parts and constructors.
Date DateSerial(int year, int month, int day); // month and day overflow into the next unit
short Year(Date date);
short Month(Date date);
short Day(Date date);
short Weekday(Date date, short firstDayOfWeek = 1); // Sunday = 1 with the default first day
Date Today();                                       // through services().today
QString MonthName(int month, bool abbreviate = false);
QString WeekdayName(int weekday, bool abbreviate = false); // 1 = Sunday

// Text functions: UCase uses Unicode's simple upper case (ç -> Ç); a character whose capital is not
// a single character (ß) stays as it is.
QString UCase(const QString& text);
QString LCase(const QString& text);
QString Trim(const QString& text);
QString LTrim(const QString& text);
QString RTrim(const QString& text);

} // namespace host
