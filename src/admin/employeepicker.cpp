#include "employeepicker.h"

#include "ZAH010.h"
#include "bytelimit.h"
#include "displaylabel.h"

#include "common/loginvalues.h"
#include "db/sqlstatement.h"
#include "framework/ZZI000.h"
#include "framework/useraction.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

EmployeePicker::EmployeePicker(TfrmZZI000 *screen, const QString &caption, QWidget *parent)
    : QObject(parent)
    , m_screen(screen)
{
    lblEmp = new QLabel(caption, parent);
    lblEmp->setObjectName(QStringLiteral("lblEmp"));

    cedEmpNo = new QLineEdit(parent);
    cedEmpNo->setObjectName(QStringLiteral("cedEmpNo"));
    cedEmpNo->setFixedWidth(80);
    LimitTextBytes(cedEmpNo, 10);
    lblEmp->setBuddy(cedEmpNo);

    sbtEmpNo = new QToolButton(parent);
    sbtEmpNo->setObjectName(QStringLiteral("sbtEmpNo"));
    sbtEmpNo->setText(QStringLiteral("..."));
    sbtEmpNo->setFixedSize(22, 22);
    sbtEmpNo->setFocusPolicy(Qt::NoFocus);

    wlbEmpName = CreateDisplayLabel(QStringLiteral("wlbEmpName"), parent, 150);

    cedEmpNo->installEventFilter(this);
    m_screen->attachFocusColours({cedEmpNo});
    connect(cedEmpNo, &QLineEdit::textChanged, wlbEmpName, &QLabel::clear);
    connect(sbtEmpNo, &QToolButton::clicked, this, [this] {
        RunUserAction([this] { sbtEmpNoClick(); });
    });
}

QList<QWidget *> EmployeePicker::widgets() const
{
    return {lblEmp, cedEmpNo, sbtEmpNo, wlbEmpName};
}

bool EmployeePicker::Start(bool withLoginEmployee)
{
    if (withLoginEmployee)
        setEmployee(login().empNo, login().empName);
    if (!m_adminOnly) {
        ApplyAuthority();
        return m_admin;
    }
    SqlStatement query(m_screen->database(),
                       QStringLiteral("SELECT ADMIN_YN FROM ZA010MS WHERE EMP_NO = :P0"));
    query.bind(QStringLiteral("P0"), login().empNo);
    query.open();
    m_admin = query.next() && query.value(0).toString() == QLatin1String("Y");
    query.close();
    ApplyAuthority();
    return m_admin;
}

void EmployeePicker::ApplyAuthority()
{
    const bool open = m_admin || !m_adminOnly;
    cedEmpNo->setEnabled(open);
    sbtEmpNo->setEnabled(open);
    wlbEmpName->setEnabled(open);
}

QString EmployeePicker::empNo() const
{
    return cedEmpNo->text();
}

QString EmployeePicker::empName() const
{
    return wlbEmpName->text();
}

void EmployeePicker::setEmployee(const QString &empNo, const QString &empName)
{
    cedEmpNo->setText(empNo);
    wlbEmpName->setText(empName);
}

void EmployeePicker::FillName()
{
    if (!cedEmpNo->text().trimmed().isEmpty() && wlbEmpName->text().isEmpty())
        wlbEmpName->setText(GetEmpName(cedEmpNo->text(), m_screen->database()));
}

void EmployeePicker::sbtEmpNoClick()
{
    QString name;
    QString empNo;
    ShowUserHelp(name, empNo, m_screen->database());
    cedEmpNo->setText(empNo);
    if (empNo.isEmpty()) {
        cedEmpNo->setFocus();
        return;
    }
    wlbEmpName->setText(name);
    if (m_search)
        m_search();
}

bool EmployeePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != cedEmpNo)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool help = key->key() == Qt::Key_F1;
        if ((!enter && !help) || key->modifiers() & ~Qt::KeypadModifier)
            break;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept(); // the key belongs to the number field, not to a shortcut
            return false;
        }
        if (enter) {
            if (m_search)
                RunUserAction(m_search);
        } else if (sbtEmpNo->isEnabled() && sbtEmpNo->isVisible()) {
            RunUserAction([this] { sbtEmpNoClick(); });
        }
        return true;
    }
    case QEvent::FocusOut: {
        // Only a move inside the screen leaves the field; a dialog or another
        // window taking the focus does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            RunUserAction([this] { FillName(); });
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
