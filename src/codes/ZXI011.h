#pragma once

#include "framework/ZZI020.h"

class DbEdit;
class QLabel;
class QLineEdit;

/// "공통코드 목록 등록": the heads of the common code lists, their names and
/// the captions of their fifteen attribute columns. A double click on a head
/// opens "공통코드 등록" on its codes.
class TfrmZXI011 : public TfrmZZI020
{
    Q_OBJECT

public:
    /// The tag of the open request that hands a head to ZXI010.
    static constexpr int OpenRequestTag = 802011;

    explicit TfrmZXI011(QWidget *parent = nullptr);

    /// Focus to the search button, the prefix check, then the base search.
    void bbtSearchClick() override;
    /// Opens the codes of the current head in ZXI010.
    void rgrGridDblClick();

    QLabel *lblHead = nullptr;
    QLineEdit *edtHead = nullptr;
    QLabel *lblDetail = nullptr;
    DbEdit *dedHead = nullptr;
    QLabel *lblDetailName = nullptr;
    DbEdit *dedDetailName = nullptr;
    QLabel *lblItem[15] = {};
    DbEdit *dedItem[15] = {};

protected:
    void CheckSearchCriteria() override;
    void SetGridParams() override;
    void CheckRowFields() override;
    void FillRowFields() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void dedHeadEdited(const QString &text);
};
