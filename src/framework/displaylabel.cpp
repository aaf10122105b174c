#include "displaylabel.h"

#include "editcolour.h"

#include <QLabel>

QLabel *CreateDisplayLabel(const QString &objectName, QWidget *parent, int width)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setFixedSize(width, 21);
    label->setIndent(3);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, EditColour::silver());
    // Locked with its search area, the value stays readable.
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x50, 0x50, 0x50));
    label->setPalette(palette);
    return label;
}

QLabel *CreateCaptionLabel(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}
