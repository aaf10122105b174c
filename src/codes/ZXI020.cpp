#include "ZXI020.h"

#include "yearfield.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "db/clientdataset.h"
#include "db/sqlstatement.h"
#include "db/storedprocedure.h"
#include "framework/datagrid.h"
#include "framework/messagetexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char *const CountSql
        = "SELECT (SELECT COUNT(*) FROM ZX010MS WHERE HEAD = 'Z0012' AND DETAIL <> ' '), "
          "(SELECT COUNT(*) FROM ZX010MS WHERE HEAD = 'Z0013' AND DETAIL LIKE :P0 || '%') "
          "FROM DUAL";

// Ordered by day: the server returns rows in no order of its own. The year is a range on
// the stored day text (YYYYMMDD), not a LIKE prefix: a prefix match cannot use the key's
// index under a non-C collation, and the first packet would wait for a sort of all days.
const char *const ListSql
        = "SELECT SUBSTR(CALN_DATE, 1, 4) || '-' || SUBSTR(CALN_DATE, 5, 2) || '-' || "
          "SUBSTR(CALN_DATE, 7, 2) AS CALN_DATE, "
          "CASE YOIL_CODE WHEN 1 THEN '일' WHEN 2 THEN '월' WHEN 3 THEN '화' WHEN 4 THEN '수' "
          "WHEN 5 THEN '목' WHEN 6 THEN '금' WHEN 7 THEN '토' ELSE '' END || '요일' AS YOIL, "
          "HOLIDAY_NAME, SKI_MENU_ITEM2 "
          "FROM ZX020MS WHERE ZX020MS.CALN_DATE BETWEEN :P0 || '0101' AND :P0 || '1231' "
          "ORDER BY ZX020MS.CALN_DATE";

QString noEveryYearHolidays()
{
    return QStringLiteral("기본 휴일이 등록되어 있지 않습니다.\r"
                          "매년 반복되는 휴일을 [공통코드 등록](코드:Z0012) 또는\r"
                          "[휴일 등록] 프로그램에서 등록하십시오.");
}

QString noHolidaysThisYear()
{
    return QStringLiteral("올해 휴일이 등록되어 있지 않습니다.\r"
                          "올해만 적용되는 휴일(음력 휴일, 특별 휴일 등)을\r"
                          "[휴일 등록] 프로그램에서 등록하십시오.");
}

} // namespace

TfrmZXI020::TfrmZXI020(QWidget *parent)
    : TfrmZZS020(parent)
{
    setObjectName(QStringLiteral("frmZXI020"));
    setWindowTitle(QStringLiteral("공통 월력 등록"));

    createYearField(*this, [this] { bbtSearchClick(); });

    rgrGrid->addColumn(QStringLiteral("CALN_DATE"), QStringLiteral("날짜"), 100, Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("YOIL"), QStringLiteral("요일"), 80, Qt::AlignCenter);
    rgrGrid->addColumn(QStringLiteral("HOLIDAY_NAME"), QStringLiteral("휴일명"), 240);
    // Holidays and Sundays (day type '2') in red on yellow, every other day black on white.
    rgrGrid->setCellStyle([this](int row, int, GridCellStyle &style) {
        const bool holiday = cdsQuery->value(row, QStringLiteral("SKI_MENU_ITEM2")).toString()
                             == QLatin1String("2");
        style.text = holiday ? Qt::red : Qt::black;
        style.background = holiday ? Qt::yellow : Qt::white;
    });

    for (QPushButton *button : {bbtPrint, bbtPreview, bbtExcel}) {
        button->hide();
        button->setEnabled(false);
    }
    bbtDelete = createButton(QStringLiteral("bbtDelete"), MessageText::deleteCaption(), 256);
    insertBarButton(bbtDelete, bbtClose);
    setTabOrder(bbtDelete, bbtClose);
    connectClick(bbtDelete, [this] { bbtDeleteClick(); });
    popHotkeyDelete = addHotkey(QStringLiteral("popHotkeyDelete"), Qt::Key_F9, [this] {
        bbtDeleteClick();
    });
}

void TfrmZXI020::FormCreate()
{
    TfrmZZS020::FormCreate();
    yearField->setDefault();
}

void TfrmZXI020::bbtSearchClick()
{
    // The list shows the year just searched or nothing: a refused search
    // leaves no other year's days under the new year.
    cdsQuery->close();
    m_listedYear.clear();
    const QString year = yearField->checkedYear(this);
    TfrmZZS020::bbtSearchClick();

    SqlStatement &counts = qryQuery();
    counts.close();
    counts.setSql(QString::fromUtf8(CountSql));
    counts.bind(QStringLiteral("P0"), year);
    counts.open();
    const bool found = counts.next();
    const qint64 everyYear = found ? TextToInt64(counts.value(0).toString()) : 0;
    const qint64 thisYear = found ? TextToInt64(counts.value(1).toString()) : 0;
    counts.close();
    if (everyYear == 0) {
        ShowErrorMessage(noEveryYearHolidays());
        return;
    }
    if (thisYear == 0) {
        ShowErrorMessage(noHolidaysThisYear());
        return;
    }
    callCalendarProcedure(year, QStringLiteral("Y"));
    listYear(year);
    cedYear->setFocus();
}

void TfrmZXI020::bbtDeleteClick()
{
    ButtonGuard(bbtDelete);
    const QString year = yearField->checkedYear(this);
    if (!AskYesNo(year
                  + QStringLiteral("년 월력을 정말 삭제하시겠습니까?\r"
                                   "삭제시 골프, 스키 등에서 등록한 모든 정보가 지워집니다.")))
        return;
    callCalendarProcedure(year, QStringLiteral("N"));
    if (!m_listedYear.isEmpty())
        listYear(m_listedYear);
}

void TfrmZXI020::callCalendarProcedure(const QString &year, const QString &createYn)
{
    StoredProcedure procedure(database(), QStringLiteral("PR_ZX020MS_01"));
    procedure.setParams({year, createYn, login().empNo, login().localIP()});
    procedure.execProc();
}

void TfrmZXI020::listYear(const QString &year)
{
    m_listedYear = year;
    OpenQuery(QString::fromUtf8(ListSql), {year});
}
