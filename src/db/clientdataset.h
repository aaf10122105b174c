#pragma once

#include "datafield.h"
#include "keysetpaging.h"

#include <functional>
#include <QAbstractTableModel>
#include <QList>
#include <QSqlDatabase>
#include <QVariantList>
#include <QVariantMap>

/// The rows of one SELECT held on the client and edited there, written back in
/// one transaction (the client data set with its provider).
///
/// Opening runs the statement and reads its first packet of rows (100 by
/// default); further packets are read when the cursor or a view moves past the
/// rows read so far (canFetchMore()/fetchMore()). Each packet goes on after the
/// order key of the last row read (KeysetPaging), so the packets are one result
/// whatever other connections insert or delete meanwhile; the statement must
/// order its rows by a unique key. A statement that cannot be read so (no
/// ORDER BY, a compound statement …) is read whole at open.
///
/// One row is current (the cursor). The data set is inactive, browsing, or
/// editing or inserting the current row; post() ends an edit or insert through
/// the before-post handler, cancel() undoes it. Moving the cursor posts the row
/// being edited first (a new row nobody typed in is dropped). Posted changes,
/// inserted rows and deleted rows stay pending, each row with its original
/// values, until applyUpdates() writes them or cancelUpdates() discards them.
///
/// Handlers run inside the caller's action and may throw (SilentAbort, DbError):
/// a throwing before-post handler refuses the post and leaves the row in edit.
/// Failures never leave through Qt's own calls (data(), fetchMore()): a packet
/// that fails there is reported by fetchFailed().
class ClientDataSet : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class RowStatus { Unmodified, Modified, Inserted };
    /// data(): the RowStatus of the row (as int).
    static constexpr int RowStatusRole = Qt::UserRole + 1;

    explicit ClientDataSet(QObject *parent = nullptr);
    ~ClientDataSet() override;

    // --- source ---------------------------------------------------------------
    void setDatabase(const QSqlDatabase &db);
    QSqlDatabase database() const { return m_db; }
    /// The SELECT with parameters :P0, :P1 …; rows are written to its table.
    void setSql(const QString &sql);
    QString sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    void clearParams();
    /// The written table; by default the first table after FROM in the statement.
    void setTableName(const QString &table);
    QString tableName() const;
    /// Rows per packet (default 100); 0 or less reads every row at open.
    void setPacketRecords(int rows);
    int packetRecords() const { return m_packetRecords; }

    // --- fields ---------------------------------------------------------------
    /// Declares a field before open. Declared fields come first, in declaration
    /// order; the statement's other columns follow in its order. A declared data
    /// field missing from the statement makes open() fail.
    DataField &addField(const DataField &field);
    void clearFields();
    int fieldCount() const { return int(m_fields.size()); }
    const DataField &field(int index) const { return m_fields.at(index); }
    /// -1 when there is no such field (names compare without regard to case).
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }

    // --- open and close -------------------------------------------------------
    /// Runs the statement and reads the first packet; throws DbError.
    void open();
    /// Discards the rows and any pending change.
    void close();
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }

    // --- packets --------------------------------------------------------------
    bool canFetchMore(const QModelIndex &parent = QModelIndex()) const override;
    /// For views: reads the next packet; a failure is reported by fetchFailed().
    void fetchMore(const QModelIndex &parent = QModelIndex()) override;
    /// Reads the next packet; throws DbError. False when every row was read.
    bool fetchPacket();
    /// Reads every remaining row; throws DbError.
    void fetchAll();

    // --- cursor ---------------------------------------------------------------
    /// The current row, -1 when there is none.
    int currentRow() const { return m_current; }
    /// Rows read so far (deleted rows excluded).
    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    /// Each move posts the row being edited first and runs the after-scroll
    /// handler when the current row changed. Nothing happens while inactive.
    void moveTo(int row);
    void first();
    void prior();
    /// Reads the next packet when the cursor is on the last row read.
    void next();
    /// Reads every remaining packet.
    void last();

    // --- editing the current row ----------------------------------------------
    /// Edits the current row; on an empty data set starts a new row instead.
    void edit();
    /// Starts a new row before the current row and makes it current.
    void insert();
    /// Starts a new row at the end.
    void append();
    /// Ends the edit or insert: before-post handler, required fields, then the
    /// row's change is pending. An edit that changed nothing just ends.
    void post();
    void cancel();
    /// Deletes the current row (a row not yet written simply disappears).
    void deleteRecord();
    /// True once a value of the row being edited or inserted was set.
    bool isModified() const { return m_modified; }

    QVariant value(const QString &field) const;
    QString text(const QString &field) const;
    QVariant value(int row, int field) const;
    QVariant value(int row, const QString &field) const;
    /// The stored value itself, for a reader of every row that copies nothing
    /// (an export); null for a row or field out of range.
    const QVariant &valueRef(int row, int field) const;
    /// Sets a value of the current row, which must be in edit or insert; text is
    /// converted to the field's type (empty text is null). Throws DbError.
    void setValue(const QString &field, const QVariant &value);
    /// Only for the calculation handler: sets a calculated field of a row.
    void setCalculatedValue(int row, const QString &field, const QVariant &value);

    // --- pending changes ------------------------------------------------------
    /// Inserted, modified and deleted rows not yet applied.
    int changeCount() const;
    RowStatus rowStatus(int row) const { return m_rows.at(row).status; }
    /// The value as read from the database (the current value for unchanged and new rows).
    QVariant originalValue(int row, int field) const;
    /// Rows deleted since the last apply that were read from the database.
    int deletedCount() const { return int(m_deleted.size()); }
    /// A value of such a row as read; null for an index or field out of range.
    QVariant deletedValue(int index, const QString &field) const;
    /// Restores every row as read; rows deleted come back, new rows go.
    void cancelUpdates();
    /// Writes every pending change in one transaction: DELETE and UPDATE find
    /// their row by the original values of the written columns, and each must
    /// affect exactly one row; INSERT writes every written column. On any
    /// failure the transaction is rolled back, DbError carries the first
    /// failure's text, and every change stays pending. Posts an open edit first.
    void applyUpdates();

    // --- handlers -------------------------------------------------------------
    /// Runs before a row is posted; throw to refuse the post.
    void setBeforePost(std::function<void()> handler) { m_beforePost = std::move(handler); }
    void setAfterPost(std::function<void()> handler) { m_afterPost = std::move(handler); }
    /// Runs after a move changed the current row.
    void setAfterScroll(std::function<void()> handler) { m_afterScroll = std::move(handler); }
    /// Computes the calculated fields of one row (setCalculatedValue()); runs
    /// when a row is read and whenever a value of the row being edited changes.
    void setCalcFields(std::function<void(int row)> handler) { m_calcFields = std::move(handler); }

    /// The shown text of a value: dates as yyyy-MM-dd HH:mm:ss, null as empty.
    static QString displayText(const QVariant &value);
    /// The message of an UPDATE or DELETE whose row is gone or changed.
    static QString rowChangedText();

    // --- model ------------------------------------------------------------------
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    /// Edits through a view: moves to the row, edits and sets the value; false on any failure.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    void stateChanged(ClientDataSet::State state);
    void currentRowChanged(int row);
    /// A value of the current row changed (by setValue(), cancel() or a calculation).
    void currentValuesChanged();
    void fetchFailed(const QString &message);

