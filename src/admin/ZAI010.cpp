#include "ZAI010.h"

#include "bytelimit.h"
#include "employeepicker.h"
#include "framework/displaylabel.h"
#include "passwordpolicy.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/passwordcipher.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"
#include "db/dberror.h"
#include "db/sqlstatement.h"
#include "framework/editcolour.h"
#include "framework/entryfields.h"
#include "framework/messagetexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

namespace {

const QString Quote = QStringLiteral("'");

QString deleteQuestion()
{
    return QStringLiteral("사용자 등록을 잘못한 경우 등 특별한 경우에만 삭제하시고\r"
                          "현재 사용자의 사용을 원치 않으면 '사용'을 선택취소 하십시오.\r\r"
                          "현재 사용자를 정말 삭제하시겠습니까?");
}

// A label caption without its blanks, as the messages quote it.
QString captionOf(const QLabel *label)
{
    QString caption = label->text();
    caption.remove(QRegularExpression(QStringLiteral("\\s")));
    return caption;
}

QString yesNo(bool checked)
{
    return checked ? QStringLiteral("Y") : QStringLiteral("N");
}

QLabel *fieldLabel(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setFixedWidth(100);
    return label;
}

QLineEdit *entryBox(const QString &objectName, int maxBytes, int width, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setFixedWidth(width);
    LimitTextBytes(edit, maxBytes);
    return edit;
}

} // namespace

TfrmZAI010::TfrmZAI010(QWidget *parent)
    : TfrmZZI010(parent)
{
    setObjectName(QStringLiteral("frmZAI010"));
    setWindowTitle(QStringLiteral("사용자 등록"));

    createEmployeePicker(this, *this, QStringLiteral("* 사용자"), [this] { bbtSearchClick(); });

    buildEditPanel();

    bbtDelete = createButton(QStringLiteral("bbtDelete"), MessageText::deleteCaption(), 256);
    insertBarButton(bbtDelete, bbtSave);
    setTabChain({bbtDelete, bbtSave, bbtCancel, bbtClose});
    bbtDelete->hide();
    connectClick(bbtDelete, [this] { bbtDeleteClick(); });
    popHotkeyDelete = addHotkey(QStringLiteral("popHotkeyDelete"), Qt::Key_F9, [this] {
        bbtDeleteClick();
    });

    lblComment = addBarComment(QStringLiteral("새 사용자를 등록하거나, 비밀번호 초기화를 할 경우 "
                                              "비밀번호는 자동으로 사용자번호와 같이 등록됩니다."),
                               QColor(0x00, 0x00, 0x80));
}

