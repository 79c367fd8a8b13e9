#pragma once
// The error boundary: every function Qt calls into (event overrides, slots, timer callbacks,
// connected lambdas) runs its body inside guard(), so a RuntimeError never crosses Qt code.

#include "host/value/RuntimeError.h"

#include <QObject>
#include <exception>
#include <type_traits>
#include <utility>

namespace host {

// Hands an error that escaped an event handler to services().reportError; never throws.
void reportEscapedError(const RuntimeError& error) noexcept;
void reportEscapedError(const std::exception& error) noexcept;

// Runs body; an escaping error is reported and the caller goes on. Returns false on error.
template <class F>
bool guard(F&& body) noexcept
{
    try {
        std::forward<F>(body)();
        return true;
    } catch (const RuntimeError& error) {
        reportEscapedError(error);
    } catch (const std::exception& error) {
        reportEscapedError(error);
    }
    return false;
}

// The project a class's code belongs to, from its "Project" class info (empty for none).
QString projectOf(const QObject* object);

// guard() for a hook or handler of `owner`: errors made without a source inside name the
// owner's project.
template <class F>
bool guardIn(const QObject* owner, F&& body) noexcept
{
    ErrorSourceScope scope(projectOf(owner));
    return guard(std::forward<F>(body));
}

// Connects a child's event to its owner's handler (a member function or any callable), run
// inside guardIn(owner): the one way controls and forms wire their children's events.
//     connectGuarded(ui.TextCampo, &TextBox::KeyPress, this, &txtCampo::TextCampo_KeyPress);
template <class Signal, class Owner, class Handler>
QMetaObject::Connection
connectGuarded(const typename QtPrivate::FunctionPointer<Signal>::Object* sender, Signal signal,
               Owner* owner, Handler handler)
{
    return QObject::connect(sender, signal, owner, [owner, handler](auto&&... args) {
        guardIn(owner, [&] {
            if constexpr (std::is_member_function_pointer_v<Handler>)
                (owner->*handler)(std::forward<decltype(args)>(args)...);
            else
                handler(std::forward<decltype(args)>(args)...);
        });
    });
}

// "Report and resume with the next statement": each statement run through the object that fails
// goes to the handler, and the routine continues with its next statement.
//     ResumeNext onError([&](const RuntimeError& e) { MsgBox("Atualiza : " + ...); });
//     onError([&] { first(); });
//     onError([&] { second(); });
template <class Handler>
class ResumeNext {
public:
    explicit ResumeNext(Handler handler) : m_handler(std::move(handler)) {}
    template <class F>
    void operator()(F&& statement)
    {
        try {
            std::forward<F>(statement)();
        } catch (const RuntimeError& error) {
            ++m_errors;
            guard([&] { m_handler(error); });
        }
    }
    int errors() const { return m_errors; }

private:
    Handler m_handler;
    int m_errors = 0;
};

} // namespace host
