#pragma once

class QColor;
class QTableView;

/// Paints the cells of one column of a grid on a background of their own
/// (the column keeps it when the user moves it).
void SetColumnBackground(QTableView *grid, int column, const QColor &colour);
