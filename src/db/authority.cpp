#include "authority.h"

#include "sqlstatement.h"

#include <QDateTime>
#include <QHash>

namespace Authority {

namespace {

Stamp stampAt(const SqlStatement &query, int first)
{
    return {query.value(first).toString(),
            query.value(first + 1),
            query.value(first + 2).toString()};
}

} // namespace

QString Stamp::dateText() const
{
    if (date.typeId() == QMetaType::QDateTime)
        return date.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return date.toString();
}

QList<MenuPrograms> Decision::menuBar() const
{
    QHash<QString, qsizetype> position;
    QList<MenuPrograms> bar;
    bar.reserve(menus.size());
    for (const MenuRow &menu : menus) {
        position.insert(menu.menuId, bar.size());
        bar.append({menu, {}});
    }
    for (const ProgramDecision &program : programs) {
        if (!program.onMenuBar())
            continue;
        // On the bar means its menu is shown, so the menu has its place.
        bar[position.value(program.menuId)].programs.append(
                {program.menuId, program.programId, program.programName});
    }
    bar.removeIf([](const MenuPrograms &entry) { return entry.programs.isEmpty(); });
    return bar;
}

QList<std::pair<qsizetype, qsizetype>> pairPrograms(const Decision &first, const Decision &second)
{
    const auto key = [](const ProgramDecision &p) { return std::make_pair(p.menuId, p.programId); };
    QHash<std::pair<QString, QString>, qsizetype> secondAt;
    for (qsizetype i = 0; i < second.programs.size(); ++i)
        secondAt.insert(key(second.programs.at(i)), i);
    QList<std::pair<qsizetype, qsizetype>> pairs;
    for (qsizetype i = 0; i < first.programs.size(); ++i) {
        const auto partner = secondAt.constFind(key(first.programs.at(i)));
        if (partner != secondAt.constEnd())
            pairs.append({i, *partner});
    }
    return pairs;
}

Decision decide(const QSqlDatabase &db, const QString &projectId, const QString &empNo)
{
    Decision d;
    d.projectId = projectId;
    d.empNo = empNo;

    SqlStatement user(db, QStringLiteral("SELECT EMP_NAME, USE_YN FROM ZA010MS WHERE EMP_NO = :P0"));
    user.bind(QStringLiteral("P0"), empNo);
    user.open();
    if (user.next()) {
        d.userExists = true;
        d.userName = user.value(0).toString();
        d.useYn = user.value(1).toString();
    }

    SqlStatement level(db,
                       QStringLiteral("SELECT A.PROJECT_LEVEL, B.PROJECT_LEVEL, "
                                      "B.PROJECT_LEVEL_NAME, A.U_EMP_NO, A.U_DATE, A.U_IP "
                                      "FROM ZA130MS A LEFT JOIN ZA030MS B ON B.PROJECT_ID = "
                                      "A.PROJECT_ID AND B.PROJECT_LEVEL = A.PROJECT_LEVEL "
                                      "WHERE A.EMP_NO = :P0 AND A.PROJECT_ID = :P1"));
    level.bind(QStringLiteral("P0"), empNo);
    level.bind(QStringLiteral("P1"), projectId);
    level.open();
    if (level.next()) {
        d.hasLevelRow = true;
        d.level = level.value(0).toString();
        d.levelKnown = !level.value(1).isNull();
        d.levelName = level.value(2).toString();
        d.levelStamp = stampAt(level, 3);
    }

    // Every menu of the project, so that a program can tell a hidden menu from a missing one.
    SqlStatement menu(db,
                      QStringLiteral("SELECT MENU_ID, MENU_NAME, DISPLAY_SEQ, "
                                     "CASE WHEN DISPLAY_SEQ > 0 THEN 1 ELSE 0 END "
                                     "FROM ZA040MS WHERE PROJECT_ID = :P0 ORDER BY DISPLAY_SEQ"));
    menu.bind(QStringLiteral("P0"), projectId);
    menu.open();
    struct MenuFacts
    {
        QString name;
        QVariant seq;
        bool shown;
    };
    QHash<QString, MenuFacts> menuFacts;
    while (menu.next()) {
        const bool shown = menu.value(3).toInt() == 1;
        const QString id = menu.value(0).toString();
        if (shown)
            d.menus.append({id, menu.value(1).toString()});
        menuFacts.insert(id, {menu.value(1).toString(), menu.value(2), shown});
    }

    // The level is the rule's own sub-query, so a stored null or empty level
    // matches exactly what it matches in the menu query.
    SqlStatement
            program(db,
                    QStringLiteral(
                            "SELECT A.MENU_ID, A.PROGRAM_ID, A.PROGRAM_NAME, A.DISPLAY_SEQ, "
                            "CASE WHEN A.DISPLAY_SEQ > 0 THEN 1 ELSE 0 END, "
                            "L.PROGRAM_ID, L.U_EMP_NO, L.U_DATE, L.U_IP, "
                            "O.ADD_YN, O.U_EMP_NO, O.U_DATE, O.U_IP "
                            "FROM ZA050MS A "
                            "LEFT JOIN ZA140MS L ON L.PROJECT_ID = A.PROJECT_ID AND L.PROGRAM_ID = "
                            "A.PROGRAM_ID AND L.PROJECT_LEVEL = (SELECT PROJECT_LEVEL FROM ZA130MS "
                            "WHERE EMP_NO = :P1 AND PROJECT_ID = :P0) "
                            "LEFT JOIN ZA150MS O ON O.EMP_NO = :P1 AND O.PROJECT_ID = A.PROJECT_ID "
                            "AND O.PROGRAM_ID = A.PROGRAM_ID "
                            "WHERE A.PROJECT_ID = :P0 ORDER BY A.DISPLAY_SEQ"));
    program.bind(QStringLiteral("P0"), projectId);
    program.bind(QStringLiteral("P1"), empNo);
    program.open();
    while (program.next()) {
        ProgramDecision p;
        p.menuId = program.value(0).toString();
        p.programId = program.value(1).toString();
        p.programName = program.value(2).toString();
        p.displaySeq = program.value(3);
        p.programShown = program.value(4).toInt() == 1;
        p.levelGrants = !program.value(5).isNull();
        if (p.levelGrants)
            p.levelGrantStamp = stampAt(program, 6);
        const QVariant add = program.value(9);
        if (!add.isNull()) {
            p.overrideValue = add.toString();
            p.overrideKind = p.overrideValue == QLatin1String("Y")   ? Override::Addition
                             : p.overrideValue == QLatin1String("N") ? Override::Removal
                                                                     : Override::None;
            p.overrideStamp = stampAt(program, 10);
        }
        const auto facts = menuFacts.constFind(p.menuId);
        if (facts != menuFacts.cend()) {
            p.menuState = facts->shown ? MenuState::Shown : MenuState::Hidden;
            p.menuName = facts->name;
            p.menuDisplaySeq = facts->seq;
        }
        d.programs.append(p);
    }
    return d;
}

QList<MenuPrograms> menuBar(const QSqlDatabase &db, const QString &projectId, const QString &empNo)
{
    return decide(db, projectId, empNo).menuBar();
}

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
    QList<ProgramRow> rows;
    for (const ProgramDecision &program : decide(db, projectId, empNo).programs) {
        if (program.menuId == menuId && program.inSet() && program.programShown)
            rows.append({program.menuId, program.programId, program.programName});
    }
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
