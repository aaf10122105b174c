#include "clientdatasetsql.h"

#include <QLocale>
#include <QRegularExpression>

namespace ClientDataSetSql {

namespace {

// A floating-point value travels as its shortest exact text, so that a NUMERIC
// column compares equal to the value it was read as.
QVariant bindable(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return value;
}

QString parameter(Statement &statement, const QVariant &value)
{
    const QString name = QStringLiteral(":P%1").arg(statement.values.size());
    statement.values.append(bindable(value));
    return name;
}

void appendWhere(Statement &statement, const QStringList &columns, const QVariantList &originals)
{
    QStringList terms;
    for (int i = 0; i < columns.size(); ++i) {
        const QVariant &original = originals.at(i);
        if (original.isNull()
            || (original.typeId() == QMetaType::QString && original.toString().isEmpty()))
            terms.append(columns.at(i) + QLatin1String(" IS NULL"));
        else
            terms.append(columns.at(i) + QLatin1String(" = ") + parameter(statement, original));
    }
    statement.sql += QLatin1String(" WHERE ") + terms.join(QLatin1String(" AND "));
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
    Statement statement;
    QStringList places;
    for (const QVariant &value : values)
        places.append(parameter(statement, value));
    statement.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table,
                                 columns.join(QLatin1String(", ")),
                                 places.join(QLatin1String(", ")));
    return statement;
}

Statement updateRow(const QString &table,
                    const QStringList &setColumns,
                    const QVariantList &setValues,
                    const QStringList &keyColumns,
                    const QVariantList &originals)
{
    Statement statement;
    QStringList assignments;
    for (int i = 0; i < setColumns.size(); ++i)
        assignments.append(setColumns.at(i) + QLatin1String(" = ")
                           + parameter(statement, setValues.at(i)));
    statement.sql = QStringLiteral("UPDATE %1 SET %2")
                            .arg(table, assignments.join(QLatin1String(", ")));
    appendWhere(statement, keyColumns, originals);
    return statement;
}

Statement deleteRow(const QString &table,
                    const QStringList &keyColumns,
                    const QVariantList &originals)
{
    Statement statement;
    statement.sql = QStringLiteral("DELETE FROM %1").arg(table);
    appendWhere(statement, keyColumns, originals);
    return statement;
}

} // namespace ClientDataSetSql
