#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

/// The rows of an in-memory grid: every cell holds a text, every row a state
/// (RowState). A column has a title, a data type (numbers sort as numbers) and
/// a data width (the most characters a cell editor takes; 0 for no limit).
///
/// Edits through setData() (the user's) make their row the row being edited and
/// emit cellEdited(); post() ends the edit and emits rowPosted(), the grid's
/// after-post event. A row added with appendNewRow() is being edited from the
/// start; it is state Unchanged until posted and Inserted from then on. Loading
/// and copying use appendRow()/setCells(), which are no edits.
class MemoryGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum RowState { Unchanged = 0, Changed = 1, Inserted = 2, Deleted = 3 };
    enum class DataType { Text, Number };
    struct Column
    {
        QString title;
        DataType type = DataType::Text;
        int dataWidth = 0;
    };
    /// data(): the RowState of the row.
    static constexpr int RowStateRole = Qt::UserRole + 1;

    explicit MemoryGridModel(QObject *parent = nullptr);

    // --- columns ----------------------------------------------------------------
    void setColumns(const QList<Column> &columns);
    /// Adds a column at the end; rows get an empty cell in it.
    int appendColumn(const Column &column);
    const QList<Column> &columns() const { return m_columns; }
    Column column(int index) const { return m_columns.value(index); }

    // --- rows -------------------------------------------------------------------
    /// Removes every row (and ends any edit without posting).
    void clear();
    /// Adds a row at the end (cells beyond the columns are dropped, missing ones empty).
    int appendRow(const QStringList &cells, int state);
    /// Adds rows at the end in one step.
    void appendRows(const QList<QStringList> &rows, int state);
    /// Adds an empty row at the end as the row being edited (the row being
    /// edited before is posted first). Returns the new row.
    int appendNewRow();
    /// Removes a row; an edit of that row ends without posting.
    void deleteRow(int row);

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    QStringList cells(int row) const;
    void setCells(int row, const QStringList &cells);
    int rowState(int row) const;
    void setRowState(int row, int state);
    /// True when every cell of the row is empty.
    bool isRowBlank(int row) const;
    /// The first row whose cell in the column equals the number, or -1.
    int findNumber(int column, double number) const;

    // --- editing ----------------------------------------------------------------
    /// The row being edited, or -1.
    int editRow() const { return m_editRow; }
    /// True for a row added by appendNewRow() and not yet posted.
    bool isNewRow(int row) const { return row >= 0 && row == m_newRow; }
    /// Ends the edit of the row being edited and emits rowPosted() for it.
    void post();
    /// Ends the edit without posting (the row keeps what was typed).
    void dropEdit();

    // --- QAbstractTableModel -----------------------------------------------------
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    /// Stable sort by one column: numbers by value (empty first), texts by code point.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    /// A cell was changed through setData() (by the user).
    void cellEdited(int row, int column);
    /// The edit of the row ended with post().
    void rowPosted(int row);

private:
    struct Row
    {
        QStringList cells;
        int state = Unchanged;
    };

    bool validRow(int row) const { return row >= 0 && row < m_rows.size(); }
    QStringList fitted(const QStringList &cells) const;

    QList<Column> m_columns;
    QList<Row> m_rows;
    int m_editRow = -1;
    int m_newRow = -1;
};
