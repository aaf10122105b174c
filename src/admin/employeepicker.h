#pragma once

#include <functional>
#include <QList>
#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;
class TfrmZZI000;

/// The employee picker of the user screens' search panels: a label, the number
/// field `cedEmpNo`, the lookup button `sbtEmpNo` and the name label
/// `wlbEmpName`. The screen places widgets() in its search area and gives the
/// picker its search.
///
/// - Start(): the login employee's number and name, and the administrator test
///   (`ADMIN_YN` = 'Y'): only an administrator may pick another employee, unless
///   the screen opened the picker to everyone (setAdminOnly(false)).
/// - Typing in the number field clears the name; leaving it fills the name
///   (FillName()). Enter runs the search, F1 the lookup.
/// - The lookup button opens "사용자 Help": a chosen user is put in and
///   searched; cancelling leaves the number field empty with the focus.
///
/// Handlers run inside the screen's user actions and may throw.
class EmployeePicker : public QObject
{
    Q_OBJECT

public:
    EmployeePicker(TfrmZZI000 *screen, const QString &caption, QWidget *parent);

    /// The label, number field, lookup button and name label, in this order.
    QList<QWidget *> widgets() const;
    /// What Enter in the number field and a chosen user run.
    void setSearch(std::function<void()> search) { m_search = std::move(search); }

    /// Puts in the login employee (unless `withLoginEmployee` is false), reads
    /// whether the login employee is an administrator and enables the picker
    /// for one only. Returns that test.
    bool Start(bool withLoginEmployee = true);
    bool isAdmin() const { return m_admin; }
    /// False opens the picker to every employee: Start() then reads no
    /// administrator flag and the picker stays enabled.
    void setAdminOnly(bool adminOnly) { m_adminOnly = adminOnly; }
    /// Enables the number field, lookup button and name label for an
    /// administrator only (after a mode switch enabled the search side).
    void ApplyAuthority();

    QString empNo() const;
    QString empName() const;
    /// Number first (which clears the name), then the name.
    void setEmployee(const QString &empNo, const QString &empName);
    /// What leaving the number field does: a number without a name gets its name.
    void FillName();
    /// The lookup button.
    void sbtEmpNoClick();

    QLabel *lblEmp = nullptr;
    QLineEdit *cedEmpNo = nullptr;
    QToolButton *sbtEmpNo = nullptr;
    QLabel *wlbEmpName = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TfrmZZI000 *m_screen;
    std::function<void()> m_search;
    bool m_admin = false;
    bool m_adminOnly = true;
};
