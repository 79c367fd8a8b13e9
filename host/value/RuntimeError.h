#pragma once
// A run-time error of the control host: a number, its description and the source that raised it.
// Setters and conversions throw it to their C++ caller; it never crosses Qt code (see Guard.h).

#include <QByteArray>
#include <QString>
#include <exception>

namespace host {

class RuntimeError : public std::exception {
public:
    // An empty description takes the standard one of the number ("Overflow" for 6).
    explicit RuntimeError(int number, const QString& description = {}, const QString& source = {});

    int number() const { return m_number; }
    QString description() const { return m_description; }
    QString source() const { return m_source; }
    const char* what() const noexcept override { return m_what.constData(); }

    // The runtime's description of a standard error number, or "Application-defined or
    // object-defined error" for a number it does not know.
    static QString standardDescription(int number);

private:
    int m_number;
    QString m_description;
    QString m_source;
    QByteArray m_what;
};

// The standard error numbers the host and the controls raise.
namespace Err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int ObjectVariableNotSet = 91;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPropertyArrayIndex = 381;
inline constexpr int FormAlreadyDisplayed = 400;
inline constexpr int ObjectRequired = 424;
inline constexpr int MethodNotSupported = 438;
inline constexpr int InvalidPicture = 481;
} // namespace Err

// The project whose code is running: an error made without a source names it, as the runtime
// names the project whose code failed. Scopes nest; the innermost one counts.
class ErrorSourceScope {
public:
    explicit ErrorSourceScope(const QString& project);
    ~ErrorSourceScope();
    ErrorSourceScope(const ErrorSourceScope&) = delete;
    ErrorSourceScope& operator=(const ErrorSourceScope&) = delete;
    // The innermost scope's project, or empty outside every scope.
    static QString current();

private:
    QString m_project;
    ErrorSourceScope* m_outer;
};

// Raises run-time error `number` (Err.Raise).
[[noreturn]] void raiseError(int number, const QString& description = {},
                             const QString& source = {});

} // namespace host
