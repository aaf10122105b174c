#pragma once

#include <functional>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class MarkListDelegate;
class QLabel;
class QListWidget;
class QToolButton;
class QVBoxLayout;
class TfrmZZI000;

/// One entry of a program list: its key, the text shown and its mark (which
/// gives its colour).
struct ListEntry
{
    QString id;
    QString text;
    int mark = 1;
};

/// The two lists of one level or one project: left the programs not granted,
/// right the programs granted.
struct ListSides
{
    QList<ListEntry> left;
    QList<ListEntry> right;
};

/// The two program lists of the authority screens: `lstListSrc` (left) and
/// `lstListDst` (right) under their captions, and the buttons between them that
/// move the selected entries (`sbtListS2D`, `sbtListD2S`) or all entries
/// (`sbtListS2DAll`, `sbtListD2SAll`) to the other side, appended at its end.
///
/// The mover shows and edits the sides the screen gives it (setSides()). A
/// program may stand in a list more than once (filed under two menus, or granted
/// twice): the entries of one program, as groupOf() tells them, always move
/// together, so a program is never on both sides. An entry moved right gains
/// the mark step, moved left loses it. Both list boxes take several selected
/// entries and are drawn in the mark colours.
class TwoListMover : public QWidget
{
    Q_OBJECT

public:
    TwoListMover(TfrmZZI000 *screen,
                 const QString &leftCaption,
                 const QString &rightCaption,
                 QWidget *parent);

    /// Colours of the marks (black for a mark without one).
    void setMarkColours(const QHash<int, QColor> &colours);
    /// What a move right adds to a mark and a move left takes away (default 0).
    void setMarkStep(int step) { m_markStep = step; }
    /// The program an entry belongs to (default: its key).
    void setGroupOf(std::function<QString(const QString &id)> groupOf);

    /// The sides shown and moved; nullptr shows two empty lists and the moves do nothing.
    void setSides(ListSides *sides);
    ListSides *sides() const { return m_sides; }
    /// Shows the sides again.
    void refresh();

    void sbtListS2DClick();
    void sbtListS2DAllClick();
    void sbtListD2SClick();
    void sbtListD2SAllClick();

    /// Below each list box, for legends.
    QVBoxLayout *leftFoot() const { return m_leftFoot; }
    QVBoxLayout *rightFoot() const { return m_rightFoot; }

    QLabel *lblListSrc = nullptr;
    QLabel *lblListDst = nullptr;
    QListWidget *lstListSrc = nullptr;
    QListWidget *lstListDst = nullptr;
    QToolButton *sbtListS2D = nullptr;
    QToolButton *sbtListS2DAll = nullptr;
    QToolButton *sbtListD2S = nullptr;
    QToolButton *sbtListD2SAll = nullptr;

Q_SIGNALS:
    /// Entries moved from one side to the other.
    void moved();

private:
    void move(QListWidget *from, bool all, bool toRight);
    void fill(QListWidget *list, const QList<ListEntry> &entries);

    TfrmZZI000 *m_screen;
    MarkListDelegate *m_delegate;
    ListSides *m_sides = nullptr;
    int m_markStep = 0;
    std::function<QString(const QString &)> m_groupOf;
    QVBoxLayout *m_leftFoot = nullptr;
    QVBoxLayout *m_rightFoot = nullptr;
};