void TfrmZAI010::buildEditPanel()
{
    auto *grid = new QGridLayout;
    grid->setContentsMargins(40, 30, 40, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);

    lblEmpNo = fieldLabel(QStringLiteral("lblEmpNo"), QStringLiteral("* 사 용 자 번 호"), panMain);
    edtEmpNo = entryBox(QStringLiteral("edtEmpNo"), EmployeePicker::EmpNoBytes, 100, panMain);
    lblEmpName = fieldLabel(QStringLiteral("lblEmpName"),
                            QStringLiteral("* 사  용  자  명"),
                            panMain);
    edtEmpName = entryBox(QStringLiteral("edtEmpName"), 30, 220, panMain);
    lblPassword = fieldLabel(QStringLiteral("lblPassword"),
                             QStringLiteral("* 비  밀  번  호"),
                             panMain);
    edtPassword = entryBox(QStringLiteral("edtPassword"), 20, 150, panMain);
    SetPasswordEcho(edtPassword);
    bbtPasswordReset = new QPushButton(QStringLiteral("비밀번호 초기화"), panMain);
    bbtPasswordReset->setObjectName(QStringLiteral("bbtPasswordReset"));
    bbtPasswordReset->setFixedSize(150, 25);
    bbtPasswordReset->setAutoDefault(false);
    bbtPasswordReset->hide();
    lblPasswordConfirm = fieldLabel(QStringLiteral("lblPasswordConfirm"),
                                    QStringLiteral("* 비밀번호 확인"),
                                    panMain);
    edtPasswordConfirm = entryBox(QStringLiteral("edtPasswordConfirm"), 20, 150, panMain);
    SetPasswordEcho(edtPasswordConfirm);
    lblPasswordConfirm->hide();
    edtPasswordConfirm->hide();
    lblBackLoginDate = fieldLabel(QStringLiteral("lblBackLoginDate"),
                                  QStringLiteral("최종 Login일자"),
                                  panMain);
    wlbBackLoginDate = CreateDisplayLabel(QStringLiteral("wlbBackLoginDate"), panMain, 100);
    lblPosLoginDate = fieldLabel(QStringLiteral("lblPosLoginDate"),
                                 QStringLiteral("POS Login일자"),
                                 panMain);
    wlbPosLoginDate = CreateDisplayLabel(QStringLiteral("wlbPosLoginDate"), panMain, 100);
    chkAdminYN = new QCheckBox(QStringLiteral("시스템 관리자"), panMain);
    chkAdminYN->setObjectName(QStringLiteral("chkAdminYN"));
    chkUseYN = new QCheckBox(QStringLiteral("사용"), panMain);
    chkUseYN->setObjectName(QStringLiteral("chkUseYN"));
    chkMultiLoginYN
            = new QCheckBox(QStringLiteral(
                                    "동시 접속 허용 (같은 사용자로 여러 PC에서 동시 사용 가능)"),
                            panMain);
    chkMultiLoginYN->setObjectName(QStringLiteral("chkMultiLoginYN"));

    // The reset button stands where the password field is; one of them shows.
    auto *passwordCell = new QHBoxLayout;
    passwordCell->setSpacing(0);
    passwordCell->addWidget(edtPassword);
    passwordCell->addWidget(bbtPasswordReset);
    passwordCell->addStretch(1);

    const QList<QPair<QLabel *, QWidget *>> rows = {{lblEmpNo, edtEmpNo},
                                                    {lblEmpName, edtEmpName},
                                                    {lblPassword, nullptr},
                                                    {lblPasswordConfirm, edtPasswordConfirm},
                                                    {lblBackLoginDate, wlbBackLoginDate},
                                                    {lblPosLoginDate, wlbPosLoginDate}};
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows.at(row).first, row, 0);
        if (rows.at(row).second)
            grid->addWidget(rows.at(row).second, row, 1, Qt::AlignLeft);
        else
            grid->addLayout(passwordCell, row, 1);
        grid->setRowMinimumHeight(row, 25);
    }
    grid->setRowMinimumHeight(int(rows.size()), 10);
    grid->addWidget(chkAdminYN, int(rows.size()) + 1, 1);
    grid->addWidget(chkUseYN, int(rows.size()) + 2, 1);
    grid->addWidget(chkMultiLoginYN, int(rows.size()) + 3, 1);
    grid->setColumnStretch(1, 1);
    addToMain(grid);
    mainLayout()->addStretch(1);

    setTabOrder(edtEmpNo, edtEmpName);
    setTabOrder(edtEmpName, edtPassword);
    setTabOrder(edtPassword, bbtPasswordReset);
    setTabOrder(bbtPasswordReset, edtPasswordConfirm);
    setTabOrder(edtPasswordConfirm, chkAdminYN);
    setTabOrder(chkAdminYN, chkUseYN);
    setTabOrder(chkUseYN, chkMultiLoginYN);

    const QList<QWidget *> entries = {edtEmpNo, edtEmpName, edtPassword, edtPasswordConfirm};
    attachFocusColours(entries);
    for (QWidget *entry : entries)
        entry->installEventFilter(this);
    connectClick(bbtPasswordReset, [this] { bbtPasswordResetClick(); });
    setKeyFieldsEditable(false);
}

void TfrmZAI010::FormCreate()
{
    TfrmZZI010::FormCreate();
    if (!picker->Start())
        m_restrictedEmpNo = login().empNo;
}

bool TfrmZAI010::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in an entry field of the edit panel moves on like Tab.
    if (event->type() == QEvent::KeyPress
        && (watched == edtEmpNo || watched == edtEmpName || watched == edtPassword
            || watched == edtPasswordConfirm)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return TfrmZZI010::eventFilter(watched, event);
}

void TfrmZAI010::setKeyFieldsEditable(bool editable)
{
    for (QLineEdit *edit : {edtEmpNo, edtEmpName}) {
        edit->setReadOnly(!editable);
        edit->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
        EditColour::setBackground(edit, editable ? EditColour::normal() : EditColour::silver());
        // Locked, they stay silver also where search mode disables the panel
        // (the style's disabled grey would be another colour).
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Disabled,
                         QPalette::Base,
                         editable ? QApplication::palette(edit).color(QPalette::Disabled,
                                                                      QPalette::Base)
                                  : EditColour::silver());
        edit->setPalette(palette);
    }
}

