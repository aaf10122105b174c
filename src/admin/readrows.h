#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

/// Every row of a statement as texts (null as empty), parameters :P0, :P1 …
/// in order. Throws DbError.
QList<QStringList> ReadRows(const QSqlDatabase &db,
                            const QString &sql,
                            const QVariantList &params = {});
