#pragma once

#include "db/hardening.h"

#include <functional>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSqlDatabase;

/// The login box of a hardened database: the employee the launcher named
/// (shown, read only) gives his password before the main window opens, and
/// the server proves him (Hardening::verify()). Three tries; the server locks
/// an employee out after repeated failures.
class LoginBox : public QDialog
{
    Q_OBJECT

public:
    /// How the box ended.
    enum class Outcome { Verified, Refused, Locked, Cancelled, Failed };
    /// Asks the server about a password; throws DbError when it cannot answer.
    using Verifier = std::function<Hardening::Verdict(const QString &password)>;

    static constexpr int Tries = 3;

    LoginBox(const QString &empNo,
             const QString &empName,
             Verifier verify,
             QWidget *parent = nullptr);

    /// Shows the box for the connection's employee; on any outcome but a proven
    /// employee shows why the program ends and returns false.
    static bool signIn(const QSqlDatabase &db, const QString &empNo, const QString &empName);
    /// The box that ends the program after an outcome other than Verified.
    static QString endText(Outcome outcome, const QString &failure);

    Outcome outcome() const { return m_outcome; }
    /// The server's error of a Failed outcome.
    QString failure() const { return m_failure; }
    /// Tries left.
    int triesLeft() const { return Tries - m_tries; }

    QLabel *lblGuide = nullptr;
    QLabel *lblEmpNo = nullptr;
    QLineEdit *edtEmpNo = nullptr;
    QLabel *lblEmpName = nullptr;
    QLabel *lblPassword = nullptr;
    QLineEdit *edtPassword = nullptr;
    QLabel *lblMessage = nullptr;
    QPushButton *btnOk = nullptr;
    QPushButton *btnCancel = nullptr;

    void btnOkClick();

private:
    void finish(Outcome outcome);
    void showMessage(const QString &text);

    Verifier m_verify;
    Outcome m_outcome = Outcome::Cancelled;
    QString m_failure;
    int m_tries = 0;
};
