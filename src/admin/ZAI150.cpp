#include "ZAI150.h"

#include "employeepicker.h"
#include "readrows.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/sqlstatement.h"
#include "framework/displaygrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor Removed(0xFF, 0x00, 0x00);
const QColor Added(0x00, 0x00, 0xFF);

// The level of the user (:P1) in the project (:P0).
const char *const UserLevel = "(SELECT PROJECT_LEVEL FROM ZA130MS WHERE EMP_NO = :P1 AND "
                              "PROJECT_ID = :P0)";

// The displayed programs of the project joined to a set B of (PROGRAM_ID, LVL).
QString listSql(const QString &b)
{
    return QStringLiteral("SELECT A.MENU_ID || A.PROGRAM_ID, '[' || A.PROGRAM_ID || '] ' || "
                          "COALESCE(A.PROGRAM_NAME, ''), B.LVL, A.PROGRAM_ID "
                          "FROM ZA050MS A JOIN (%1) B "
                          "ON A.PROGRAM_ID = B.PROGRAM_ID "
                          "WHERE A.PROJECT_ID = :P0 AND A.DISPLAY_SEQ > 0 "
                          "ORDER BY A.MENU_ID, A.DISPLAY_SEQ, A.PROGRAM_ID, B.LVL")
            .arg(b);
}

// Not granted (1), and the level programs removed for the user (0).
QString leftSql()
{
    return listSql(
            QStringLiteral("SELECT PROGRAM_ID, 1 AS LVL FROM ZA050MS WHERE PROJECT_ID = :P0 "
                           "EXCEPT SELECT PROGRAM_ID, 1 FROM ZA140MS WHERE PROJECT_ID = :P0 "
                           "AND PROJECT_LEVEL = %1 "
                           "EXCEPT SELECT PROGRAM_ID, 1 FROM ZA150MS WHERE EMP_NO = :P1 AND "
                           "PROJECT_ID = :P0 AND ADD_YN = 'Y' "
                           "UNION ALL SELECT PROGRAM_ID, 0 FROM ZA150MS WHERE EMP_NO = :P1 AND "
                           "PROJECT_ID = :P0 AND ADD_YN = 'N'")
                    .arg(QLatin1String(UserLevel)));
}

// Granted by the level (1) and added for the user (2), less the removals.
QString rightSql()
{
    return listSql(
            QStringLiteral("SELECT PROGRAM_ID, LVL FROM (SELECT PROGRAM_ID, 1 AS LVL FROM ZA140MS "
                           "WHERE PROJECT_ID = :P0 AND PROJECT_LEVEL = %1 "
                           "UNION ALL SELECT PROGRAM_ID, 2 FROM ZA150MS WHERE EMP_NO = :P1 AND "
                           "PROJECT_ID = :P0 AND ADD_YN = 'Y' "
                           "EXCEPT SELECT PROGRAM_ID, 1 FROM ZA150MS WHERE EMP_NO = :P1 AND "
                           "PROJECT_ID = :P0 AND ADD_YN = 'N') S")
                    .arg(QLatin1String(UserLevel)));
}

// The user's level programs, displayed or not.
QString levelSetSql()
{
    return QStringLiteral("SELECT MENU_ID || PROGRAM_ID, PROGRAM_ID FROM ZA050MS "
                          "WHERE PROJECT_ID = :P0 AND "
                          "MENU_ID LIKE '%' AND PROGRAM_ID IN (SELECT PROGRAM_ID FROM ZA140MS "
                          "WHERE PROJECT_ID = :P0 AND PROJECT_LEVEL = %1) ORDER BY MENU_ID, "
                          "PROGRAM_ID")
            .arg(QLatin1String(UserLevel));
}

QList<ListEntry> entries(const QList<QStringList> &rows)
{
    QList<ListEntry> list;
    for (const QStringList &row : rows)
        list.append({row.at(0), row.at(1), row.at(2).toInt()});
    return list;
}

// The distinct programs of keys, in order. The program ID is read as its own
// column: a menu ID of one character (other modules write them) would shift it
// within the key.
QStringList programsOf(const QStringList &keys, const QHash<QString, QString> &programOf)
{
    QStringList programs;
    for (const QString &key : keys)
        programs << programOf.value(key);
    programs.removeDuplicates();
    return programs;
}

// The rows of a side, the program of each key noted.
QList<ListEntry> readSide(const QList<QStringList> &rows, QHash<QString, QString> &programOf)
{
    for (const QStringList &row : rows)
        programOf.insert(row.at(0), row.at(3));
    return entries(rows);
}

