#pragma once
// The property bag a control saves itself to and loads itself from: [name, Variant] pairs in the
// order they were first written. It knows no types; the control converts what it reads.

#include "host/value/Variant.h"

#include <QHash>
#include <QList>
#include <QString>
#include <utility>

namespace host {

class PropertyBag {
public:
    using Item = std::pair<QString, Variant>;

    // The stored value of `name` (matched without regard to case), or `def` when absent.
    Variant ReadProperty(const QString& name, const Variant& def = {}) const;
    // Stores `value` unless it equals `def`; a value equal to its default also drops an entry
    // written before, so reading it back gives the default. An existing entry keeps its place.
    void WriteProperty(const QString& name, const Variant& value, const Variant& def);
    // Stores `value` whatever it is (WriteProperty with no default).
    void WriteProperty(const QString& name, const Variant& value);

    bool contains(const QString& name) const;
    void remove(const QString& name);
    void clear();
    qsizetype count() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const QList<Item>& items() const { return m_items; }

    // Same names (without regard to case) with equal values, in the same order.
    bool operator==(const PropertyBag& other) const;

private:
    qsizetype indexOf(const QString& name) const;

    QList<Item> m_items;
    QHash<QString, qsizetype> m_index; // case-folded name -> position in m_items
};

} // namespace host
