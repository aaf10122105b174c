#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

/// The statements the screens read in packets, as the screens send them (kept
/// in step with the screens by hand), each with the parameters of its widest
/// search, and a filling of the tables they read. For the benchmark of first
/// packets and the test that an index serves every order.
namespace GridStatements {

struct Statement
{
    QString screen; // the program ID, and which of its statements
    QString sql;
    QVariantList params; // :P0, :P1 …
    // The rows of one value of the first order key (a few at most) are put in
    // order after they are read: PostgreSQL plans an incremental sort on the
    // first key, read from its index.
    bool sortsWithinFirstKey = false;
};

QList<Statement> all();

/// Fills every table the statements read with `rows` rows (at least 1,000),
/// spread so that each statement's parameters select at least a packet of
/// rows, then has the engine gather its statistics. Throws DbError.
void fill(const QSqlDatabase &db, int rows);

} // namespace GridStatements
