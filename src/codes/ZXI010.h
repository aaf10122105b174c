#pragma once

#include "framework/ZZI020.h"

class DbEdit;
class QLabel;
class QLineEdit;
class QToolButton;

/// "공통코드 등록": the codes of one common code head. Each search shows and
/// captions only the attributes the head row names. Opened from "공통코드 목록
/// 등록", it shows the head handed over in the open-request list.
class TfrmZXI010 : public TfrmZZI020
{
    Q_OBJECT

public:
    explicit TfrmZXI010(QWidget *parent = nullptr);

    /// Focus to the search button, the head check, the base search.
    void bbtSearchClick() override;
    /// The head lookup (also F1 in the head field).
    void sbtHeadClick();

    QLabel *lblHead = nullptr;
    QLineEdit *edtHead = nullptr;
    QToolButton *sbtHead = nullptr;
    QLabel *wlbHead = nullptr;
    QLabel *lblDetail = nullptr;
    DbEdit *dedDetail = nullptr;
    QLabel *lblDetailName = nullptr;
    DbEdit *dedDetailName = nullptr;
    QLabel *lblItem[15] = {};
    DbEdit *dedItem[15] = {};

protected:
    void FormFirstShow() override;
    void CheckSearchCriteria() override;
    void LoadData() override;
    void SetGridParams() override;
    void CheckRowFields() override;
    QVariantList DuplicateCheckParams() const override;
    QString KeyListText() const override;
    void FillRowFields() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showHeadName();
    /// Enter in an item field: the next shown item, else the key field (the name when the key is locked).
    QWidget *afterItem(int index) const;
};
