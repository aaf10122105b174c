#include "boundfield.h"

#include "dbedit.h"

#include "db/clientdataset.h"

void ClearBoundField(DbEdit *edit)
{
    ClientDataSet *data = edit->dataSet();
    if (data && data->isActive() && (data->isEditing() || !data->isEmpty())) {
        if (!data->isEditing())
            data->edit();
        data->setValue(edit->fieldName(), QVariant());
    }
    edit->clear();
}