QStringList keysOf(const QList<ListEntry> &side)
{
    QStringList keys;
    for (const ListEntry &entry : side)
        keys << entry.id;
    return keys;
}

} // namespace

TfrmZAI150::TfrmZAI150(QWidget *parent)
    : TfrmZZI010(parent)
{
    setObjectName(QStringLiteral("frmZAI150"));
    setWindowTitle(QStringLiteral("사용자별 프로그램 등록"));

    createEmployeePicker(this, *this, QStringLiteral("* 사용자"), [this] { bbtSearchClick(); });
    picker->setAdminOnly(false);

    QHBoxLayout *row = createSideListMover(
            this,
            panMain,
            QStringLiteral("프로젝트"),
            [this] { rgrGridRowChange(); },
            QStringLiteral("전체 프로그램 목록"),
            QStringLiteral("현재 사용자가 사용 가능한 프로그램 목록"));
    mover->setMarkStep(1);
    mover->setMarkColours({{0, Removed}, {2, Added}});
    // Entries of one program (filed under two menus) move together.
    mover->setGroupOf([this](const QString &key) {
        const int row = rgrGrid->currentRow();
        return row >= 0 && row < m_projects.size() ? m_projects.at(row).programOf.value(key) : key;
    });
    mover->leftFoot()->addWidget(
            legend(QStringLiteral("lblLegendSrc1"),
                   QStringLiteral("'사용자'에게 사용 권한이 부여되지 않은 프로그램"),
                   Qt::black));
    mover->leftFoot()->addWidget(
            legend(QStringLiteral("lblLegendSrc0"),
                   QStringLiteral("레벨에는 권한이 있느나 '사용자'에게 권한 취소된 프로그램"),
                   Removed));
    mover->rightFoot()->addWidget(
            legend(QStringLiteral("lblLegendDst1"),
                   QStringLiteral("'사용자'가 속한 레벨에 사용 권한이 있는 프로그램"),
                   Qt::black));
    mover->rightFoot()->addWidget(
            legend(QStringLiteral("lblLegendDst2"),
                   QStringLiteral("'사용자'가 속한 레벨에 없는 프로그램 중 권한 추가된 프로그램"),
                   Added));

    addToMain(row, 1);

    lblComment = addBarComment(
            QStringLiteral("프로젝트 실행 시 속도가 늦어지므로 가급적 [프로젝트 레벨별 "
                           "프로그램 등록]에서 사용자가 속한 레벨벨로 프로그램을 "
                           "등록하시고,\n이 프로그램에서 각 사용자별로 프로그램을 "
                           "등록하거나 취소하는 것은 꼭 필요한 경우에 한해서만 해 "
                           "주십시오."));
}

QLabel *TfrmZAI150::legend(const QString &objectName, const QString &caption, const QColor &colour)
{
    auto *label = new QLabel(QStringLiteral("■ ") + caption, mover);
    label->setObjectName(objectName);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QStringList TfrmZAI150::projectIds() const
{
    QStringList ids;
    for (const Project &project : m_projects)
        ids << project.id;
    return ids;
}

void TfrmZAI150::FormCreate()
{
    TfrmZZI010::FormCreate();
    picker->Start();
    const QList<QStringList> rows = ReadRows(database(),
                                             QStringLiteral("SELECT PROJECT_ID, PROJECT_NAME "
                                                            "FROM ZA020MS ORDER BY PROJECT_ID"));
    const QSignalBlocker quiet(rgrGrid->selectionModel());
    rgrGrid->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        m_projects.append({rows.at(i).at(0), {}, {}, {}, {}, {}});
        rgrGrid->setCell(i, 0, rows.at(i).at(1));
    }
}

void TfrmZAI150::FormFirstShow()
{
    ShowErrorMessage(QStringLiteral("이 프로그램은 가급적 실행하지 말고\r"
                                    "[프로젝트 레벨별 프로그램 등록]에서 권한을 등록하십시오."));
}

void TfrmZAI150::CheckSearchCriteria()
{
    CheckEmployeeNamed();
}

