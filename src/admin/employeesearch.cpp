#include "employeesearch.h"

#include "employeepicker.h"

#include "common/commonroutines.h"
#include "common/silentabort.h"
#include "framework/messagetexts.h"
#include "framework/searcharea.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void EmployeeSearch::createEmployeePicker(TfrmZZI000 *screen,
                                          SearchArea &area,
                                          const QString &caption,
                                          std::function<void()> search)
{
    m_area = &area;
    picker = new EmployeePicker(screen, caption, area.panSearch);
    lblEmp = picker->lblEmp;
    cedEmpNo = picker->cedEmpNo;
    sbtEmpNo = picker->sbtEmpNo;
    wlbEmpName = picker->wlbEmpName;
    for (QWidget *widget : picker->widgets())
        area.addSearchWidget(widget);
    picker->setSearch(std::move(search));
}

void EmployeeSearch::CheckEmployeeNamed()
{
    m_area->bbtSearch->setFocus(); // the number field is left: its name is filled
    picker->FillName();
    if (wlbEmpName->text().trimmed().isEmpty()) {
        ShowErrorMessage(lblEmp->text() + MessageText::enterCorrectly());
        cedEmpNo->setFocus();
        Abort();
    }
}
