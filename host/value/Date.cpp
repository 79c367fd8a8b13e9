#include "host/value/Date.h"

#include <cmath>
#include <optional>

namespace host {

namespace {

constexpr qint64 MinDay = -657434; // 1 Jan 100
constexpr qint64 MaxDay = 2958465; // 31 Dec 9999
constexpr int SecondsPerDay = 86400;

QDate epoch()
{
    return QDate(1899, 12, 30);
}

// A serial as a calendar day (offset from the epoch) and a time of day in whole seconds.
struct Parts {
    qint64 day;
    int seconds;
};

std::optional<Parts> split(double serial)
{
    // Far beyond the representable range nothing is computed, which also keeps the integer
    // conversion below defined.
    if (!std::isfinite(serial) || std::fabs(serial) > 1e12) return std::nullopt;
    const double whole = std::trunc(serial);
    // The integer part counts days; the fraction is a time of day counted forward from midnight
    // whatever the sign, so -1.25 is the day before the epoch at 06:00.
    const double fraction = std::fabs(serial - whole);
    Parts parts{qint64(whole), int(std::llround(fraction * SecondsPerDay))};
    if (parts.seconds >= SecondsPerDay) { // rounded up to the next midnight
        parts.seconds = 0;
        ++parts.day;
    }
    return parts;
}

} // namespace

Date Date::fromQDate(QDate date)
{
    if (!date.isValid()) return Date();
    return Date(double(epoch().daysTo(date)));
}

Date Date::fromQDateTime(const QDateTime& dateTime)
{
    const QDate date = dateTime.date();
    if (!date.isValid()) return Date();
    const qint64 days = epoch().daysTo(date);
    const QTime time = dateTime.time();
    const double fraction = time.isValid() ? time.msecsSinceStartOfDay() / 86400000.0 : 0.0;
    return Date(days < 0 ? double(days) - fraction : double(days) + fraction);
}

bool Date::isValid() const
{
    const std::optional<Parts> parts = split(m_serial);
    return parts && parts->day >= MinDay && parts->day <= MaxDay;
}

QDate Date::toQDate() const
{
    const std::optional<Parts> parts = split(m_serial);
    if (!parts || parts->day < MinDay || parts->day > MaxDay) return QDate();
    return epoch().addDays(parts->day);
}

QTime Date::time() const
{
    const std::optional<Parts> parts = split(m_serial);
    if (!parts) return QTime();
    return QTime::fromMSecsSinceStartOfDay(parts->seconds * 1000);
}

QDateTime Date::toQDateTime() const
{
    const QDate date = toQDate();
    if (!date.isValid()) return QDateTime();
    // A Date is a wall-clock value without a zone; in local time a day on which the clocks jump
    // at midnight (as they did in Brazil) would have no 00:00 and the value would shift.
    return QDateTime(date, time(), Qt::UTC);
}

bool Date::hasTime() const
{
    const std::optional<Parts> parts = split(m_serial);
    return parts && parts->seconds != 0;
}

} // namespace host
