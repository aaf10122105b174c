#pragma once

#include "ZZI010.h"
#include "datasetgrid.h"
#include "rowbuttons.h"

#include <QStringList>
#include <QVariantList>

class ClientDataSet;
class QLabel;
class QLineEdit;

/// The grid edit screen: a grid `rgrGrid` at the bottom of panMain over the
/// client data set `cdsGrid` (its statement is the screen's main SELECT and its
/// table the one written), entry fields bound to the current row, add and
/// delete, record navigation (DataSetGrid).
///
/// A derived screen, in its constructor: declares fields and the statement of
/// cdsGrid, adds grid columns, builds its entry fields (DbEdit bound to cdsGrid)
/// with addToMain(), and calls setKeyField() and setDuplicateCheckSql(). Then it
/// overrides what its rows need:
///
/// - SetGridParams(): parameters of cdsGrid before each open (from the search fields).
/// - CheckRowFields(): the required-field checks of a row, in order, with
///   CheckRequired() (status message "<label>을(를) 정확히 입력하십시오.", focus, Abort()).
/// - DuplicateCheckParams() / KeyListText(): when the key is more than the key field.
/// - FillRowFields(): values a posted row takes from the screen (before the audit stamp).
/// - rgrGridRowChange(): what a row change does beyond focusing the row's first
///   field (setRowFocusField()) and starting a new row on an empty grid.
///
/// The framework then runs the protocol: search opens the grid, settles and runs
/// the row change; add settles and inserts; delete removes the current row from
/// cdsGrid; before-post runs the checks, the duplicate check against the
/// database and the key list, and stamps U_EMP_NO, U_DATE, U_IP; save settles,
/// applies, clears the key list, shows "자료를 정상적으로 저장했습니다.", reopens
/// and runs the row change; cancel and close ask about pending changes.
class TfrmZZI020 : public TfrmZZI010, public DataSetGrid, public RowButtons
{
    Q_OBJECT

public:
    explicit TfrmZZI020(QWidget *parent = nullptr);

    /// Button guard; if cdsGrid is open: settle, insert a row, focus the key field.
    void bbtAddClick() override;
    /// Button guard; if cdsGrid is open: delete the current row, then the row change.
    void bbtDeleteClick() override;
    /// The row change: focus (and select) the row focus field; an empty grid
    /// starts a new row at once (bbtAddClick).
    virtual void rgrGridRowChange();
    /// Before-post check of cdsGrid: CheckRowFields(), CheckDuplicateKey(), and
    /// with a non-blank key FillRowFields() and StampAudit().
    virtual void cdsGridBeforePost();
    /// Runs whenever cdsGrid changes state (browse, edit, insert, closed); it
    /// cannot stop anything. The default makes the key field editable only
    /// while a row is inserted.
    virtual void cdsGridStateChange();

    /// Settle the current row: a row whose key is blank is dropped; a row being
    /// edited or inserted is posted (key not blank) or cancelled.
    void SettleCurrentRow();
    /// The keys inserted since the last save or cancel.
    const QStringList &keyList() const { return m_keyList; }

    ClientDataSet *cdsGrid = nullptr;

protected:
    /// The key field of a row and its entry field. The entry field is editable
    /// (white) only while a row is inserted when `lockExisting` (silver otherwise).
    void setKeyField(const QString &fieldName, QWidget *keyEdit, bool lockExisting = true);
    QString keyField() const { return m_keyField; }
    /// The key of the current row, as text.
    QString keyText() const;
    /// Where a row change puts the focus.
    void setRowFocusField(QWidget *field) { m_rowFocus = field; }
    /// Up and Down in these entry fields move to the prior and next row.
    void setRowKeys(const QList<QWidget *> &fields);
    /// Asks the database whether a new row's key exists: a row whose first
    /// column is greater than 0 means it does. Parameters :P0 … from DuplicateCheckParams().
    void setDuplicateCheckSql(const QString &sql) { m_duplicateSql = sql; }

    virtual void SetGridParams() {}
    virtual void CheckRowFields() {}
    /// Default: the key text.
    virtual QVariantList DuplicateCheckParams() const;
    /// Default: the key text.
    virtual QString KeyListText() const;
    virtual void FillRowFields() {}
    /// What still refers to the row deleted at `index` of cdsGrid (deletedValue()),
    /// one line per kind of reference; a save with any is refused (nothing
    /// written). Runs inside the save's transaction. Default: nothing.
    virtual QStringList DeletedRowReferences(int index) const;
    /// Closes and opens cdsGrid on the screen's connection with SetGridParams().
    virtual void OpenGrid();

    /// The required-field check: when `valid` is false, "<label caption>을(를)
    /// 정확히 입력하십시오." in the status message, focus on the field, Abort().
    void CheckRequired(bool valid, const QLabel *label, QWidget *field);
    /// The same for a text that must have at least `minLength` characters after trimming.
    void CheckRequired(const QLineEdit *field, const QLabel *label, int minLength = 1);
    /// A new row with a non-blank key: the database and the key list must not
    /// know it ("기존 등록된 키와 값이 중복됩니다.\r다시 입력하십시오.", focus on the
    /// key field, Abort()); otherwise the key joins the key list once the row is posted.
    void CheckDuplicateKey();
    /// U_EMP_NO, U_DATE (the workstation's clock), U_IP, where the data set has them.
    void StampAudit();

    void LoadData() override;
    void SettleEdits() override { SettleCurrentRow(); }
    bool HasPendingChanges() override;
    void SaveData() override;
    void DiscardChanges() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_keyField;
    QWidget *m_keyEdit = nullptr;
    bool m_lockExistingKey = true;
    QWidget *m_rowFocus = nullptr;
    QString m_duplicateSql;
    QStringList m_keyList;
    QString m_pendingKey;
};
