// The regional services on the field's hot path (every Enter): money amounts through the money
// mask, and the date test; against Qt's own number formatting and date parsing.

#include "BenchUtil.h"

#include "host/regional/Regional.h"

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <vector>

int main()
{
    host::RegionalScope scope(host::Regional::ptBR());

    std::vector<double> amounts;
    amounts.reserve(20000);
    quint32 seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double cents = double(seed % 100000000u); // up to 999.999,99
        amounts.push_back((i % 7 == 0 ? -cents : cents) / 100.0);
    }

    QStringList dates;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int day = int(seed % 33), month = int(seed / 33 % 14), year = 1990 + int(seed % 60);
        dates << QStringLiteral("%1/%2/%3")
                     .arg(day, 2, 10, QLatin1Char('0'))
                     .arg(month, 2, 10, QLatin1Char('0'))
                     .arg(year);
    }

    const QString mask = QStringLiteral("#####,##0.00");
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    bench::compare(
        "format_money", 2,
        [&] {
            for (double v : amounts)
                bench::keep(host::Format(v, mask));
        },
        [&] {
            for (double v : amounts)
                bench::keep(brazil.toString(v, 'f', 2));
        });

    const QString datePattern = QStringLiteral("dd/MM/yyyy");
    bench::compare(
        "is_date", 2,
        [&] {
            int valid = 0;
            for (const QString& text : dates)
                valid += host::IsDate(text) ? 1 : 0;
            bench::keep(valid);
        },
        [&] {
            int valid = 0;
            for (const QString& text : dates)
                valid += QDate::fromString(text, datePattern).isValid() ? 1 : 0;
            bench::keep(valid);
        });

    return 0;
}
