#include "clientdataset.h"

#include "clientdatasetsql.h"
#include "dberror.h"
#include "preparedbatch.h"
#include "sqlstatement.h"
#include "sqlvalue.h"
#include "transaction.h"

#include <algorithm>
#include <utility>
#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSqlField>
#include <QSqlRecord>

namespace {

// Null, or empty text: both are NULL to the server.
bool isBlank(const QVariant &value)
{
    return ClientDataSetSql::matchesAsNull(value);
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// Values read from either engine and values typed by the user meet here, so
// equal means "the same value", whatever the QVariant types.
bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool aBlank = isBlank(a);
    const bool bBlank = isBlank(b);
    if (aBlank || bBlank)
        return aBlank == bBlank;
    const QString *aText = SqlValue::textIn(a);
    const QString *bText = SqlValue::textIn(b);
    if (aText && bText)
        return *aText == *bText;
    if (isNumber(a) && isNumber(b))
        return a.toDouble() == b.toDouble();
    if (a.metaType() == b.metaType())
        return a == b;
    return ClientDataSet::displayText(a) == ClientDataSet::displayText(b);
}

DataField::Type typeOf(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return DataField::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return DataField::Number;
    case QMetaType::QDate:
        return DataField::Date;
    case QMetaType::QDateTime:
        return DataField::DateTime;
    default:
        return DataField::Text;
    }
}

QString notOpenText()
{
    return QStringLiteral("자료가 열려 있지 않습니다.");
}

} // namespace

ClientDataSet::ClientDataSet(QObject *parent)
    : QAbstractTableModel(parent)
{}

ClientDataSet::~ClientDataSet() = default;

void ClientDataSet::setDatabase(const QSqlDatabase &db)
{
    m_db = db;
}

void ClientDataSet::setSql(const QString &sql)
{
    m_sql = sql;
}

void ClientDataSet::setParam(const QString &name, const QVariant &value)
{
    m_params.insert(name.startsWith(QLatin1Char(':')) ? name.mid(1) : name, value);
}

void ClientDataSet::clearParams()
{
    m_params.clear();
}

void ClientDataSet::setTableName(const QString &table)
{
    m_table = table;
}

QString ClientDataSet::tableName() const
{
    return m_table.isEmpty() ? ClientDataSetSql::tableOf(m_sql) : m_table;
}

void ClientDataSet::setPacketRecords(int rows)
{
    m_packetRecords = rows;
}

DataField &ClientDataSet::addField(const DataField &field)
{
    m_declared.append(field);
    return m_declared.last();
}

void ClientDataSet::clearFields()
{
    m_declared.clear();
}

int ClientDataSet::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// --- open and close -------------------------------------------------------------

void ClientDataSet::buildFields(const QSqlRecord &record)
{
    QList<DataField> fields;
    QList<int> columns;
    // The hidden key columns of the packets are no fields.
    const int columnCount = record.count() - m_paging.keyCount();
    QList<bool> taken(columnCount, false);
    for (const DataField &declared : std::as_const(m_declared)) {
        int column = -1;
        if (!declared.isCalculated()) {
            column = record.indexOf(declared.name());
            if (column < 0 || column >= columnCount)
                throw DbError(QStringLiteral("필드를 찾을 수 없습니다: %1").arg(declared.name()));
            taken[column] = true;
        }
        fields.append(declared);
        columns.append(column);
    }
    for (int column = 0; column < columnCount; ++column) {
        if (taken.at(column))
            continue;
        const QSqlField sqlField = record.field(column);
        DataField field(sqlField.name(), typeOf(sqlField.metaType()));
        if (field.type() == DataField::Text && sqlField.length() > 0)
            field.setSize(sqlField.length());
        fields.append(field);
        columns.append(column);
    }
    m_fields = fields;
    m_columnOfField = columns;
}

bool ClientDataSet::isWrittenRow(const QVariantList &values) const
{
    for (const QVariantList &written : m_written) {
        bool same = true;
        for (int i = 0; i < values.size() && same; ++i)
            same = m_columnOfField.at(i) < 0 || sameValue(values.at(i), written.at(i));
        if (same)
            return true;
    }
    return false;
}

