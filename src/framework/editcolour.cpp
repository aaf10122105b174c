#include "editcolour.h"

#include "dbedit.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolTip>

namespace EditColour {

QColor focus()
{
    return QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipBase);
}

void setBackground(QWidget *control, const QColor &colour)
{
    // A disabled control keeps the style's disabled colours: it must look disabled.
    QPalette palette = control->palette();
    palette.setColor(QPalette::Active, QPalette::Base, colour);
    palette.setColor(QPalette::Inactive, QPalette::Base, colour);
    control->setPalette(palette);
}

QColor colourOf(const QWidget *control)
{
    return control->palette().color(QPalette::Active, QPalette::Base);
}

void SetEditColor(QWidget *control, const QColor &colour)
{
    if (!control || qobject_cast<DbEdit *>(control))
        return;
    bool readOnlyControl = false;
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        readOnlyControl = edit->isReadOnly();
    else if (qobject_cast<QComboBox *>(control))
        readOnlyControl = false;
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
        readOnlyControl = memo->isReadOnly();
    else if (auto *rich = qobject_cast<QTextEdit *>(control))
        readOnlyControl = rich->isReadOnly();
    else if (auto *number = qobject_cast<QAbstractSpinBox *>(control))
        readOnlyControl = number->isReadOnly();
    else
        return;
    setBackground(control, readOnlyControl ? readOnly() : colour);
}

} // namespace EditColour
