#pragma once

#include "ZZH010.h"
#include "datasetgrid.h"

#include <QVariantList>

class ClientDataSet;
class QKeyEvent;

/// The lookup dialog with a result grid: `rgrGrid` filling panMain over the
/// client data set `cdsQuery` (100 rows per packet) with record navigation, as
/// on the grid screens (DataSetGrid), the two-panel status bar `stbMessage`
/// (program ID, message), and selection of a row by double click or Enter in
/// the grid. bbtOK is not the default button.
///
/// A concrete dialog, in its constructor: sets its object name (frmZAH010) and
/// caption, adds its search field (addSearchWidget(), setSearchFields()) and
/// the grid's columns. Its search:
///
///     void TfrmZAH010::bbtSearchClick()
///     {
///         TfrmZZH020::bbtSearchClick();            // message cleared, button checked
///         SearchQuery(sql, {edtEmpName->text()});  // grid focused, or "조회할 내용이 없습니다."
///     }
///
/// OK keeps the current row's first column as chosenCode() and its second as
/// chosenName() and closes the dialog; without a current row (or with a null
/// first column) it does nothing.
class TfrmZZH020 : public TfrmZZH010, public DataSetGrid
{
    Q_OBJECT

public:
    explicit TfrmZZH020(QWidget *owner = nullptr);

    /// Clears the message, then the inherited handler.
    void bbtSearchClick() override;
    /// Clears the message; with a current row whose first column is not null:
    /// keeps the choice and ends with OK; otherwise a silent abort.
    void bbtOKClick() override;
    /// Clears the message, then the inherited handler.
    void bbtCloseClick() override;
    /// cdsQuery open and the current row's first column not null: clicks bbtOK.
    virtual void rgrGridDblClick();
    /// Enter: consumed, runs rgrGridDblClick(); true when the key was taken.
    virtual bool rgrGridKeyPress(QKeyEvent *event);

    /// The code and the name kept when OK was pressed (empty until then).
    QString chosenCode() const { return m_chosenCode; }
    QString chosenName() const { return m_chosenName; }

    ClientDataSet *cdsQuery = nullptr;

protected:
    /// Panel 0 := the program ID.
    void FormCreate() override;
    /// True when cdsQuery is open and its current row's first column is not null.
    bool hasChoice() const;
    /// Keeps the choice from the current row (first and second column); derived
    /// dialogs that return other columns override it.
    virtual void KeepChoice();
    void setChoice(const QString &code, const QString &name);
    /// Closes cdsQuery, opens it with the statement and :P0, :P1 … on the
    /// dialog's connection; rows found: focus on the grid, otherwise
    /// "조회할 내용이 없습니다.". True when rows were found.
    bool SearchQuery(const QString &sql, const QVariantList &params = {});

    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_chosenCode;
    QString m_chosenName;
};
