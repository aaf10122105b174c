#include "datasetgrid.h"

#include "datagrid.h"
#include "screenframe.h"

#include "db/clientdataset.h"

ClientDataSet *DataSetGrid::createDataSetGrid(QWidget *window,
                                              ScreenFrame &frame,
                                              const QString &dataSetName)
{
    m_dataSet = new ClientDataSet(window);
    m_dataSet->setObjectName(dataSetName);
    m_dataSet->setPacketRecords(100);

    rgrGrid = new DataGrid(frame.panMain);
    rgrGrid->setObjectName(QStringLiteral("rgrGrid"));
    rgrGrid->setDataSet(m_dataSet);

    createNavigationButtons(frame);
    return m_dataSet;
}

void DataSetGrid::moveRecord(Move move)
{
    moveDataSet(m_dataSet, move);
}
