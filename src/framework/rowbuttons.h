#pragma once

#include <QString>

class QAction;
class QPushButton;
class QWidget;
class ScreenFrame;

/// The add and delete buttons of the grid edit screens and the generic grid
/// editor, a base of each: `bbtAdd` (F4) and `bbtDelete` (F9), each running
/// its handler through the user-action guard.
class RowButtons
{
public:
    virtual ~RowButtons() = default;

    virtual void bbtAddClick() = 0;
    virtual void bbtDeleteClick() = 0;

    QPushButton *bbtAdd = nullptr;
    QPushButton *bbtDelete = nullptr;
    QAction *popHotkeyAdd = nullptr;
    QAction *popHotkeyDelete = nullptr;

protected:
    /// Creates both buttons into the frame's bar, just left of `before`, and their hot keys.
    void createRowButtons(ScreenFrame &frame,
                          QWidget *before,
                          const QString &addCaption,
                          const QString &deleteCaption);
};
