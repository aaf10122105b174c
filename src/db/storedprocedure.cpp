#include "storedprocedure.h"

#include "dbengine.h"
#include "dberror.h"
#include "procedureregistry.h"
#include "sqlstatement.h"

#include <QRegularExpression>
#include <QSqlQuery>

StoredProcedure::StoredProcedure(const QSqlDatabase &db, const QString &name)
    : m_db(db)
{
    setProcedureName(name);
}

void StoredProcedure::setDatabase(const QSqlDatabase &db)
{
    m_db = db;
    m_loaded = false;
}

void StoredProcedure::setProcedureName(const QString &name)
{
    m_name = name.trimmed().toUpper();
    m_parameters.clear();
    m_values.clear();
    m_loaded = false;
}

void StoredProcedure::loadParameters()
{
    if (m_loaded)
        return;
    static const QRegularExpression validName(QStringLiteral("^[A-Z_][A-Z0-9_$#]*$"));
    if (!validName.match(m_name).hasMatch())
        throw DbError(QStringLiteral("프로시저 이름이 올바르지 않습니다: %1").arg(m_name));
    QStringList parameters;
    if (engineOf(m_db) == DbEngine::PostgreSQL) {
        SqlStatement
                query(m_db,
                      QStringLiteral(
                              "SELECT UPPER(P.PARAMETER_NAME) FROM INFORMATION_SCHEMA.ROUTINES R "
                              "JOIN INFORMATION_SCHEMA.PARAMETERS P ON P.SPECIFIC_SCHEMA = "
                              "R.SPECIFIC_SCHEMA "
                              "AND P.SPECIFIC_NAME = R.SPECIFIC_NAME "
                              "WHERE R.ROUTINE_TYPE = 'PROCEDURE' AND UPPER(R.ROUTINE_NAME) = :P0 "
                              "AND R.ROUTINE_SCHEMA = ANY (CURRENT_SCHEMAS(FALSE)) "
                              "ORDER BY P.ORDINAL_POSITION"));
        query.bind(QStringLiteral("P0"), m_name);
        query.open();
        bool found = false;
        while (query.next()) {
            found = true;
            parameters << query.value(0).toString();
        }
        if (!found) {
            // A procedure without parameters has no row in PARAMETERS.
            SqlStatement exists(m_db,
                                QStringLiteral("SELECT 1 FROM INFORMATION_SCHEMA.ROUTINES WHERE "
                                               "ROUTINE_TYPE = 'PROCEDURE' "
                                               "AND UPPER(ROUTINE_NAME) = :P0 AND ROUTINE_SCHEMA = "
                                               "ANY (CURRENT_SCHEMAS(FALSE))"));
            exists.bind(QStringLiteral("P0"), m_name);
            exists.open();
            if (!exists.next())
                throw DbError(QStringLiteral("프로시저가 없습니다: %1").arg(m_name));
        }
    } else {
        const ProcedureRegistry::Procedure *procedure = ProcedureRegistry::find(m_name);
        if (!procedure)
            throw DbError(QStringLiteral("프로시저가 없습니다: %1").arg(m_name));
        parameters = procedure->parameters;
    }
    m_parameters = parameters;
    m_values.resize(m_parameters.size());
    m_loaded = true;
}

QStringList StoredProcedure::parameterNames()
{
    loadParameters();
    return m_parameters;
}

bool StoredProcedure::hasParameter(const QString &name)
{
    loadParameters();
    return m_parameters.contains(name.toUpper());
}

void StoredProcedure::setParam(const QString &name, const QVariant &value)
{
    loadParameters();
    const int index = int(m_parameters.indexOf(name.toUpper()));
    if (index < 0)
        throw DbError(QStringLiteral("%1 프로시저에 %2 변수가 없습니다.").arg(m_name, name));
    m_values[index] = value;
}

void StoredProcedure::setParam(int index, const QVariant &value)
{
    loadParameters();
    if (index < 0 || index >= m_parameters.size())
        throw DbError(QStringLiteral("%1 프로시저의 변수 번호가 올바르지 않습니다: %2")
                              .arg(m_name)
                              .arg(index + 1));
    m_values[index] = value;
}

void StoredProcedure::setParams(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        setParam(i, values.at(i));
}

void StoredProcedure::clearParams()
{
    for (QVariant &value : m_values)
        value = QVariant();
}

void StoredProcedure::execProc()
{
    loadParameters();
    // Procedures take their arguments as text.
    QVariantList arguments;
    for (const QVariant &value : std::as_const(m_values))
        arguments << (value.isNull() ? QVariant() : QVariant(value.toString()));

    if (engineOf(m_db) == DbEngine::PostgreSQL) {
        QStringList places;
        for (int i = 0; i < arguments.size(); ++i)
            places << QStringLiteral(":P%1").arg(i);
        SqlStatement call(m_db,
                          QStringLiteral("CALL %1(%2)")
                                  .arg(m_name, places.join(QLatin1String(", "))));
        for (int i = 0; i < arguments.size(); ++i)
            call.bind(QStringLiteral("P%1").arg(i), arguments.at(i));
        call.exec();
        return;
    }

    const ProcedureRegistry::Procedure *procedure = ProcedureRegistry::find(m_name);
    if (!procedure)
        throw DbError(QStringLiteral("프로시저가 없습니다: %1").arg(m_name));
    SqlStatement savepoint(m_db, QStringLiteral("SAVEPOINT KESA_PROCEDURE"));
    savepoint.exec();
    try {
        procedure->body(m_db, arguments);
    } catch (...) {
        QSqlQuery undo(m_db);
        undo.exec(QStringLiteral("ROLLBACK TO KESA_PROCEDURE"));
        undo.exec(QStringLiteral("RELEASE KESA_PROCEDURE"));
        throw;
    }
    SqlStatement release(m_db, QStringLiteral("RELEASE KESA_PROCEDURE"));
    release.exec();
}