int ClientDataSet::readRows(SqlStatement &statement, int limit)
{
    int count = 0;
    int read = 0;
    m_moreRows = false;
    const int keyCount = m_paging.keyCount();
    const int firstKey = statement.columnCount() - keyCount;
    while (statement.next()) {
        if (limit >= 0 && read == limit) {
            m_moreRows = true; // the one row read beyond the packet
            break;
        }
        ++read;
        Row row;
        row.values.reserve(m_fields.size());
        for (int column : std::as_const(m_columnOfField))
            row.values.append(column < 0 ? QVariant() : statement.value(column));
        for (int i = 0; i < keyCount; ++i)
            m_lastKey[i] = statement.value(firstKey + i);
        // A row an apply wrote beyond the rows read is here already.
        if (!m_written.isEmpty() && isWrittenRow(row.values))
            continue;
        row.readIndex = m_readCount++;
        m_rows.append(std::move(row));
        ++count;
    }
    statement.close();
    return count;
}

void ClientDataSet::open()
{
    close();
    m_paging = KeysetPaging(m_sql, engineOf(m_db));
    m_lastKey = QVariantList(m_paging.keyCount());
    m_written.clear();
    // A statement that cannot be read in packets is read whole.
    const int limit = m_packetRecords > 0 && m_paging.isPageable() ? m_packetRecords : -1;
    SqlStatement statement(m_db,
                           m_paging.isPageable() ? m_paging.firstPacket(limit < 0 ? -1 : limit + 1)
                                                 : m_sql);
    for (auto it = m_params.cbegin(); it != m_params.cend(); ++it)
        statement.bind(it.key(), it.value());
    statement.setForwardOnly(true); // each row is read once, in order
    statement.open();

    beginResetModel();
    try {
        buildFields(statement.query().record());
        m_readCount = 0;
        m_state = State::Browse;
        readRows(statement, limit);
        m_calculating = true;
        for (int row = 0; row < m_rows.size(); ++row)
            calculate(row);
        m_calculating = false;
    } catch (...) {
        m_calculating = false;
        m_rows.clear();
        m_state = State::Inactive;
        m_paging = KeysetPaging();
        endResetModel();
        throw;
    }
    m_current = m_rows.isEmpty() ? -1 : 0;
    endResetModel();
    Q_EMIT stateChanged(m_state);
    Q_EMIT currentRowChanged(m_current);
}

void ClientDataSet::close()
{
    if (m_state == State::Inactive)
        return;
    beginResetModel();
    m_rows.clear();
    m_deleted.clear();
    m_editBackup.clear();
    m_modified = false;
    m_moreRows = false;
    m_readCount = 0;
    m_paging = KeysetPaging();
    m_lastKey.clear();
    m_written.clear();
    m_current = -1;
    m_state = State::Inactive;
    endResetModel();
    Q_EMIT stateChanged(m_state);
    Q_EMIT currentRowChanged(m_current);
}

// --- packets --------------------------------------------------------------------

bool ClientDataSet::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && isActive() && m_moreRows;
}

void ClientDataSet::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid())
        return;
    try {
        fetchPacket();
    } catch (const DbError &error) {
        m_moreRows = false; // a view would ask again and again
        Q_EMIT fetchFailed(error.message());
    } catch (const std::exception &error) {
        m_moreRows = false;
        Q_EMIT fetchFailed(QString::fromUtf8(error.what()));
    } catch (...) {
        m_moreRows = false;
    }
}

bool ClientDataSet::fetchPacket()
{
    if (!isActive() || !m_moreRows)
        return false;
    const int limit = m_packetRecords > 0 ? m_packetRecords : -1;
    QVariantMap keyValues;
    SqlStatement statement(m_db,
                           m_paging.nextPacket(m_lastKey, limit < 0 ? -1 : limit + 1, keyValues));
    for (auto it = m_params.cbegin(); it != m_params.cend(); ++it)
        statement.bind(it.key(), it.value());
    for (auto it = keyValues.cbegin(); it != keyValues.cend(); ++it)
        statement.bind(it.key(), it.value());
    statement.setForwardOnly(true); // each row is read once, in order
    statement.open();

    QList<Row> kept;
    std::swap(kept, m_rows);
    const int first = int(kept.size());
    const int readBefore = m_readCount;
    const QVariantList lastKeyBefore = m_lastKey;
    int count = 0;
    try {
        count = readRows(statement, limit);
    } catch (...) {
        m_rows = kept;
        m_readCount = readBefore;
        m_lastKey = lastKeyBefore;
        m_moreRows = true;
        throw;
    }
    QList<Row> fresh = std::exchange(m_rows, std::move(kept));
    if (count > 0) {
        beginInsertRows(QModelIndex(), first, first + count - 1);
        m_rows.append(std::move(fresh));
        endInsertRows();
        m_calculating = true;
        try {
            for (int row = first; row < first + count; ++row)
                calculate(row);
        } catch (...) {
            m_calculating = false;
            throw;
        }
        m_calculating = false;
        if (m_calcFields)
            Q_EMIT dataChanged(index(first, 0), index(first + count - 1, columnCount() - 1));
    }
    return count > 0;
}

