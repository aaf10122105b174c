#pragma once

class ClientDataSet;
class QToolButton;
class ScreenFrame;

/// The four record-navigation speed buttons `sbtFirst`, `sbtPrior`, `sbtNext`
/// and `sbtLast` with their handlers, for every grid screen and grid lookup.
/// The class that mixes it in says where a move goes (moveRecord()); a screen
/// that needs more from a button overrides its handler.
class RecordNavigation
{
public:
    enum class Move { First, Prior, Next, Last };

    virtual ~RecordNavigation() = default;

    /// First, previous, next, last record (moveRecord()).
    virtual void sbtFirstClick() { moveRecord(Move::First); }
    virtual void sbtPriorClick() { moveRecord(Move::Prior); }
    virtual void sbtNextClick() { moveRecord(Move::Next); }
    virtual void sbtLastClick() { moveRecord(Move::Last); }

    QToolButton *sbtFirst = nullptr;
    QToolButton *sbtPrior = nullptr;
    QToolButton *sbtNext = nullptr;
    QToolButton *sbtLast = nullptr;

protected:
    /// Creates the four buttons in order at the left end of the frame's button
    /// bar; a click runs its handler through the user-action guard.
    void createNavigationButtons(ScreenFrame &frame);

    /// Moves the current record; the handlers' one step.
    virtual void moveRecord(Move move) = 0;

    /// The move on a data set; nothing while it is closed.
    static void moveDataSet(ClientDataSet *dataSet, Move move);
};
