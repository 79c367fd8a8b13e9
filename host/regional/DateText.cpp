// The date reader behind IsDate and CDate. Numeric dates are read in one field order only; a
// text that would need another order to make sense is not a date.

#include "host/regional/RegionalPrivate.h"

#include <QDate>

namespace host::regional {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0xA0);
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

struct Field {
    QStringView text;
    bool number = false;
    int value = 0; // numbers only
};

// Splits the date part into at most three fields. Fields are runs of digits or of letters; between
// two fields stands one of / - . , with blanks around it, or blanks alone. A comma needs a blank
// after it (March 15, 2026), so "1,5" stays a number and never becomes a date.
bool splitFields(QStringView s, Field (&fields)[3], int& count, bool& spaceOnlyOrDot)
{
    count = 0;
    spaceOnlyOrDot = false;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        if (count == 3) return false;
        const qsizetype start = i;
        Field& f = fields[count];
        if (isDigit(s[i])) {
            int value = 0;
            while (i < n && isDigit(s[i])) {
                if (i - start >= 4) return false; // no field has more than four digits
                value = value * 10 + (s[i].unicode() - u'0');
                ++i;
            }
            f.number = true;
            f.value = value;
        } else if (s[i].isLetter()) {
            while (i < n && s[i].isLetter())
                ++i;
            f.number = false;
        } else {
            return false;
        }
        f.text = s.sliced(start, i - start);
        ++count;
        if (i == n) break;
        // The separator
        bool blank = false;
        QChar mark;
        while (i < n && isBlank(s[i])) {
            blank = true;
            ++i;
        }
        if (i < n && (s[i] == u'/' || s[i] == u'-' || s[i] == u'.' || s[i] == u',')) {
            mark = s[i++];
            const bool blankAfter = i < n && isBlank(s[i]);
            while (i < n && isBlank(s[i]))
                ++i;
            if (mark == u',' && !blankAfter) return false;
        } else if (!blank) {
            return false;
        }
        if (mark.isNull() || mark == u'.' || mark == u',') spaceOnlyOrDot = true;
        if (i == n) return false; // a separator with no field after it
    }
    return true;
}

int windowYear(const Field& f)
{
    if (f.text.size() >= 3) return f.value; // taken as written: 0153 is the year 153
    return f.value < 30 ? 2000 + f.value : 1900 + f.value;
}

// The time part "h:mm[:ss] [AM|PM]"; seconds of the day.
bool readTime(QStringView s, qint64& seconds)
{
    int parts[3] = {0, 0, 0};
    int count = 0;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (count < 3) {
        const qsizetype start = i;
        int value = 0;
        while (i < n && isDigit(s[i]) && i - start < 2) {
            value = value * 10 + (s[i].unicode() - u'0');
            ++i;
        }
        if (i == start || (i < n && isDigit(s[i]))) return false;
        parts[count++] = value;
        if (i < n && s[i] == u':')
            ++i;
        else
            break;
    }
    if (count < 2) return false;
    while (i < n && isBlank(s[i]))
        ++i;
    int hour = parts[0];
    if (i < n) {
        const QStringView designator = s.sliced(i);
        const RegionalSettings& r = Regional::current();
        bool pm;
        auto is = [&](QStringView word) {
            return !word.isEmpty() && designator.compare(word, Qt::CaseInsensitive) == 0;
        };
        if (is(u"AM") || is(u"A") || is(r.amDesignator))
            pm = false;
        else if (is(u"PM") || is(u"P") || is(r.pmDesignator))
            pm = true;
        else
            return false;
        if (hour > 12) return false;
        if (hour == 12) hour = 0;
        if (pm) hour += 12;
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59) return false;
    seconds = hour * 3600 + parts[1] * 60 + parts[2];
    return true;
}

} // namespace

bool readDate(QStringView text, DateOrder order, double& serial)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end) return false;
    const QStringView s = text.sliced(begin, end - begin);

    // The time part starts at the number before the first ':'.
    QStringView datePart = s, timePart;
    const qsizetype colon = s.indexOf(u':');
    if (colon >= 0) {
        qsizetype start = colon;
        while (start > 0 && isDigit(s[start - 1]))
            --start;
        if (start == colon || (start > 0 && !isBlank(s[start - 1]))) return false;
        timePart = s.sliced(start);
        datePart = s.first(start);
        while (!datePart.isEmpty() && isBlank(datePart.back()))
            datePart.chop(1);
    }

    qint64 seconds = 0;
    if (!timePart.isEmpty() && !readTime(timePart, seconds)) return false;
    if (datePart.isEmpty()) { // a time alone is a time on the zero date
        serial = double(seconds) / 86400.0;
        return true;
    }

    Field fields[3];
    int count = 0;
    bool looseSeparators = false;
    if (!splitFields(datePart, fields, count, looseSeparators) || count < 2) return false;

    int year = 0, month = 0, day = 0;
    int words = 0, wordIndex = -1;
    for (int i = 0; i < count; ++i) {
        if (!fields[i].number) {
            ++words;
            wordIndex = i;
        }
    }
    auto currentYear = [] {
        int y = 0;
        Today().toQDate().getDate(&y, nullptr, nullptr);
        return y;
    };
    if (words > 1) {
        return false;
    } else if (words == 1) {
        month = monthFromName(fields[wordIndex].text);
        if (month == 0) return false;
        const Field* numbers[2] = {};
        int k = 0;
        for (int i = 0; i < count; ++i)
            if (i != wordIndex) numbers[k++] = &fields[i];
        if (k == 1) {
            if (numbers[0]->text.size() >= 3 || numbers[0]->value > 31) {
                year = windowYear(*numbers[0]);
                day = 1;
            } else {
                day = numbers[0]->value;
                year = currentYear();
            }
        } else {
            const bool firstLong = numbers[0]->text.size() >= 3;
            const bool secondLong = numbers[1]->text.size() >= 3;
            const bool yearFirst = firstLong != secondLong ? firstLong : order == DateOrder::YMD;
            const Field& y = yearFirst ? *numbers[0] : *numbers[1];
            const Field& d = yearFirst ? *numbers[1] : *numbers[0];
            if (d.text.size() > 2) return false;
            year = windowYear(y);
            day = d.value;
        }
    } else {
        // Two numeric fields are a day and a month of this year, and only with / or - between.
        if (count == 2 && looseSeparators) return false;
        const Field* y = nullptr;
        const Field *m, *d;
        if (count == 3 && fields[0].text.size() >= 3) { // 2026-03-15, whatever the order
            y = &fields[0];
            m = &fields[1];
            d = &fields[2];
        } else if (order == DateOrder::DMY) {
            d = &fields[0];
            m = &fields[1];
            y = count == 3 ? &fields[2] : nullptr;
        } else if (order == DateOrder::MDY) {
            m = &fields[0];
            d = &fields[1];
            y = count == 3 ? &fields[2] : nullptr;
        } else if (count == 3) {
            y = &fields[0];
            m = &fields[1];
            d = &fields[2];
        } else {
            m = &fields[0];
            d = &fields[1];
        }
        if (m->text.size() > 2 || d->text.size() > 2) return false;
        month = m->value;
        day = d->value;
        year = y ? windowYear(*y) : currentYear();
    }
    if (year < 100 || year > 9999 || !QDate::isValid(year, month, day)) return false;
    const double days = serialOfDate(year, month, day);
    const double time = double(seconds) / 86400.0;
    serial = days < 0 ? days - time : days + time;
    return true;
}

} // namespace host::regional
