#pragma once

#include <QString>

class DataGrid;
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
/// A label's caption without its blanks, as the search errors quote it.
QString captionWithoutBlanks(const QLabel *label);

} // namespace CodeScreen