void TfrmZAI010::CheckSearchCriteria()
{
    // A restricted user opens his own record only; his number field is locked to it.
    if (!m_restrictedEmpNo.isEmpty() && picker->empNo() != m_restrictedEmpNo)
        Abort();
}

void TfrmZAI010::LoadData()
{
    picker->FillName(); // the focus has left the number field
    const QString empNo = picker->empNo();

    SqlStatement query(database(),
                       QStringLiteral("SELECT EMP_NAME, BACK_LOGIN_DATE, POS_LOGIN_DATE, ADMIN_YN, "
                                      "USE_YN, FN_ZA010MS_02(PASSWORD_CODE, 'RoTa'), "
                                      "MULTI_LOGIN_YN FROM ZA010MS WHERE EMP_NO = :P0"));
    query.bind(QStringLiteral("P0"), empNo.trimmed().isEmpty() ? QStringLiteral(" ") : empNo);
    query.open();
    const bool found = query.next();
    const auto text = [&](int column) { return found ? query.value(column).toString() : QString(); };

    edtEmpNo->setText(empNo);
    edtEmpName->setText(text(0));
    wlbBackLoginDate->setText(FormatDateText(text(1)));
    wlbPosLoginDate->setText(FormatDateText(text(2)));
    chkAdminYN->setChecked(text(3) == QLatin1String("Y"));
    chkUseYN->setChecked(text(4) == QLatin1String("Y"));
    m_previousPassword = text(5);
    chkMultiLoginYN->setChecked(text(6) == QLatin1String("Y"));
    query.close();
    takeLoadedValues();

    if (empNo == login().empNo)
        setMode(Mode::OwnRecord);
    else
        setMode(picker->empName().trimmed().isEmpty() ? Mode::NewUser : Mode::OtherUser);
}

void TfrmZAI010::takeLoadedValues()
{
    m_loaded.empNo = edtEmpNo->text();
    m_loaded.empName = edtEmpName->text();
    m_loaded.admin = chkAdminYN->isChecked();
    m_loaded.multiLogin = chkMultiLoginYN->isChecked();
    m_loaded.use = chkUseYN->isChecked();
}

void TfrmZAI010::setMode(Mode mode)
{
    m_mode = mode;
    setKeyFieldsEditable(mode == Mode::NewUser);
    const bool own = mode == Mode::OwnRecord;
    // A new user's password is his number: neither a field nor the reset button, so no label.
    lblPassword->setVisible(mode != Mode::NewUser);
    edtPassword->setVisible(own);
    edtPassword->clear();
    lblPasswordConfirm->setVisible(own);
    edtPasswordConfirm->setVisible(own);
    edtPasswordConfirm->clear();
    bbtPasswordReset->setVisible(mode == Mode::OtherUser);
    m_resetRequested = false;
    for (QCheckBox *box : {chkAdminYN, chkUseYN, chkMultiLoginYN})
        box->setEnabled(!own);
    bbtDelete->setVisible(mode == Mode::OtherUser);

    switch (mode) {
    case Mode::OwnRecord:
        edtPassword->setFocus();
        break;
    case Mode::OtherUser:
        bbtPasswordReset->setFocus();
        break;
    case Mode::NewUser:
        chkUseYN->setChecked(true);
        m_loaded.use = true;
        ShowInfoMessage(QStringLiteral("새 사용자를 등록합니다."));
        edtEmpNo->setFocus();
        break;
    case Mode::None:
        break;
    }
}

bool TfrmZAI010::HasPendingChanges()
{
    if (edtEmpNo->text() != m_loaded.empNo || edtEmpName->text() != m_loaded.empName)
        return true;
    if (chkAdminYN->isChecked() != m_loaded.admin
        || chkMultiLoginYN->isChecked() != m_loaded.multiLogin
        || chkUseYN->isChecked() != m_loaded.use)
        return true;
    if (bbtPasswordReset->isVisibleTo(this) && m_resetRequested)
        return true;
    return edtPassword->isVisibleTo(this) && !edtPassword->text().isEmpty();
}

