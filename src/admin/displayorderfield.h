#pragma once

class ClientDataSet;
class DbEdit;
class QLabel;
class QWidget;

/// The display order of main menus and programs (DISPLAY_SEQ, 0 to 99): the
/// caption `lblDisplaySeq` and the field `dedDisplaySeq` bound to the column.
struct DisplayOrderField
{
    QLabel *label = nullptr;
    DbEdit *edit = nullptr;

    /// Creates both on `parent`, the field bound to DISPLAY_SEQ of `data`.
    static DisplayOrderField create(ClientDataSet *data, QWidget *parent);
};
