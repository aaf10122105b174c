#pragma once

#include "ZZI010.h"
#include "memorygridmodel.h"
#include "recordnavigation.h"
#include "rowbuttons.h"

#include <memory>
#include <QStringList>

class MemoryGrid;
class QAbstractItemView;
class QFrame;
class QKeyEvent;
class QToolButton;
class SqlStatement;
class StoredProcedure;
struct GridColumn;

/// The generic grid editor: the rows of one SELECT (`qryQuery`) in the editable
/// in-memory grid `rgrGrid`, every change recorded in a hidden change list (the
/// shadow grid), and a save that calls the stored procedure `prcProc` once per
/// recorded change, in one transaction.
///
/// A derived screen sets the SELECT (qryQuery().setSql()), defines the grid's
/// columns in the order of the SELECT's columns (addGridColumn(); a SELECT with
/// more columns gets plain text columns for the rest) and names the procedure
/// (prcProc().setProcedureName()). The procedure's parameters are matched by
/// name: "A" + column name takes the cell, AU_EMP_NO the employee number, AU_IP
/// the local address, AEDITSTATUS "1" update, "2" insert, "3" delete;
/// parameters without a match keep their previous value.
///
/// Rows: a hidden "RowID" column follows the grid's columns from the first
/// search on; loaded rows are numbered 1, 2, 3 … and start in state Changed, a
/// new row takes the next number when first posted. A posted row is recorded
/// once per RowID (GridAfterPost); a deleted loaded row is recorded again as a
/// delete (GridBeforeDelete). A failing procedure call rolls the whole save
/// back; every change stays in the list, the failing one marked (its row drawn
/// in the selection colours), so that the next save sends them all again or the
/// user cancels them knowingly. After a save every row is an existing row again
/// (state Changed): editing it later updates it, deleting it deletes it.
class TfrmZZI080 : public TfrmZZI010, public RecordNavigation, public RowButtons
{
    Q_OBJECT

public:
    explicit TfrmZZI080(QWidget *parent = nullptr);
    ~TfrmZZI080() override;

    /// Base search (edit mode); "qryQuery의 쿼리문이 없습니다." without a SELECT;
    /// loads the rows; "조회할 내용이 없습니다." when none were ever numbered.
    void bbtSearchClick() override;
    /// Base cancel (with its question when changed), then sort marks, change
    /// list and rows cleared, footers recalculated, the numbering restarted.
    void bbtCancelClick() override;
    /// Guard; focuses the grid and starts a new row.
    void bbtAddClick() override;
    /// Guard; with rows and a Yes to the question, deletes the current row.
    void bbtDeleteClick() override;

    /// Spare statement for derived screens.
    SqlStatement &qryTemp();
    /// The procedure called once per recorded change.
    StoredProcedure &prcProc();

    /// Adds a grid column (before the first search); returns its index.
    int addGridColumn(const GridColumn &column,
                      MemoryGridModel::DataType type = MemoryGridModel::DataType::Text,
                      int dataWidth = 0);
    /// The rows of rgrGrid and the change list (the shadow grid's rows).
    MemoryGridModel *rows() const { return m_rows; }
    MemoryGridModel *changeList() const { return m_changes; }
    MemoryGrid *shadowGrid() const;
    /// The RowID column (-1 before the first search).
    int rowIdColumn() const { return m_rowIdColumn; }
    /// The last RowID given.
    int rowCounter() const { return m_counter; }
    /// The SELECT's column names (from the first search on).
    QStringList fieldNames() const { return m_fieldNames; }
    /// The RowID of the change being sent (for an overriding ExecuteRow()).
    QString currentRowId() const { return m_currentRowId; }
    /// True for a grid row whose change the last save could not send.
    bool isFailedRow(int row) const;

    /// Focus colours of the controls of attachEditControls(): light yellow on
    /// entry, the window colour on exit (edit boxes, combo boxes, memos).
    void edtEnter(QWidget *control);
    void edtExit(QWidget *control);

    QFrame *panMaster = nullptr;
    MemoryGrid *rgrGrid = nullptr;

protected:
    /// sbtFirst … sbtLast: first, previous, next, last row of the grid.
    void moveRecord(Move move) override;
    void FormCreate() override;
    /// Ends the cell edit in progress and posts its row.
    void SettleEdits() override;
    /// "변경된 데이타가 존재하지 않습니다." without changes; the question "저장 하시겠습니까?".
    void CheckSaveData() override;
    /// SaveChanges(), inside the save's transaction.
    void WriteChanges() override;
    /// Every row an existing row again; "자료를 저장했습니다." in the status bar.
    void AfterSave() override;

    /// Title click: the other marks cleared, sorted by the column, descending
    /// when it was marked ascending, ascending otherwise.
    virtual void GridColumnTitleClick(int column);
    /// Records the deletion of a loaded row.
    virtual void GridBeforeDelete(int row);
    /// Records a posted row (a new row left blank is removed instead).
    virtual void GridAfterPost(int row);
    /// Copy-down with Ctrl (Right marks the columns, Down copies into the next row).
    virtual void GridKeyDown(int key, Qt::KeyboardModifiers modifiers);
    virtual void GridKeyUp(int key, Qt::KeyboardModifiers modifiers);
    /// True for a cell drawn in the selection colours (the copy-down range).
    virtual bool GridDrawCell(int row, int column) const;
    virtual void rgrGridValueChanged(int row, int column);

    /// SaveRows(rgrGrid, change list, prcProc).
    virtual void SaveChanges();
    /// One call of the procedure per change, in order; see the class comment.
    virtual void SaveRows(MemoryGrid *grid, MemoryGridModel *changes, StoredProcedure &procedure);
    /// Runs prcProc once.
    virtual void ExecuteRow();

    // For derived screens.
    /// Enter moves the focus to the next control; true when the key was used.
    bool edtKeyPress(QWidget *control, QKeyEvent *event);
    /// F1 in a control named xxxName clicks sbtName, or else bbtName; true when one was clicked.
    bool edtKeyDown(QWidget *control, QKeyEvent *event);
    /// Routes the focus and key events of the controls to the four handlers above.
    void attachEditControls(const QList<QWidget *> &controls);
    /// Moves to the row (unless -1), focuses the grid and stops the action.
    [[noreturn]] void ErrFocus(QAbstractItemView *grid, int row);
    /// Enables, colours and empties a panel and the controls within six levels of it.
    void EnablePanel(QWidget *panel, bool enable, bool colour, bool clear);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void CloseStatements() override;

private:
    void prepareColumns();
    void footersCalculated();
    void clearCopyDown();
    void copyDown();

    MemoryGridModel *m_rows = nullptr;
    MemoryGridModel *m_changes = nullptr;
    std::unique_ptr<MemoryGrid> m_shadow;
    std::unique_ptr<SqlStatement> m_temp;
    std::unique_ptr<StoredProcedure> m_procedure;
    QStringList m_fieldNames;
    QString m_currentRowId;
    QString m_failedRowId;
    int m_rowIdColumn = -1;
    int m_counter = 0;
    // Copy-down: source and target row, first and last column of the range (-1: none).
    int m_sourceRow = -1;
    int m_targetRow = -1;
    int m_firstColumn = -1;
    int m_lastColumn = -1;
};