void TfrmZAI010::bbtPasswordResetClick()
{
    m_resetRequested = true;
}

bool TfrmZAI010::isNewUser() const
{
    return !edtEmpNo->isReadOnly();
}

void TfrmZAI010::CheckSaveData()
{
    if (!HasPendingChanges())
        return; // SaveData() says so
    if (isNewUser())
        checkRequiredFields();
    if (edtPassword->isVisibleTo(this) && !edtPassword->text().isEmpty())
        checkPasswordPolicy();
}

void TfrmZAI010::WriteChanges()
{
    if (isNewUser())
        writeInsert();
    else
        writeUpdate();
}

void TfrmZAI010::AfterSave()
{
    ShowInfoMessage(MessageText::saved());
    m_quietCancel = true;
    bbtCancelClick();
}

void TfrmZAI010::checkRequiredFields()
{
    for (const auto &[label, field] : {std::pair{lblEmpNo, edtEmpNo}, {lblEmpName, edtEmpName}}) {
        if (!field->text().trimmed().isEmpty())
            continue;
        ShowStatusMessage(captionOf(label) + MessageText::enterCorrectly());
        field->setFocus();
        Abort();
    }
}

void TfrmZAI010::checkPasswordPolicy()
{
    using PasswordPolicy::Rule;
    const QString password = edtPassword->text();
    const Rule broken = PasswordPolicy::firstBrokenRule(password,
                                                        edtPasswordConfirm->text(),
                                                        edtEmpNo->text(),
                                                        m_previousPassword);
    if (broken == Rule::None)
        return;

    const QString subject = Quote + captionOf(lblPassword);
    QString text;
    switch (broken) {
    case Rule::ConfirmationDiffers:
        text = subject + QStringLiteral("'와 '") + captionOf(lblPasswordConfirm)
               + QStringLiteral("'이 서로 다릅니다.");
        break;
    case Rule::EqualsEmpNo:
        text = subject + QStringLiteral("'와 '") + captionOf(lblEmpNo)
               + QStringLiteral("'는 서로 달라야 합니다.");
        break;
    case Rule::EqualsPrevious:
        text = subject + QStringLiteral("'와 '이전 ") + captionOf(lblPassword)
               + QStringLiteral("'와 다르게 입력하셔야 합니다.");
        break;
    case Rule::TooShort:
        text = subject + QStringLiteral("'는 최소 5자리 이상 입력하셔야 합니다.");
        break;
    case Rule::RepeatedCharacter:
        text = subject + QStringLiteral("'에 같은 글자를 4번 이상 반복 입력할 수 없습니다.");
        break;
    case Rule::RefusedCharacter:
        text = refusedPasswordCharacterMessage(refusedPasswordCharacter(password));
        break;
    case Rule::None:
        break;
    }
    ShowErrorMessage(text);
    if (broken == Rule::ConfirmationDiffers) {
        edtPasswordConfirm->setFocus();
    } else {
        edtPasswordConfirm->clear();
        edtPassword->setFocus();
    }
    Abort();
}

void TfrmZAI010::writeUpdate()
{
    // Assembled column by column; every value travels as a parameter.
    QStringList lines{QStringLiteral("UPDATE ZA010MS SET U_EMP_NO = :P0, U_DATE = SYSDATE, "
                                     "U_IP = :P1")};
    QVariantList values{login().empNo, login().localIP()};
    const auto assign = [&](const QString &column, const QString &valueSql, const QString &value) {
        lines << QStringLiteral("     , %1 = %2").arg(column, valueSql.arg(values.size()));
        values << value;
    };
    if (m_resetRequested && bbtPasswordReset->isVisibleTo(this))
        assign(QStringLiteral("PASSWORD_CODE"),
               QStringLiteral("FN_ZA010MS_01(:P%1, 'RoTa')"),
               edtEmpNo->text());
    else if (edtPassword->isVisibleTo(this) && !edtPassword->text().isEmpty())
        assign(QStringLiteral("PASSWORD_CODE"),
               QStringLiteral("FN_ZA010MS_01(:P%1, 'RoTa')"),
               edtPassword->text());
    if (chkAdminYN->isChecked() != m_loaded.admin)
        assign(QStringLiteral("ADMIN_YN"), QStringLiteral(":P%1"), yesNo(chkAdminYN->isChecked()));
    if (chkMultiLoginYN->isChecked() != m_loaded.multiLogin)
        assign(QStringLiteral("MULTI_LOGIN_YN"),
               QStringLiteral(":P%1"),
               yesNo(chkMultiLoginYN->isChecked()));
    if (chkUseYN->isChecked() != m_loaded.use)
        assign(QStringLiteral("USE_YN"), QStringLiteral(":P%1"), yesNo(chkUseYN->isChecked()));
    lines << QStringLiteral(" WHERE EMP_NO = :P%1").arg(values.size());
    values << edtEmpNo->text();

    SqlStatement update(database(), lines.join(QLatin1Char('\n')));
    for (int i = 0; i < values.size(); ++i)
        update.bind(QStringLiteral("P%1").arg(i), values.at(i));
    // A user another administrator deleted meanwhile must not be reported as saved.
    if (update.exec() == 0)
        throw DbError(ClientDataSet::rowChangedText());
}

