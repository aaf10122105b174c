#include "displayorderfield.h"

#include "framework/digitsvalidator.h"
#include "framework/entryfields.h"

DisplayOrderField DisplayOrderField::create(ClientDataSet *data, QWidget *parent)
{
    DisplayOrderField field;
    field.label = CreateFieldLabel(QStringLiteral("lblDisplaySeq"),
                                   QStringLiteral("화면표시순서"),
                                   parent);
    field.edit = CreateBoundEdit(QStringLiteral("dedDisplaySeq"),
                                 data,
                                 QStringLiteral("DISPLAY_SEQ"),
                                 2,
                                 40,
                                 parent,
                                 DbEdit::InputMode::Latin);
    DigitsValidator::apply(field.edit, 0, 99);
    return field;
}
