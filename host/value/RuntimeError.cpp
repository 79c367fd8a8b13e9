#include "host/value/RuntimeError.h"

namespace host {

namespace {
thread_local ErrorSourceScope* t_innermost = nullptr;
} // namespace

ErrorSourceScope::ErrorSourceScope(const QString& project)
    : m_project(project), m_outer(t_innermost)
{
    t_innermost = this;
}

ErrorSourceScope::~ErrorSourceScope()
{
    t_innermost = m_outer;
}

QString ErrorSourceScope::current()
{
    return t_innermost ? t_innermost->m_project : QString();
}

RuntimeError::RuntimeError(int number, const QString& description, const QString& source)
    : m_number(number),
      m_description(description.isEmpty() ? standardDescription(number) : description),
      m_source(source.isEmpty() ? ErrorSourceScope::current() : source)
{
    // what() must stay valid as long as the error lives, so the text is built once here.
    m_what = QStringLiteral("Run-time error '%1': %2").arg(m_number).arg(m_description).toUtf8();
}

QString RuntimeError::standardDescription(int number)
{
    switch (number) {
    case Err::InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case Err::Overflow:
        return QStringLiteral("Overflow");
    case Err::OutOfMemory:
        return QStringLiteral("Out of memory");
    case Err::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case Err::DivisionByZero:
        return QStringLiteral("Division by zero");
    case Err::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case Err::FileNotFound:
        return QStringLiteral("File not found");
    case Err::ObjectVariableNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case Err::InvalidUseOfNull:
        return QStringLiteral("Invalid use of Null");
    case Err::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case Err::InvalidPropertyArrayIndex:
        return QStringLiteral("Invalid property array index");
    case Err::FormAlreadyDisplayed:
        return QStringLiteral("Form already displayed; can't show modally");
    case Err::ObjectRequired:
        return QStringLiteral("Object required");
    case Err::MethodNotSupported:
        return QStringLiteral("Object doesn't support this property or method");
    case Err::InvalidPicture:
        return QStringLiteral("Invalid picture");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void raiseError(int number, const QString& description, const QString& source)
{
    throw RuntimeError(number, description, source);
}

} // namespace host
