#include "authority.h"

#include "sqlstatement.h"

namespace Authority {

QList<MenuRow> menus(const QSqlDatabase &db, const QString &projectId)
{
    SqlStatement query(db,
                       QStringLiteral("SELECT MENU_ID, MENU_NAME FROM ZA040MS "
                                      "WHERE PROJECT_ID = :P0 AND DISPLAY_SEQ > 0 "
                                      "ORDER BY DISPLAY_SEQ"));
    query.bind(QStringLiteral("P0"), projectId);
    query.open();
    QList<MenuRow> rows;
    while (query.next())
        rows.append({query.value(0).toString(), query.value(1).toString()});
    return rows;
}

QList<ProgramRow> menuPrograms(const QSqlDatabase &db,
                               const QString &projectId,
                               const QString &menuId,
                               const QString &empNo)
{
    // Level programs UNION ALL additions EXCEPT removals: one compound, left to right.
    SqlStatement query(
            db,
            QStringLiteral(
                    "SELECT MENU_ID, PROGRAM_ID, PROGRAM_NAME FROM ZA050MS "
                    "WHERE PROJECT_ID = :P0 AND MENU_ID = :P1 AND PROGRAM_ID IN ("
                    "SELECT PROGRAM_ID FROM ZA140MS WHERE PROJECT_ID = :P0 AND PROJECT_LEVEL = "
                    "(SELECT PROJECT_LEVEL FROM ZA130MS WHERE EMP_NO = :P2 AND PROJECT_ID = :P0) "
                    "UNION ALL "
                    "SELECT PROGRAM_ID FROM ZA150MS WHERE EMP_NO = :P2 AND PROJECT_ID = :P0 AND "
                    "ADD_YN = 'Y' "
                    "EXCEPT "
                    "SELECT PROGRAM_ID FROM ZA150MS WHERE EMP_NO = :P2 AND PROJECT_ID = :P0 AND "
                    "ADD_YN = 'N') "
                    "AND DISPLAY_SEQ > 0 "
                    "ORDER BY DISPLAY_SEQ"));
    query.bind(QStringLiteral("P0"), projectId);
    query.bind(QStringLiteral("P1"), menuId);
    query.bind(QStringLiteral("P2"), empNo);
    query.open();
    QList<ProgramRow> rows;
    while (query.next())
        rows.append(
                {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
    return rows;
}

QString accountDisplayName(const QSqlDatabase &db, const QString &dbUser)
{
    SqlStatement
            query(db,
                  QStringLiteral(
                          "SELECT DETAIL_NAME FROM ZX010MS WHERE HEAD = 'Z9999' AND DETAIL = :P0"));
    query.bind(QStringLiteral("P0"), dbUser.toUpper());
    query.open();
    return query.next() ? query.value(0).toString() : QString();
}

} // namespace Authority
