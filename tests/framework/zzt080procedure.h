#pragma once

#include <QSqlDatabase>

/// The table ZT080MS of the generic grid editor's tests, its call log ZT080LG
/// and the procedure PR_TEST080 (PL/pgSQL on PostgreSQL, a registered routine
/// on SQLite). The procedure logs every call, refuses the name 'FAIL', and
/// inserts ('2'), updates ('1') or deletes ('3') by CODE.
namespace Zzt080 {

void install(const QSqlDatabase &db);
void addRow(const QSqlDatabase &db,
            const QString &code,
            const QString &name,
            int qty,
            const QString &note = QString());

} // namespace Zzt080