void ClientDataSet::fetchAll()
{
    const int packet = m_packetRecords;
    m_packetRecords = 0; // one statement for the rest, not one per packet
    try {
        fetchPacket();
    } catch (...) {
        m_packetRecords = packet;
        throw;
    }
    m_packetRecords = packet;
}

// --- cursor ---------------------------------------------------------------------

void ClientDataSet::setCurrent(int row)
{
    if (m_current == row)
        return;
    m_current = row;
    Q_EMIT currentRowChanged(row);
}

void ClientDataSet::moveTo(int row)
{
    if (!isActive())
        return;
    row = std::max(row, 0);
    while (row >= m_rows.size() && m_moreRows)
        fetchPacket();
    bool removed = false;
    if (isEditing() && row != m_current) {
        const int editedRow = m_current;
        removed = leaveEdit();
        if (removed && row > editedRow)
            --row;
    }
    if (m_rows.isEmpty())
        return;
    row = std::min(row, int(m_rows.size()) - 1);
    if (row == m_current && !removed)
        return;
    setCurrent(row);
    if (m_afterScroll)
        m_afterScroll();
}

void ClientDataSet::first()
{
    moveTo(0);
}

void ClientDataSet::prior()
{
    if (m_current > 0)
        moveTo(m_current - 1);
}

void ClientDataSet::next()
{
    if (m_current + 1 >= m_rows.size() && m_moreRows)
        fetchPacket();
    if (m_current + 1 < m_rows.size())
        moveTo(m_current + 1);
}

void ClientDataSet::last()
{
    if (!isActive())
        return;
    fetchAll();
    moveTo(int(m_rows.size()) - 1);
}

// --- editing --------------------------------------------------------------------

void ClientDataSet::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (m_current >= 0)
        Q_EMIT headerDataChanged(Qt::Vertical, m_current, m_current);
    Q_EMIT stateChanged(state);
}

void ClientDataSet::emitRowChanged(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, std::max(0, columnCount() - 1)));
    if (row == m_current)
        Q_EMIT currentValuesChanged();
}

void ClientDataSet::removeRowAt(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    const int current = std::min(m_current, int(m_rows.size()) - 1);
    m_current = -2; // the row at the cursor is another one even if the index stays
    setCurrent(current);
}

bool ClientDataSet::leaveEdit()
{
    if (m_state == State::Insert && !m_modified) {
        cancel();
        return true;
    }
    if (m_state == State::Edit && !m_modified) {
        cancel();
        return false;
    }
    post();
    return false;
}

void ClientDataSet::edit()
{
    if (!isActive())
        throw DbError(notOpenText());
    if (isEditing())
        return;
    if (m_rows.isEmpty()) {
        insert();
        return;
    }
    m_editBackup = m_rows.at(m_current).values;
    m_modified = false;
    setState(State::Edit);
}

void ClientDataSet::insert()
{
    if (!isActive())
        throw DbError(notOpenText());
    if (isEditing())
        leaveEdit();
    const int at = std::max(m_current, 0);
    Row row;
    row.status = RowStatus::Inserted;
    for (int i = 0; i < m_fields.size(); ++i)
        row.values.append(QVariant());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(at, row);
    endInsertRows();
    m_modified = false;
    m_current = -2;
    setCurrent(at);
    setState(State::Insert);
    calculate(at);
}

void ClientDataSet::append()
{
    if (!isActive())
        throw DbError(notOpenText());
    if (isEditing())
        leaveEdit();
    fetchAll();
    const int at = int(m_rows.size());
    Row row;
    row.status = RowStatus::Inserted;
    for (int i = 0; i < m_fields.size(); ++i)
        row.values.append(QVariant());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.append(row);
    endInsertRows();
    m_modified = false;
    setCurrent(at);
    setState(State::Insert);
    calculate(at);
}

