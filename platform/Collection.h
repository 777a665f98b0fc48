#pragma once

#include "platform/PlatformExport.h"

#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

namespace tessera {

/// The original platform's ordered collection: items indexed from 1, each
/// optionally reachable by a text key that is compared without regard to case.
///
/// Failures raise RuntimeError as that platform does: an index outside
/// 1..Count() raises 9 (subscript out of range), an unknown key raises 5
/// (invalid procedure call or argument), a key already in use raises 457.
///
///     Collection c;
///     c.Add(QStringLiteral("b"), QStringLiteral("Second"));
///     c.Item(QStringLiteral("SECOND")); // "b"
class TESSERA_PLATFORM_EXPORT Collection
{
public:
    qsizetype Count() const noexcept { return qsizetype(m_items.size()); }
    bool isEmpty() const noexcept { return m_items.empty(); }

    /// Appends an item; a non-empty key must not be in use yet.
    void Add(const QVariant &item, const QString &key = {});

    QVariant Item(qsizetype index) const;
    QVariant Item(const QString &key) const;
    bool containsKey(const QString &key) const;

    void Remove(qsizetype index);
    void Remove(const QString &key);
    void Clear();

    /// The items in order, without their keys.
    QVariantList values() const;

private:
    struct Entry {
        QVariant value;
        QString key; // folded form, empty when the item has no key
    };
    static QString foldKey(const QString &key);
    void checkIndex(qsizetype index) const;

    std::vector<Entry> m_items;
    QHash<QString, QVariant> m_byKey;
};

} // namespace tessera
