#include "gridcolumnmodel.h"

#include "db/clientdataset.h"

#include <QFont>

GridColumnModel::GridColumnModel(QObject *parent)
    : QAbstractProxyModel(parent)
{}

void GridColumnModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
            beginResetModel();
        });
        connect(source, &QAbstractItemModel::modelReset, this, [this] {
            remap();
            endResetModel();
        });
        connect(source,
                &QAbstractItemModel::rowsAboutToBeInserted,
                this,
                [this](const QModelIndex &, int first, int last) {
                    beginInsertRows(QModelIndex(), first, last);
                });
        connect(source, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
        connect(source,
                &QAbstractItemModel::rowsAboutToBeRemoved,
                this,
                [this](const QModelIndex &, int first, int last) {
                    beginRemoveRows(QModelIndex(), first, last);
                });
        connect(source, &QAbstractItemModel::rowsRemoved, this, [this] { endRemoveRows(); });
        connect(source, &QAbstractItemModel::dataChanged, this, &GridColumnModel::sourceDataChanged);
        connect(source,
                &QAbstractItemModel::headerDataChanged,
                this,
                [this](Qt::Orientation orientation, int first, int last) {
                    if (orientation == Qt::Vertical)
                        Q_EMIT headerDataChanged(orientation, first, last);
                });
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] {
            Q_EMIT layoutAboutToBeChanged();
        });
        connect(source, &QAbstractItemModel::layoutChanged, this, [this] {
            remap();
            Q_EMIT layoutChanged();
        });
    }
    remap();
    endResetModel();
}

void GridColumnModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    remap();
    endResetModel();
}

void GridColumnModel::replaceColumn(int column, const GridColumn &replacement)
{
    if (column < 0 || column >= m_columns.size())
        return;
    if (m_columns.at(column).fieldName.compare(replacement.fieldName, Qt::CaseInsensitive) != 0) {
        beginResetModel();
        m_columns[column] = replacement;
        remap();
        endResetModel();
        return;
    }
    m_columns[column] = replacement;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column));
}

void GridColumnModel::remap()
{
    m_map.clear();
    QAbstractItemModel *source = sourceModel();
    const auto *dataSet = qobject_cast<ClientDataSet *>(source);
    if (m_columns.isEmpty()) {
        for (int i = 0; source && i < source->columnCount(); ++i)
            m_map.append(i);
        return;
    }
    // Rows that are not a data set (an in-memory grid) have no fields: columns go by position.
    for (int i = 0; i < m_columns.size(); ++i) {
        if (dataSet)
            m_map.append(dataSet->fieldIndex(m_columns.at(i).fieldName));
        else
            m_map.append(source && i < source->columnCount() ? i : -1);
    }
}

int GridColumnModel::sourceColumn(int column) const
{
    return column >= 0 && column < m_map.size() ? m_map.at(column) : -1;
}

QModelIndex GridColumnModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex GridColumnModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int GridColumnModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !sourceModel() ? 0 : sourceModel()->rowCount();
}

int GridColumnModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_map.size());
}

QModelIndex GridColumnModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel())
        return QModelIndex();
    const int column = sourceColumn(proxyIndex.column());
    return column < 0 ? QModelIndex() : sourceModel()->index(proxyIndex.row(), column);
}

QModelIndex GridColumnModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid())
        return QModelIndex();
    const int column = int(m_map.indexOf(sourceIndex.column()));
    return column < 0 ? QModelIndex() : index(sourceIndex.row(), column);
}

void GridColumnModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (columnCount() == 0 || !topLeft.isValid() || !bottomRight.isValid())
        return;
    // Grid columns need not follow the field order: the whole rows changed.
    Q_EMIT dataChanged(index(topLeft.row(), 0), index(bottomRight.row(), columnCount() - 1));
}

void GridColumnModel::setCellStyler(GridCellStyler styler)
{
    m_styler = std::move(styler);
    if (rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

GridCellStyle GridColumnModel::cellStyle(int row, int column) const
{
    GridCellStyle style;
    if (column >= 0 && column < m_columns.size())
        style.text = m_columns.at(column).textColour;
    if (m_styler)
        m_styler(row, column, style);
    return style;
}

QVariant GridColumnModel::data(const QModelIndex &proxyIndex, int role) const
{
    const QModelIndex source = mapToSource(proxyIndex);
    if (!source.isValid())
        return QVariant();
    switch (role) {
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
    case Qt::FontRole: {
        const GridCellStyle style = cellStyle(proxyIndex.row(), proxyIndex.column());
        if (role == Qt::ForegroundRole && style.text.isValid())
            return style.text;
        if (role == Qt::BackgroundRole && style.background.isValid())
            return style.background;
        if (role == Qt::FontRole && style.bold) {
            QFont bold; // resolved onto the grid's font: only the weight is set
            bold.setBold(true);
            return bold;
        }
        return source.data(role);
    }
    case Qt::DisplayRole:
        if (!m_columns.isEmpty() && m_columns.at(proxyIndex.column()).blankRepeats
            && proxyIndex.row() > 0) {
            const QVariant value = source.data(role);
            if (value == source.sibling(source.row() - 1, source.column()).data(role))
                return QString();
            return value;
        }
        break;
    default:
        break;
    }
    if (role == Qt::TextAlignmentRole && !m_columns.isEmpty()) {
        const Qt::Alignment own = m_columns.at(proxyIndex.column()).alignment;
        if (own)
            return QVariant::fromValue(own | Qt::AlignVCenter);
    }
    return source.data(role);
}

QVariant GridColumnModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        if (role == Qt::ForegroundRole && section >= 0 && section < m_columns.size()
            && m_columns.at(section).textColour.isValid())
            return m_columns.at(section).textColour;
        if (role != Qt::DisplayRole || section < 0 || section >= columnCount())
            return QVariant();
        if (!m_columns.isEmpty())
            return m_columns.at(section).title;
        return sourceModel() ? sourceModel()->headerData(m_map.at(section), orientation, role)
                             : QVariant();
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    // Indicator column: the current row, and whether it is being edited or inserted.
    const auto *dataSet = qobject_cast<ClientDataSet *>(sourceModel());
    if (!dataSet || section != dataSet->currentRow())
        return QString();
    switch (dataSet->state()) {
    case ClientDataSet::State::Edit:
        return QStringLiteral("I");
    case ClientDataSet::State::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("▶");
    }
}

Qt::ItemFlags GridColumnModel::flags(const QModelIndex &proxyIndex) const
{
    const QModelIndex source = mapToSource(proxyIndex);
    if (!source.isValid())
        return proxyIndex.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    Qt::ItemFlags flags = sourceModel()->flags(source);
    if (!m_columns.isEmpty() && m_columns.at(proxyIndex.column()).readOnly)
        flags &= ~Qt::ItemIsEditable;
    return flags;
}
