#pragma once
// The host's Date value: days since 30/12/1899 as a double, the fraction being the time of day.
// 0 is the zero date, which callers such as DataEscolhida read as "no date".

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace host {

class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(double serial) : m_serial(serial) {}

    // The serial of a calendar date (and time); an invalid QDate gives the zero date. A date
    // outside the runtime's range keeps its serial, and isValid() tells.
    static Date fromQDate(QDate date);
    // The date and time as read on the QDateTime's own clock (no zone conversion).
    static Date fromQDateTime(const QDateTime& dateTime);

    constexpr double serial() const { return m_serial; }
    constexpr bool isZero() const { return m_serial == 0.0; }

    // Whether the serial lies in the runtime's range, 1 Jan 100 .. 31 Dec 9999.
    bool isValid() const;
    // The time is rounded to the second, and a time that rounds up to midnight belongs to the
    // next day: toQDate() and time() always agree with toQDateTime().
    QDate toQDate() const; // the calendar day; invalid outside the range
    QTime time() const;    // the time of day of the fraction (always counted forward)
    // Zone-less wall-clock time, given as Qt::UTC so that no daylight-saving gap can move it.
    QDateTime toQDateTime() const;
    bool hasTime() const; // a time of day other than 00:00:00 (after rounding)

    // The serials of the range limits.
    static constexpr double MinSerial = -657434.0;     // 1 Jan 100
    static constexpr double MaxSerial = 2958465.99999; // 31 Dec 9999 23:59:59

    friend constexpr bool operator==(Date a, Date b) { return a.m_serial == b.m_serial; }

private:
    double m_serial = 0.0;
};

} // namespace host
