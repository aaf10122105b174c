#pragma once

#include <functional>
#include <QString>

class EmployeePicker;
class QLabel;
class QLineEdit;
class QToolButton;
class SearchArea;
class TfrmZZI000;

/// The user screens' search by employee, a base of each: the employee picker
/// in the screen's search area and the screen's members for its parts
/// (`lblEmp`, `cedEmpNo`, `sbtEmpNo`, `wlbEmpName`).
class EmployeeSearch
{
public:
    virtual ~EmployeeSearch() = default;

    EmployeePicker *picker = nullptr;
    QLabel *lblEmp = nullptr;
    QLineEdit *cedEmpNo = nullptr;
    QToolButton *sbtEmpNo = nullptr;
    QLabel *wlbEmpName = nullptr;

protected:
    /// Creates the picker with its caption in the screen's search area (left
    /// of the search button); Enter in the number field and a chosen user run
    /// `search`.
    void createEmployeePicker(TfrmZZI000 *screen,
                              SearchArea &area,
                              const QString &caption,
                              std::function<void()> search);
    /// The check of a search that needs one employee: the number field is left
    /// (its name filled); a number without a name shows "<caption>을(를)
    /// 정확히 입력하십시오." in an error box, puts the focus back and stops.
    void CheckEmployeeNamed();

private:
    SearchArea *m_area = nullptr;
};
