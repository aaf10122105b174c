#pragma once

#include "ZZS010.h"
#include "datasetgrid.h"

#include <QVariantList>

class ClientDataSet;
class QMenu;

/// The grid inquiry screen: the result grid `rgrGrid` filling panMain over the
/// client data set `cdsQuery` (100 rows per packet) with record navigation
/// (DataSetGrid), the column chooser `popGrid` on the grid's popup menu, the
/// hidden side panel `panInfo` with its splitter, and the spreadsheet export
/// (Ctrl+F11).
///
/// A derived screen, in its constructor: adds its search fields
/// (addSearchWidget(), setSearchFields()), defines the grid's columns
/// (rgrGrid->addColumn(), cdsQuery->addField() where a field needs a type or
/// an alignment) and sets its caption with setWindowTitle() (the export's
/// title). Its search:
///
///     void TfrmZAS010::bbtSearchClick()
///     {
///         CheckCriteria();                  // status message, focus, Abort()
///         TfrmZZS020::bbtSearchClick();     // guard, column chooser rebuilt
///         OpenQuery(sql, {param0, param1}); // "조회할 내용이 없습니다." when empty
///         cedEmpNo->setFocus();
///     }
class TfrmZZS020 : public TfrmZZS010, public DataSetGrid
{
    Q_OBJECT

public:
    explicit TfrmZZS020(QWidget *parent = nullptr);

    /// The inherited search handler, then the column chooser rebuilt from the grid's columns.
    void bbtSearchClick() override;
    /// Button guard, wait cursor, SaveToSpreadsheet(); when a file was written
    /// asks whether to open it, and opens it with the desktop's application.
    virtual void bbtExcelClick();
    /// Before the grid's popup menu opens: a silent abort while the grid shows
    /// grouped headers (the menu does not open).
    virtual void popGridPopup();
    /// A column chooser item: toggles its check mark and shows its column exactly when checked.
    virtual void popGridClick(QAction *item);
    /// Removes the column chooser's items and adds one per grid column (hidden
    /// ones too), in the order shown, checked when the column is visible.
    void RebuildColumnChooser();

    /// The spreadsheet export of the grid's visible content (with its dialogs
    /// and messages); the path of the written file, or empty text.
    QString SaveToSpreadsheet();

    QPushButton *bbtExcel = nullptr;
    QAction *popHotkeyExcel = nullptr;
    QWidget *splSplitter = nullptr;
    QWidget *panInfo = nullptr;
    ClientDataSet *cdsQuery = nullptr;
    QMenu *popGrid = nullptr;

protected:
    /// Closes cdsQuery, gives it the statement and the parameters :P0, :P1 …
    /// and opens it on the screen's connection; an empty result shows
    /// "조회할 내용이 없습니다.". True when rows were found.
    bool OpenQuery(const QString &sql, const QVariantList &params = {});
    /// Opens the file with the application the desktop has for its type.
    virtual void OpenWithDesktop(const QString &path);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showGridMenu(const QPoint &position);

    int m_dragStart = -1;
    int m_dragWidth = 0;
};
