#pragma once
// An indexed array of the host's widgets sharing one name ("lblDia(12)"), whose events carry the
// element's Index first:
//     ui.lblDia.onDblClick([this](short Index) { lblDia_DblClick(Index); });
//     ui.lblDia.onMouseDown([this](short Index, short& Button, short& Shift, float& X, float& Y)
//     {...}); for (short i = 1; i <= 42; ++i) ui.lblDia.Load(i)->put_Caption("00");
// Handlers given before or after an element is loaded reach every element.

#include "host/services/Guard.h"
#include "host/value/RuntimeError.h"
#include "host/widgets/Lifetime.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QWidget;

namespace host {

template <class T>
class ControlArray {
public:
    ControlArray(QWidget* parent, const QString& name) : m_parent(parent), m_name(name) {}
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;

    QString name() const { return m_name; }

    // Creates element `index` (0..32767, else error 9); error 360 when it is already loaded.
    T* Load(short index)
    {
        if (index < 0) raiseError(Err::SubscriptOutOfRange);
        if (find(index)) raiseError(360, QStringLiteral("Object already loaded"));
        auto* element = new T(m_parent, QStringLiteral("%1(%2)").arg(m_name).arg(index));
        if constexpr (requires { element->setArrayIndex(index); }) element->setArrayIndex(index);
        m_items[index] = element;
        for (const auto& connector : m_connectors)
            connector(element, index);
        return element;
    }

    // Disposes element `index`; error 340 when there is none.
    void Unload(short index)
    {
        T* element = item(index);
        m_items.erase(index);
        dispose(element);
    }

    // Element `index`; error 9 for a negative index, 340 when there is no such element.
    T* item(short index) const
    {
        if (index < 0) raiseError(Err::SubscriptOutOfRange);
        T* element = find(index);
        if (!element)
            raiseError(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        return element;
    }
    T* operator()(short index) const { return item(index); }
    T* operator[](short index) const { return item(index); }

    bool exists(short index) const { return find(index) != nullptr; }
    // The loaded indexes in ascending order (elements deleted with their window are left out).
    std::vector<short> indexes() const
    {
        std::vector<short> result;
        for (const auto& [index, element] : m_items)
            if (element && !isDisposed(element)) result.push_back(index);
        return result;
    }
    short Count() const { return short(indexes().size()); }
    short LBound() const { return boundOr(true); }
    short UBound() const { return boundOr(false); }

    // Connects a handler to one event of every element, present and future; the handler gets
    // the element's Index and then the event's own arguments (references stay references).
    template <auto Signal, class Handler>
    void on(Handler handler)
    {
        auto connector = [handler](T* element, short index) {
            connectIndexed(element, Signal, index, handler);
        };
        for (const auto& [index, element] : m_items)
            if (element) connector(element, index);
        m_connectors.push_back(connector);
    }

    template <class H>
    void onClick(H h)
    {
        on<&T::Click>(std::move(h));
    }
    template <class H>
    void onDblClick(H h)
    {
        on<&T::DblClick>(std::move(h));
    }
    template <class H>
    void onChange(H h)
    {
        on<&T::Change>(std::move(h));
    }
    template <class H>
    void onMouseDown(H h)
    {
        on<&T::MouseDown>(std::move(h));
    }
    template <class H>
    void onMouseMove(H h)
    {
        on<&T::MouseMove>(std::move(h));
    }
    template <class H>
    void onMouseUp(H h)
    {
        on<&T::MouseUp>(std::move(h));
    }
    template <class H>
    void onKeyDown(H h)
    {
        on<&T::KeyDown>(std::move(h));
    }
    template <class H>
    void onKeyPress(H h)
    {
        on<&T::KeyPress>(std::move(h));
    }
    template <class H>
    void onKeyUp(H h)
    {
        on<&T::KeyUp>(std::move(h));
    }
    template <class H>
    void onGotFocus(H h)
    {
        on<&T::GotFocus>(std::move(h));
    }
    template <class H>
    void onLostFocus(H h)
    {
        on<&T::LostFocus>(std::move(h));
    }

private:
    template <class Obj, class... Args, class Handler>
    static void connectIndexed(T* element, void (Obj::*signal)(Args...), short index,
                               Handler handler)
    {
        QObject::connect(element, signal, element, [handler, index](Args... args) {
            guard([&] { handler(index, args...); });
        });
    }

    T* find(short index) const
    {
        const auto it = m_items.find(index);
        if (it == m_items.end() || !it->second || isDisposed(it->second)) return nullptr;
        return it->second;
    }

    short boundOr(bool lower) const
    {
        const std::vector<short> all = indexes();
        if (all.empty()) raiseError(Err::SubscriptOutOfRange);
        return lower ? all.front() : all.back();
    }

    QWidget* m_parent;
    QString m_name;
    std::map<short, QPointer<T>> m_items;
    std::vector<std::function<void(T*, short)>> m_connectors;
};

} // namespace host
