#pragma once

#include "employeesearch.h"

#include "framework/ZZI010.h"

class QCheckBox;
class QLabel;
class QLineEdit;

/// "사용자 등록": an administrator registers users, resets their passwords,
/// switches their flags and deletes them; everyone changes his own password
/// under the password policy.
class TfrmZAI010 : public TfrmZZI010, public EmployeeSearch
{
    Q_OBJECT

public:
    enum class Mode { None, OwnRecord, OtherUser, NewUser };

    explicit TfrmZAI010(QWidget *parent = nullptr);

    void bbtCancelClick() override;
    void bbtDeleteClick();
    void bbtPasswordResetClick();

    Mode mode() const { return m_mode; }

    // Search panel.

    // Edit panel.
    QLabel *lblEmpNo = nullptr;
    QLineEdit *edtEmpNo = nullptr;
    QLabel *lblEmpName = nullptr;
    QLineEdit *edtEmpName = nullptr;
    QLabel *lblPassword = nullptr;
    QLineEdit *edtPassword = nullptr;
    QPushButton *bbtPasswordReset = nullptr;
    QLabel *lblPasswordConfirm = nullptr;
    QLineEdit *edtPasswordConfirm = nullptr;
    QLabel *lblBackLoginDate = nullptr;
    QLabel *wlbBackLoginDate = nullptr;
    QLabel *lblPosLoginDate = nullptr;
    QLabel *wlbPosLoginDate = nullptr;
    QCheckBox *chkAdminYN = nullptr;
    QCheckBox *chkUseYN = nullptr;
    QCheckBox *chkMultiLoginYN = nullptr;

    // Button panel.
    QPushButton *bbtDelete = nullptr;
    QAction *popHotkeyDelete = nullptr;
    QLabel *lblComment = nullptr;

protected:
    void FormCreate() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    /// The change test: number or name, a check box, a requested reset, a typed password.
    bool HasPendingChanges() override;
    /// With a change: the required fields of a new user, the password policy.
    void CheckSaveData() override;
    /// The insert of a new user or the update of an existing one.
    void WriteChanges() override;
    /// "자료를 정상적으로 저장했습니다." in a box, then a quiet cancel.
    void AfterSave() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Loaded
    {
        QString empNo;
        QString empName;
        bool admin = false;
        bool multiLogin = false;
        bool use = false;
    };

    void buildEditPanel();
    void setMode(Mode mode);
    void setKeyFieldsEditable(bool editable);
    void takeLoadedValues();
    void clearEditPanel();
    void checkRequiredFields();
    void checkPasswordPolicy();
    bool isNewUser() const;
    void writeUpdate();
    void writeInsert();

    Mode m_mode = Mode::None;
    Loaded m_loaded;
    QString m_previousPassword;
    QString m_restrictedEmpNo;
    bool m_resetRequested = false;
    bool m_quietCancel = false;
};
