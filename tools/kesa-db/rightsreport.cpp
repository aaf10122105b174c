#include "rightsreport.h"

#include "db/authority.h"
#include "db/rightslog.h"
#include "db/sqlstatement.h"

#include <QTextStream>

#include <algorithm>

using namespace Authority;

namespace {

QString stampText(const Stamp &stamp)
{
    return QStringLiteral("%1 %2 %3").arg(stamp.empNo, stamp.dateText(), stamp.ip).simplified();
}

QString seqText(const QVariant &seq)
{
    return seq.isNull() ? QStringLiteral("NULL") : seq.toString();
}

QString userLine(const Decision &d)
{
    if (!d.userExists)
        return QStringLiteral("사용자 %1: 등록되지 않음 (ZA010MS에 없음)").arg(d.empNo);
    const QString use = d.useYn == QLatin1String("Y")
                                ? QStringLiteral("사용")
                                : QStringLiteral("사용중지 (USE_YN '%1'; 메뉴 구성은 USE_YN을 "
                                                 "보지 않음)")
                                          .arg(d.useYn);
    return QStringLiteral("사용자 %1 %2: %3").arg(d.empNo, d.userName, use);
}

QString levelLine(const Decision &d)
{
    if (!d.hasLevelRow)
        return QStringLiteral("레벨: 프로젝트 %1에 레벨 없음 (ZA130MS 행 없음): 레벨 프로그램 없음")
                .arg(d.projectId);
    if (d.level.isNull())
        return QStringLiteral("레벨: 비어 있음 (ZA130MS %1): 레벨 프로그램 없음")
                .arg(stampText(d.levelStamp));
    return QStringLiteral("레벨 %1 %2(ZA130MS %3)")
            .arg(d.level,
                 d.levelKnown ? QStringLiteral("%1 ").arg(d.levelName)
                              : QStringLiteral("(ZA030MS에 없는 레벨) "),
                 stampText(d.levelStamp));
}

// The reasons of one program in the order the rule applies them.
QStringList reasons(const Decision &d, const ProgramDecision &p)
{
    QStringList lines;
    if (!d.hasLevelRow || d.level.isNull())
        lines << QStringLiteral("레벨 없음: 레벨 프로그램 아님");
    else if (p.levelGrants)
        lines << QStringLiteral("레벨 %1이(가) 부여함 (ZA140MS %2)")
                         .arg(d.level, stampText(p.levelGrantStamp));
    else
        lines << QStringLiteral("레벨 %1이(가) 부여하지 않음").arg(d.level);
    switch (p.overrideKind) {
    case Override::Addition:
        lines << QStringLiteral("사용자 추가 (ZA150MS ADD_YN 'Y' %1)%2")
                         .arg(stampText(p.overrideStamp),
                              p.levelGrants ? QStringLiteral(": 레벨과 중복, 효과 없음")
                                            : QString());
        break;
    case Override::Removal:
        lines << QStringLiteral("사용자 제외 (ZA150MS ADD_YN 'N' %1)%2")
                         .arg(stampText(p.overrideStamp),
                              p.levelGrants
                                      ? QString()
                                      : QStringLiteral(": 레벨 프로그램이 아니어서 효과 없음"));
        break;
    case Override::None:
        if (p.overrideValue.isEmpty())
            lines << QStringLiteral("사용자별 추가/제외 없음");
        else
            lines << QStringLiteral("ZA150MS ADD_YN '%1' (%2): 'Y'도 'N'도 아니어서 효과 없음")
                             .arg(p.overrideValue, stampText(p.overrideStamp));
        break;
    }
    lines << QStringLiteral("프로그램 표시 순서 %1%2")
                     .arg(seqText(p.displaySeq),
                          p.programShown ? QString() : QStringLiteral(": 메뉴에 나오지 않음"));
    switch (p.menuState) {
    case MenuState::Shown:
        lines << QStringLiteral("메인메뉴 %1 %2 표시 순서 %3")
                         .arg(p.menuId, p.menuName, seqText(p.menuDisplaySeq));
        break;
    case MenuState::Hidden:
        lines << QStringLiteral("메인메뉴 %1 %2 표시 순서 %3: 메뉴 바에 나오지 않음")
                         .arg(p.menuId, p.menuName, seqText(p.menuDisplaySeq));
        break;
    case MenuState::Missing:
        lines << QStringLiteral("메인메뉴 %1이(가) ZA040MS에 없음").arg(p.menuId);
        break;
    }
    return lines;
}

QString verdict(const ProgramDecision &p)
{
    return p.onMenuBar() ? QStringLiteral("있음") : QStringLiteral("없음");
}

QStringList projectsOf(const QSqlDatabase &db, const QString &projectId)
{
    if (!projectId.isEmpty())
        return {projectId};
    SqlStatement query(db,
                       QStringLiteral(
                               "SELECT DISTINCT PROJECT_ID FROM ZA050MS ORDER BY PROJECT_ID"));
    query.open();
    QStringList projects;
    while (query.next())
        projects << query.value(0).toString();
    return projects;
}

} // namespace

