#pragma once

#include "dbengine.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

/// Reads a SELECT in packets that together are one result: each packet goes on
/// after the order key of the last row read (keyset paging), so rows that
/// other connections insert or delete meanwhile never make a packet skip or
/// repeat a row that exists throughout the read. The statement's ORDER BY must
/// be unique (a key of the rows).
///
/// The key is what the ORDER BY sorts by: each item is copied into the select
/// list as a hidden column KESA_K0, KESA_K1 … (after the statement's own
/// columns), so the next packet can be asked for
///     SELECT * FROM (statement) KESA_PAGE WHERE (KESA_K0, …) after (last key)
///     ORDER BY KESA_K0, … LIMIT n
/// with NULLs placed as the engine (or the item's NULLS FIRST/LAST) places them.
/// On SQLite an item whose NULLs go where SQLite's indexes do not put them
/// (ascending NULLS LAST, descending NULLS FIRST) is sorted by "(X) IS NULL, X"
/// instead: the same order, which an index holding that term serves.
///
/// A statement that cannot be read this way (no ORDER BY; UNION, EXCEPT,
/// INTERSECT, DISTINCT, its own LIMIT; an order by position of a "*") is not
/// pageable: its caller reads it whole, at once.
class KeysetPaging
{
public:
    KeysetPaging() = default;
    KeysetPaging(const QString &sql, DbEngine engine);

    bool isPageable() const { return !m_keys.isEmpty(); }
    /// The hidden key columns, the last ones of every packet's rows.
    int keyCount() const { return int(m_keys.size()); }

    /// The statement with its key columns, in its own order, cut to `count`
    /// rows (count < 0: every row).
    QString firstPacket(int count) const;
    /// The rows after `lastKey` (the key columns of the last row read), cut to
    /// `count` rows; the key values are added to `bindings` as :KESA_V0 ….
    QString nextPacket(const QVariantList &lastKey, int count, QVariantMap &bindings) const;

private:
    struct Key
    {
        QString expression;
        bool descending = false;
        bool nullsLast = false; // where NULLs sort, whether written or the engine's default
        QString nullsClause;    // " NULLS FIRST"/" NULLS LAST" as written, else empty
    };

    QString m_inner; // the statement with its key columns, without ORDER BY
    QString m_order; // the statement's ORDER BY items as written (or placed for SQLite)
    QList<Key> m_keys;
};
