#include "sidelistmover.h"

#include "twolistmover.h"

#include "framework/displaygrid.h"

#include <QHBoxLayout>

QHBoxLayout *SideListMover::createSideListMover(TfrmZZI000 *screen,
                                                QWidget *parent,
                                                const QString &listTitle,
                                                std::function<void()> rowChange,
                                                const QString &leftCaption,
                                                const QString &rightCaption)
{
    rgrGrid = DisplayGrid::createSideList(listTitle, parent, std::move(rowChange));
    mover = new TwoListMover(screen, leftCaption, rightCaption, parent);
    lstListSrc = mover->lstListSrc;
    lstListDst = mover->lstListDst;
    sbtListS2D = mover->sbtListS2D;
    sbtListS2DAll = mover->sbtListS2DAll;
    sbtListD2S = mover->sbtListD2S;
    sbtListD2SAll = mover->sbtListD2SAll;

    auto *row = new QHBoxLayout;
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(8);
    row->addWidget(rgrGrid);
    row->addWidget(mover, 1);
    return row;
}
