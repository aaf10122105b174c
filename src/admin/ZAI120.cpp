#include "ZAI120.h"

#include "employeepicker.h"
#include "readrows.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/sqlstatement.h"
#include "framework/displaygrid.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The column of ZA120MS each list writes, in list order.
const char *const CodeColumns[] = {"SAUP_CODE", "TEAM_CODE", "UPJANG_CODE"};

} // namespace

TfrmZAI120::TfrmZAI120(QWidget *parent)
    : TfrmZZI010(parent)
{
    setObjectName(QStringLiteral("frmZAI120"));
    setWindowTitle(QStringLiteral("사용자별 소속 권한 등록"));

    createEmployeePicker(this, *this, QStringLiteral("* 사용자"), [this] { bbtSearchClick(); });
    picker->setAdminOnly(false);

    rgrGrid = DisplayGrid::createSideList(QStringLiteral("프로젝트"), panMain, [this] {
        rgrGridRowChange();
    });

    auto *row = new QHBoxLayout;
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(8);
    row->addWidget(rgrGrid);
    buildList(Sites, QStringLiteral("사업장 소속 권한"), panMain, row);
    buildList(Teams, QStringLiteral("영업구분 소속 권한"), panMain, row);
    buildList(Outlets, QStringLiteral("영업장 소속 권한"), panMain, row);
    addToMain(row, 1);
    clbListSaup = m_lists[Sites];
    clbListTeam = m_lists[Teams];
    clbListUpjang = m_lists[Outlets];
    chkListSaup = m_selectAll[Sites];
    chkListTeam = m_selectAll[Teams];
    chkListUpjang = m_selectAll[Outlets];
}

void TfrmZAI120::buildList(int list, const QString &caption, QWidget *parent, QHBoxLayout *row)
{
    static const char *const names[] = {"Saup", "Team", "Upjang"};
    const QString name = QString::fromLatin1(names[list]);
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("lblList") + name);
    auto *box = new QListWidget(parent);
    box->setObjectName(QStringLiteral("clbList") + name);
    auto *all = new QCheckBox(QStringLiteral("전체 선택"), parent);
    all->setObjectName(QStringLiteral("chkList") + name);
    auto *column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(box, 1);
    column->addWidget(all);
    row->addLayout(column, 1);
    m_lists[list] = box;
    m_selectAll[list] = all;

    connect(box, &QListWidget::itemChanged, this, [this, list, box](QListWidgetItem *item) {
        RunUserAction([&] { itemTicked(list, box->row(item), item->checkState() == Qt::Checked); });
    });
    // Clicked, not toggled: unticking the box when the project changes sets no flag.
    connect(all, &QCheckBox::clicked, this, [this, list](bool ticked) {
        RunUserAction([&] { selectAllClicked(list, ticked); });
    });
}

QStringList TfrmZAI120::projectIds() const
{
    QStringList ids;
    for (const Project &project : m_projects)
        ids << project.id;
    return ids;
}