namespace RightsReport {

int explain(const QSqlDatabase &db,
            const QString &projectId,
            const QString &empNo,
            const QString &programId,
            QTextStream &out,
            QTextStream &err)
{
    const Decision d = decide(db, projectId, empNo);
    // Menu by menu as on the bar; programs of hidden and missing menus last.
    QHash<QString, qsizetype> menuAt;
    for (const MenuRow &menu : d.menus)
        menuAt.insert(menu.menuId, menuAt.size());
    QList<ProgramDecision> programs = d.programs;
    std::stable_sort(programs.begin(),
                     programs.end(),
                     [&](const ProgramDecision &a, const ProgramDecision &b) {
                         const auto key = [&](const ProgramDecision &p) {
                             return std::make_pair(menuAt.value(p.menuId, menuAt.size()), p.menuId);
                         };
                         return key(a) < key(b);
                     });
    bool found = false;
    QString body;
    for (const ProgramDecision &p : programs) {
        if (!programId.isEmpty() && p.programId != programId)
            continue;
        found = true;
        body += QStringLiteral("%1\t%2\t%3\t%4\n")
                        .arg(p.menuId, p.programId, verdict(p), p.programName);
        for (const QString &line : reasons(d, p))
            body += QLatin1Char('\t') + line + QLatin1Char('\n');
    }
    if (!programId.isEmpty() && !found) {
        err << "프로그램 " << programId << "은(는) 프로젝트 " << projectId
            << "의 프로그램(ZA050MS)이 아닙니다: 메뉴에 나올 수 없습니다.\n";
        return 1;
    }
    out << userLine(d) << '\n' << levelLine(d) << '\n' << body;
    return 0;
}

int diff(const QSqlDatabase &db,
         const QString &empNo1,
         const QString &empNo2,
         const QString &projectId,
         QTextStream &out)
{
    for (const QString &project : projectsOf(db, projectId)) {
        const Decision first = decide(db, project, empNo1);
        const Decision second = decide(db, project, empNo2);
        for (const auto &[i, j] : pairPrograms(first, second)) {
            const ProgramDecision &a = first.programs.at(i);
            const ProgramDecision &b = second.programs.at(j);
            if (a.onMenuBar() == b.onMenuBar())
                continue;
            out << project << '\t' << a.menuId << '\t' << a.programId << '\t' << empNo1 << ' '
                << verdict(a) << '\t' << empNo2 << ' ' << verdict(b) << '\t' << a.programName
                << '\n';
            for (const QString &line : reasons(first, a))
                out << '\t' << empNo1 << ": " << line << '\n';
            for (const QString &line : reasons(second, b))
                out << '\t' << empNo2 << ": " << line << '\n';
        }
    }
    return 0;
}

int log(const QSqlDatabase &db, const QString &since, const QString &empNo, QTextStream &out)
{
    static const QHash<QString, QString> actions = {{QStringLiteral("I"), QStringLiteral("추가")},
                                                    {QStringLiteral("U"), QStringLiteral("변경")},
                                                    {QStringLiteral("D"), QStringLiteral("삭제")}};
    for (const RightsLog::Entry &e : RightsLog::read(db, since, empNo)) {
        out << e.time << '\t' << e.table << '\t' << actions.value(e.action, e.action) << '\t'
            << (e.oldValue.isEmpty() ? QStringLiteral("-") : e.oldValue) << "\t→\t"
            << (e.newValue.isEmpty() ? QStringLiteral("-") : e.newValue) << '\t'
            << (e.writerEmpNo.isEmpty() ? QStringLiteral("-") : e.writerEmpNo) << '\t'
            << (e.writerIp.isEmpty() ? QStringLiteral("-") : e.writerIp)
            << '\t'
            // Who named the writer: this program or a tool, or nobody (plain
            // SQL; the writer is then only what the row claims).
            << (e.declared ? QStringLiteral("프로그램") : QStringLiteral("SQL"));
        if (!e.dbUser.isEmpty())
            out << '\t' << e.dbUser;
        out << '\n';
    }
    return 0;
}

} // namespace RightsReport
