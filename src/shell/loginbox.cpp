#include "loginbox.h"

#include "common/messageservice.h"
#include "db/dberror.h"
#include "framework/displaylabel.h"
#include "framework/editcolour.h"
#include "framework/entryfields.h"
#include "framework/waitcursor.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A button of the box with the style's icon of its kind, as the message boxes show.
QPushButton *button(QDialogButtonBox *box,
                    QDialogButtonBox::StandardButton kind,
                    const QString &objectName,
                    const QString &caption)
{
    QPushButton *result = box->button(kind);
    result->setObjectName(objectName);
    result->setText(caption);
    result->setMinimumWidth(75);
    return result;
}

} // namespace

LoginBox::LoginBox(const QString &empNo, const QString &empName, Verifier verify, QWidget *parent)
    : QDialog(parent)
    , m_verify(std::move(verify))
{
    setObjectName(QStringLiteral("dlgLogin"));
    setWindowTitle(QStringLiteral("로그인"));
    setModal(true);

    lblGuide = new QLabel(QStringLiteral("보안이 설정된 데이터베이스입니다.\n"
                                         "사원의 비밀번호를 입력하십시오."),
                          this);
    lblGuide->setObjectName(QStringLiteral("lblGuide"));

    lblEmpNo = CreateCaptionLabel(QStringLiteral("lblEmpNo"), QStringLiteral("사원번호"), this);
    edtEmpNo = new QLineEdit(empNo, this);
    edtEmpNo->setObjectName(QStringLiteral("edtEmpNo"));
    edtEmpNo->setReadOnly(true);
    edtEmpNo->setFocusPolicy(Qt::NoFocus);
    edtEmpNo->setFixedWidth(100);
    EditColour::setBackground(edtEmpNo, EditColour::silver());
    lblEmpName = new QLabel(empName.trimmed(), this);
    lblEmpName->setObjectName(QStringLiteral("lblEmpName"));

    lblPassword = CreateCaptionLabel(QStringLiteral("lblPassword"),
                                     QStringLiteral("비밀번호"),
                                     this);
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setFixedWidth(160);
    SetPasswordEcho(edtPassword);
    EditColour::setBackground(edtPassword, EditColour::normal());

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    QPalette red = lblMessage->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    lblMessage->setPalette(red);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("bbxButtons"));
    btnOk = button(buttons, QDialogButtonBox::Ok, QStringLiteral("btnOk"), QStringLiteral("확인"));
    btnOk->setDefault(true);
    btnCancel = button(buttons,
                       QDialogButtonBox::Cancel,
                       QStringLiteral("btnCancel"),
                       QStringLiteral("취소"));
    btnCancel->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(lblEmpNo, 0, 0);
    grid->addWidget(edtEmpNo, 0, 1);
    grid->addWidget(lblEmpName, 0, 2);
    grid->addWidget(lblPassword, 1, 0);
    grid->addWidget(edtPassword, 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 12);
    layout->setSpacing(10);
    layout->addWidget(lblGuide);
    layout->addLayout(grid);
    layout->addWidget(lblMessage);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(340, 0)));

    // The box decides itself when it is done: OK only asks the server.
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginBox::btnOkClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    edtPassword->setFocus();
}

void LoginBox::btnOkClick()
{
    const QString password = edtPassword->text();
    if (password.isEmpty()) {
        // Not a try: the server is not asked.
        showMessage(QStringLiteral("비밀번호를 입력하십시오."));
        return;
    }
    Hardening::Verdict verdict = Hardening::Verdict::Refused;
    try {
        const WaitCursor wait;
        verdict = m_verify(password);
    } catch (const DbError &error) {
        m_failure = error.message();
        finish(Outcome::Failed);
        return;
    }
    switch (verdict) {
    case Hardening::Verdict::Verified:
        finish(Outcome::Verified);
        return;
    case Hardening::Verdict::Locked:
        finish(Outcome::Locked);
        return;
    case Hardening::Verdict::Refused:
        break;
    }
    if (++m_tries >= Tries) {
        finish(Outcome::Refused);
        return;
    }
    showMessage(QStringLiteral("비밀번호가 맞지 않습니다. (남은 횟수: %1회)").arg(triesLeft()));
}

void LoginBox::showMessage(const QString &text)
{
    lblMessage->setText(text);
    edtPassword->clear();
    edtPassword->setFocus();
}

void LoginBox::finish(Outcome outcome)
{
    m_outcome = outcome;
    edtPassword->clear();
    if (outcome == Outcome::Verified)
        accept();
    else
        done(Rejected);
}

QString LoginBox::endText(Outcome outcome, const QString &failure)
{
    switch (outcome) {
    case Outcome::Refused:
        return QStringLiteral("비밀번호가 %1회 맞지 않습니다.\r프로그램을 종료합니다.").arg(Tries);
    case Outcome::Locked:
        return QStringLiteral("비밀번호를 여러 번 잘못 입력하여 로그인이 잠겨 있습니다.\r"
                              "잠시 후 다시 시도하십시오. 프로그램을 종료합니다.");
    case Outcome::Failed:
        return QStringLiteral("본인 확인을 할 수 없어 프로그램을 종료합니다.\r\r에러내용:\r")
               + failure;
    case Outcome::Cancelled:
    case Outcome::Verified:
        break;
    }
    return QStringLiteral("로그인을 취소하여 프로그램을 종료합니다.");
}

bool LoginBox::signIn(const QSqlDatabase &db, const QString &empNo, const QString &empName)
{
    LoginBox box(empNo, empName, [db, empNo](const QString &password) {
        return Hardening::verify(db, empNo, password);
    });
    box.exec();
    if (box.outcome() == Outcome::Verified)
        return true;
    MessageService::instance().error(endText(box.outcome(), box.failure()));
    return false;
}