void TfrmZAI010::writeInsert()
{
    SqlStatement insert(database(),
                        QStringLiteral(
                                "INSERT INTO ZA010MS (EMP_NO, EMP_NAME, PASSWORD_CODE, USE_YN, "
                                "POS_LOGIN_DATE, BACK_LOGIN_DATE, RSV_LIMIT, ADMIN_YN, U_EMP_NO, "
                                "U_DATE, U_IP, MULTI_LOGIN_YN) VALUES (:P0, :P1, "
                                "FN_ZA010MS_01(:P2, 'RoTa'), :P3, NULL, NULL, NULL, :P4, :P5, "
                                "SYSDATE, :P6, :P7)"));
    insert.bind(QStringLiteral("P0"), edtEmpNo->text());
    insert.bind(QStringLiteral("P1"), edtEmpName->text());
    insert.bind(QStringLiteral("P2"), edtEmpNo->text());
    insert.bind(QStringLiteral("P3"), yesNo(chkUseYN->isChecked()));
    insert.bind(QStringLiteral("P4"), yesNo(chkAdminYN->isChecked()));
    insert.bind(QStringLiteral("P5"), login().empNo);
    insert.bind(QStringLiteral("P6"), login().localIP());
    insert.bind(QStringLiteral("P7"), yesNo(chkMultiLoginYN->isChecked()));
    insert.exec();
}

void TfrmZAI010::bbtDeleteClick()
{
    ButtonGuard(bbtDelete);
    if (!AskYesNo(deleteQuestion()))
        Abort();
    RunSaveTransaction(
            [&] {
                SqlStatement remove(database(),
                                    QStringLiteral("DELETE FROM ZA010MS WHERE EMP_NO = :P0"));
                remove.bind(QStringLiteral("P0"), picker->empNo());
                remove.exec();
            },
            QStringLiteral("사용자를 삭제하지 못했습니다.\r\r에러내용:\r"));
    ShowInfoMessage(picker->empName() + QStringLiteral(" 사용자가 삭제되었습니다."));
    m_quietCancel = true;
    bbtCancelClick();
}

void TfrmZAI010::bbtCancelClick()
{
    ButtonGuard(bbtCancel);
    if (!m_quietCancel && HasPendingChanges() && !AskYesNo(MessageText::cancelQuestion()))
        Abort();
    m_quietCancel = false;
    SetSearchMode(true);
    clearEditPanel();

    if (m_restrictedEmpNo.isEmpty()) {
        cedEmpNo->clear();
    } else {
        picker->setEmployee(login().empNo, login().empName);
        picker->ApplyAuthority(); // search mode enabled the search side
        if (isVisible())
            bbtSearch->setFocus();
    }
}

void TfrmZAI010::clearEditPanel()
{
    m_mode = Mode::None;
    edtEmpNo->clear();
    edtEmpName->clear();
    setKeyFieldsEditable(false);
    bbtPasswordReset->hide();
    m_resetRequested = false;
    lblPassword->show();
    edtPassword->show();
    edtPassword->clear();
    lblPasswordConfirm->hide();
    edtPasswordConfirm->hide();
    edtPasswordConfirm->clear();
    for (QCheckBox *box : {chkAdminYN, chkUseYN, chkMultiLoginYN})
        box->setChecked(false);
    bbtDelete->hide();
    wlbBackLoginDate->clear();
    wlbPosLoginDate->clear();
    takeLoadedValues();
    m_previousPassword.clear();
}
