#pragma once

#include <QString>

/// An owner role and a shared role of the test cluster, made for one test
/// and dropped after it: declare it before the TestDatabase that uses them,
/// so that the database goes first. `prefix` keeps the suites' roles apart.
struct PgTestRoles
{
    explicit PgTestRoles(const QString &prefix);
    ~PgTestRoles();
    PgTestRoles(const PgTestRoles &) = delete;
    PgTestRoles &operator=(const PgTestRoles &) = delete;

    QString owner;
    QString app;
};