void ClientDataSet::post()
{
    if (!isEditing())
        return;
    if (m_state == State::Edit) {
        const QVariantList &values = m_rows.at(m_current).values;
        bool changed = false;
        for (int i = 0; i < m_fields.size() && !changed; ++i)
            changed = m_fields.at(i).isWritable() && !sameValue(values.at(i), m_editBackup.at(i));
        if (!changed) {
            cancel();
            return;
        }
    }
    if (m_beforePost)
        m_beforePost();
    for (int i = 0; i < m_fields.size(); ++i) {
        const DataField &field = m_fields.at(i);
        if (field.isRequired() && !field.isCalculated()
            && isBlank(m_rows.at(m_current).values.at(i)))
            throw DbError(QStringLiteral("%1 필드에 값이 필요합니다.").arg(field.displayLabel()));
    }
    Row &row = m_rows[m_current];
    if (m_state == State::Edit) {
        if (row.status == RowStatus::Unmodified) {
            row.original = m_editBackup;
            row.status = RowStatus::Modified;
        } else if (row.status == RowStatus::Modified) {
            bool same = true;
            for (int i = 0; i < m_fields.size() && same; ++i)
                same = !m_fields.at(i).isWritable()
                       || sameValue(row.values.at(i), row.original.at(i));
            if (same) {
                row.status = RowStatus::Unmodified;
                row.original.clear();
            }
        }
    }
    m_editBackup.clear();
    m_modified = false;
    setState(State::Browse);
    emitRowChanged(m_current);
    if (m_afterPost)
        m_afterPost();
}

void ClientDataSet::cancel()
{
    if (m_state == State::Insert) {
        m_modified = false;
        m_state = State::Browse; // before the removal, so that views see a browsing data set
        removeRowAt(m_current);
        m_state = State::Insert;
        setState(State::Browse);
        return;
    }
    if (m_state == State::Edit) {
        m_rows[m_current].values = m_editBackup;
        m_editBackup.clear();
        m_modified = false;
        setState(State::Browse);
        calculate(m_current);
        emitRowChanged(m_current);
    }
}

void ClientDataSet::deleteRecord()
{
    if (!isActive())
        throw DbError(notOpenText());
    if (m_rows.isEmpty())
        return;
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit) {
        m_rows[m_current].values = m_editBackup;
        m_editBackup.clear();
        m_modified = false;
        setState(State::Browse);
    }
    const Row &row = m_rows.at(m_current);
    if (row.status != RowStatus::Inserted) {
        Row gone = row;
        if (row.status == RowStatus::Unmodified)
            gone.original = row.values;
        m_deleted.append(gone);
    }
    removeRowAt(m_current);
}

QVariant ClientDataSet::value(const QString &field) const
{
    if (m_current < 0)
        return QVariant();
    return value(m_current, field);
}

QString ClientDataSet::text(const QString &field) const
{
    return displayText(value(field));
}

QVariant ClientDataSet::value(int row, int field) const
{
    return valueRef(row, field);
}

const QVariant &ClientDataSet::valueRef(int row, int field) const
{
    static const QVariant null;
    if (row < 0 || row >= m_rows.size() || field < 0 || field >= m_fields.size())
        return null;
    return m_rows.at(row).values.at(field);
}

QVariant ClientDataSet::value(int row, const QString &field) const
{
    return value(row, fieldIndex(field));
}

QVariant ClientDataSet::converted(const DataField &field, const QVariant &value) const
{
    if (isBlank(value))
        return QVariant();
    if (value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString();
    bool ok = true;
    QVariant result;
    switch (field.type()) {
    case DataField::Text:
        return text;
    case DataField::Integer:
        result = text.trimmed().toLongLong(&ok);
        break;
    case DataField::Number:
        result = text.trimmed().toDouble(&ok);
        break;
    case DataField::Date: {
        QDate date = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            date = QDate::fromString(text.trimmed(), QStringLiteral("yyyyMMdd"));
        ok = date.isValid();
        result = date;
        break;
    }
    case DataField::DateTime: {
        QDateTime moment = QDateTime::fromString(text.trimmed(),
                                                 QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!moment.isValid())
            moment = QDateTime::fromString(text.trimmed(), Qt::ISODate);
        ok = moment.isValid();
        result = moment;
        break;
    }
    }
    if (!ok)
        throw DbError(QStringLiteral("'%1'은(는) %2에 맞는 값이 아닙니다.")
                              .arg(text, field.displayLabel()));
    return result;
}

void ClientDataSet::setValue(const QString &fieldName, const QVariant &value)
{
    const int index = fieldIndex(fieldName);
    if (index < 0)
        throw DbError(QStringLiteral("필드를 찾을 수 없습니다: %1").arg(fieldName));
    if (!isEditing())
        throw DbError(QStringLiteral("자료가 편집 상태가 아닙니다."));
    const DataField &field = m_fields.at(index);
    if (field.isCalculated())
        throw DbError(QStringLiteral("계산 필드는 바꿀 수 없습니다: %1").arg(field.name()));
    const QVariant newValue = converted(field, value);
    QVariant &stored = m_rows[m_current].values[index];
    if (!sameValue(stored, newValue))
        m_modified = true;
    stored = newValue;
    calculate(m_current);
    emitRowChanged(m_current);
}

void ClientDataSet::setCalculatedValue(int row, const QString &field, const QVariant &value)
{
    const int index = fieldIndex(field);
    if (row < 0 || row >= m_rows.size() || index < 0)
        return;
    m_rows[row].values[index] = value;
}

void ClientDataSet::calculate(int row)
{
    if (m_calcFields && row >= 0 && row < m_rows.size())
        m_calcFields(row);
}

// --- pending changes ------------------------------------------------------------

int ClientDataSet::changeCount() const
{
    int count = int(m_deleted.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_state == State::Insert && i == m_current)
            continue;
        if (m_rows.at(i).status != RowStatus::Unmodified)
            ++count;
    }
    return count;
}

