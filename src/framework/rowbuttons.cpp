#include "rowbuttons.h"

#include "screenframe.h"

#include <QPushButton>

void RowButtons::createRowButtons(ScreenFrame &frame,
                                  QWidget *before,
                                  const QString &addCaption,
                                  const QString &deleteCaption)
{
    bbtAdd = frame.createButton(QStringLiteral("bbtAdd"), addCaption, 16);
    bbtDelete = frame.createButton(QStringLiteral("bbtDelete"), deleteCaption, 256);
    frame.insertBarButton(bbtAdd, before);
    frame.insertBarButton(bbtDelete, before);

    // Through the virtual handlers: a screen may override them.
    frame.connectClick(bbtAdd, [this] { bbtAddClick(); });
    frame.connectClick(bbtDelete, [this] { bbtDeleteClick(); });
    popHotkeyAdd = frame.addHotkey(QStringLiteral("popHotkeyAdd"), Qt::Key_F4, [this] {
        bbtAddClick();
    });
    popHotkeyDelete = frame.addHotkey(QStringLiteral("popHotkeyDelete"), Qt::Key_F9, [this] {
        bbtDeleteClick();
    });
}
