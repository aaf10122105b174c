#pragma once

#include "dbengine.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

/// The statement texts a client data set sends: its packets and the rows of an apply.
namespace ClientDataSetSql {

/// A statement with its parameters :P0, :P1 … in order.
struct Statement
{
    QString sql;
    QVariantList values;
};

/// The statement cut to `count` rows after skipping `offset` rows (count < 0: all
/// remaining rows).
QString paged(const QString &sql, DbEngine engine, int offset, int count);
/// The first table named after FROM; empty when there is none.
QString tableOf(const QString &sql);

/// Whether a key column's original is found with "IS NULL" (and so has no parameter).
bool matchesAsNull(const QVariant &original);
/// Whether a key column's original is empty or null text, found as either: the
/// original server made '' and NULL one, and other modules still write ''.
bool matchesAsEmptyText(const QVariant &original);

// The statements of an apply. Two rows whose statements differ only in their
// values (the same columns set, the same originals found with IS NULL) have
// the same text: given the text of the first as `knownText`, the next builds
// only its values.
Statement insertRow(const QString &table,
                    const QStringList &columns,
                    const QVariantList &values,
                    const QString &knownText = QString());
/// Finds the row by the original value of every column in `keyColumns`: "= value",
/// or "IS NULL" where the original was null (null-safe, and the key's index stays usable),
/// "(COL IS NULL OR COL = '')" where it was null or empty text.
Statement updateRow(const QString &table,
                    const QStringList &setColumns,
                    const QVariantList &setValues,
                    const QStringList &keyColumns,
                    const QVariantList &originals,
                    const QString &knownText = QString());
Statement deleteRow(const QString &table,
                    const QStringList &keyColumns,
                    const QVariantList &originals,
                    const QString &knownText = QString());

} // namespace ClientDataSetSql
