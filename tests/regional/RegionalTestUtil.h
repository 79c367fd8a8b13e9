#pragma once
// Helpers shared by the regional tests: settings by name, error capture, dates with a time.

#include "host/regional/Regional.h"
#include "host/value/RuntimeError.h"

#include <QDate>
#include <QTime>
#include <functional>

namespace regionaltest {

inline host::RegionalSettings settingsNamed(const QString& name)
{
    return name == QLatin1String("en-US") ? host::Regional::enUS() : host::Regional::ptBR();
}

// The error number a call raises, 0 when it raises none.
inline int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const host::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// A Date value built from Qt's calendar and clock, independently of the code under test.
inline host::Date dateAt(QDate date, QTime time = QTime(0, 0))
{
    const double days = double(QDate(1899, 12, 30).daysTo(date));
    const double fraction = time.msecsSinceStartOfDay() / 86400000.0;
    return host::Date(days < 0 ? days - fraction : days + fraction);
}

} // namespace regionaltest
