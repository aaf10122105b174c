#include "deletereferences.h"

#include "dberror.h"
#include "sqlstatement.h"

namespace {

qint64 count(const QSqlDatabase &db, const QString &sql, const QVariantList &params)
{
    SqlStatement query(db, sql);
    for (int i = 0; i < params.size(); ++i)
        query.bind(QStringLiteral("P%1").arg(i), params.at(i));
    query.open();
    return query.next() ? query.value(0).toLongLong() : 0;
}

// Appends "subject" + the count's line when the count is not 0 (the subject,
// typed by a user, is no template).
void add(QStringList &lines, qint64 n, const QString &subject, const QString &text)
{
    if (n > 0)
        lines << subject + text.arg(n);
}

} // namespace

namespace DeleteReferences {

QStringList ofProject(const QSqlDatabase &db, const QString &projectId)
{
    const QString p = QStringLiteral("프로젝트 ") + projectId;
    QStringList lines;
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA040MS WHERE PROJECT_ID = :P0"),
              {projectId}),
        p,
        QStringLiteral("에 등록된 메인 메뉴가 %1개 있습니다."));
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA050MS WHERE PROJECT_ID = :P0"),
              {projectId}),
        p,
        QStringLiteral("에 등록된 프로그램이 %1개 있습니다."));
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA030MS WHERE PROJECT_ID = :P0"),
              {projectId}),
        p,
        QStringLiteral("에 등록된 레벨이 %1개 있습니다."));
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA130MS WHERE PROJECT_ID = :P0"),
              {projectId}),
        p,
        QStringLiteral("의 레벨을 가진 사용자가 %1명 있습니다."));
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA140MS WHERE PROJECT_ID = :P0"),
              {projectId}),
        p,
        QStringLiteral("의 레벨별 프로그램이 %1건 있습니다."));
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA150MS WHERE PROJECT_ID = :P0"),
              {projectId}),
        p,
        QStringLiteral("의 사용자별 추가/제외가 %1건 있습니다."));
    return lines;
}

QStringList ofLevel(const QSqlDatabase &db, const QString &projectId, const QString &level)
{
    const QString l = QStringLiteral("레벨 ") + level;
    QStringList lines;
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA130MS WHERE PROJECT_ID = :P0 AND "
                             "PROJECT_LEVEL = :P1"),
              {projectId, level}),
        l,
        QStringLiteral("을(를) 사용하는 사용자가 %1명 있습니다."));
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA140MS WHERE PROJECT_ID = :P0 AND "
                             "PROJECT_LEVEL = :P1"),
              {projectId, level}),
        l,
        QStringLiteral("에 부여된 프로그램이 %1개 있습니다."));
    return lines;
}

QStringList ofMenu(const QSqlDatabase &db, const QString &projectId, const QString &menuId)
{
    QStringList lines;
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA050MS WHERE PROJECT_ID = :P0 AND "
                             "MENU_ID = :P1"),
              {projectId, menuId}),
        QStringLiteral("메인 메뉴 ") + menuId,
        QStringLiteral("에 등록된 프로그램이 %1개 있습니다."));
    return lines;
}

QStringList ofProgram(const QSqlDatabase &db,
                      const QString &projectId,
                      const QString &menuId,
                      const QString &programId)
{
    if (count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA050MS WHERE PROJECT_ID = :P0 AND "
                             "PROGRAM_ID = :P1 AND MENU_ID <> :P2"),
              {projectId, programId, menuId})
        > 0)
        return {};
    const QString p = QStringLiteral("프로그램 ") + programId;
    QStringList lines;
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA140MS WHERE PROJECT_ID = :P0 AND "
                             "PROGRAM_ID = :P1"),
              {projectId, programId}),
        p,
        QStringLiteral("을(를) 부여한 레벨이 %1개 있습니다."));
    add(lines,
        count(db,
              QStringLiteral("SELECT COUNT(*) FROM ZA150MS WHERE PROJECT_ID = :P0 AND "
                             "PROGRAM_ID = :P1"),
              {projectId, programId}),
        p,
        QStringLiteral("의 사용자별 추가/제외가 %1건 있습니다."));
    return lines;
}

void refuseIfAny(const QStringList &references)
{
    if (!references.isEmpty())
        throw DbError(references.join(QLatin1Char('\r')));
}

} // namespace DeleteReferences
