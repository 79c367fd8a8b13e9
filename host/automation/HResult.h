#pragma once
// Result codes of the registration and creation services, shaped as the component runtime's
// HRESULTs so that the module's exported entry points answer as hosts expect.

#include <QString>
#include <QtGlobal>

namespace host {

using HRESULT = qint32;

constexpr HRESULT hresult(quint32 bits)
{
    return HRESULT(bits);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOINTERFACE = hresult(0x80004002u);
inline constexpr HRESULT E_POINTER = hresult(0x80004003u);
inline constexpr HRESULT E_FAIL = hresult(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = hresult(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = hresult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = hresult(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = hresult(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresult(0x80040111u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = hresult(0x80040154u);
inline constexpr HRESULT SELFREG_E_TYPELIB = hresult(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = hresult(0x80040201u);

constexpr bool succeeded(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool failed(HRESULT hr)
{
    return hr < 0;
}

// "CLASS_E_CLASSNOTAVAILABLE (0x80040111)"; the hexadecimal value alone for an unknown code.
QString hresultText(HRESULT hr);

} // namespace host
