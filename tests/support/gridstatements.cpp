#include "gridstatements.h"

#include "db/dbengine.h"
#include "db/sqlstatement.h"

namespace GridStatements {

namespace {

const char *const HistorySql
        = "SELECT A.EMP_NO, B.EMP_NAME, SUBSTR(A.BACKUP_DATE, 1, 4) || '-' || "
          "SUBSTR(A.BACKUP_DATE, 5, 2) || '-' || SUBSTR(A.BACKUP_DATE, 7, 2) BACKUP_DATE, "
          "FN_ZA010MS_02(A.PASSWORD_CODE, 'RoTa') PASSWORD_CODE, A.OLD_EMP_NO, "
          "TO_CHAR(A.OLD_DATE, 'YYYY-MM-DD HH24:MI:SS') OLD_DATE, A.OLD_IP, A.NEW_EMP_NO, "
          "TO_CHAR(A.NEW_DATE, 'YYYY-MM-DD HH24:MI:SS') NEW_DATE, A.NEW_IP "
          "FROM ZA010MH A, ZA010MS B "
          "WHERE %1 "
          "AND B.EMP_NO = A.EMP_NO "
          "ORDER BY A.EMP_NO, A.BACKUP_DATE DESC, A.BACKUP_SEQ DESC";

const char *const CodeColumns = "HEAD, DETAIL, DETAIL_NAME, ITEM1, ITEM2, ITEM3, ITEM4, ITEM5, "
                                "ITEM6, ITEM7, ITEM8, ITEM9, ITEM10, ITEM11, ITEM12, ITEM13, "
                                "ITEM14, ITEM15, U_EMP_NO, U_DATE, U_IP";

void run(const QSqlDatabase &db, const QString &sql)
{
    SqlStatement statement(db, sql);
    statement.exec();
}

} // namespace

QList<Statement> all()
{
    const QString history = QString::fromUtf8(HistorySql);
    const QString codes = QString::fromLatin1(CodeColumns);
    return {
            {QStringLiteral("ZAH010"),
             QStringLiteral("SELECT EMP_NO, EMP_NAME, CASE WHEN USE_YN = 'N' THEN '사용중지' END "
                            "USE_YN FROM ZA010MS WHERE EMP_NAME LIKE COALESCE(CAST(:P0 AS "
                            "VARCHAR(30)), '') || '%' ORDER BY EMP_NO"),
             {QString()}},
            {QStringLiteral("ZAH030"),
             QStringLiteral("SELECT PROJECT_LEVEL, PROJECT_LEVEL_NAME FROM ZA030MS "
                            "WHERE PROJECT_ID = :P0 ORDER BY PROJECT_ID, PROJECT_LEVEL"),
             {QStringLiteral("000000")}},
            {QStringLiteral("ZAI020"),
             QStringLiteral("SELECT PROJECT_ID, PROJECT_NAME, TEAM_ROLE, U_EMP_NO, U_DATE, U_IP "
                            "FROM ZA020MS ORDER BY PROJECT_ID"),
             {}},
            {QStringLiteral("ZAI030"),
             QStringLiteral("SELECT PROJECT_ID, PROJECT_LEVEL, PROJECT_LEVEL_NAME, U_EMP_NO, "
                            "U_DATE, U_IP FROM ZA030MS WHERE PROJECT_ID = :P0 "
                            "ORDER BY PROJECT_ID, PROJECT_LEVEL"),
             {QStringLiteral("000000")}},
            {QStringLiteral("ZAI040"),
             QStringLiteral("SELECT PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ, U_EMP_NO, "
                            "U_DATE, U_IP FROM ZA040MS WHERE PROJECT_ID = :P0 "
                            "ORDER BY DISPLAY_SEQ NULLS LAST, MENU_ID"),
             {QStringLiteral("000000")}},
            {QStringLiteral("ZAI050"),
             QStringLiteral("SELECT PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, DISPLAY_SEQ, "
                            "U_EMP_NO, U_DATE, U_IP FROM ZA050MS WHERE PROJECT_ID = :P0 "
                            "AND (CAST(:P1 AS VARCHAR(2)) IS NULL OR MENU_ID = :P1) "
                            "ORDER BY PROJECT_ID, MENU_ID, DISPLAY_SEQ NULLS LAST, PROGRAM_ID"),
             {QStringLiteral("000000"), QString()}},
            {QStringLiteral("ZAI130"),
             QStringLiteral("SELECT EMP_NO, PROJECT_ID, PROJECT_LEVEL, U_EMP_NO, U_DATE, U_IP "
                            "FROM ZA130MS WHERE EMP_NO = :P0 ORDER BY PROJECT_ID"),
             {QStringLiteral("E0000001")}},
            {QStringLiteral("ZAS010"),
             history.arg(
                     QStringLiteral("A.EMP_NO LIKE COALESCE(CAST(:P0 AS VARCHAR(10)), '') || '%'")),
             {QString()}},
            {QStringLiteral("ZAS010/own"),
             history.arg(QStringLiteral("A.EMP_NO = :P0")),
             {QStringLiteral("E0000001")}},
            {QStringLiteral("ZAS011"),
             QStringLiteral("SELECT EMP_NO, EMP_NAME, FN_ZA010MS_02(PASSWORD_CODE, 'RoTa') "
                            "PASSWORD_CODE, U_EMP_NO, TO_CHAR(U_DATE, 'YYYY-MM-DD AMHH:MI:SS') "
                            "U_DATE FROM ZA010MS WHERE (CAST(:P0 AS VARCHAR(10)) IS NULL OR "
                            "EMP_NO = :P0) ORDER BY EMP_NO"),
             {QString()}},
            {QStringLiteral("ZAS120"),
             QStringLiteral("SELECT B.EMP_NO, B.EMP_NAME, L.LVL FROM ZA010MS B, (SELECT '레벨' AS "
                            "LVL FROM DUAL UNION ALL SELECT '사용자' FROM DUAL) L WHERE B.USE_YN = "
                            "'Y' AND CASE L.LVL WHEN '레벨' THEN EXISTS (SELECT 1 FROM ZA130MS A, "
                            "ZA140MS D WHERE A.EMP_NO = B.EMP_NO AND A.PROJECT_ID = :P0 AND "
                            "D.PROJECT_ID = A.PROJECT_ID AND D.PROJECT_LEVEL = A.PROJECT_LEVEL "
                            "AND D.PROGRAM_ID = :P1) ELSE EXISTS (SELECT 1 FROM ZA150MS C WHERE "
                            "C.EMP_NO = B.EMP_NO AND C.PROJECT_ID = :P0 AND C.PROGRAM_ID = :P1 "
                            "AND C.ADD_YN = 'Y' AND B.USE_YN = 'Y') END ORDER BY B.EMP_NO, L.LVL"),
             {QStringLiteral("000000"), QStringLiteral("000000")},
             true},
            {QStringLiteral("ZXH010/heads"),
             QStringLiteral("SELECT HEAD, DETAIL_NAME FROM ZX010MS WHERE DETAIL_NAME LIKE '%' || "
                            ":P0 || '%' AND DETAIL = ' ' ORDER BY HEAD"),
             {QStringLiteral("코드")}},
            {QStringLiteral("ZXH010/details"),
             QStringLiteral("SELECT DETAIL HEAD, DETAIL_NAME FROM ZX010MS WHERE HEAD = :P0 AND "
                            "DETAIL <> ' ' ORDER BY DETAIL"),
             {QStringLiteral("B0000")}},
            {QStringLiteral("ZXI010"),
             QStringLiteral("SELECT %1 FROM ZX010MS WHERE HEAD = :P0 AND DETAIL <> ' ' "
                            "ORDER BY DETAIL")
                     .arg(codes),
             {QStringLiteral("B0000")}},
            {QStringLiteral("ZXI011"),
             QStringLiteral("SELECT %1 FROM ZX010MS WHERE HEAD LIKE :P0 || '%' AND DETAIL = ' ' "
                            "ORDER BY HEAD")
                     .arg(codes),
             {QStringLiteral("A")}},
            {QStringLiteral("ZXI020"),
             QStringLiteral(
                     "SELECT SUBSTR(CALN_DATE, 1, 4) || '-' || SUBSTR(CALN_DATE, 5, 2) || "
                     "'-' || SUBSTR(CALN_DATE, 7, 2) AS CALN_DATE, CASE YOIL_CODE WHEN 1 "
                     "THEN '일' WHEN 2 THEN '월' WHEN 3 THEN '화' WHEN 4 THEN '수' WHEN 5 "
                     "THEN '목' WHEN 6 THEN '금' WHEN 7 THEN '토' ELSE '' END || '요일' AS "
                     "YOIL, HOLIDAY_NAME, SKI_MENU_ITEM2 FROM ZX020MS WHERE ZX020MS.CALN_DATE "
                     "BETWEEN :P0 || '0101' AND :P0 || '1231' ORDER BY ZX020MS.CALN_DATE"),
             {QStringLiteral("0000")}},
    };
}

void fill(const QSqlDatabase &db, int rows)
{
    rows = std::max(rows, 1000);
    const bool pg = engineOf(db) == DbEngine::PostgreSQL;
    // I from 0 to rows - 1; pad(E, W) is E as W digits with leading zeros.
    run(db, QStringLiteral("CREATE TABLE KESA_GRID_N (I INTEGER NOT NULL PRIMARY KEY)"));
    if (pg)
        run(db,
            QStringLiteral("INSERT INTO KESA_GRID_N SELECT GENERATE_SERIES(0, %1)").arg(rows - 1));
    else
        run(db,
            QStringLiteral("INSERT INTO KESA_GRID_N WITH RECURSIVE C(I) AS (SELECT 0 UNION ALL "
                           "SELECT I + 1 FROM C WHERE I < %1) SELECT I FROM C")
                    .arg(rows - 1));
    const auto pad = [pg](const QString &expression, int width) {
        return pg ? QStringLiteral("LPAD(CAST(%1 AS TEXT), %2, '0')").arg(expression).arg(width)
                  : QStringLiteral("SUBSTR('%1' || (%2), -%3)")
                               .arg(QString(width, QLatin1Char('0')), expression)
                               .arg(width);
    };
    const QString when = QStringLiteral("'2026-12-01 10:00:00'");
    const auto insert = [&](const QString &table, const QString &columns, const QString &values) {
        run(db,
            QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM KESA_GRID_N")
                    .arg(table, columns, values));
    };

    // Users E0000000 …, each with ten password history rows for a tenth of them.
    insert(QStringLiteral("ZA010MS"),
           QStringLiteral("EMP_NO, EMP_NAME, USE_YN, ADMIN_YN, U_EMP_NO, U_DATE, U_IP"),
           QStringLiteral("'E' || %1, '사용자 ' || I, 'Y', 'N', 'A0001', %2, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I"), 7), when));
    insert(QStringLiteral("ZA010MH"),
           QStringLiteral("EMP_NO, BACKUP_DATE, BACKUP_SEQ, OLD_EMP_NO, OLD_DATE, OLD_IP, "
                          "NEW_EMP_NO, NEW_DATE, NEW_IP"),
           QStringLiteral("'E' || %1, '2026' || %2 || '01', I, 'A0001', %3, '10.0.0.1', "
                          "'A0001', %3, '10.0.0.2'")
                   .arg(pad(QStringLiteral("I / 10"), 7),
                        pad(QStringLiteral("I % 10 + 1"), 2),
                        when));
    insert(QStringLiteral("ZA020MS"),
           QStringLiteral("PROJECT_ID, PROJECT_NAME, TEAM_ROLE, U_EMP_NO, U_DATE, U_IP"),
           QStringLiteral("%1, '프로젝트 ' || I, '1', 'A0001', %2, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I"), 6), when));
    // A thousand levels a project, a hundred menus a project.
    insert(QStringLiteral("ZA030MS"),
           QStringLiteral("PROJECT_ID, PROJECT_LEVEL, PROJECT_LEVEL_NAME, U_EMP_NO, U_DATE, U_IP"),
           QStringLiteral("%1, %2, '레벨 ' || I, 'A0001', %3, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I / 1000"), 6),
                        pad(QStringLiteral("I % 1000"), 3),
                        when));
    insert(QStringLiteral("ZA040MS"),
           QStringLiteral("PROJECT_ID, MENU_ID, MENU_NAME, DISPLAY_SEQ, U_EMP_NO, U_DATE, U_IP"),
           QStringLiteral("%1, %2, '메뉴 ' || I, CASE WHEN I % 10 = 0 THEN NULL ELSE I % 37 END, "
                          "'A0001', %3, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I / 100"), 6), pad(QStringLiteral("I % 100"), 2), when));
    // Every program in one project, under a hundred menus.
    insert(QStringLiteral("ZA050MS"),
           QStringLiteral("PROJECT_ID, MENU_ID, PROGRAM_ID, PROGRAM_NAME, DISPLAY_SEQ, U_EMP_NO, "
                          "U_DATE, U_IP"),
           QStringLiteral("'000000', %1, %2, '프로그램 ' || I, CASE WHEN I % 10 = 0 THEN NULL "
                          "ELSE I % 37 END, 'A0001', %3, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I % 100"), 2), pad(QStringLiteral("I / 100"), 6), when));
    // Every user has a level in project 000000, and every level there grants
    // program 000000; every seventh user has it added, every fourteenth removed.
    insert(QStringLiteral("ZA130MS"),
           QStringLiteral("EMP_NO, PROJECT_ID, PROJECT_LEVEL, U_EMP_NO, U_DATE, U_IP"),
           QStringLiteral("'E' || %1, '000000', %2, 'A0001', %3, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I"), 7), pad(QStringLiteral("I % 100"), 3), when));
    insert(QStringLiteral("ZA140MS"),
           QStringLiteral("PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID, U_EMP_NO, U_DATE, U_IP"),
           QStringLiteral("'000000', %1, %2, 'A0001', %3, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I % 1000"), 3),
                        pad(QStringLiteral("I / 1000"), 6),
                        when));
    insert(QStringLiteral("ZA150MS"),
           QStringLiteral("EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN, U_EMP_NO, U_DATE, U_IP"),
           QStringLiteral("'E' || %1, '000000', %2, CASE WHEN I % 14 = 0 THEN 'N' ELSE 'Y' END, "
                          "'A0001', %3, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I / 7"), 7), pad(QStringLiteral("I % 7"), 6), when));
    // Codes: half the rows are the codes of head B0000; the other half are the
    // heads A0000 … with their codes (a hundred heads, or one for every
    // thousand rows).
    const int heads = std::max(100, rows / 1000);
    const int perHead = (rows - rows / 2) / heads;
    const int half = rows / 2;
    const QString j = QStringLiteral("(I - %1)").arg(half);
    const QString head = j + QStringLiteral(" / ") + QString::number(perHead);
    const QString code = j + QStringLiteral(" % ") + QString::number(perHead);
    run(db,
        QStringLiteral("INSERT INTO ZX010MS (HEAD, DETAIL, DETAIL_NAME, ITEM1, U_EMP_NO, U_DATE, "
                       "U_IP) SELECT CASE WHEN I < %1 THEN 'B0000' ELSE 'A' || %2 END, "
                       "CASE WHEN I = 0 THEN ' ' WHEN I < %1 THEN %3 WHEN %4 = 0 THEN ' ' "
                       "ELSE %5 END, '코드 ' || I, 'Y', 'A0001', %6, '10.0.0.1' "
                       "FROM KESA_GRID_N WHERE I < %1 OR %7 < %8")
                .arg(QString::number(half),
                     pad(head, 4),
                     pad(QStringLiteral("I"), 9),
                     code,
                     pad(code, 4),
                     when,
                     j,
                     QString::number(heads * perHead)));
    insert(QStringLiteral("ZX020MS"),
           QStringLiteral("CALN_DATE, YOIL_CODE, HOLIDAY_NAME, SKI_MENU_ITEM2, U_EMP_NO, U_DATE, "
                          "U_IP"),
           QStringLiteral("%1, I % 7 + 1, NULL, '1', 'A0001', %2, '10.0.0.1'")
                   .arg(pad(QStringLiteral("I"), 8), when));
    run(db, QStringLiteral("DROP TABLE KESA_GRID_N"));
    // On PostgreSQL also vacuumed: the autovacuum of the new rows would
    // otherwise run while they are read, and the tables' visibility maps
    // would depend on whether it had come yet.
    run(db, pg ? QStringLiteral("VACUUM ANALYZE") : QStringLiteral("ANALYZE"));
}

} // namespace GridStatements
