#pragma once

#include "framework/ZZI000.h"

class QLabel;
class QLineEdit;
class QPushButton;

/// "DB 접속 Password 암호화": turns the database password into the stored form
/// that goes into ZEDavoro.ini on every workstation.
class TfrmZXB000 : public TfrmZZI000
{
    Q_OBJECT

public:
    /// The stored form carries this many cp949 bytes of password.
    static constexpr int MaxPasswordBytes = 16;

    explicit TfrmZXB000(QWidget *parent = nullptr);

    QLabel *lblDBPassword = nullptr;
    QLineEdit *edtDBPassword = nullptr;
    QLabel *lblDBPasswordLimit = nullptr;
    QPushButton *btnDBPassword = nullptr;
    QLabel *lblEncDBPassword = nullptr;
    QLineEdit *edtEncDBPassword = nullptr;
    QLabel *lblComment = nullptr;

    void btnDBPasswordClick();

private:
    void edtDBPasswordEdited(const QString &text);
};
