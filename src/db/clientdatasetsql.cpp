#include "clientdatasetsql.h"

#include "sqlvalue.h"

#include <QRegularExpression>

namespace ClientDataSetSql {

namespace {

// Builds a statement, or only its values where its text is known already.
class Builder
{
public:
    Builder(const QString &knownText, int length, int parameters)
        : m_withText(knownText.isNull())
    {
        if (m_withText)
            m_statement.sql.reserve(length);
        else
            m_statement.sql = knownText;
        m_statement.values.reserve(parameters);
    }

    Builder &operator<<(const QString &text)
    {
        if (m_withText)
            m_statement.sql += text;
        return *this;
    }
    Builder &operator<<(QLatin1StringView text)
    {
        if (m_withText)
            m_statement.sql += text;
        return *this;
    }

    void parameter(const QVariant &value)
    {
        if (m_withText) {
            m_statement.sql += QLatin1String(":P");
            m_statement.sql += QString::number(m_statement.values.size());
        }
        // The statement layer writes each value as itself (a double as its
        // shortest exact text where text is sent), so a NUMERIC column
        // compares equal to the value it was read as.
        m_statement.values.append(value);
    }

    void where(const QStringList &columns, const QVariantList &originals)
    {
        *this << QLatin1String(" WHERE ");
        for (int i = 0; i < columns.size(); ++i) {
            if (i > 0)
                *this << QLatin1String(" AND ");
            if (matchesAsEmptyText(originals.at(i))) {
                *this << QLatin1String("(") << columns.at(i) << QLatin1String(" IS NULL OR ")
                      << columns.at(i) << QLatin1String(" = '')");
                continue;
            }
            *this << columns.at(i);
            if (matchesAsNull(originals.at(i))) {
                *this << QLatin1String(" IS NULL");
            } else {
                *this << QLatin1String(" = ");
                parameter(originals.at(i));
            }
        }
    }

    Statement take() { return std::move(m_statement); }

private:
    bool m_withText;
    Statement m_statement;
};

} // namespace

bool matchesAsNull(const QVariant &original)
{
    if (const QString *text = SqlValue::textIn(original))
        return text->isEmpty();
    return original.isNull();
}

bool matchesAsEmptyText(const QVariant &original)
{
    const QString *text = SqlValue::textIn(original);
    return text && text->isEmpty();
}

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

Statement insertRow(const QString &table,
                    const QStringList &columns,
                    const QVariantList &values,
                    const QString &knownText)
{
    Builder statement(knownText, 64 + 24 * int(columns.size()), int(values.size()));
    statement << QLatin1String("INSERT INTO ") << table << QLatin1String(" (")
              << columns.join(QLatin1String(", ")) << QLatin1String(") VALUES (");
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            statement << QLatin1String(", ");
        statement.parameter(values.at(i));
    }
    statement << QLatin1String(")");
    return statement.take();
}

Statement updateRow(const QString &table,
                    const QStringList &setColumns,
                    const QVariantList &setValues,
                    const QStringList &keyColumns,
                    const QVariantList &originals,
                    const QString &knownText)
{
    Builder statement(knownText,
                      64 + 24 * int(setColumns.size() + keyColumns.size()),
                      int(setColumns.size() + keyColumns.size()));
    statement << QLatin1String("UPDATE ") << table << QLatin1String(" SET ");
    for (int i = 0; i < setColumns.size(); ++i) {
        if (i > 0)
            statement << QLatin1String(", ");
        statement << setColumns.at(i) << QLatin1String(" = ");
        statement.parameter(setValues.at(i));
    }
    statement.where(keyColumns, originals);
    return statement.take();
}

Statement deleteRow(const QString &table,
                    const QStringList &keyColumns,
                    const QVariantList &originals,
                    const QString &knownText)
{
    Builder statement(knownText, 64 + 24 * int(keyColumns.size()), int(keyColumns.size()));
    statement << QLatin1String("DELETE FROM ") << table;
    statement.where(keyColumns, originals);
    return statement.take();
}

} // namespace ClientDataSetSql
