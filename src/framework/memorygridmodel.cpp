#include "memorygridmodel.h"

#include <algorithm>

MemoryGridModel::MemoryGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void MemoryGridModel::setColumns(const QList<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    for (Row &row : m_rows)
        row.cells = fitted(row.cells);
    endResetModel();
}

int MemoryGridModel::appendColumn(const Column &column)
{
    // A reset: the grid's column proxy maps its columns again.
    beginResetModel();
    m_columns.append(column);
    for (Row &row : m_rows)
        row.cells.append(QString());
    endResetModel();
    return int(m_columns.size()) - 1;
}

QStringList MemoryGridModel::fitted(const QStringList &cells) const
{
    QStringList result = cells.mid(0, m_columns.size());
    while (result.size() < m_columns.size())
        result.append(QString());
    return result;
}

void MemoryGridModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_editRow = -1;
    m_newRow = -1;
    endResetModel();
}

int MemoryGridModel::appendRow(const QStringList &cells, int state)
{
    const int row = int(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.append(Row{fitted(cells), state});
    endInsertRows();
    return row;
}

void MemoryGridModel::appendRows(const QList<QStringList> &rows, int state)
{
    if (rows.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    for (const QStringList &cells : rows)
        m_rows.append(Row{fitted(cells), state});
    endInsertRows();
}

int MemoryGridModel::appendNewRow()
{
    post();
    const int row = appendRow(QStringList(), Unchanged);
    m_editRow = row;
    m_newRow = row;
    return row;
}

void MemoryGridModel::deleteRow(int row)
{
    if (!validRow(row))
        return;
    const auto shifted = [row](int &index) {
        if (index == row)
            index = -1;
        else if (index > row)
            --index;
    };
    shifted(m_editRow);
    shifted(m_newRow);
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

QString MemoryGridModel::cell(int row, int column) const
{
    return validRow(row) ? m_rows.at(row).cells.value(column) : QString();
}

void MemoryGridModel::setCell(int row, int column, const QString &text)
{
    if (!validRow(row) || column < 0 || column >= m_columns.size())
        return;
    m_rows[row].cells[column] = text;
    const QModelIndex changed = index(row, column);
    Q_EMIT dataChanged(changed, changed);
}

QStringList MemoryGridModel::cells(int row) const
{
    return validRow(row) ? m_rows.at(row).cells : QStringList();
}

void MemoryGridModel::setCells(int row, const QStringList &cells)
{
    if (!validRow(row) || m_columns.isEmpty())
        return;
    m_rows[row].cells = fitted(cells);
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int MemoryGridModel::rowState(int row) const
{
    return validRow(row) ? m_rows.at(row).state : Unchanged;
}

void MemoryGridModel::setRowState(int row, int state)
{
    if (validRow(row))
        m_rows[row].state = state;
}

bool MemoryGridModel::isRowBlank(int row) const
{
    const QStringList values = cells(row);
    return std::all_of(values.cbegin(), values.cend(), [](const QString &v) { return v.isEmpty(); });
}

int MemoryGridModel::findNumber(int column, double number) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        bool ok = false;
        const double value = m_rows.at(row).cells.value(column).toDouble(&ok);
        if (ok && value == number)
            return row;
    }
    return -1;
}

void MemoryGridModel::post()
{
    const int row = m_editRow;
    if (row < 0)
        return;
    m_editRow = -1;
    if (row == m_newRow) {
        m_newRow = -1;
        m_rows[row].state = Inserted;
    }
    Q_EMIT rowPosted(row);
}

void MemoryGridModel::dropEdit()
{
    m_editRow = -1;
    m_newRow = -1;
}

int MemoryGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MemoryGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant MemoryGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !validRow(index.row()))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_rows.at(index.row()).cells.value(index.column());
    case Qt::TextAlignmentRole:
        if (column(index.column()).type == DataType::Number)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case RowStateRole:
        return m_rows.at(index.row()).state;
    default:
        return QVariant();
    }
}

bool MemoryGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !validRow(index.row()))
        return false;
    const int row = index.row();
    const QString text = value.toString();
    if (m_rows.at(row).cells.value(index.column()) == text)
        return true;
    if (m_editRow != row)
        post();
    m_editRow = row;
    setCell(row, index.column(), text);
    Q_EMIT cellEdited(row, index.column());
    return true;
}

QVariant MemoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return column(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags MemoryGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void MemoryGridModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size())
        return;
    const bool numbers = m_columns.at(column).type == DataType::Number;
    const auto less = [column, numbers](const Row &a, const Row &b) {
        const QString &x = a.cells.at(column);
        const QString &y = b.cells.at(column);
        if (numbers) {
            if (x.isEmpty() || y.isEmpty())
                return x.isEmpty() && !y.isEmpty();
            return x.toDouble() < y.toDouble();
        }
        return x < y;
    };

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> rowOrder(m_rows.size());
    for (int i = 0; i < rowOrder.size(); ++i)
        rowOrder[i] = i;
    std::stable_sort(rowOrder.begin(), rowOrder.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? less(m_rows.at(a), m_rows.at(b))
                                           : less(m_rows.at(b), m_rows.at(a));
    });
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    QList<int> newPlace(m_rows.size());
    for (int i = 0; i < rowOrder.size(); ++i) {
        sorted.append(m_rows.at(rowOrder.at(i)));
        newPlace[rowOrder.at(i)] = i;
    }
    m_rows = sorted;
    const auto moved = [&](int row) { return row < 0 ? row : newPlace.at(row); };
    m_editRow = moved(m_editRow);
    m_newRow = moved(m_newRow);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex &old : before)
        after.append(index(newPlace.value(old.row(), old.row()), old.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
