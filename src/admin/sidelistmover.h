#pragma once

#include <functional>
#include <QString>

class DisplayGrid;
class QHBoxLayout;
class QListWidget;
class QToolButton;
class QWidget;
class TfrmZZI000;
class TwoListMover;

/// The program lists of the authority screens that grant programs per row of
/// a side list (the levels of a project, the projects of a user), a base of
/// each: the side list `rgrGrid` beside the two-list mover, and the screen's
/// members for the mover's parts (`lstListSrc`, `lstListDst`, `sbtListS2D` …).
class SideListMover
{
public:
    virtual ~SideListMover() = default;

    DisplayGrid *rgrGrid = nullptr;
    TwoListMover *mover = nullptr;
    QListWidget *lstListSrc = nullptr;
    QListWidget *lstListDst = nullptr;
    QToolButton *sbtListS2D = nullptr;
    QToolButton *sbtListS2DAll = nullptr;
    QToolButton *sbtListD2S = nullptr;
    QToolButton *sbtListD2SAll = nullptr;

protected:
    /// Creates the side list titled `listTitle` (a change of its row runs
    /// `rowChange`) and the mover with its captions on `parent`; returns the
    /// row that holds both, for the screen's work area.
    QHBoxLayout *createSideListMover(TfrmZZI000 *screen,
                                     QWidget *parent,
                                     const QString &listTitle,
                                     std::function<void()> rowChange,
                                     const QString &leftCaption,
                                     const QString &rightCaption);
};
