// Format, IsNumeric, IsDate, CDbl and CDate on arbitrary texts, patterns and numbers. Input: one
// byte of options, then the value text and the pattern separated by the first zero byte (UTF-8).

#include "host/regional/Regional.h"
#include "host/value/RuntimeError.h"

#include <QByteArray>
#include <QString>
#include <cstring>
#include <limits>

namespace {

void guarded(void (*call)(const QString&, const QString&), const QString& a, const QString& b)
{
    try {
        call(a, b);
    } catch (const host::RuntimeError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const uint8_t options = data[0];
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype zero = rest.indexOf('\0');
    const QString value = QString::fromUtf8(zero < 0 ? rest : rest.left(zero));
    const QString pattern = zero < 0 ? QString() : QString::fromUtf8(rest.mid(zero + 1));

    // Built once: copies share their texts, so a scope costs no allocations of its own.
    static const host::RegionalSettings ptBR = host::Regional::ptBR();
    static const host::RegionalSettings enUS = host::Regional::enUS();
    host::RegionalScope scope((options & 1) ? enUS : ptBR);
    const host::DateOrder order = host::DateOrder((options >> 1) % 3);

    guarded([](const QString& v, const QString& p) { (void)host::Format(v, p); }, value, pattern);
    try {
        (void)host::IsNumeric(value);
        (void)host::IsDate(value);
        (void)host::IsDate(value, order);
    } catch (const host::RuntimeError&) {
        __builtin_trap(); // the tests never raise: a throw is a fault
    }
    guarded([](const QString& v, const QString&) { (void)host::CDbl(v); }, value, pattern);
    guarded([](const QString& v, const QString&) { (void)host::CDate(v); }, value, pattern);
    guarded([](const QString& v, const QString&) { (void)host::CInt(v); }, value, pattern);
    guarded([](const QString& v, const QString&) { (void)host::CBool(v); }, value, pattern);

    // A number taken from the input's bytes (any double, NaN and infinities included) and one
    // read from the value text, through the same pattern, as a Double, a Single and a Date.
    double number = 0;
    if (rest.size() >= qsizetype(sizeof number))
        std::memcpy(&number, rest.constData(), sizeof number);
    const double numbers[] = {number, double(qint32(number > 0 && number < 2e9 ? number : 0))};
    for (double n : numbers) {
        try {
            (void)host::Format(n, pattern);
        } catch (const host::RuntimeError&) {
        }
        try {
            (void)host::Format(float(n), pattern);
        } catch (const host::RuntimeError&) {
        }
        try {
            (void)host::Format(host::Date(n), pattern);
        } catch (const host::RuntimeError&) {
        }
        try {
            (void)host::CStr(n);
            (void)host::CStr(host::Date(n));
        } catch (const host::RuntimeError&) {
        }
    }
    try {
        const double parsed = host::CDbl(value);
        (void)host::Format(parsed, pattern);
        (void)host::Format(host::CDate(parsed), pattern);
    } catch (const host::RuntimeError&) {
    }
    try {
        (void)host::Format(host::Variant::null(), pattern);
        (void)host::Format(host::Variant(), pattern);
    } catch (const host::RuntimeError&) {
    }
    return 0;
}
