#include "clientdatasetsql.h"

#include <QRegularExpression>

namespace ClientDataSetSql {

namespace {

void appendParameter(Statement &statement, const QVariant &value)
{
    statement.sql += QLatin1String(":P");
    statement.sql += QString::number(statement.values.size());
    // The statement layer writes each value as itself (a double as its
    // shortest exact text where text is sent), so a NUMERIC column compares
    // equal to the value it was read as.
    statement.values.append(value);
}

bool isNullValue(const QVariant &value)
{
    return value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

void appendWhere(Statement &statement, const QStringList &columns, const QVariantList &originals)
{
    statement.sql += QLatin1String(" WHERE ");
    for (int i = 0; i < columns.size(); ++i) {
        if (i > 0)
            statement.sql += QLatin1String(" AND ");
        statement.sql += columns.at(i);
        if (isNullValue(originals.at(i))) {
            statement.sql += QLatin1String(" IS NULL");
        } else {
            statement.sql += QLatin1String(" = ");
            appendParameter(statement, originals.at(i));
        }
    }
}

Statement started(int length, int parameters)
{
    Statement statement;
    statement.sql.reserve(length);
    statement.values.reserve(parameters);
    return statement;
}

} // namespace

QString paged(const QString &sql, DbEngine engine, int offset, int count)
{
    QString text = sql.trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text = text.chopped(1).trimmed();
    QString limit;
    if (count >= 0)
        limit = QString::number(count);
    else
        limit = engine == DbEngine::PostgreSQL ? QStringLiteral("ALL") : QStringLiteral("-1");
    // On a line of its own: the text may end in a comment.
    return text + QStringLiteral("\nLIMIT %1 OFFSET %2").arg(limit).arg(offset);
}

QString tableOf(const QString &sql)
{
    static const QRegularExpression from(QStringLiteral(R"(\bFROM\s+([A-Za-z_][A-Za-z0-9_$#.]*))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = from.match(sql);
    return match.hasMatch() ? match.captured(1).toUpper() : QString();
}

Statement insertRow(const QString &table, const QStringList &columns, const QVariantList &values)
{
    Statement statement = started(64 + 24 * int(columns.size()), int(values.size()));
    statement.sql += QLatin1String("INSERT INTO ") + table + QLatin1String(" (")
                     + columns.join(QLatin1String(", ")) + QLatin1String(") VALUES (");
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            statement.sql += QLatin1String(", ");
        appendParameter(statement, values.at(i));
    }
    statement.sql += QLatin1Char(')');
    return statement;
}

Statement updateRow(const QString &table,
                    const QStringList &setColumns,
                    const QVariantList &setValues,
                    const QStringList &keyColumns,
                    const QVariantList &originals)
{
    Statement statement = started(64 + 24 * int(setColumns.size() + keyColumns.size()),
                                  int(setColumns.size() + keyColumns.size()));
    statement.sql += QLatin1String("UPDATE ") + table + QLatin1String(" SET ");
    for (int i = 0; i < setColumns.size(); ++i) {
        if (i > 0)
            statement.sql += QLatin1String(", ");
        statement.sql += setColumns.at(i) + QLatin1String(" = ");
        appendParameter(statement, setValues.at(i));
    }
    appendWhere(statement, keyColumns, originals);
    return statement;
}

Statement deleteRow(const QString &table,
                    const QStringList &keyColumns,
                    const QVariantList &originals)
{
    Statement statement = started(64 + 24 * int(keyColumns.size()), int(keyColumns.size()));
    statement.sql += QLatin1String("DELETE FROM ") + table;
    appendWhere(statement, keyColumns, originals);
    return statement;
}

} // namespace ClientDataSetSql
