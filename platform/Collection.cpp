#include "platform/Collection.h"

#include "platform/RuntimeError.h"

#include <algorithm>

namespace tessera {

QString Collection::foldKey(const QString &key)
{
    return key.toCaseFolded();
}

void Collection::checkIndex(qsizetype index) const
{
    if (index < 1 || index > Count())
        throw RuntimeError(RuntimeError::SubscriptOutOfRange);
}

void Collection::Add(const QVariant &item, const QString &key)
{
    const QString folded = foldKey(key);
    if (!folded.isEmpty()) {
        if (m_byKey.contains(folded))
            throw RuntimeError(RuntimeError::DuplicateKey);
        m_byKey.insert(folded, item);
    }
    m_items.push_back({item, folded});
}

QVariant Collection::Item(qsizetype index) const
{
    checkIndex(index);
    return m_items[size_t(index - 1)].value;
}

QVariant Collection::Item(const QString &key) const
{
    const auto it = m_byKey.constFind(foldKey(key));
    if (it == m_byKey.cend())
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    return it.value();
}

bool Collection::containsKey(const QString &key) const
{
    return m_byKey.contains(foldKey(key));
}

void Collection::Remove(qsizetype index)
{
    checkIndex(index);
    const auto it = m_items.begin() + (index - 1);
    if (!it->key.isEmpty())
        m_byKey.remove(it->key);
    m_items.erase(it);
}

void Collection::Remove(const QString &key)
{
    const QString folded = foldKey(key);
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [&](const Entry &e) { return !folded.isEmpty() && e.key == folded; });
    if (it == m_items.end())
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    m_byKey.remove(folded);
    m_items.erase(it);
}

void Collection::Clear()
{
    m_items.clear();
    m_byKey.clear();
}

QVariantList Collection::values() const
{
    QVariantList list;
    list.reserve(Count());
    for (const Entry &e : m_items)
        list.append(e.value);
    return list;
}

} // namespace tessera
