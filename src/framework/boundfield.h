#pragma once

class DbEdit;

/// Empties a data-aware edit box together with the field it shows: the row is
/// put into edit when it is not already, and the field becomes null. Clearing
/// the text alone would leave the old value in the row. Nothing happens to the
/// data set while it is closed.
void ClearBoundField(DbEdit *edit);
