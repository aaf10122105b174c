#include "ZAI140.h"

#include "projectchooser.h"
#include "readrows.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/sqlstatement.h"
#include "framework/displaygrid.h"
#include "framework/enterkeys.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

// The programs of one level (IN) or not of it (NOT IN); programs without a menu never show.
QString programsSql(const char *in)
{
    return QStringLiteral("SELECT PROGRAM_ID, '[' || PROGRAM_ID || '] ' || COALESCE(PROGRAM_NAME, "
                          "'') FROM ZA050MS WHERE PROJECT_ID = :P0 AND MENU_ID LIKE '%' AND "
                          "PROGRAM_ID %1 (SELECT PROGRAM_ID FROM ZA140MS WHERE PROJECT_ID = :P0 "
                          "AND PROJECT_LEVEL = :P1) "
                          "ORDER BY PROJECT_ID, MENU_ID, DISPLAY_SEQ NULLS LAST, PROGRAM_ID")
            .arg(QLatin1String(in));
}

QList<ListEntry> entries(const QList<QStringList> &rows)
{
    QList<ListEntry> list;
    for (const QStringList &row : rows)
        list.append({row.at(0), row.at(1), 1});
    return list;
}

// The distinct program IDs of a side: a program filed under two menus counts once.
QStringList programsOf(const QList<ListEntry> &side)
{
    QStringList ids;
    for (const ListEntry &entry : side)
        ids << entry.id;
    ids.removeDuplicates();
    return ids;
}

QStringList missingFrom(const QStringList &ids, const QStringList &other)
{
    QStringList missing;
    for (const QString &id : ids) {
        if (!other.contains(id) && !missing.contains(id))
            missing << id;
    }
    return missing;
}

} // namespace

TfrmZAI140::TfrmZAI140(QWidget *parent)
    : TfrmZZI010(parent)
{
    setObjectName(QStringLiteral("frmZAI140"));
    setWindowTitle(QStringLiteral("프로젝트 레벨별 프로그램 등록"));

    createProjectChooser(*this, *this, [this] { bbtSearchClick(); });

    addToMain(createSideListMover(
                      this,
                      panMain,
                      QStringLiteral("레벨"),
                      [this] { rgrGridRowChange(); },
                      QStringLiteral("전체 프로그램 목록"),
                      QStringLiteral("현재 레벨로 사용 가능한 프로그램 목록")),
              1);
}

void TfrmZAI140::FormCreate()
{
    TfrmZZI010::FormCreate();
    projects->Fill(database());
}

void TfrmZAI140::CheckSearchCriteria()
{
    projects->CheckSelected();
}

void TfrmZAI140::LoadData()
{
    clearLevels();
    const QString project = projects->projectId();
    const QList<QStringList> levelRows
            = ReadRows(database(),
                       QStringLiteral("SELECT PROJECT_LEVEL, PROJECT_LEVEL_NAME FROM ZA030MS "
                                      "WHERE PROJECT_ID = :P0 ORDER BY PROJECT_LEVEL"),
                       {project});
    if (levelRows.isEmpty()) {
        ShowErrorMessage(QStringLiteral("'") + project
                         + QStringLiteral("'에 등록된 레벨이 없습니다.\r"
                                          "[프로젝트 레벨 등록]에서 레벨을 먼저 등록하십시오."));
        Abort();
    }
    for (const QStringList &level : levelRows) {
        Level lists;
        lists.sides.left = entries(
                ReadRows(database(), programsSql("NOT IN"), {project, level.at(0)}));
        lists.sides.right = entries(ReadRows(database(), programsSql("IN"), {project, level.at(0)}));
        for (const ListEntry &entry : std::as_const(lists.sides.right))
            lists.loaded << entry.id;
        m_levels << level.at(0);
        m_lists << lists;
    }
    {
        const QSignalBlocker quiet(rgrGrid->selectionModel());
        rgrGrid->setRowCount(int(levelRows.size()));
        for (int i = 0; i < levelRows.size(); ++i)
            rgrGrid->setCell(i, 0, levelRows.at(i).at(1));
    }
    rgrGrid->setCurrentIndex(rgrGrid->model()->index(0, 0));
    rgrGridRowChange();
    rgrGrid->setFocus();
}

void TfrmZAI140::rgrGridRowChange()
{
    const int row = rgrGrid->currentRow();
    mover->setSides(row >= 0 && row < m_lists.size() ? &m_lists[row].sides : nullptr);
}

bool TfrmZAI140::HasPendingChanges()
{
    for (const Level &level : std::as_const(m_lists)) {
        const QStringList granted = programsOf(level.sides.right);
        if (!missingFrom(granted, level.loaded).isEmpty()
            || !missingFrom(level.loaded, granted).isEmpty())
            return true;
    }
    return false;
}

void TfrmZAI140::WriteChanges()
{
    const QString project = projects->projectId();
    SqlStatement remove(database(),
                        QStringLiteral("DELETE FROM ZA140MS WHERE PROJECT_ID = :P0 AND "
                                       "PROJECT_LEVEL = :P1 AND PROGRAM_ID = :P2"));
    SqlStatement grant(database(),
                       QStringLiteral("INSERT INTO ZA140MS (PROJECT_ID, PROJECT_LEVEL, PROGRAM_ID, "
                                      "U_EMP_NO, U_DATE, U_IP) VALUES (:P0, :P1, :P2, :P3, "
                                      "SYSDATE, :P4)"));
    for (int i = 0; i < m_lists.size(); ++i) {
        const QStringList granted = programsOf(m_lists.at(i).sides.right);
        const QStringList &loaded = m_lists.at(i).loaded;
        for (const QString &id : missingFrom(loaded, granted)) {
            remove.bind(QStringLiteral("P0"), project);
            remove.bind(QStringLiteral("P1"), m_levels.at(i));
            remove.bind(QStringLiteral("P2"), id);
            remove.exec();
        }
        for (const QString &id : missingFrom(granted, loaded)) {
            grant.bind(QStringLiteral("P0"), project);
            grant.bind(QStringLiteral("P1"), m_levels.at(i));
            grant.bind(QStringLiteral("P2"), id);
            grant.bind(QStringLiteral("P3"), login().empNo);
            grant.bind(QStringLiteral("P4"), login().localIP());
            grant.exec();
        }
    }
}

void TfrmZAI140::AfterSave()
{
    SearchAgainAfterSave();
}

void TfrmZAI140::DiscardChanges()
{
    TfrmZZI010::DiscardChanges();
    clearLevels();
}

void TfrmZAI140::clearLevels()
{
    mover->setSides(nullptr);
    {
        const QSignalBlocker quiet(rgrGrid->selectionModel());
        rgrGrid->setRowCount(0);
    }
    m_levels.clear();
    m_lists.clear();
}
