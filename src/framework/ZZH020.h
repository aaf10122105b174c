#pragma once

#include "ZZH010.h"
#include "recordnavigation.h"

#include <QVariantList>

class ClientDataSet;
class DataGrid;
class QLabel;
class QStatusBar;
class QToolButton;

/// The lookup dialog with a result grid: `rgrGrid` filling panMain over the
/// client data set `cdsQuery` (100 rows per packet), record navigation, the
/// two-panel status bar `stbMessage` (program ID, message), and selection of a
/// row by double click or Enter in the grid. bbtOK is not the default button.
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
class TfrmZZH020 : public TfrmZZH010, public RecordNavigation
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

    /// Sets the message panel (repainted at once) when the text differs.
    void ShowStatusMessage(const QString &text);
    QString statusMessage() const;
    /// Status bar panel 0 (program ID) or 1 (message).
    QLabel *statusPanel(int index) const;

    /// The code and the name kept when OK was pressed (empty until then).
    QString chosenCode() const { return m_chosenCode; }
    QString chosenName() const { return m_chosenName; }

    DataGrid *rgrGrid = nullptr;
    ClientDataSet *cdsQuery = nullptr;
    QStatusBar *stbMessage = nullptr;

protected:
    /// sbtFirst … sbtLast: first, previous, next, last row of cdsQuery (nothing while it is closed).
    void moveRecord(Move move) override;
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

private:
    QLabel *m_panels[2] = {};
    QString m_chosenCode;
    QString m_chosenName;
};
