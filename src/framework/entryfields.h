#pragma once

#include "dbedit.h"

class ClientDataSet;
class QGridLayout;
class QLabel;
class QLineEdit;
class QString;
class QWidget;

/// The caption of an entry field of a grid edit screen (its text is quoted
/// by the field's messages).
QLabel *CreateFieldLabel(const QString &objectName, const QString &caption, QWidget *parent);

/// A data-aware entry field (`ded…`) bound to a field of the grid's data set.
DbEdit *CreateBoundEdit(const QString &objectName,
                        ClientDataSet *data,
                        const QString &field,
                        int maxLength,
                        int width,
                        QWidget *parent,
                        DbEdit::InputMode mode = DbEdit::InputMode::Any);

/// The grid of captions and fields of a grid edit screen's work area.
QGridLayout *CreateEntryGrid();

/// A password box: what is typed shows as '*'.
void SetPasswordEcho(QLineEdit *edit);
