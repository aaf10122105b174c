#include "ZAS010.h"

#include "columnbackground.h"
#include "employeepicker.h"

#include "common/silentabort.h"
#include "framework/datagrid.h"
#include "framework/editcolour.h"
#include "framework/messagetexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// Every user's history when the number field is empty; %1 is the test of the number.
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
// The numbers that begin with the field's text.
const char *const PrefixTest = "A.EMP_NO LIKE COALESCE(CAST(:P0 AS VARCHAR(10)), '') || '%'";
// A restricted user's own number, and no other that begins with it.
const char *const OwnNumberTest = "A.EMP_NO = :P0";

} // namespace

TfrmZAS010::TfrmZAS010(QWidget *parent)
    : TfrmZZS020(parent)
{
    setObjectName(QStringLiteral("frmZAS010"));
    setWindowTitle(QStringLiteral("비밀번호 이력 조회"));

    createEmployeePicker(this, *this, QStringLiteral("* 사용자"), [this] { bbtSearchClick(); });

    const Qt::Alignment centre = Qt::AlignCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    // The widths of the dates grow with the font, so that none is cut; the
    // addresses take what the rows found need (at most a full dotted address),
    // and the name and password give up what the ten columns need to fit the
    // smallest window without scrolling sideways.
    const auto fit = [this](int width, const char *sample) {
        return std::max(width,
                        rgrGrid->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 12);
    };
    const int dateWidth = fit(120, "0000-00-00 00:00:00");
    m_ipWidth = fit(85, "000.000.000.000");
    rgrGrid->addColumn(QStringLiteral("EMP_NO"), QStringLiteral("사용자 번호"), 80, centre);
    rgrGrid->addColumn(QStringLiteral("EMP_NAME"), QStringLiteral("사용자 이름"), 96, left);
    rgrGrid->addColumn(QStringLiteral("BACKUP_DATE"), QStringLiteral("이력 일자"), 82, centre);
    const int password = rgrGrid->addColumn(QStringLiteral("PASSWORD_CODE"),
                                            QStringLiteral("비밀번호"),
                                            112,
                                            left);
    rgrGrid->addColumn(QStringLiteral("OLD_EMP_NO"), QStringLiteral("이전 사번"), 70, centre);
    rgrGrid->addColumn(QStringLiteral("OLD_DATE"),
                       QStringLiteral("이전 변경 일자"),
                       dateWidth,
                       centre);
    m_ipColumns[0] = rgrGrid->addColumn(QStringLiteral("OLD_IP"),
                                        QStringLiteral("이전 변경 IP"),
                                        85,
                                        centre);
    rgrGrid->addColumn(QStringLiteral("NEW_EMP_NO"), QStringLiteral("변경자 사번"), 70, centre);
    rgrGrid->addColumn(QStringLiteral("NEW_DATE"), QStringLiteral("변경 일자"), dateWidth, centre);
    m_ipColumns[1] = rgrGrid->addColumn(QStringLiteral("NEW_IP"),
                                        QStringLiteral("변경 IP"),
                                        85,
                                        centre);
    SetColumnBackground(rgrGrid, password, EditColour::focus());

    for (QPushButton *button : {bbtPrint, bbtPreview, bbtExcel}) {
        button->hide();
        button->setEnabled(false);
    }
}

void TfrmZAS010::FormCreate()
{
    TfrmZZS020::FormCreate();
    picker->Start();
}

void TfrmZAS010::bbtSearchClick()
{
    bbtSearch->setFocus();
    picker->FillName();
    if (!cedEmpNo->text().trimmed().isEmpty() && wlbEmpName->text().isEmpty()) {
        ShowStatusMessage(lblEmp->text() + MessageText::enterCorrectly());
        cedEmpNo->setFocus();
        Abort();
    }
    TfrmZZS020::bbtSearchClick();
    // The lock keeps a restricted user to his own rows.
    const char *const test = picker->isAdmin() ? PrefixTest : OwnNumberTest;
    OpenQuery(QString::fromUtf8(HistorySql).arg(QString::fromUtf8(test)), {cedEmpNo->text()});
    for (const int column : m_ipColumns)
        rgrGrid->fitColumnToContents(column, 85, m_ipWidth);
    if (cedEmpNo->isEnabled()) {
        cedEmpNo->setFocus();
        cedEmpNo->selectAll();
    }
}