private:
    struct Row
    {
        QVariantList values;
        QVariantList original; // empty unless modified
        RowStatus status = RowStatus::Unmodified;
        int readIndex = -1; // position as read; -1 for new rows
    };

    bool isRowIndex(const QModelIndex &index) const;
    bool isWrittenRow(const QVariantList &values) const;
    void buildFields(const class QSqlRecord &record);
    int readRows(class SqlStatement &statement, int limit);
    void calculate(int row);
    void setState(State state);
    void setCurrent(int row);
    bool leaveEdit(); // posts or drops the row being edited; true when a row was removed
    void removeRowAt(int row);
    void emitRowChanged(int row);
    QVariant converted(const DataField &field, const QVariant &value) const;
    void writeChanges(class PreparedBatch &batch);

    QSqlDatabase m_db;
    QString m_sql;
    QString m_table;
    QVariantMap m_params;
    int m_packetRecords = 100;

    QList<DataField> m_declared;
    QList<DataField> m_fields;
    QList<int> m_columnOfField; // statement column of each field, -1 when calculated

    QList<Row> m_rows;
    QList<Row> m_deleted;
    int m_readCount = 0;
    bool m_moreRows = false;
    KeysetPaging m_paging;
    QVariantList m_lastKey;        // order key of the last row read
    QList<QVariantList> m_written; // rows an apply wrote while packets were left
    int m_current = -1;
    State m_state = State::Inactive;
    QVariantList m_editBackup;
    bool m_modified = false;
    bool m_calculating = false;

    std::function<void()> m_beforePost;
    std::function<void()> m_afterPost;
    std::function<void()> m_afterScroll;
    std::function<void(int)> m_calcFields;
};
