#include "host/regional/Regional.h"

#include "host/regional/RegionalPrivate.h"
#include "host/services/Services.h"
#include "host/value/RuntimeError.h"

#include <QDate>
#include <array>
#include <cmath>

namespace host {

namespace {

// The Julian day of 30/12/1899, the serial date 0.
constexpr qint64 EpochJulianDay = 2415019;

struct State {
    RegionalSettings settings = Regional::ptBR();
    quint32 generation = 1;
    // Lower-cased month names for the date reader: regional full, regional short, English full,
    // English short.
    std::array<QString, 48> monthWords;
};

void buildMonthWords(State& state)
{
    // Shared, not rebuilt: a form may switch settings often (and a test or fuzzer per call).
    static const std::array<QString, 24> english = [] {
        static const char* const names[12] = {"january",   "february", "march",    "april",
                                              "may",       "june",     "july",     "august",
                                              "september", "october",  "november", "december"};
        std::array<QString, 24> words;
        for (int i = 0; i < 12; ++i) {
            words[i] = QString::fromLatin1(names[i]);
            words[12 + i] = QString::fromLatin1(names[i], 3);
        }
        return words;
    }();
    for (int i = 0; i < 12; ++i) {
        state.monthWords[i] = state.settings.monthNames.value(i).toLower();
        state.monthWords[12 + i] = state.settings.monthAbbreviations.value(i).toLower();
        state.monthWords[24 + i] = english[i];
        state.monthWords[36 + i] = english[12 + i];
    }
}

State& state()
{
    static State s = [] {
        State initial;
        buildMonthWords(initial);
        return initial;
    }();
    return s;
}

QStringList words(std::initializer_list<const char*> list)
{
    QStringList out;
    out.reserve(int(list.size()));
    for (const char* w : list)
        out << QString::fromUtf8(w);
    return out;
}

} // namespace

const RegionalSettings& Regional::current()
{
    return state().settings;
}

void Regional::set(const RegionalSettings& settings)
{
    State& s = state();
    s.settings = settings;
    ++s.generation;
    buildMonthWords(s);
    regional::dropParsedPatterns();
}

RegionalSettings Regional::ptBR()
{
    RegionalSettings r;
    r.name = QStringLiteral("pt-BR");
    r.decimalSeparator = u',';
    r.thousandsSeparator = u'.';
    r.dateOrder = DateOrder::DMY;
    r.dateSeparator = u'/';
    r.shortDatePattern = QStringLiteral("dd/mm/yyyy");
    r.longDatePattern = QStringLiteral("dddd, d \\de mmmm \\de yyyy");
    r.longTimePattern = QStringLiteral("hh:nn:ss");
    r.timeSeparator = u':';
    r.clock24 = true;
    r.amDesignator = QStringLiteral("AM");
    r.pmDesignator = QStringLiteral("PM");
    r.currencySymbol = QStringLiteral("R$");
    r.currencySpacing = QStringLiteral(" ");
    r.monthNames = words({"janeiro", "fevereiro", "março", "abril", "maio", "junho", "julho",
                          "agosto", "setembro", "outubro", "novembro", "dezembro"});
    r.monthAbbreviations =
        words({"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"});
    r.dayNames = words({"domingo", "segunda-feira", "terça-feira", "quarta-feira", "quinta-feira",
                        "sexta-feira", "sábado"});
    r.dayAbbreviations = words({"dom", "seg", "ter", "qua", "qui", "sex", "sáb"});
    r.yes = QStringLiteral("Sim");
    r.no = QString::fromUtf8("Não");
    r.trueText = QStringLiteral("Verdadeiro");
    r.falseText = QStringLiteral("Falso");
    r.on = QStringLiteral("Ativado");
    r.off = QStringLiteral("Desativado");
    return r;
}

RegionalSettings Regional::enUS()
{
    RegionalSettings r;
    r.name = QStringLiteral("en-US");
    r.decimalSeparator = u'.';
    r.thousandsSeparator = u',';
    r.dateOrder = DateOrder::MDY;
    r.dateSeparator = u'/';
    r.shortDatePattern = QStringLiteral("m/d/yyyy");
    r.longDatePattern = QStringLiteral("dddd, mmmm d, yyyy");
    r.longTimePattern = QStringLiteral("h:nn:ss AMPM");
    r.timeSeparator = u':';
    r.clock24 = false;
    r.amDesignator = QStringLiteral("AM");
    r.pmDesignator = QStringLiteral("PM");
    r.currencySymbol = QStringLiteral("$");
    r.currencySpacing = QString();
    r.monthNames = words({"January", "February", "March", "April", "May", "June", "July", "August",
                          "September", "October", "November", "December"});
    r.monthAbbreviations =
        words({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"});
    r.dayNames =
        words({"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"});
    r.dayAbbreviations = words({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"});
    r.yes = QStringLiteral("Yes");
    r.no = QStringLiteral("No");
    r.trueText = QStringLiteral("True");
    r.falseText = QStringLiteral("False");
    r.on = QStringLiteral("On");
    r.off = QStringLiteral("Off");
    return r;
}

RegionalScope::RegionalScope(const RegionalSettings& settings) : m_saved(Regional::current())
{
    Regional::set(settings);
}

RegionalScope::~RegionalScope()
{
    Regional::set(m_saved);
}

namespace regional {

quint32 generation()
{
    return state().generation;
}

int monthFromName(QStringView word)
{
    if (word.size() < 3) return 0;
    const auto& names = state().monthWords;
    for (int i = 0; i < int(names.size()); ++i) {
        if (!names[i].isEmpty() && word.compare(names[i], Qt::CaseInsensitive) == 0)
            return i % 12 + 1;
    }
    return 0;
}

bool splitSerial(double serial, DateParts& parts)
{
    if (!serialInRange(serial)) return false;
    const double whole = std::trunc(serial);
    // The fraction is a time counted forward from midnight whatever the sign of the day.
    qint64 day = qint64(whole);
    qint64 seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds = 0;
        ++day;
        if (day >= qint64(MaxSerialEnd)) { // 31/12/9999 23:59:59.6 stays on the last day
            --day;
            seconds = 86399;
        }
    }
    const QDate date = QDate::fromJulianDay(EpochJulianDay + day);
    date.getDate(&parts.year, &parts.month, &parts.day);
    parts.dayOfWeek = date.dayOfWeek() % 7 + 1; // Qt: Monday 1 .. Sunday 7
    parts.dayOfYear = date.dayOfYear();
    parts.hour = int(seconds / 3600);
    parts.minute = int(seconds / 60 % 60);
    parts.second = int(seconds % 60);
    parts.hasTime = seconds != 0;
    return true;
}

double serialOfDate(int year, int month, int day)
{
    return double(QDate(year, month, day).toJulianDay() - EpochJulianDay);
}

} // namespace regional

// --- Date parts -------------------------------------------------------------------------------

namespace {

regional::DateParts partsOf(Date date)
{
    regional::DateParts parts;
    if (!regional::splitSerial(date.serial(), parts)) raiseError(Err::Overflow);
    return parts;
}

// Two-digit years as the date reader takes them: 00-29 this century, 30-99 the last one.
int windowYear(qint64 year)
{
    if (year >= 0 && year < 30) return int(year) + 2000;
    if (year >= 30 && year < 100) return int(year) + 1900;
    return int(year);
}

} // namespace

Date DateSerial(int year, int month, int day)
{
    // Months and days beyond their unit move into the next (or previous) one: month 13 is
    // January of the next year, day 0 the last day of the previous month.
    const qint64 months = qint64(windowYear(year)) * 12 + (qint64(month) - 1);
    const qint64 y = months >= 0 ? months / 12 : -((-months + 11) / 12);
    const int m = int(months - y * 12) + 1;
    if (y < 100 || y > 9999) raiseError(Err::Overflow);
    const double serial = regional::serialOfDate(int(y), m, 1) + (double(day) - 1.0);
    if (!regional::serialInRange(serial)) raiseError(Err::Overflow);
    return Date(serial);
}

short Year(Date date)
{
    return short(partsOf(date).year);
}

short Month(Date date)
{
    return short(partsOf(date).month);
}

short Day(Date date)
{
    return short(partsOf(date).day);
}

short Weekday(Date date, short firstDayOfWeek)
{
    if (firstDayOfWeek < 0 || firstDayOfWeek > 7) raiseError(Err::InvalidProcedureCall);
    const int first = firstDayOfWeek == 0 ? 1 : firstDayOfWeek; // 0: the system's, Sunday here
    return short((partsOf(date).dayOfWeek - first + 7) % 7 + 1);
}

Date Today()
{
    const Services& s = services();
    const QDate today = s.today ? s.today() : QDate::currentDate();
    return Date::fromQDate(today);
}

QString MonthName(int month, bool abbreviate)
{
    if (month < 1 || month > 12) raiseError(Err::InvalidProcedureCall);
    const RegionalSettings& r = Regional::current();
    return (abbreviate ? r.monthAbbreviations : r.monthNames).value(month - 1);
}

QString WeekdayName(int weekday, bool abbreviate)
{
    if (weekday < 1 || weekday > 7) raiseError(Err::InvalidProcedureCall);
    const RegionalSettings& r = Regional::current();
    return (abbreviate ? r.dayAbbreviations : r.dayNames).value(weekday - 1);
}

// --- Text functions ---------------------------------------------------------------------------

namespace {

// Maps every code point through a simple (one to one) case mapping; QChar's mappings are the
// simple ones, so a letter whose capital is two letters (ß) keeps its own form.
template <class Map>
QString mapCodePoints(const QString& text, Map map)
{
    QString out = text;
    QChar* data = out.data();
    const qsizetype n = out.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i].isHighSurrogate() && i + 1 < n && data[i + 1].isLowSurrogate()) {
            const char32_t mapped = map(QChar::surrogateToUcs4(data[i], data[i + 1]));
            if (QChar::requiresSurrogates(mapped)) {
                data[i] = QChar(QChar::highSurrogate(mapped));
                data[i + 1] = QChar(QChar::lowSurrogate(mapped));
            }
            ++i;
            continue;
        }
        const char32_t mapped = map(data[i].unicode());
        if (!QChar::requiresSurrogates(mapped)) data[i] = QChar(char16_t(mapped));
    }
    return out;
}

} // namespace

QString UCase(const QString& text)
{
    return mapCodePoints(text, [](char32_t c) { return QChar::toUpper(c); });
}

QString LCase(const QString& text)
{
    return mapCodePoints(text, [](char32_t c) { return QChar::toLower(c); });
}

// The runtime trims the space character only, not tabs or line breaks.
QString LTrim(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return text.mid(i);
}

QString RTrim(const QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return text.left(n);
}

QString Trim(const QString& text)
{
    return LTrim(RTrim(text));
}

} // namespace host
