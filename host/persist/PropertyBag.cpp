#include "host/persist/PropertyBag.h"

namespace host {

qsizetype PropertyBag::indexOf(const QString& name) const
{
    return m_index.value(name.toCaseFolded(), -1);
}

void PropertyBag::clear()
{
    m_items.clear();
    m_index.clear();
}

Variant PropertyBag::ReadProperty(const QString& name, const Variant& def) const
{
    const qsizetype i = indexOf(name);
    return i < 0 ? def : m_items[i].second;
}

void PropertyBag::WriteProperty(const QString& name, const Variant& value, const Variant& def)
{
    // An entry left over from an earlier write would otherwise shadow the default on reading.
    if (value == def)
        remove(name);
    else
        WriteProperty(name, value);
}

void PropertyBag::WriteProperty(const QString& name, const Variant& value)
{
    const qsizetype i = indexOf(name);
    if (i < 0) {
        m_index.insert(name.toCaseFolded(), m_items.size());
        m_items.append({name, value});
    } else
        m_items[i].second = value;
}

bool PropertyBag::contains(const QString& name) const
{
    return indexOf(name) >= 0;
}

void PropertyBag::remove(const QString& name)
{
    const qsizetype i = indexOf(name);
    if (i < 0) return;
    m_items.removeAt(i);
    m_index.remove(name.toCaseFolded());
    for (auto it = m_index.begin(); it != m_index.end(); ++it) {
        if (it.value() > i) --it.value();
    }
}

bool PropertyBag::operator==(const PropertyBag& other) const
{
    if (m_items.size() != other.m_items.size()) return false;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].first.toCaseFolded() != other.m_items[i].first.toCaseFolded() ||
            !(m_items[i].second == other.m_items[i].second))
            return false;
    }
    return true;
}

} // namespace host
