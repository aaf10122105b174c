#include "ZXB000.h"

#include "common/passwordcipher.h"
#include "framework/displaylabel.h"
#include "framework/editcolour.h"
#include "platform/cp949.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmZXB000::TfrmZXB000(QWidget *parent)
    : TfrmZZI000(parent)
{
    setObjectName(QStringLiteral("frmZXB000"));
    setWindowTitle(QStringLiteral("DB 접속 Password 암호화"));

    auto *grid = new QGridLayout;
    grid->setContentsMargins(40, 40, 40, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);

    lblDBPassword = CreateCaptionLabel(QStringLiteral("lblDBPassword"),
                                       QStringLiteral("DB Password"),
                                       panMain);
    edtDBPassword = new QLineEdit(panMain);
    edtDBPassword->setObjectName(QStringLiteral("edtDBPassword"));
    // The stored form keeps 16 bytes; a longer password would be cut without notice.
    edtDBPassword->setMaxLength(MaxPasswordBytes);
    edtDBPassword->setFixedWidth(200);
    EditColour::setBackground(edtDBPassword, EditColour::normal());
    lblDBPasswordLimit
            = new QLabel(QStringLiteral("(최대 %1바이트, 한글은 2바이트)").arg(MaxPasswordBytes),
                         panMain);
    lblDBPasswordLimit->setObjectName(QStringLiteral("lblDBPasswordLimit"));
    btnDBPassword = new QPushButton(QStringLiteral("Password 암호화"), panMain);
    btnDBPassword->setObjectName(QStringLiteral("btnDBPassword"));
    btnDBPassword->setFixedHeight(25);
    btnDBPassword->setMinimumWidth(
            btnDBPassword->fontMetrics().horizontalAdvance(btnDBPassword->text()) + 24);
    btnDBPassword->setAutoDefault(false);

    lblEncDBPassword = CreateCaptionLabel(QStringLiteral("lblEncDBPassword"),
                                          QStringLiteral("암호화 된 DB Password"),
                                          panMain);
    edtEncDBPassword = new QLineEdit(panMain);
    edtEncDBPassword->setObjectName(QStringLiteral("edtEncDBPassword"));
    edtEncDBPassword->setReadOnly(true);
    edtEncDBPassword->setMinimumWidth(520);
    EditColour::setBackground(edtEncDBPassword, EditColour::silver());

    lblComment = new QLabel(panMain);
    lblComment->setObjectName(QStringLiteral("lblComment"));
    lblComment->setText(QStringLiteral(
            "1. 'DB Password'에 DB 접속 암호를 입력하고 'Password 암호화' 버튼을 누른다.\r\n"
            "2. '암호화 된 DB Password'에 표시된 내용을 복사한다.\r\n"
            "3. 'Exec', 'POSExec' 폴더의 'ZEDavoro.ini' 파일을 열어 'PASS' 항목의 값을 바꿔 "
            "저장한다.\r\n"
            "4. 업데이트 서버에 올려 다른 PC, POS에서 다운 받을 수 있게 한다.\r\n\r\n"
            "* DB 접속 암호는 KSUSER, KSTEST가 동일해야 한다."));
    QPalette grey = lblComment->palette();
    grey.setColor(QPalette::WindowText, Qt::darkGray);
    lblComment->setPalette(grey);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->setSpacing(8);
    passwordRow->addWidget(edtDBPassword);
    passwordRow->addWidget(btnDBPassword);
    passwordRow->addWidget(lblDBPasswordLimit);
    passwordRow->addStretch(1);

    grid->addWidget(lblDBPassword, 0, 0);
    grid->addLayout(passwordRow, 0, 1);
    grid->addWidget(lblEncDBPassword, 1, 0);
    grid->addWidget(edtEncDBPassword, 1, 1, Qt::AlignLeft);
    grid->addWidget(lblComment, 2, 1);
    grid->setColumnStretch(1, 1);
    addToMain(grid);
    mainLayout()->addStretch(1);

    attachFocusColours({edtDBPassword});
    connectClick(btnDBPassword, [this] { btnDBPasswordClick(); });
    connect(edtDBPassword, &QLineEdit::textEdited, this, [this](const QString &text) {
        edtDBPasswordEdited(text);
    });
    // A result beside another password would be copied as its stored form.
    connect(edtDBPassword, &QLineEdit::textChanged, edtEncDBPassword, &QLineEdit::clear);
    connect(edtDBPassword, &QLineEdit::returnPressed, this, [this] { btnDBPasswordClick(); });
    setFocusProxy(edtDBPassword);
}

void TfrmZXB000::edtDBPasswordEdited(const QString &text)
{
    if (Cp949::byteLength(text) <= MaxPasswordBytes)
        return;
    const int cursor = edtDBPassword->cursorPosition();
    const QString kept = Cp949::truncateToBytes(text, MaxPasswordBytes);
    edtDBPassword->setText(kept);
    edtDBPassword->setCursorPosition(std::min(cursor, int(kept.size())));
    ShowStatusMessage(
            QStringLiteral("DB 접속 암호는 %1바이트까지 입력할 수 있습니다.").arg(MaxPasswordBytes));
}

void TfrmZXB000::btnDBPasswordClick()
{
    const QString password = edtDBPassword->text();
    if (const QString refused = refusedPasswordCharacter(password); !refused.isEmpty()) {
        // A stale result beside a refused password would be copied as its own.
        edtEncDBPassword->clear();
        ShowStatusMessage(refusedPasswordCharacterMessage(refused));
    } else if (!password.isEmpty()) {
        edtEncDBPassword->setText(EncryptPassword(password, PasswordStartKey));
    }
    edtDBPassword->setFocus();
}
