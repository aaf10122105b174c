#pragma once

#include <QList>
#include <QString>

class ClientDataSet;
class DataGrid;
class DbEdit;
class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QVBoxLayout;
class QWidget;

/// Pieces the two code registration screens share.
namespace CodeScreen {

/// HEAD, DETAIL, DETAIL_NAME, ITEM1 … ITEM15 and the audit columns: the
/// select list of both screens' grids.
QString columnList();
/// The head field of a search area (`edtHead`): at most 5 characters, upper
/// case, Latin input.
QLineEdit *createHeadField(QWidget *parent);
/// The grid on the left of the work area, filling it, and the entry fields
/// beside it.
void placeBesideGrid(QVBoxLayout *mainLayout, DataGrid *grid, QLayout *fields);
/// The entry fields beside the grid: the key row, the name row
/// (`lblDetailName`, `dedDetailName` on DETAIL_NAME, at most 50 characters)
/// and fifteen attribute rows (`lblItem`n, `dedItem`n on ITEMn, at most 16
/// characters each), in one grid layout.
struct EntryPanel
{
    QGridLayout *layout = nullptr;
    QLabel *lblDetailName = nullptr;
    DbEdit *dedDetailName = nullptr;
    QLabel *lblItem[15] = {};
    DbEdit *dedItem[15] = {};
    /// The key field, the name field and the attributes, in entry order.
    QList<QWidget *> entries;
};
EntryPanel createEntryPanel(ClientDataSet *data,
                            QWidget *parent,
                            QLabel *keyLabel,
                            DbEdit *keyEdit,
                            const QString &nameCaption,
                            const QString &itemCaption);

/// A label's caption without its blanks, as the search errors quote it.
QString captionWithoutBlanks(const QLabel *label);

} // namespace CodeScreen
