#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class ClientDataSet;

/// The search of the inquiry screens and the lookup dialogs: closes the result
/// data set, gives it the statement and the parameters :P0, :P1 … in order,
/// and opens it on the connection. True when the result has rows.
bool OpenResult(ClientDataSet *result,
                const QSqlDatabase &db,
                const QString &sql,
                const QVariantList &params);