QVariant ClientDataSet::originalValue(int row, int field) const
{
    if (row < 0 || row >= m_rows.size() || field < 0 || field >= m_fields.size())
        return QVariant();
    const Row &r = m_rows.at(row);
    if (r.status == RowStatus::Modified)
        return r.original.at(field);
    if (m_state == State::Edit && row == m_current)
        return m_editBackup.at(field);
    return r.values.at(field);
}

void ClientDataSet::cancelUpdates()
{
    if (!isActive())
        return;
    beginResetModel();
    if (m_state == State::Edit)
        m_rows[m_current].values = m_editBackup;
    m_editBackup.clear();
    m_modified = false;
    m_state = State::Browse;
    QList<Row> rows;
    for (Row row : std::as_const(m_rows)) {
        if (row.status == RowStatus::Inserted)
            continue;
        if (row.status == RowStatus::Modified)
            row.values = row.original;
        row.original.clear();
        row.status = RowStatus::Unmodified;
        rows.append(row);
    }
    for (Row row : std::as_const(m_deleted)) {
        row.values = row.original;
        row.original.clear();
        row.status = RowStatus::Unmodified;
        rows.append(row);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return a.readIndex < b.readIndex;
    });
    m_rows = rows;
    m_deleted.clear();
    m_current = m_rows.isEmpty() ? -1 : std::clamp(m_current, 0, int(m_rows.size()) - 1);
    m_calculating = true;
    try {
        for (int row = 0; row < m_rows.size(); ++row)
            calculate(row);
    } catch (...) {
        m_calculating = false;
        endResetModel();
        throw;
    }
    m_calculating = false;
    endResetModel();
    Q_EMIT stateChanged(m_state);
    Q_EMIT currentRowChanged(m_current);
}

