#include "readrows.h"

#include "db/sqlstatement.h"

QList<QStringList> ReadRows(const QSqlDatabase &db, const QString &sql, const QVariantList &params)
{
    SqlStatement query(db, sql);
    for (int i = 0; i < params.size(); ++i)
        query.bind(QStringLiteral("P%1").arg(i), params.at(i));
    query.open();
    QList<QStringList> rows;
    while (query.next()) {
        QStringList row;
        for (int column = 0; column < query.columnCount(); ++column)
            row << query.value(column).toString();
        rows << row;
    }
    query.close();
    return rows;
}
