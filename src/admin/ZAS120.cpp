#include "ZAS120.h"

#include "projectchooser.h"
#include "readrows.h"

#include "common/commonroutines.h"
#include "db/clientdataset.h"
#include "framework/datagrid.h"
#include "framework/displaygrid.h"
#include "framework/useraction.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>

namespace {

// Removals are not taken away: the inquiry shows where a right comes from.
// Each user in use is paired with the two kinds of right and kept where he has
// that kind, each kind tested by keys of that user, so the rows come in the
// order of the users' key and the first packet is read from it, however many
// users and grants there are. (USE_YN inside the second test keeps PostgreSQL
// from listing every added user first.)
const char *const UsersSql
        = "SELECT B.EMP_NO, B.EMP_NAME, L.LVL FROM ZA010MS B, (SELECT '레벨' AS LVL FROM "
          "DUAL UNION ALL SELECT '사용자' FROM DUAL) L WHERE B.USE_YN = 'Y' AND CASE L.LVL "
          "WHEN '레벨' THEN EXISTS (SELECT 1 FROM ZA130MS A, ZA140MS D WHERE A.EMP_NO = "
          "B.EMP_NO AND A.PROJECT_ID = :P0 AND D.PROJECT_ID = A.PROJECT_ID AND "
          "D.PROJECT_LEVEL = A.PROJECT_LEVEL AND D.PROGRAM_ID = :P1) ELSE EXISTS (SELECT "
          "1 FROM ZA150MS C WHERE C.EMP_NO = B.EMP_NO AND C.PROJECT_ID = :P0 AND "
          "C.PROGRAM_ID = :P1 AND C.ADD_YN = 'Y' AND B.USE_YN = 'Y') END ORDER BY "
          "B.EMP_NO, L.LVL";

GridColumn column(const QString &title, int width, bool centred = false, bool blankRepeats = false)
{
    GridColumn c;
    c.title = title;
    c.width = width;
    if (centred)
        c.alignment = Qt::AlignCenter;
    c.blankRepeats = blankRepeats;
    return c;
}

} // namespace

TfrmZAS120::TfrmZAS120(QWidget *parent)
    : TfrmZZS020(parent)
{
    setObjectName(QStringLiteral("frmZAS120"));
    setWindowTitle(QStringLiteral("프로그램별 사용자 권한 조회"));

    projects = new ProjectChooser(panSearch);
    lblProject = projects->lblProject;
    cbbProject = projects->cbbProject;
    addSearchWidget(lblProject);
    addSearchWidget(cbbProject);
    setSearchFields({cbbProject});
    connect(projects, &ProjectChooser::projectChanged, this, [this] { clearPrograms(); });

    rgrGridProgram = new DisplayGrid(panMain);
    rgrGridProgram->setObjectName(QStringLiteral("rgrGridProgram"));
    rgrGridProgram->defineColumn(column(QStringLiteral("메인메뉴"), 245, false, true));
    rgrGridProgram->defineColumn(column(QStringLiteral("프로그램 ID"), 108, true));
    rgrGridProgram->defineColumn(column(QStringLiteral("프로그램 명"), 256));
    rgrGridProgram->setFixedWidth(245 + 108 + 256 + 24);
    connect(rgrGridProgram->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        RunUserAction([this] { rgrGridProgramClick(); });
    });
    // The program grid stands left of the user grid, in the grid's row.
    for (int i = 0; i < mainLayout()->count(); ++i) {
        auto *row = qobject_cast<QBoxLayout *>(mainLayout()->itemAt(i)->layout());
        if (row && row->indexOf(rgrGrid) >= 0) {
            row->insertWidget(0, rgrGridProgram);
            row->insertSpacing(1, 6);
            break;
        }
    }

    rgrGrid->addColumn(QStringLiteral("EMP_NO"), QStringLiteral("사용자 번호"), 80, Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("EMP_NAME"), QStringLiteral("사용자 이름"), 173);
    rgrGrid->addColumn(QStringLiteral("LVL"), QStringLiteral("권한"), 85, Qt::AlignCenter);

    for (QPushButton *button : {bbtPrint, bbtPreview, bbtExcel}) {
        button->hide();
        button->setEnabled(false);
    }
}

void TfrmZAS120::FormCreate()
{
    TfrmZZS020::FormCreate();
    projects->Fill(database());
}

void TfrmZAS120::clearPrograms()
{
    {
        const QSignalBlocker quiet(rgrGridProgram->selectionModel());
        rgrGridProgram->setRowCount(0);
    }
    cdsQuery->close();
}

void TfrmZAS120::bbtSearchClick()
{
    projects->CheckSelected(QStringLiteral("프로젝트"));
    TfrmZZS020::bbtSearchClick();
    const QList<QStringList> rows
            = ReadRows(database(),
                       QStringLiteral(
                               "SELECT B.MENU_NAME, A.PROGRAM_ID, A.PROGRAM_NAME FROM ZA050MS A, "
                               "ZA040MS B WHERE A.PROJECT_ID = :P0 AND B.PROJECT_ID = A.PROJECT_ID "
                               "AND B.MENU_ID = A.MENU_ID "
                               "ORDER BY A.MENU_ID, A.PROJECT_ID, A.DISPLAY_SEQ NULLS LAST, "
                               "A.PROGRAM_ID"),
                       {projects->projectId()});
    clearPrograms();
    {
        const QSignalBlocker quiet(rgrGridProgram->selectionModel());
        rgrGridProgram->setRowCount(int(rows.size()));
        for (int i = 0; i < rows.size(); ++i) {
            // The menu as its menu bar entry reads, without the access key.
            rgrGridProgram->setCell(i, 0, CutAccessKey(rows.at(i).at(0)));
            for (int c = 1; c < 3; ++c)
                rgrGridProgram->setCell(i, c, rows.at(i).at(c));
        }
        if (!rows.isEmpty())
            rgrGridProgram->setCurrentIndex(rgrGridProgram->model()->index(0, 0));
    }
    if (!rows.isEmpty())
        rgrGridProgramClick();
    cbbProject->setFocus();
}

void TfrmZAS120::rgrGridProgramClick()
{
    const int row = rgrGridProgram->currentRow();
    if (row < 0 || row >= rgrGridProgram->rowCount())
        return;
    OpenQuery(QString::fromUtf8(UsersSql), {projects->projectId(), rgrGridProgram->cell(row, 1)});
}