void TfrmZAI150::LoadData()
{
    const QString empNo = cedEmpNo->text();
    for (Project &project : m_projects) {
        project.programOf.clear();
        project.sides.left = readSide(ReadRows(database(), leftSql(), {project.id, empNo}),
                                      project.programOf);
        project.sides.right = readSide(ReadRows(database(), rightSql(), {project.id, empNo}),
                                       project.programOf);
        project.loadedRight = keysOf(project.sides.right);
        project.shown = programsOf(keysOf(project.sides.left) + project.loadedRight,
                                   project.programOf);
        project.levelSet.clear();
        for (const QStringList &row : ReadRows(database(), levelSetSql(), {project.id, empNo})) {
            project.levelSet << row.at(0);
            project.programOf.insert(row.at(0), row.at(1));
        }
    }
    if (m_projects.isEmpty())
        return;
    rgrGrid->setCurrentIndex(rgrGrid->model()->index(0, 0));
    rgrGridRowChange();
    rgrGrid->setFocus();
}

void TfrmZAI150::rgrGridRowChange()
{
    ShowStatusMessage(QString());
    const int row = rgrGrid->currentRow();
    mover->setSides(row >= 0 && row < m_projects.size() ? &m_projects[row].sides : nullptr);
}

bool TfrmZAI150::differs(const Project &project)
{
    QStringList current = keysOf(project.sides.right);
    QStringList loaded = project.loadedRight;
    current.sort();
    loaded.sort();
    return current != loaded;
}

bool TfrmZAI150::HasPendingChanges()
{
    return std::any_of(m_projects.cbegin(), m_projects.cend(), differs);
}

void TfrmZAI150::CheckSaveData()
{
    if (HasPendingChanges()
        && !AskYesNo(QStringLiteral(
                "변경사항이 현재 사용자에게만 적용되는 사항인지 다시 확인하십시오.\r"
                "사용자가 속한 레벨의 다른 사용자에게도 공통적으로 적용되는 사항이면\r"
                "[프로젝트 레벨별 프로그램 등록]에서 등록하십시오.\r\r"
                "변경사항을 정말 저장하시겠습니까?")))
        Abort();
}

void TfrmZAI150::WriteChanges()
{
    const QString empNo = cedEmpNo->text();
    SqlStatement clear(database(),
                       QStringLiteral("DELETE FROM ZA150MS WHERE EMP_NO = :P0 AND PROJECT_ID = :P1 "
                                      "AND PROGRAM_ID = :P2"));
    SqlStatement write(database(),
                       QStringLiteral(
                               "INSERT INTO ZA150MS (EMP_NO, PROJECT_ID, PROGRAM_ID, ADD_YN, "
                               "U_EMP_NO, U_DATE, U_IP) VALUES (:P0, :P1, :P2, :P3, :P4, "
                               "SYSDATE, :P5)"));
    for (const Project &project : std::as_const(m_projects)) {
        if (!differs(project))
            continue;
        QSet<QString> stored;
        for (const QStringList &row :
             ReadRows(database(),
                      QStringLiteral("SELECT PROGRAM_ID FROM ZA150MS WHERE EMP_NO = :P0 "
                                     "AND PROJECT_ID = :P1"),
                      {empNo, project.id}))
            stored.insert(row.at(0));
        // Programs, not menu entries: a program is granted when any of its
        // entries is on the right, and it gets one row at most.
        const QStringList granted = programsOf(keysOf(project.sides.right), project.programOf);
        const QStringList level = programsOf(project.levelSet, project.programOf);
        for (const QString &program : project.shown) {
            QString addYn;
            if (granted.contains(program) && !level.contains(program))
                addYn = QStringLiteral("Y");
            else if (!granted.contains(program) && level.contains(program))
                addYn = QStringLiteral("N");
            if (stored.contains(program)) {
                clear.bind(QStringLiteral("P0"), empNo);
                clear.bind(QStringLiteral("P1"), project.id);
                clear.bind(QStringLiteral("P2"), program);
                clear.exec();
            }
            if (addYn.isEmpty())
                continue;
            write.bind(QStringLiteral("P0"), empNo);
            write.bind(QStringLiteral("P1"), project.id);
            write.bind(QStringLiteral("P2"), program);
            write.bind(QStringLiteral("P3"), addYn);
            write.bind(QStringLiteral("P4"), login().empNo);
            write.bind(QStringLiteral("P5"), login().localIP());
            write.exec();
        }
    }
}

void TfrmZAI150::AfterSave()
{
    SearchAgainAfterSave();
}

void TfrmZAI150::DiscardChanges()
{
    TfrmZZI010::DiscardChanges();
    for (Project &project : m_projects)
        project = {project.id, {}, {}, {}, {}, {}};
    mover->refresh();
}
