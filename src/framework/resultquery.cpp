#include "resultquery.h"

#include "db/clientdataset.h"

bool OpenResult(ClientDataSet *result,
                const QSqlDatabase &db,
                const QString &sql,
                const QVariantList &params)
{
    result->close();
    result->setDatabase(db);
    result->setSql(sql);
    result->clearParams();
    for (int i = 0; i < params.size(); ++i)
        result->setParam(QStringLiteral("P%1").arg(i), params.at(i));
    result->open();
    return !result->isEmpty();
}
