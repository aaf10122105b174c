#pragma once

#include "gridcellstyle.h"
#include "gridcolumn.h"

#include "db/clientdataset.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTableView>

class GridColumnModel;
class GridFooterBar;
class GridHeaderView;

/// The data grid (`rgr…`): shows a client data set through its columns, one
/// row selected, arrow keys and clicks move the data set's cursor (posting the
/// row being edited first, through the user-action guard), columns resizable.
/// The data set's after-scroll handler is the grid's row-change event. The grid
/// follows the cursor when the data set moves by itself; a move the data set
/// refuses (a failed post) leaves the grid on the data set's row.
///
/// Columns are defined once, before or after the data set opens; their widths
/// survive reopening, and so does a width the user dragged.
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setDataSet(ClientDataSet *dataSet);
    ClientDataSet *dataSet() const { return m_dataSet; }

    /// Adds a column bound to a field; returns its index.
    int addColumn(const QString &fieldName,
                  const QString &title,
                  int width = 64,
                  Qt::Alignment alignment = {});
    int addColumn(const GridColumn &column);
    void clearColumns();
    int gridColumnCount() const;
    GridColumn gridColumn(int index) const;
    void setGridColumn(int index, const GridColumn &column);
    /// Sets a column as wide as its title and the widest of the rows loaded
    /// so far need, within minimum and maximum pixels.
    void fitColumnToContents(int index, int minimum, int maximum);
    void setColumnVisible(int index, bool visible);
    bool isColumnVisible(int index) const;

    /// The style hook: text colour, background and bold per row or per cell
    /// (the selection keeps its own colours). Columns give their text colour
    /// and blank repeated values themselves (GridColumn).
    void setCellStyle(GridCellStyler styler);
    /// The style a cell is drawn with.
    GridCellStyle cellStyle(int row, int column) const;

    /// The data set field a column shows, -1 when it shows none.
    int fieldIndexOf(int column) const;
    /// Column indices in the order the columns are shown (hidden ones included).
    QList<int> displayOrder() const;
    /// The visible columns in the order they are shown.
    QList<int> visibleColumns() const;
    /// Lets the user drag columns to another place.
    void setColumnsMovable(bool movable);
    /// Enter moves to the next column (and on to the next row), as Tab would.
    void setEnterMovesLikeTab(bool on) { m_enterAsTab = on; }

    /// Column groups: a caption shown in a group header row above the titles of
    /// the adjacent columns of the group (GridColumn::group). Columns of no
    /// group show their title over both rows.
    int addColumnGroup(const QString &caption);
    void clearColumnGroups();
    int columnGroupCount() const { return int(m_groups.size()); }
    QString columnGroupCaption(int group) const { return m_groups.value(group); }
    /// Puts a column into a group (-1: none).
    void setColumnGroup(int column, int group);
    /// True when the grid shows the group header row: a visible column belongs to a group.
    bool hasGroupedHeaders() const;
    /// Height of the title row and of the group row (0: from the font).
    void setHeaderRowHeights(int titleRow, int groupRow);
    int titleRowHeight() const;
    int groupRowHeight() const;

    /// Sort marks shown in the titles; the grid does not sort by itself.
    enum class SortMark { None, Ascending, Descending };
    void setSortMark(int column, SortMark mark);
    SortMark sortMark(int column) const { return m_sortMarks.value(column, SortMark::None); }
    void clearSortMarks();

    /// The footer row below the rows; columns show what GridColumn::footer says.
    void setFooterVisible(bool visible);
    bool isFooterVisible() const;
    /// Computes the Sum and Count footers, then emits footersCalculated(), where
    /// a screen may reformat them with setFooterText().
    void recalculateFooters();
    QString footerText(int column) const { return m_footerTexts.value(column); }
    void setFooterText(int column, const QString &text);

Q_SIGNALS:
    /// A click on a column title (the column index).
    void titleClicked(int column);
    /// After recalculateFooters() has set the footer texts.
    void footersCalculated();

protected:
    void updateGeometries() override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    template<typename F>
    void asUserMove(F &&handleEvent);
    void followDataSet();
    void applyColumns();
    void headerLayoutChanged();
    void columnResized(int column, int oldSize, int newSize);

    GridColumnModel *m_columns = nullptr;
    QPointer<ClientDataSet> m_dataSet;
    bool m_userMove = false;
    bool m_following = false;
    bool m_applying = false;
    bool m_enterAsTab = false;
    GridHeaderView *m_header = nullptr;
    GridFooterBar *m_footer = nullptr;
    QStringList m_groups;
    QHash<int, SortMark> m_sortMarks;
    QHash<int, QString> m_footerTexts;
    int m_titleRowHeight = 0;
    int m_groupRowHeight = 0;
};
