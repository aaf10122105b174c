#pragma once

#include <QSqlDatabase>

/// The suite's tables and routines, created and upgraded by the program itself.
/// Every version is a list of statements for both engines; the version reached
/// is kept in the table KESA_SCHEMA.
namespace Schema {

/// The version this program creates.
int currentVersion();
/// The version of the database's schema; 0 when it has none yet.
int installedVersion(const QSqlDatabase &db);
/// Creates or upgrades the tables and (re)creates the routines; idempotent.
/// Runs in one transaction: on failure nothing stays. Throws DbError.
void install(const QSqlDatabase &db);
/// As install(), stopping at a version (tests make databases of older versions).
void install(const QSqlDatabase &db, int upToVersion);

} // namespace Schema
