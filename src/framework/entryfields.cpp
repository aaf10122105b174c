#include "entryfields.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

QLabel *CreateFieldLabel(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    label->setFixedWidth(100);
    return label;
}

DbEdit *CreateBoundEdit(const QString &objectName,
                        ClientDataSet *data,
                        const QString &field,
                        int maxLength,
                        int width,
                        QWidget *parent,
                        DbEdit::InputMode mode)
{
    auto *edit = new DbEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(maxLength);
    edit->setFixedWidth(width);
    edit->setInputMode(mode);
    edit->bind(data, field);
    return edit;
}

QGridLayout *CreateEntryGrid()
{
    auto *grid = new QGridLayout;
    grid->setContentsMargins(40, 20, 40, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(9, 1);
    return grid;
}

void SetPasswordEcho(QLineEdit *edit)
{
    edit->setEchoMode(QLineEdit::Password);
    // The style's own mask character is a bullet.
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}