void TfrmZAI120::FormCreate()
{
    TfrmZZI010::FormCreate();
    picker->Start();

    const QList<QStringList> projects
            = ReadRows(database(),
                       QStringLiteral("SELECT PROJECT_ID, PROJECT_NAME, TEAM_ROLE FROM ZA020MS "
                                      "WHERE TEAM_ROLE > '0' ORDER BY PROJECT_ID"));
    {
        const QSignalBlocker quiet(rgrGrid->selectionModel());
        rgrGrid->setRowCount(int(projects.size()));
        for (int i = 0; i < projects.size(); ++i) {
            Project project;
            project.id = projects.at(i).at(0);
            project.role = TextToInt64(projects.at(i).at(2));
            m_projects << project;
            rgrGrid->setCell(i, 0, projects.at(i).at(1));
        }
    }

    const QString codesSql = QStringLiteral(
            "SELECT DETAIL, '[' || DETAIL || '] ' || COALESCE(DETAIL_NAME, '') FROM ZX010MS "
            "WHERE HEAD = :P0 AND DETAIL <> ' ' ORDER BY DETAIL");
    const QList<QStringList> candidates[ListCount]
            = {ReadRows(database(), codesSql, {QStringLiteral("J0002")}),
               ReadRows(database(), codesSql, {QStringLiteral("J0003")}),
               ReadRows(database(),
                        QStringLiteral("SELECT UPJANG_CODE, '[' || UPJANG_CODE || '] ' || "
                                       "COALESCE(UPJANG_NAME, '') FROM JA010MS "
                                       "WHERE USE_YN = 'Y' ORDER BY UPJANG_CODE"))};
    for (int list = 0; list < ListCount; ++list) {
        const QSignalBlocker quiet(m_lists[list]);
        for (const QStringList &candidate : candidates[list]) {
            m_codes[list] << candidate.at(0);
            auto *item = new QListWidgetItem(candidate.at(1), m_lists[list]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    resetFlags();
    rgrGridRowChange();
}

void TfrmZAI120::resetFlags()
{
    for (Project &project : m_projects) {
        for (int list = 0; list < ListCount; ++list) {
            project.current[list] = QList<bool>(m_codes[list].size(), false);
            project.loaded[list] = project.current[list];
        }
    }
}

TfrmZAI120::Project *TfrmZAI120::currentProject()
{
    const int row = rgrGrid->currentRow();
    return row >= 0 && row < m_projects.size() ? &m_projects[row] : nullptr;
}

void TfrmZAI120::CheckSearchCriteria()
{
    CheckEmployeeNamed();
}

void TfrmZAI120::LoadData()
{
    resetFlags();
    const QStringList ids = projectIds();
    for (int list = 0; list < ListCount; ++list) {
        const QString column = QString::fromLatin1(CodeColumns[list]);
        const QList<QStringList> stored = ReadRows(
                database(),
                QStringLiteral("SELECT PROJECT_ID, %1 FROM ZA120MS WHERE EMP_NO = :P0 AND %1 IS "
                               "NOT NULL")
                        .arg(column),
                {cedEmpNo->text()});
        // Codes of projects or candidates not listed are left alone.
        for (const QStringList &row : stored) {
            const int project = int(ids.indexOf(row.at(0)));
            const int code = int(m_codes[list].indexOf(row.at(1)));
            if (project < 0 || code < 0)
                continue;
            m_projects[project].current[list][code] = true;
            m_projects[project].loaded[list][code] = true;
        }
    }
    if (m_projects.isEmpty())
        return;
    if (rgrGrid->currentRow() == 0)
        rgrGridRowChange();
    else
        rgrGrid->setCurrentIndex(rgrGrid->model()->index(0, 0));
    rgrGrid->setFocus();
}

void TfrmZAI120::rgrGridRowChange()
{
    for (int list = 0; list < ListCount; ++list) {
        const QSignalBlocker quiet(m_lists[list]);
        for (int i = 0; i < m_lists[list]->count(); ++i) {
            m_lists[list]->item(i)->setCheckState(Qt::Unchecked);
            m_lists[list]->item(i)->setSelected(false);
        }
        m_selectAll[list]->setChecked(false);
        m_lists[list]->setEnabled(false);
        m_selectAll[list]->setEnabled(false);
    }
    const Project *project = currentProject();
    if (isSearchMode() || !project || project->role < 1 || project->role > ListCount)
        return;
    const int list = int(project->role) - 1;
    m_lists[list]->setEnabled(true);
    m_selectAll[list]->setEnabled(true);
    const QSignalBlocker quiet(m_lists[list]);
    for (int i = 0; i < m_lists[list]->count(); ++i)
        m_lists[list]->item(i)->setCheckState(project->current[list].at(i) ? Qt::Checked
                                                                           : Qt::Unchecked);
}

void TfrmZAI120::itemTicked(int list, int item, bool ticked)
{
    if (Project *project = currentProject(); project && item >= 0)
        project->current[list][item] = ticked;
}

void TfrmZAI120::selectAllClicked(int list, bool ticked)
{
    Project *project = currentProject();
    if (!project)
        return;
    const QSignalBlocker quiet(m_lists[list]);
    for (int i = 0; i < m_lists[list]->count(); ++i) {
        m_lists[list]->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        project->current[list][i] = ticked;
    }
}

bool TfrmZAI120::HasPendingChanges()
{
    for (const Project &project : std::as_const(m_projects)) {
        for (int list = 0; list < ListCount; ++list) {
            if (project.current[list] != project.loaded[list])
                return true;
        }
    }
    return false;
}

void TfrmZAI120::WriteChanges()
{
    const QString empNo = cedEmpNo->text();
    SqlStatement clear(database(),
                       QStringLiteral(
                               "DELETE FROM ZA120MS WHERE EMP_NO = :P0 AND PROJECT_ID = :P1"));
    SqlStatement write(database(),
                       QStringLiteral("INSERT INTO ZA120MS (EMP_NO, PROJECT_ID, SEQ, SAUP_CODE, "
                                      "TEAM_CODE, UPJANG_CODE, U_EMP_NO, U_DATE, U_IP) VALUES "
                                      "(:P0, :P1, :P2, :P3, :P4, :P5, :P6, SYSDATE, :P7)"));
    for (const Project &project : std::as_const(m_projects)) {
        if (project.role < 1 || project.role > ListCount)
            continue;
        const int list = int(project.role) - 1;
        if (project.current[list] == project.loaded[list])
            continue;
        clear.bind(QStringLiteral("P0"), empNo);
        clear.bind(QStringLiteral("P1"), project.id);
        clear.exec();
        int seq = 0;
        for (int i = 0; i < m_codes[list].size(); ++i) {
            if (!project.current[list].at(i))
                continue;
            write.bind(QStringLiteral("P0"), empNo);
            write.bind(QStringLiteral("P1"), project.id);
            write.bind(QStringLiteral("P2"), ++seq);
            for (int column = 0; column < ListCount; ++column)
                write.bind(QStringLiteral("P%1").arg(3 + column),
                           column == list ? m_codes[list].at(i) : QString());
            write.bind(QStringLiteral("P6"), login().empNo);
            write.bind(QStringLiteral("P7"), login().localIP());
            write.exec();
        }
    }
}

void TfrmZAI120::AfterSave()
{
    for (Project &project : m_projects) {
        for (int list = 0; list < ListCount; ++list)
            project.loaded[list] = project.current[list];
    }
    TfrmZZI010::AfterSave();
}

void TfrmZAI120::DiscardChanges()
{
    TfrmZZI010::DiscardChanges();
    for (Project &project : m_projects) {
        for (int list = 0; list < ListCount; ++list)
            project.current[list] = project.loaded[list];
    }
    if (m_projects.isEmpty())
        return;
    if (rgrGrid->currentRow() == 0)
        rgrGridRowChange();
    else
        rgrGrid->setCurrentIndex(rgrGrid->model()->index(0, 0));
}
