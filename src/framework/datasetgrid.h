#pragma once

#include "recordnavigation.h"

#include <QString>

class DataGrid;
class QWidget;
class ScreenFrame;

/// The grid of the grid screens and the grid lookups: `rgrGrid` over a client
/// data set read in packets of 100 rows, and the record navigation (sbtFirst …
/// at the left end of the button bar) that moves that data set.
class DataSetGrid : public RecordNavigation
{
public:
    DataGrid *rgrGrid = nullptr;

protected:
    /// Creates the data set `dataSetName` owned by `window`, rgrGrid on the
    /// frame's panMain showing it (the caller lays it out) and the navigation
    /// buttons. Returns the data set.
    ClientDataSet *createDataSetGrid(QWidget *window,
                                     ScreenFrame &frame,
                                     const QString &dataSetName);

    /// First, previous, next, last row of the data set (nothing while it is closed).
    void moveRecord(Move move) override;

private:
    ClientDataSet *m_dataSet = nullptr;
};