void ClientDataSet::writeChanges(PreparedBatch &batch)
{
    const QString table = tableName();
    if (table.isEmpty())
        throw DbError(QStringLiteral("자료를 쓸 테이블이 없습니다."));
    QStringList columns;
    QList<int> written;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).isWritable()) {
            columns.append(m_fields.at(i).name());
            written.append(i);
        }
    }
    const auto pick = [&](const QVariantList &values) {
        QVariantList picked;
        for (int i : std::as_const(written))
            picked.append(values.at(i));
        return picked;
    };
    // Rows of one shape share their statement's text (ClientDataSetSql): its
    // kind, then for each written column whether it is set (1) and whether its
    // original is found with IS NULL (2) or as empty text (4).
    QHash<QByteArray, QString> texts;
    const auto run = [&](const QByteArray &shape, const auto &build, bool oneRow) {
        const auto known = texts.constFind(shape);
        const bool isKnown = known != texts.constEnd();
        const ClientDataSetSql::Statement change = build(isKnown ? *known : QString());
        if (!isKnown)
            texts.insert(shape, change.sql);
        const int affected = batch.exec(change.sql, change.values);
        if (oneRow && affected != 1)
            throw DbError(rowChangedText());
    };
    const auto keyShape = [&](char kind, const QVariantList &originals) {
        QByteArray shape(1 + originals.size(), '\0');
        shape[0] = kind;
        for (int k = 0; k < originals.size(); ++k) {
            if (ClientDataSetSql::matchesAsEmptyText(originals.at(k)))
                shape[1 + k] = 4;
            else if (ClientDataSetSql::matchesAsNull(originals.at(k)))
                shape[1 + k] = 2;
        }
        return shape;
    };

    for (const Row &row : std::as_const(m_deleted)) {
        const QVariantList originals = pick(row.original);
        run(
                keyShape('D', originals),
                [&](const QString &known) {
                    return ClientDataSetSql::deleteRow(table, columns, originals, known);
                },
                true);
    }
    for (const Row &row : std::as_const(m_rows)) {
        if (row.status != RowStatus::Modified)
            continue;
        const QVariantList originals = pick(row.original);
        QByteArray shape = keyShape('U', originals);
        QStringList setColumns;
        QVariantList setValues;
        for (int k = 0; k < written.size(); ++k) {
            const int i = written.at(k);
            if (!sameValue(row.values.at(i), row.original.at(i))) {
                shape[1 + k] = char(shape.at(1 + k) | 1);
                setColumns.append(m_fields.at(i).name());
                setValues.append(row.values.at(i));
            }
        }
        if (!setColumns.isEmpty())
            run(
                    shape,
                    [&](const QString &known) {
                        return ClientDataSetSql::updateRow(table,
                                                           setColumns,
                                                           setValues,
                                                           columns,
                                                           originals,
                                                           known);
                    },
                    true);
    }
    for (const Row &row : std::as_const(m_rows)) {
        if (row.status == RowStatus::Inserted)
            run(
                    QByteArrayLiteral("I"),
                    [&](const QString &known) {
                        return ClientDataSetSql::insertRow(table, columns, pick(row.values), known);
                    },
                    false);
    }
}

QVariant ClientDataSet::deletedValue(int index, const QString &field) const
{
    const int i = fieldIndex(field);
    if (index < 0 || index >= m_deleted.size() || i < 0)
        return QVariant();
    const Row &row = m_deleted.at(index);
    return row.original.isEmpty() ? row.values.value(i) : row.original.value(i);
}

void ClientDataSet::applyUpdates()
{
    if (!isActive())
        throw DbError(notOpenText());
    if (isEditing())
        leaveEdit();
    if (changeCount() == 0)
        return;
    // Statements of one shape are prepared once, values bound. The batch ends
    // after the transaction: PostgreSQL frees its statements only outside a
    // failed transaction.
    PreparedBatch batch(m_db);
    Transaction::run(m_db, [&] { writeChanges(batch); });

    for (int i = 0; i < m_rows.size(); ++i) {
        Row &row = m_rows[i];
        // A row written may sort after the rows read: the next packets leave it out.
        if (m_moreRows && row.status != RowStatus::Unmodified)
            m_written.append(row.values);
        row.status = RowStatus::Unmodified;
        row.original.clear();
        row.readIndex = i;
    }
    m_readCount = int(m_rows.size());
    m_deleted.clear();
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_rows.size()) - 1, columnCount() - 1));
}

QString ClientDataSet::rowChangedText()
{
    return QStringLiteral("다른 사용자가 이미 변경하거나 삭제한 자료입니다.");
}

QString ClientDataSet::displayText(const QVariant &value)
{
    if (isBlank(value))
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        return value.toString();
    }
}

// --- model ----------------------------------------------------------------------

bool ClientDataSet::isRowIndex(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.row() < m_rows.size()
           && index.column() < m_fields.size();
}

int ClientDataSet::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ClientDataSet::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant ClientDataSet::data(const QModelIndex &index, int role) const
{
    if (!isRowIndex(index))
        return QVariant();
    const QVariant &value = m_rows.at(index.row()).values.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(value);
    case Qt::EditRole:
        return value;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_fields.at(index.column()).alignment() | Qt::AlignVCenter);
    case RowStatusRole:
        return int(m_rows.at(index.row()).status);
    default:
        return QVariant();
    }
}

QVariant ClientDataSet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_fields.size() ? m_fields.at(section).displayLabel()
                                                         : QVariant();
    return section + 1;
}

Qt::ItemFlags ClientDataSet::flags(const QModelIndex &index) const
{
    if (!isRowIndex(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_fields.at(index.column()).isWritable())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool ClientDataSet::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !isRowIndex(index))
        return false;
    try {
        moveTo(index.row());
        if (m_current != index.row())
            return false;
        edit();
        setValue(m_fields.at(index.column()).name(), value);
        return true;
    } catch (...) {
        return false;
    }
}
