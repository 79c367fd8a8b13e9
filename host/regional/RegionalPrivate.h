#pragma once
// Pieces shared by the regional sources and not part of the host's API: decimal digits of a
// number, the text readers and the calendar arithmetic of serial dates.

#include "host/regional/Regional.h"

#include <QStringView>
#include <QtGlobal>

namespace host::regional {

// Bumped by every Regional::set, so that caches built from the settings know when to rebuild.
quint32 generation();
// Releases the calling thread's parsed Format patterns (they belong to the settings being left).
void dropParsedPatterns();

// A finite number as decimal digits: |value| = 0.d[0] d[1] ... d[count-1] x 10^point, without
// leading or trailing zeros (zero has no digits). `point` is wide because percent signs and
// scaling commas of a pattern move it by a few units per character.
struct Digits {
    char d[24] = {};
    int count = 0;
    qint64 point = 0;
    bool negative = false;

    bool isZero() const { return count == 0; }
    // The digit at a position counted from the first one; zero outside the stored digits.
    char at(qint64 index) const { return index >= 0 && index < count ? d[index] : '0'; }
};

// The value read to `significant` digits (15 for Double, 7 for Single), correctly rounded.
// Infinities and NaN are not numbers of the runtime: callers check isfinite first.
Digits toDigits(double value, int significant = 15);
// Rounds to `fraction` digits after the point, half away from zero.
void roundDigits(Digits& digits, qint64 fraction);
// The runtime's plain text of a number: up to `significant` digits, the regional decimal
// separator, no grouping, and E notation below 1E-04 and from 1E+`significant`.
QString plainNumber(double value, int significant = 15);

enum class NumberRead { Ok, NotNumber, Overflow };
// Reads a text as a number by the regional rules: sign (leading, trailing or parentheses),
// currency symbol, grouped digits, decimals, exponent, &H/&O; a lone '.' is a decimal point.
NumberRead readNumber(QStringView text, double& value);

// Reads a text as a date (and time) in the given field order; false when it is not one.
bool readDate(QStringView text, DateOrder order, double& serial);

// The runtime's range of dates as serials: the day (the integer part, toward zero) from
// 1 Jan 100 to 31 Dec 9999, any time of day.
constexpr double MinSerial = -657434.0;    // 1 Jan 100
constexpr double MaxSerialEnd = 2958466.0; // 1 Jan 10000, excluded
inline bool serialInRange(double serial)
{
    return serial > MinSerial - 1.0 && serial < MaxSerialEnd; // false for NaN
}

// A serial date split into calendar and clock; seconds are rounded to the nearest one.
struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int dayOfWeek = 7; // 1 = Sunday
    int dayOfYear = 364;
    bool hasTime = false;
};
// False when the serial lies outside the runtime's range.
bool splitSerial(double serial, DateParts& parts);
// The serial of a calendar day (valid date expected).
double serialOfDate(int year, int month, int day);

// The default text of a date: the short date, and the long time when there is a time.
QString dateText(double serial);

// Month names regional and English, lower-cased, for the date reader: index 0..11.
int monthFromName(QStringView word);

} // namespace host::regional
